#pragma once
// A file-system path: parsed once, with its file-system facts cached.
//
// The one implementation is s::file::win::PathWin; code that only asks the
// questions below may hold an IPath*. Objects come from PathWin's class pool
// and go back with Release() (s::thread::IPoolable face of the implementation).
// A path is used by one thread at a time.

#include <cstdint>

#include "s/base/IObject.h"

namespace s::file {

class IPath : public s::base::IObject
{
public:
    /// Empties every component and forgets every cached fact.
    virtual void Clear() = 0;
    /// The path was given a non-empty text that split without error.
    virtual bool IsValid() const = 0;
    virtual bool IsAbsolute() const = 0;
    virtual bool Exists() = 0;
    virtual bool IsDirectory() = 0;
    virtual bool IsFile() = 0;
    /// The normalised full path; valid until the path changes.
    virtual const wchar_t* GetFullPath() const = 0;
    /// The text for system calls: the "\\?\" long form of the full path (any length),
    /// so that the system never rewrites a name.
    virtual const wchar_t* GetApiPath() const = 0;
    virtual uint32_t GetLength() const = 0;
    virtual bool SetPath(const wchar_t* text) = 0;
};

} // namespace s::file
