#include "s/file/win/ExplorerSettings.h"

#include <windows.h>
#include <shlobj.h>

#include "s/file/win/PathWin.h"
#include "s/reg/win/RegDir.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/ObjLocker.h"

namespace s::file::win {

namespace {

using s::reg::win::RegDir;
using s::thread::ObjLocker;

const wchar_t kExplorerAdvanced[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

// One key object and one lock per value; both live until the process ends (the
// key objects are deliberately never given back, the pools may be gone by then).
struct ValueReader
{
    ObjLocker lock;
    RegDir* dir = nullptr;
    const wchar_t* path = kExplorerAdvanced;
    wchar_t ownPath[260] = {};

    uint32_t Read(const wchar_t* name, uint32_t def)
    {
        ObjLocker::Guard guard(lock);
        if (!dir) {
            dir = RegDir::Acquire();
            if (!dir)
                return def;
            dir->open(HKEY_CURRENT_USER, path);
        } else if (!dir->isOpen()) {
            // The key may have been made since the last walk.
            dir->open(HKEY_CURRENT_USER, path);
        }
        return dir->isOpen() ? dir->getU32(name, def) : def;
    }

    void SetPath(const wchar_t* p)
    {
        ObjLocker::Guard guard(lock);
        if (p) {
            wcsncpy_s(ownPath, p, _TRUNCATE);
            path = ownPath;
        } else {
            path = kExplorerAdvanced;
        }
        if (dir)
            dir->close();
    }
};

ValueReader& HiddenReader()
{
    static ValueReader reader;
    return reader;
}

ValueReader& SuperHiddenReader()
{
    static ValueReader reader;
    return reader;
}

} // namespace

ExplorerVisibility ExplorerSettings::Read()
{
    ExplorerVisibility v;
    v.showHidden = HiddenReader().Read(L"Hidden", 1) != 2;
    v.showSystem = SuperHiddenReader().Read(L"ShowSuperHidden", 0) != 0;
    return v;
}

void ExplorerSettings::SetKeyPath(const wchar_t* pathBelowCurrentUser)
{
    HiddenReader().SetPath(pathBelowCurrentUser);
    SuperHiddenReader().SetPath(pathBelowCurrentUser);
}

const wchar_t* ExplorerSettings::SystemRoot()
{
    static const wchar_t* root = [] {
        static wchar_t text[MAX_PATH + 1] = L"C:\\";
        wchar_t windows[MAX_PATH] = {};
        if (SHGetFolderPathW(nullptr, CSIDL_WINDOWS, nullptr, SHGFP_TYPE_CURRENT, windows) == S_OK &&
            windows[0]) {
            PathWin* p = PathWin::FromText(windows);
            if (p) {
                const wchar_t* r = p->GetRootPath();
                if (r[0])
                    wcsncpy_s(text, r, _TRUNCATE);
                p->Release();
            }
        }
        return static_cast<const wchar_t*>(text);
    }();
    return root;
}

} // namespace s::file::win
