#pragma once
// The program's arguments, in the order of its command line. An argument given as a flag
// (written with a leading "-" or "/") is kept as "-" followed by its name, so "/silent"
// and "-silent" both read "-silent"; any other argument is kept as it stands.
//
// Ownership: texts answered stay with the command line (valid until it is released or
// parsed again). Pooled: take one from its class, give it back with Release().
// Thread affinity: filled once at start-up, then only read.

#include <cstdint>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"

namespace s::process::commandline {

class ICommandLine : public s::base::IObject, public s::thread::IPoolable
{
public:
    virtual uint32_t getArgumentCount() const = 0;
    /// The argument at index, or null when index is out of range.
    virtual const wchar_t* getArgument(uint32_t index) const = 0;
};

} // namespace s::process::commandline
