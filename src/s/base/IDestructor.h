#pragma once
// Disposes of an object held in a slot (a list element, an owned field).
//
// Destroy() receives the ADDRESS of the slot, disposes of the object the slot
// points to (deleting it, or giving it back to its pool) and sets the slot to
// null. A null slot content is allowed and ignored.
//
// What the slot holds: the object's pointer as its own class type, which by the
// library's layout rule (IObject first, see IObject.h) is also its IObject*.
// Implementations are shared and must be callable from any thread.

namespace s::base {

class IDestructor
{
public:
    virtual ~IDestructor() = default;

    virtual void Destroy(void** slot) = 0;
};

} // namespace s::base
