#pragma once
// The library's text interface: a run of UTF-16 units with a length.
//
// s::str::strbuffer::StrBuffer is the implementation; code that only reads text
// may take an IStr. Data() is NOT terminated; CStr() is.

#include <cstdint>

#include "s/base/IObject.h"

namespace s::str {

class IStr : public s::base::IObject
{
public:
    /// Number of UTF-16 units in use.
    virtual uint32_t Length() const = 0;
    /// The units, not terminated; may be null when nothing was ever stored.
    virtual const wchar_t* Data() const = 0;
    /// The text terminated with a 0 unit; never null. Valid until the text changes.
    virtual const wchar_t* CStr() const = 0;
};

} // namespace s::str
