#include "s/reg/win/NativeKeyApi.h"

#include <sddl.h>
#include <wchar.h>

#include <atomic>

#include "mfc/afxwin.h"

namespace s::reg::win {

namespace {

using OpenKeyFn = NtStatus(NTAPI*)(HANDLE*, ACCESS_MASK, OBJECT_ATTRIBUTES*);
using CreateKeyFn = NtStatus(NTAPI*)(HANDLE*, ACCESS_MASK, OBJECT_ATTRIBUTES*, ULONG,
                                     UNICODE_STRING*, ULONG, ULONG*);
using QueryValueKeyFn = NtStatus(NTAPI*)(HANDLE, UNICODE_STRING*, ULONG, void*, ULONG, ULONG*);
using SetValueKeyFn = NtStatus(NTAPI*)(HANDLE, UNICODE_STRING*, ULONG, ULONG, const void*, ULONG);
using EnumerateKeyFn = NtStatus(NTAPI*)(HANDLE, ULONG, ULONG, void*, ULONG, ULONG*);
using HandleFn = NtStatus(NTAPI*)(HANDLE);
using DeleteValueKeyFn = NtStatus(NTAPI*)(HANDLE, UNICODE_STRING*);

struct KeyFunctions {
    OpenKeyFn openKey;
    CreateKeyFn createKey;
    QueryValueKeyFn queryValueKey;
    SetValueKeyFn setValueKey;
    EnumerateKeyFn enumerateKey;
    HandleFn deleteKey;
    DeleteValueKeyFn deleteValueKey;
    HandleFn flushKey;
    HandleFn close;
};

template <typename Fn>
Fn Lookup(const char* name)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(LookupNtdllFunction(name)));
}

// Filled on first use; a function-local static is initialised exactly once even when two
// threads ask at the same moment.
const KeyFunctions& Functions()
{
    static const KeyFunctions functions = {
        Lookup<OpenKeyFn>("NtOpenKey"),
        Lookup<CreateKeyFn>("NtCreateKey"),
        Lookup<QueryValueKeyFn>("NtQueryValueKey"),
        Lookup<SetValueKeyFn>("NtSetValueKey"),
        Lookup<EnumerateKeyFn>("NtEnumerateKey"),
        Lookup<HandleFn>("NtDeleteKey"),
        Lookup<DeleteValueKeyFn>("NtDeleteValueKey"),
        Lookup<HandleFn>("NtFlushKey"),
        Lookup<HandleFn>("NtClose"),
    };
    return functions;
}

std::atomic<MissingEntryPointHandler> g_missingEntryPointHandler{nullptr};

void ShowMissingEntryPointBox(const wchar_t* message)
{
    // Through the application's one message-box path, which tests answer.
    AfxShowMessageBox(nullptr, message, L"Error!", MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

// "\Registry\User\" and the current user's security identifier, or empty.
const wchar_t* CurrentUserNativePath()
{
    struct Path {
        wchar_t text[256];
        Path()
        {
            text[0] = 0;
            HANDLE token = nullptr;
            if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return;
            DWORD size = 0;
            GetTokenInformation(token, TokenUser, nullptr, 0, &size);
            // TOKEN_USER carries pointers: keep the buffer pointer-aligned.
            void* buffer = size ? HeapAlloc(GetProcessHeap(), 0, size) : nullptr;
            if (buffer && GetTokenInformation(token, TokenUser, buffer, size, &size)) {
                wchar_t* sid = nullptr;
                if (ConvertSidToStringSidW(static_cast<TOKEN_USER*>(buffer)->User.Sid, &sid)) {
                    static const wchar_t kPrefix[] = L"\\Registry\\User\\";
                    if (wcslen(kPrefix) + wcslen(sid) < sizeof(text) / sizeof(text[0])) {
                        wcscpy_s(text, kPrefix);
                        wcscat_s(text, sid);
                    }
                    LocalFree(sid);
                }
            }
            if (buffer) HeapFree(GetProcessHeap(), 0, buffer);
            CloseHandle(token);
        }
    };
    static const Path path;
    return path.text;
}

}  // namespace

void* LookupNtdllFunction(const char* name)
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    FARPROC function = ntdll ? GetProcAddress(ntdll, name) : nullptr;
    if (!function) {
        wchar_t wide[128];
        size_t n = 0;
        for (; name[n] && n + 1 < sizeof(wide) / sizeof(wide[0]); ++n)
            wide[n] = static_cast<unsigned char>(name[n]);
        wide[n] = 0;
        ReportMissingEntryPoint(wide);
        return nullptr;
    }
    return reinterpret_cast<void*>(function);
}

void ReportMissingEntryPoint(const wchar_t* functionName)
{
    wchar_t message[256];
    swprintf_s(message, L"Could not find %ls entry point in NTDLL.DLL",
               functionName ? functionName : L"");
    MissingEntryPointHandler handler = g_missingEntryPointHandler.load();
    (handler ? handler : ShowMissingEntryPointBox)(message);
}

