// The registry as the kernel offers it: ntdll's native key functions, looked up by name
// once per process, and the native paths of the predefined roots.
//
// Why native: the native functions take the full object path ("\Registry\Machine\...")
// and give the raw value data with its type in one call, so the directory classes need
// no per-root handle juggling and no Win32 value-size negotiation.
//
// Thread affinity: none; every function here may be called from any thread. The function
// table and the current user's root path are filled once, on first use, thread-safely.
#pragma once

#include <windows.h>
#include <winternl.h>

namespace s::reg::win {

using NtStatus = LONG;

inline bool NtSucceeded(NtStatus status) { return status >= 0; }

// Status codes the directory code reacts to (mingw's headers lack some of them).
inline constexpr NtStatus kStatusBufferOverflow = static_cast<NtStatus>(0x80000005UL);
inline constexpr NtStatus kStatusNoMoreEntries = static_cast<NtStatus>(0x8000001AUL);
inline constexpr NtStatus kStatusBufferTooSmall = static_cast<NtStatus>(0xC0000023UL);
inline constexpr NtStatus kStatusObjectNameNotFound = static_cast<NtStatus>(0xC0000034UL);
inline constexpr NtStatus kStatusProcedureNotFound = static_cast<NtStatus>(0xC000007AUL);
inline constexpr NtStatus kStatusInvalidParameter = static_cast<NtStatus>(0xC000000DUL);

// All access rights to a key (KEY_ALL_ACCESS).
inline constexpr ACCESS_MASK kKeyAllAccess = 0xF003F;

// Information classes of NtEnumerateKey and NtQueryValueKey used here.
inline constexpr ULONG kKeyBasicInformation = 0;
inline constexpr ULONG kKeyValuePartialInformation = 2;

// KEY_BASIC_INFORMATION: the entry NtEnumerateKey answers; Name is not terminated and
// NameLength counts bytes.
struct KeyBasicInformation {
    LARGE_INTEGER LastWriteTime;
    ULONG TitleIndex;
    ULONG NameLength;
    WCHAR Name[1];
};

// KEY_VALUE_PARTIAL_INFORMATION: a value's type and data as NtQueryValueKey answers them.
struct KeyValuePartialInformation {
    ULONG TitleIndex;
    ULONG Type;
    ULONG DataLength;
    UCHAR Data[1];
};

// The native key functions. A function ntdll does not export was reported once when the
// table was filled (see ReportMissingEntryPoint) and then answers kStatusProcedureNotFound;
// NtClose of a missing entry does nothing.
namespace native {
NtStatus OpenKey(HANDLE* key, ACCESS_MASK access, OBJECT_ATTRIBUTES* attributes);
NtStatus CreateKey(HANDLE* key, ACCESS_MASK access, OBJECT_ATTRIBUTES* attributes,
                   ULONG titleIndex, UNICODE_STRING* keyClass, ULONG createOptions,
                   ULONG* disposition);
NtStatus QueryValueKey(HANDLE key, UNICODE_STRING* valueName, ULONG informationClass,
                       void* information, ULONG length, ULONG* resultLength);
NtStatus SetValueKey(HANDLE key, UNICODE_STRING* valueName, ULONG titleIndex, ULONG type,
                     const void* data, ULONG dataSize);
NtStatus EnumerateKey(HANDLE key, ULONG index, ULONG informationClass, void* information,
                      ULONG length, ULONG* resultLength);
NtStatus DeleteKey(HANDLE key);
NtStatus DeleteValueKey(HANDLE key, UNICODE_STRING* valueName);
NtStatus FlushKey(HANDLE key);
NtStatus Close(HANDLE handle);
}  // namespace native

// Looks up an export of ntdll.dll by name; a missing one is reported with the text
// "Could not find <name> entry point in NTDLL.DLL". Answers null when missing.
void* LookupNtdllFunction(const char* name);

// Shows the user that an ntdll export is missing. The report goes to the handler set with
// SetMissingEntryPointHandler, by default a system message box.
void ReportMissingEntryPoint(const wchar_t* functionName);

// Replaces the handler that shows a missing-entry-point text (the full message); null
// restores the message box. Answers the previous handler (null when it was the default).
using MissingEntryPointHandler = void (*)(const wchar_t* message);
MissingEntryPointHandler SetMissingEntryPointHandler(MissingEntryPointHandler handler);

// Fills a UNICODE_STRING over a terminated text (null reads as empty). False when the text
// is too long for one (more than 32,766 characters); the string is then empty.
bool InitUnicodeString(UNICODE_STRING* target, const wchar_t* text);

// The predefined roots a directory can stand on.
struct RegistryRoot {
    HKEY key;                // HKEY_CURRENT_USER, ...
    const wchar_t* name;     // "HKEY_CURRENT_USER", ...
    const wchar_t* nativePath;  // "\Registry\User\<SID>", ...; never null, may be empty
};

// The root of a predefined key handle (HKEY_CLASSES_ROOT, HKEY_CURRENT_USER,
// HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_CURRENT_CONFIG); null for any other handle.
// HKEY_CURRENT_USER's native path carries the current user's security identifier in its
// string form; when the identifier cannot be found that path is empty, and a directory on
// an empty native path never opens (rather than landing in another user's keys).
const RegistryRoot* FindRegistryRoot(HKEY root);

// The root whose name the text begins with, followed by a backslash or the end of the
// text (names compared without regard to case); null when none. *rest receives the part
// after the name and its backslash.
const RegistryRoot* MatchRegistryRootName(const wchar_t* text, const wchar_t** rest);

}  // namespace s::reg::win
