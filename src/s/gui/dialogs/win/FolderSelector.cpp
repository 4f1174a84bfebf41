#include "s/gui/dialogs/win/FolderSelector.h"

#include <shlobj.h>

#include "s/gui/IWindow.h"
#include "s/gui/win/Toolkit.h"

namespace s::gui::dialogs::win
{
namespace
{
int CALLBACK selectInitialFolder(HWND dialog, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data)
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
    return 0;
}
} // namespace

bool FolderSelector::select(IWindow* owner, const wchar_t* initialFolder, const wchar_t* title)
{
    bool wasTopmost = owner && owner->isTopmost();
    if (wasTopmost)
        owner->setTopmost(false);
    BROWSEINFOW info{};
    info.hwndOwner = owner ? gui::win::Toolkit::handleOf(owner) : nullptr;
    info.lpszTitle = title ? title : DEFAULT_TITLE;
    info.ulFlags = BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    if (initialFolder && *initialFolder)
    {
        info.ulFlags |= BIF_VALIDATE;
        info.lpfn = &selectInitialFolder;
        info.lParam = reinterpret_cast<LPARAM>(initialFolder);
    }
    bool chosen = false;
    if (PIDLIST_ABSOLUTE list = SHBrowseForFolderW(&info))
    {
        wchar_t path[MAX_PATH] = L"";
        chosen = SHGetPathFromIDListW(list, path) != FALSE;
        if (chosen)
            lstrcpynW(path_, path, MAX_PATH);
        CoTaskMemFree(list);
    }
    if (wasTopmost)
    {
        owner->setTopmost(true);
        owner->activate(true);
    }
    return chosen;
}

} // namespace s::gui::dialogs::win
