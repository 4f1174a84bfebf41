#pragma once
// A pooled file stream that writes a file through a 64 KiB buffer.
//
// Usually opened by PathWin::OpenOutputStream(); the caller owns the stream and
// finishes with CloseAndRelease() (Release() alone also closes the file through
// the pool's reset). A stream whose file did not open writes nothing: every call
// answers false and counts 0. Used by one thread at a time between acquire and
// release.

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/file/IFileOutputStream.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::file::win {

class PathWin;

class FileOutputStream : public s::base::IObject,
                         public s::file::IFileOutputStream,
                         public s::thread::IPoolable
{
    S_CLASS_ID(L"s_file_win_FileOutputStream")
    S_POOLED(FileOutputStream)

public:
    static constexpr uint32_t BUFFER_SIZE = 65536;

    /// Closes any open file and opens `path` for writing: appending (at its end,
    /// made when missing) or replacing its content (truncated or made). The folder
    /// must exist (PathWin::OpenOutputStream makes it). False when it cannot be opened.
    bool Open(const wchar_t* path, bool append);
    /// The same for a path (stays with the caller).
    bool Open(const PathWin* path, bool append);
    bool IsOpen() const override { return handle_ != nullptr; }

    /// ResetState().
    void Reset() override;
    /// Closes the file (writing what is buffered); position and buffered count 0.
    void ResetState();

    /// Buffers the bytes; whenever the buffer fills up and bytes remain, the whole
    /// buffer is written. False when such a write fails or falls short.
    bool Write(const void* data, uint32_t n, uint32_t* written) override;
    /// Writes the buffered bytes and asks the system to flush the file.
    bool Flush() override;
    /// Flush(), then the file ends at the position.
    bool SetEnd() override;
    void Close() override;
    /// Counting buffered bytes.
    int64_t GetPosition() const override { return position_; }
    bool IsSeekable() const override { return true; }
    // Positioning writes the buffered bytes first.
    bool Rewind() override;
    bool SeekEnd() override;
    bool SetPosition(int64_t position) override;
    bool SeekFromEnd(int64_t n) override;
    bool Skip(int64_t n) override;
    bool Back(int64_t n) override;
    void CloseAndRelease() override;

    /// Bytes waiting in the buffer.
    uint32_t BufferedCount() const { return buffered_; }

protected:
    FileOutputStream() = default;
    ~FileOutputStream() override;

private:
    bool WriteBuffered();
    bool Move(int64_t distance, uint32_t method);

    void* handle_ = nullptr;             // the file's HANDLE; null when closed
    unsigned char* buffer_ = nullptr;    // BUFFER_SIZE bytes while open
    uint32_t buffered_ = 0;
    int64_t position_ = 0;
};

} // namespace s::file::win
