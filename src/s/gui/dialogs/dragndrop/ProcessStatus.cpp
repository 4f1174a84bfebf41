#include "s/gui/dialogs/dragndrop/ProcessStatus.h"

namespace s::gui::dialogs::dragndrop
{

// Distinct objects: their addresses are the event names.
const wchar_t ProcessStatusStart[] = L"ProcessStatusStart";
const wchar_t ProcessStatusUpdate[] = L"ProcessStatusUpdate";
const wchar_t ProcessStatusEnd[] = L"ProcessStatusEnd";
const wchar_t EntryName[] = L"EntryName";

} // namespace s::gui::dialogs::dragndrop
