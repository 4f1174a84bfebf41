#pragma once
// A pooled file stream that reads a file unbuffered, asking the system for
// sequential access.
//
// Usually opened by PathWin::OpenInputStream(); the caller owns the stream and
// gives it back with CloseAndRelease() (or Release(): the pool's reset closes the
// file). A stream whose file did not open reads nothing: every call answers false
// and counts 0. Used by one thread at a time between acquire and release.

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/file/IFileInputStream.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::file::win {

class PathWin;

class FileInputStream : public s::base::IObject,
                        public s::file::IFileInputStream,
                        public s::thread::IPoolable
{
    S_CLASS_ID(L"s_file_win_FileInputStream")
    S_POOLED(FileInputStream)

public:
    /// Closes any open file and opens `path` (a path text; long paths allowed) for
    /// reading. False when it cannot be opened.
    bool Open(const wchar_t* path);
    /// The same for a path (stays with the caller).
    bool Open(const PathWin* path);
    bool IsOpen() const override { return handle_ != nullptr; }

    /// ResetState().
    void Reset() override;
    /// Closes the file; position 0.
    void ResetState();

    /// Up to n bytes; at the end of the file, or on failure, 0 and false.
    bool Read(void* buffer, uint32_t n, uint32_t* read) override;
    void Close() override;
    int64_t GetPosition() const override { return position_; }
    bool IsSeekable() const override { return true; }
    bool Rewind() override;
    bool SeekEnd() override;
    /// Nothing to do when already there.
    bool SetPosition(int64_t position) override;
    bool SeekFromEnd(int64_t n) override;
    bool Skip(int64_t n) override;
    bool Back(int64_t n) override;
    void CloseAndRelease() override;

protected:
    FileInputStream() = default;
    ~FileInputStream() override;

private:
    bool Move(int64_t distance, uint32_t method);

    void* handle_ = nullptr;  // the file's HANDLE; null when closed
    int64_t position_ = 0;
};

} // namespace s::file::win
