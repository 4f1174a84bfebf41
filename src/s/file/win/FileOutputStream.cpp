#include "s/file/win/FileOutputStream.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "s/file/win/PathWin.h"

namespace s::file::win {

namespace {

HANDLE H(void* handle) { return static_cast<HANDLE>(handle); }

} // namespace

// --- FileOutputStream -------------------------------------------------------------------

FileOutputStream::~FileOutputStream() { ResetState(); }

void FileOutputStream::Reset() { ResetState(); }

void FileOutputStream::ResetState()
{
    if (handle_)
        Close();
    position_ = 0;
    buffered_ = 0;
}

bool FileOutputStream::Open(const wchar_t* path, bool append)
{
    PathWin* p = PathWin::FromText(path);
    const bool opened = Open(p, append);
    if (p)
        p->Release();
    return opened;
}

bool FileOutputStream::Open(const PathWin* path, bool append)
{
    ResetState();
    if (!path || !path->IsValid() || path->GetLength() == 0)
        return false;
    HANDLE h = ::CreateFileW(path->GetApiPath(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    buffer_ = static_cast<unsigned char*>(std::malloc(BUFFER_SIZE));
    if (!buffer_) {
        ::CloseHandle(h);
        return false;
    }
    handle_ = h;
    if (append)
        SeekEnd();
    return true;
}

bool FileOutputStream::WriteBuffered()
{
    if (!handle_)
        return false;
    if (buffered_ == 0)
        return true;
    DWORD done = 0;
    const bool ok = ::WriteFile(H(handle_), buffer_, buffered_, &done, nullptr) && done == buffered_;
    if (ok) {
        buffered_ = 0;
    } else if (done > 0 && done < buffered_) {
        // Keep what did not get through, for a later try.
        std::memmove(buffer_, buffer_ + done, buffered_ - done);
        buffered_ -= done;
    }
    return ok;
}

bool FileOutputStream::Write(const void* data, uint32_t n, uint32_t* written)
{
    if (written)
        *written = 0;
    if (!handle_ || (!data && n))
        return false;
    const unsigned char* from = static_cast<const unsigned char*>(data);
    uint32_t remaining = n;
    while (remaining) {
        const uint32_t room = BUFFER_SIZE - buffered_;
        const uint32_t take = remaining < room ? remaining : room;
        std::memcpy(buffer_ + buffered_, from, take);
        buffered_ += take;
        from += take;
        remaining -= take;
        position_ += take;
        if (written)
            *written += take;
        if (remaining && !WriteBuffered())
            return false;
    }
    return true;
}

bool FileOutputStream::Flush()
{
    if (!WriteBuffered())
        return false;
    return ::FlushFileBuffers(H(handle_)) != FALSE;
}

bool FileOutputStream::SetEnd()
{
    if (!Flush())
        return false;
    return ::SetEndOfFile(H(handle_)) != FALSE;
}

void FileOutputStream::Close()
{
    if (handle_) {
        Flush();
        ::CloseHandle(H(handle_));
        handle_ = nullptr;
    }
    std::free(buffer_);
    buffer_ = nullptr;
    buffered_ = 0;
}

bool FileOutputStream::Move(int64_t distance, uint32_t method)
{
    if (!WriteBuffered())
        return false;
    LARGE_INTEGER to, at;
    to.QuadPart = distance;
    if (!::SetFilePointerEx(H(handle_), to, &at, method))
        return false;
    position_ = at.QuadPart;
    return true;
}

bool FileOutputStream::Rewind() { return Move(0, FILE_BEGIN); }
bool FileOutputStream::SeekEnd() { return Move(0, FILE_END); }

bool FileOutputStream::SetPosition(int64_t position)
{
    if (handle_ && position == position_)
        return true;
    return Move(position, FILE_BEGIN);
}

bool FileOutputStream::SeekFromEnd(int64_t n) { return Move(-n, FILE_END); }
bool FileOutputStream::Skip(int64_t n) { return Move(n, FILE_CURRENT); }
bool FileOutputStream::Back(int64_t n) { return Move(-n, FILE_CURRENT); }

void FileOutputStream::CloseAndRelease()
{
    Close();
    Release();
}

} // namespace s::file::win
