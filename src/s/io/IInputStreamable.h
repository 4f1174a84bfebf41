#pragma once
// Something whose bytes can be read through a separate stream.
//
// OpenInputStream() answers a new stream with its own position, owned by the
// caller, who gives it back with Release(). The stream reads the source's
// current bytes: the source must outlive the stream and must not be changed
// while it is read. Never null for in-memory sources; a stream that opens
// nothing (a missing file) reads nothing.

#include "s/io/IInputStream.h"

namespace s::io {

class IInputStreamable
{
public:
    virtual ~IInputStreamable() = default;

    virtual IInputStream* OpenInputStream() = 0;
};

} // namespace s::io
