#pragma once
// A byte stream read from a file (s::file::win::FileInputStream).
//
// Differs from the general IInputStream in one point that readers of files rely
// on: Read() at the end of the file answers false with a count of 0.

#include "s/io/IInputStream.h"

namespace s::file {

class IFileInputStream : public s::io::IInputStream
{
public:
    /// A file is open (a stream whose file did not open reads nothing).
    virtual bool IsOpen() const = 0;
    /// Gives the stream back to its pool, which closes the file.
    virtual void CloseAndRelease() = 0;
};

} // namespace s::file
