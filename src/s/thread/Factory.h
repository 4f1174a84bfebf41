#pragma once
// The base of concrete factories (the XML attribute factory, ...): a PoolerBase
// whose subclass supplies Generate(), ResetObject(), DestroyObject() and
// NewInstance() (see PoolerBase.h), and calls DestroyKept() in its destructor.

#include "s/base/ClassId.h"
#include "s/thread/PoolerBase.h"

namespace s::thread {

class Factory : public PoolerBase
{
    S_CLASS_ID(L"s_thread_Factory")
};

} // namespace s::thread
