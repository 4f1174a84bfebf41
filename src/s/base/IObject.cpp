#include "s/base/IObject.h"

#include <cstdint>

namespace s::base {

uint32_t IObject::HashCode() const
{
    // One constant text per class, so its address identifies the class.
    const uint64_t id = reinterpret_cast<uintptr_t>(ClassId());
    return static_cast<uint32_t>(id ^ (id >> 32));
}

} // namespace s::base
