#pragma once
// An IDestructor that deletes: Destroy(&slot) deletes the IObject the slot
// points to through its virtual destructor and clears the slot.
// For objects made with new (unpooled classes) held by a list or an ObjLocker.
// Instance() is the one process-wide object (made on first use, thread-safe).

#include "s/base/IDestructor.h"

namespace s::cleaner {

class CleanerIObject : public s::base::IDestructor
{
public:
    static CleanerIObject& Instance();

    /// The slot holds an IObject* (or null).
    void Destroy(void** slot) override;
};

} // namespace s::cleaner
