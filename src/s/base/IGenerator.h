#pragma once
// Something that hands out objects (a pool's acquire face).
//
// Generate() answers an object owned by the caller, or null when making one
// failed. How to give it back is the generator's business (for class pools:
// the object's Release(), or the pool's IDestructor face).

namespace s::base {

class IGenerator
{
public:
    virtual ~IGenerator() = default;

    virtual void* Generate() = 0;
};

} // namespace s::base
