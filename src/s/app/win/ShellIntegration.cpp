#include "s/app/win/ShellIntegration.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <mutex>

#include "s/reg/win/RegDir.h"

using s::reg::win::RegDir;

namespace s::app::win {

namespace {

constexpr wchar_t kRealClassesKey[] = L"Software\\Classes";
// The two places a verb goes: every file type, and folders.
constexpr const wchar_t* kVerbParents[] = {L"*", L"Directory"};

std::mutex g_lock;
std::wstring g_classesKey;
std::wstring g_sendToFolder;

std::wstring shortcutPath(const wchar_t* name)
{
    std::wstring folder = ShellIntegration::getSendToFolder();
    if (folder.empty() || !name || !*name)
        return L"";
    if (folder.back() != L'\\')
        folder += L'\\';
    return folder + name + L".lnk";
}

std::wstring verbKey(const wchar_t* parent, const wchar_t* name)
{
    return ShellIntegration::getClassesKey() + L"\\" + parent + L"\\shell\\" + name;
}

bool sameFile(const std::wstring& a, const wchar_t* b)
{
    return b && !a.empty() && lstrcmpiW(a.c_str(), b) == 0;
}

bool fileExists(const std::wstring& path)
{
    return !path.empty() && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// COM for the length of one call, when the thread has none yet.
struct ComScope
{
    bool initialised;
    ComScope() : initialised(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope()
    {
        if (initialised)
            CoUninitialize();
    }
};

// A key that holds nothing (no value, no sub-key) is removed; keys holding anything stay.
void removeIfEmpty(const std::wstring& path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    DWORD subKeys = 0, values = 0;
    const bool empty = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                                        nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
                       subKeys == 0 && values == 0;
    RegCloseKey(key);
    if (empty)
        RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
}

bool writeVerb(const wchar_t* parent, const wchar_t* name, const wchar_t* programPath, const wchar_t* verbText)
{
    const std::wstring path = verbKey(parent, name);
    const std::wstring icon = L"\"" + std::wstring(programPath) + L"\",0";
    bool ok = false;
    if (RegDir* verb = RegDir::Open(HKEY_CURRENT_USER, path.c_str()))
    {
        ok = verb->create() && verb->setString(L"", verbText ? verbText : L"") &&
             verb->setString(L"Icon", icon.c_str()) && verb->setString(L"MultiSelectModel", L"Player");
        verb->Release();
    }
    if (RegDir* command = ok ? RegDir::Open(HKEY_CURRENT_USER, (path + L"\\command").c_str()) : nullptr)
    {
        ok = command->create() && command->setString(L"", ShellIntegration::commandFor(programPath).c_str());
        command->Release();
    }
    return ok;
}

void removeVerb(const wchar_t* parent, const wchar_t* name)
{
    const std::wstring path = verbKey(parent, name);
    if (RegDir* verb = RegDir::Open(HKEY_CURRENT_USER, path.c_str()))
    {
        if (verb->isOpen())
            verb->remove(true);
        verb->Release();
    }
    const std::wstring classes = ShellIntegration::getClassesKey();
    removeIfEmpty(classes + L"\\" + parent + L"\\shell");
    removeIfEmpty(classes + L"\\" + parent);
}

std::wstring verbTarget(const wchar_t* parent, const wchar_t* name)
{
    std::wstring target;
    if (RegDir* command = RegDir::Open(HKEY_CURRENT_USER, (verbKey(parent, name) + L"\\command").c_str()))
    {
        if (command->isOpen())
            target = ShellIntegration::programOf(command->getString(L"", L"", nullptr, false));
        command->Release();
    }
    return target;
}

} // namespace

void ShellIntegration::setClassesKey(const wchar_t* key)
{
    std::lock_guard<std::mutex> guard(g_lock);
    g_classesKey = key ? key : L"";
}

std::wstring ShellIntegration::getClassesKey()
{
    std::lock_guard<std::mutex> guard(g_lock);
    return g_classesKey.empty() ? kRealClassesKey : g_classesKey;
}

void ShellIntegration::setSendToFolder(const wchar_t* folder)
{
    std::lock_guard<std::mutex> guard(g_lock);
    g_sendToFolder = folder ? folder : L"";
}

std::wstring ShellIntegration::getSendToFolder()
{
    {
        std::lock_guard<std::mutex> guard(g_lock);
        if (!g_sendToFolder.empty())
            return g_sendToFolder;
    }
    wchar_t folder[MAX_PATH] = L"";
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_SENDTO | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return L"";
    return folder;
}

std::wstring ShellIntegration::commandFor(const wchar_t* programPath)
{
    return L"\"" + std::wstring(programPath ? programPath : L"") + L"\" \"%1\"";
}

std::wstring ShellIntegration::programOf(const wchar_t* commandLine)
{
    if (!commandLine)
        return L"";
    while (*commandLine == L' ')
        ++commandLine;
    if (*commandLine == L'"')
    {
        const wchar_t* end = wcschr(commandLine + 1, L'"');
        return end ? std::wstring(commandLine + 1, end) : std::wstring();
    }
    const wchar_t* end = wcschr(commandLine, L' ');
    return end ? std::wstring(commandLine, end) : std::wstring(commandLine);
}

// --- Send To ----------------------------------------------------------------------------------

std::wstring ShellIntegration::sendToTarget(const wchar_t* name)
{
    const std::wstring file = shortcutPath(name);
    if (!fileExists(file))
        return L"";
    ComScope com;
    std::wstring target;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))))
    {
        IPersistFile* persist = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))))
        {
            wchar_t path[MAX_PATH] = L"";
            if (SUCCEEDED(persist->Load(file.c_str(), STGM_READ)) &&
                SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH)))
                target = path;
            persist->Release();
        }
        link->Release();
    }
    return target;
}

