#include "s/file/win/FileInputStream.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "s/file/win/PathWin.h"

namespace s::file::win {

namespace {

HANDLE H(void* handle) { return static_cast<HANDLE>(handle); }

} // namespace

// --- FileInputStream ------------------------------------------------------------------

FileInputStream::~FileInputStream() { ResetState(); }

void FileInputStream::Reset() { ResetState(); }

void FileInputStream::ResetState()
{
    if (handle_)
        Close();
    position_ = 0;
}

bool FileInputStream::Open(const wchar_t* path)
{
    PathWin* p = PathWin::FromText(path);
    const bool opened = Open(p);
    if (p)
        p->Release();
    return opened;
}

bool FileInputStream::Open(const PathWin* path)
{
    ResetState();
    if (!path || !path->IsValid() || path->GetLength() == 0)
        return false;
    HANDLE h = ::CreateFileW(path->GetApiPath(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN | FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    handle_ = h;
    return true;
}

bool FileInputStream::Read(void* buffer, uint32_t n, uint32_t* read)
{
    if (read)
        *read = 0;
    if (!handle_ || !buffer)
        return false;
    DWORD got = 0;
    if (!::ReadFile(H(handle_), buffer, n, &got, nullptr) || got == 0)
        return false;
    if (read)
        *read = got;
    position_ += got;
    return true;
}

void FileInputStream::Close()
{
    if (handle_)
        ::CloseHandle(H(handle_));
    handle_ = nullptr;
}

bool FileInputStream::Move(int64_t distance, uint32_t method)
{
    if (!handle_)
        return false;
    LARGE_INTEGER to, at;
    to.QuadPart = distance;
    if (!::SetFilePointerEx(H(handle_), to, &at, method))
        return false;
    position_ = at.QuadPart;
    return true;
}

bool FileInputStream::Rewind() { return Move(0, FILE_BEGIN); }
bool FileInputStream::SeekEnd() { return Move(0, FILE_END); }

bool FileInputStream::SetPosition(int64_t position)
{
    if (handle_ && position == position_)
        return true;
    return Move(position, FILE_BEGIN);
}

bool FileInputStream::SeekFromEnd(int64_t n) { return Move(-n, FILE_END); }
bool FileInputStream::Skip(int64_t n) { return Move(n, FILE_CURRENT); }
bool FileInputStream::Back(int64_t n) { return Move(-n, FILE_CURRENT); }

void FileInputStream::CloseAndRelease() { Release(); }

} // namespace s::file::win
