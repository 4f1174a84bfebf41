#pragma once
// A list of paths that owns its elements (s::file::win::PathArray).

#include <cstdint>

#include "s/base/IObject.h"

namespace s::file {

class IPathArray : public s::base::IObject
{
public:
    virtual uint32_t Count() const = 0;
    /// Appends the text as a new path.
    virtual void Append(const wchar_t* text) = 0;
    /// Index of the first path equal to `text` (ignoring case when asked), or -1.
    virtual int32_t IndexOfText(const wchar_t* text, bool ignoreCase) const = 0;
};

} // namespace s::file
