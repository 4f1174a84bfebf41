#include "s/cleaner/CleanerIObject.h"

#include "s/base/IObject.h"

namespace s::cleaner {

CleanerIObject& CleanerIObject::Instance()
{
    static CleanerIObject instance;
    return instance;
}

void CleanerIObject::Destroy(void** slot)
{
    if (!slot)
        return;
    delete static_cast<s::base::IObject*>(*slot);
    *slot = nullptr;
}

} // namespace s::cleaner
