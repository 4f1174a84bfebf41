#pragma once
// A readable byte stream with a position.
//
// Failures answer false and change nothing; reading at the end is not a failure
// (it answers true with 0 bytes read). Positions are byte offsets.
// Release() gives a stream that was handed to the caller (OpenInputStream(),
// a pooled stream) back to its pool; for streams that are faces of a larger
// object (an array, a string) it releases that object.
// A stream is used by one thread at a time.

#include <cstdint>

namespace s::io {

class IInputStream
{
public:
    virtual ~IInputStream() = default;

    virtual void Release() = 0;

    /// Copies up to n bytes into buffer; *read (may be null) gets the count.
    virtual bool Read(void* buffer, uint32_t n, uint32_t* read) = 0;
    /// Ends the use of the underlying source; further reads read nothing.
    virtual void Close() = 0;

    virtual int64_t GetPosition() const = 0;
    /// Whether the position functions work (true for every stream of this library).
    virtual bool IsSeekable() const = 0;
    virtual bool Rewind() = 0;
    virtual bool SeekEnd() = 0;
    virtual bool SetPosition(int64_t position) = 0;
    /// Position = size - n.
    virtual bool SeekFromEnd(int64_t n) = 0;
    /// Moves the position forward by n bytes.
    virtual bool Skip(int64_t n) = 0;
    /// Moves the position back by n bytes.
    virtual bool Back(int64_t n) = 0;
};

} // namespace s::io