MissingEntryPointHandler SetMissingEntryPointHandler(MissingEntryPointHandler handler)
{
    return g_missingEntryPointHandler.exchange(handler);
}

bool InitUnicodeString(UNICODE_STRING* target, const wchar_t* text)
{
    size_t length = text ? wcslen(text) : 0;
    if (length > 32766) {
        target->Length = target->MaximumLength = 0;
        target->Buffer = nullptr;
        return false;
    }
    target->Length = static_cast<USHORT>(length * sizeof(wchar_t));
    target->MaximumLength = static_cast<USHORT>(target->Length + sizeof(wchar_t));
    target->Buffer = const_cast<wchar_t*>(text ? text : L"");
    return true;
}

const RegistryRoot* FindRegistryRoot(HKEY root)
{
    static const RegistryRoot roots[] = {
        {HKEY_CLASSES_ROOT, L"HKEY_CLASSES_ROOT", L"\\Registry\\Machine\\SOFTWARE\\Classes"},
        {HKEY_CURRENT_USER, L"HKEY_CURRENT_USER", CurrentUserNativePath()},
        {HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE", L"\\Registry\\Machine"},
        {HKEY_USERS, L"HKEY_USERS", L"\\Registry\\User"},
        {HKEY_CURRENT_CONFIG, L"HKEY_CURRENT_CONFIG",
         L"\\Registry\\Machine\\System\\CurrentControlSet\\Hardware Profiles\\Current"},
    };
    for (const RegistryRoot& r : roots)
        if (r.key == root) return &r;
    return nullptr;
}

const RegistryRoot* MatchRegistryRootName(const wchar_t* text, const wchar_t** rest)
{
    if (!text) return nullptr;
    static const HKEY keys[] = {HKEY_USERS, HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER,
                                HKEY_CURRENT_CONFIG, HKEY_CLASSES_ROOT};
    for (HKEY key : keys) {
        const RegistryRoot* root = FindRegistryRoot(key);
        size_t n = wcslen(root->name);
        if (_wcsnicmp(text, root->name, n) != 0) continue;
        if (text[n] != 0 && text[n] != L'\\') continue;
        if (rest) *rest = text[n] ? text + n + 1 : text + n;
        return root;
    }
    return nullptr;
}

namespace native {

NtStatus OpenKey(HANDLE* key, ACCESS_MASK access, OBJECT_ATTRIBUTES* attributes)
{
    OpenKeyFn f = Functions().openKey;
    return f ? f(key, access, attributes) : kStatusProcedureNotFound;
}

NtStatus CreateKey(HANDLE* key, ACCESS_MASK access, OBJECT_ATTRIBUTES* attributes,
                   ULONG titleIndex, UNICODE_STRING* keyClass, ULONG createOptions,
                   ULONG* disposition)
{
    CreateKeyFn f = Functions().createKey;
    return f ? f(key, access, attributes, titleIndex, keyClass, createOptions, disposition)
             : kStatusProcedureNotFound;
}

NtStatus QueryValueKey(HANDLE key, UNICODE_STRING* valueName, ULONG informationClass,
                       void* information, ULONG length, ULONG* resultLength)
{
    QueryValueKeyFn f = Functions().queryValueKey;
    return f ? f(key, valueName, informationClass, information, length, resultLength)
             : kStatusProcedureNotFound;
}

NtStatus SetValueKey(HANDLE key, UNICODE_STRING* valueName, ULONG titleIndex, ULONG type,
                     const void* data, ULONG dataSize)
{
    SetValueKeyFn f = Functions().setValueKey;
    return f ? f(key, valueName, titleIndex, type, data, dataSize) : kStatusProcedureNotFound;
}

NtStatus EnumerateKey(HANDLE key, ULONG index, ULONG informationClass, void* information,
                      ULONG length, ULONG* resultLength)
{
    EnumerateKeyFn f = Functions().enumerateKey;
    return f ? f(key, index, informationClass, information, length, resultLength)
             : kStatusProcedureNotFound;
}

NtStatus DeleteKey(HANDLE key)
{
    HandleFn f = Functions().deleteKey;
    return f ? f(key) : kStatusProcedureNotFound;
}

NtStatus DeleteValueKey(HANDLE key, UNICODE_STRING* valueName)
{
    DeleteValueKeyFn f = Functions().deleteValueKey;
    return f ? f(key, valueName) : kStatusProcedureNotFound;
}

NtStatus FlushKey(HANDLE key)
{
    HandleFn f = Functions().flushKey;
    return f ? f(key) : kStatusProcedureNotFound;
}

NtStatus Close(HANDLE handle)
{
    HandleFn f = Functions().close;
    return f ? f(handle) : kStatusProcedureNotFound;
}

}  // namespace native

}  // namespace s::reg::win