bool ShellIntegration::hasSendTo(const wchar_t* name, const wchar_t* programPath)
{
    return sameFile(sendToTarget(name), programPath);
}

bool ShellIntegration::addSendTo(const wchar_t* name, const wchar_t* programPath, const wchar_t* description)
{
    const std::wstring file = shortcutPath(name);
    if (file.empty() || !programPath || !*programPath)
        return false;
    std::wstring folder = programPath;
    const size_t slash = folder.find_last_of(L"\\/");
    folder = slash == std::wstring::npos ? L"" : folder.substr(0, slash);
    ComScope com;
    bool saved = false;
    IShellLinkW* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))))
    {
        link->SetPath(programPath);
        link->SetWorkingDirectory(folder.c_str());
        link->SetIconLocation(programPath, 0);
        if (description && *description)
            link->SetDescription(description);
        IPersistFile* persist = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))))
        {
            saved = SUCCEEDED(persist->Save(file.c_str(), TRUE));
            persist->Release();
        }
        link->Release();
    }
    if (!saved)
        DeleteFileW(file.c_str());
    return saved && fileExists(file);
}

bool ShellIntegration::removeSendTo(const wchar_t* name)
{
    const std::wstring file = shortcutPath(name);
    if (file.empty())
        return false;
    return !fileExists(file) || DeleteFileW(file.c_str()) != FALSE;
}

// --- context menu -----------------------------------------------------------------------------

std::wstring ShellIntegration::contextMenuTarget(const wchar_t* name)
{
    return verbTarget(kVerbParents[0], name);
}

bool ShellIntegration::hasContextMenu(const wchar_t* name, const wchar_t* programPath)
{
    for (const wchar_t* parent : kVerbParents)
    {
        if (!sameFile(verbTarget(parent, name), programPath))
            return false;
    }
    return true;
}

bool ShellIntegration::addContextMenu(const wchar_t* name, const wchar_t* programPath, const wchar_t* verbText)
{
    if (!name || !*name || !programPath || !*programPath)
        return false;
    for (const wchar_t* parent : kVerbParents)
    {
        if (!writeVerb(parent, name, programPath, verbText))
        {
            removeContextMenu(name);
            return false;
        }
    }
    return true;
}

bool ShellIntegration::removeContextMenu(const wchar_t* name)
{
    if (!name || !*name)
        return false;
    for (const wchar_t* parent : kVerbParents)
        removeVerb(parent, name);
    for (const wchar_t* parent : kVerbParents)
    {
        if (!verbTarget(parent, name).empty())
            return false;
    }
    return true;
}

int ShellIntegration::repairMoved(const wchar_t* name, const wchar_t* programPath, const wchar_t* verbText,
                                  const wchar_t* description)
{
    int result = 0;
    const std::wstring link = sendToTarget(name);
    if (!link.empty() && !sameFile(link, programPath) && !fileExists(link))
        result |= addSendTo(name, programPath, description) ? REPAIRED_SEND_TO : FAILED_SEND_TO;
    for (const wchar_t* parent : kVerbParents)
    {
        const std::wstring target = verbTarget(parent, name);
        if (!target.empty() && !sameFile(target, programPath) && !fileExists(target))
        {
            result |= addContextMenu(name, programPath, verbText) ? REPAIRED_CONTEXT_MENU : FAILED_CONTEXT_MENU;
            break;
        }
    }
    return result;
}

} // namespace s::app::win
