#include "s/xml/Disk.h"

#include <windows.h>

#include <cwchar>

#include "s/col/_array/ArrayU08.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::xml::disk {

using s::str::strbuffer::StrBuffer;

namespace {

bool IsFolder(const wchar_t* path)
{
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Creates the folder `path` (no trailing separator) and its parents.
bool EnsureFolder(StrBuffer& folder, uint32_t depth)
{
    if (folder.IsEmpty() || IsFolder(folder.CStr()))
        return true;
    if (depth > 512)
        return false;
    uint32_t at = 0;
    if (folder.LastIndexOfAny(L"\\/", 2, &at) && at > 0 && folder.CharAt(at - 1) != L':' &&
        folder.CharAt(at - 1) != L'\\' && folder.CharAt(at - 1) != L'/') {
        StrBuffer* parent = folder.Substring(0, at);
        if (!parent)
            return false;
        const bool ok = EnsureFolder(*parent, depth + 1);
        parent->Release();
        if (!ok)
            return false;
    }
    return CreateDirectoryW(folder.CStr(), nullptr) || IsFolder(folder.CStr());
}

} // namespace

bool ReadAllBytes(const wchar_t* path, s::col::_array::ArrayU08* bytes)
{
    if (!path || !*path || !bytes)
        return false;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = false;
    LARGE_INTEGER size;
    if (GetFileSizeEx(file, &size) && size.QuadPart >= 0 && size.QuadPart < 0x7FFFFFFF) {
        const uint32_t n = uint32_t(size.QuadPart);
        bytes->Clear();
        bytes->SetCount(n);
        uint32_t done = 0;
        ok = n == 0 || bytes->Data() != nullptr;
        while (ok && done < n) {
            DWORD read = 0;
            if (!ReadFile(file, bytes->Items() + done, n - done, &read, nullptr) || read == 0)
                break;
            done += read;
        }
        // A file that shrank while being read: keep what was there.
        bytes->SetCount(done);
    }
    CloseHandle(file);
    return ok;
}

bool EnsureParentFolder(const wchar_t* path)
{
    if (!path)
        return false;
    StrBuffer* folder = StrBuffer::Acquire(path);
    if (!folder)
        return false;
    uint32_t at = 0;
    bool ok = true;
    if (folder->LastIndexOfAny(L"\\/", 2, &at)) {
        folder->KeepRange(0, at);
        ok = EnsureFolder(*folder, 0);
    }
    folder->Release();
    return ok;
}

bool ReplaceWithBytes(const wchar_t* path, const uint8_t* data, uint32_t count)
{
    if (!path || !*path || (count && !data))
        return false;
    if (!EnsureParentFolder(path))
        return false;
    StrBuffer* temporary = StrBuffer::Acquire(path);
    if (!temporary)
        return false;
    temporary->Append(L".tmp");
    const wchar_t* temporaryPath = temporary->CStr();

    bool ok = false;
    HANDLE file = CreateFileW(temporaryPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        ok = true;
        uint32_t done = 0;
        while (ok && done < count) {
            DWORD written = 0;
            ok = WriteFile(file, data + done, count - done, &written, nullptr) && written > 0;
            done += written;
        }
        ok = ok && FlushFileBuffers(file);
        ok = CloseHandle(file) && ok;
        if (ok)
            ok = MoveFileExW(temporaryPath, path,
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
        if (!ok)
            DeleteFileW(temporaryPath);
    }
    temporary->Release();
    return ok;
}

} // namespace s::xml::disk
