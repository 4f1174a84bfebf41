#pragma once
// A buffered byte stream written to a file (s::file::win::FileOutputStream).
//
// Written bytes reach the file on Flush(), Close(), any positioning call, or
// when the buffer is full; callers finish with CloseAndRelease().

#include "s/io/IOutputStream.h"

namespace s::file {

class IFileOutputStream : public s::io::IOutputStream
{
public:
    /// A file is open (a stream whose file did not open writes nothing).
    virtual bool IsOpen() const = 0;
    /// Close(), then back to the pool.
    virtual void CloseAndRelease() = 0;
};

} // namespace s::file
