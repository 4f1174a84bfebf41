#pragma once
// Root of every class of the library.
//
// ClassId() answers the address of the class's one constant identifier text
// ("s_str_strbuffer_StrBuffer"); code recognises a class by comparing that
// pointer with the class's constant, never by comparing text:
//     if (obj->ClassId() == s::gui::win::Box::CLASS_ID) ...
//
// NewInstance() answers a new, empty object of the same class, owned by the
// caller: for pooled classes it comes from the class pool and goes back with
// Release() (see s/thread/Pooled.h); for the few unpooled classes it is made
// with new and deleted by the caller.
//
// Layout rule for the whole library: IObject (or the class's own interface
// derived from it) is the FIRST base of every concrete class, so that an
// IObject* and the class's own pointer have the same address. Type-erased
// holders (lists, pools, ObjLocker) rely on it.

#include "s/base/IComparable.h"

namespace s::base {

class IObject : public IComparable
{
public:
    /// The same value for every object of one class (derived from ClassId()).
    uint32_t HashCode() const override;

    virtual const wchar_t* ClassId() const = 0;
    virtual IObject* NewInstance() const = 0;
};

} // namespace s::base
