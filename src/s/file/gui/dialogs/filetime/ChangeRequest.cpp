#include "s/file/gui/dialogs/filetime/ChangeRequest.h"

namespace s::file::gui::dialogs::filetime
{

// Distinct objects: their addresses are the keys.
const wchar_t ModeSpecific[] = L"Specific";
const wchar_t ModeSync[] = L"Sync";
const wchar_t ModeOffset[] = L"Offset";
const wchar_t ModeFromItem[] = L"FromItem";

const wchar_t SyncCreated[] = L"Created";
const wchar_t SyncModified[] = L"Modified";
const wchar_t SyncAccessed[] = L"Accessed";
const wchar_t SyncCurrent[] = L"Current";
const wchar_t SyncNewest[] = L"Newest";
const wchar_t SyncOldest[] = L"Oldest";

const wchar_t FromTaken[] = L"Taken";
const wchar_t FromName[] = L"Name";
const wchar_t FromNewestInside[] = L"NewestInside";

} // namespace s::file::gui::dialogs::filetime
