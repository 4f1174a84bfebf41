#pragma once
// A writable byte stream with a position.
//
// Failures answer false; *written tells how much got through. Writing at or past
// the end extends the target. Release() as in IInputStream.h.
// A stream is used by one thread at a time.

#include <cstdint>

namespace s::io {

class IOutputStream
{
public:
    virtual ~IOutputStream() = default;

    virtual void Release() = 0;

    /// Writes n bytes of data at the position; *written (may be null) gets the count.
    virtual bool Write(const void* data, uint32_t n, uint32_t* written) = 0;
    /// Pushes buffered bytes to the target (nothing to do for memory targets).
    virtual bool Flush() = 0;
    /// Cuts the target at the current position.
    virtual bool SetEnd() = 0;
    /// Flushes and ends the use of the target.
    virtual void Close() = 0;

    virtual int64_t GetPosition() const = 0;
    virtual bool IsSeekable() const = 0;
    virtual bool Rewind() = 0;
    virtual bool SeekEnd() = 0;
    virtual bool SetPosition(int64_t position) = 0;
    virtual bool SeekFromEnd(int64_t n) = 0;
    virtual bool Skip(int64_t n) = 0;
    virtual bool Back(int64_t n) = 0;
};

} // namespace s::io
