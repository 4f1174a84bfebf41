#include "kairon-cli/Items.h"

namespace kairon::cli
{

bool ReadTickTimes(s::file::win::PathWin& item, TickTimes& out, uint32_t& systemError)
{
    // Read afresh: the times may have changed since the item was listed.
    const s::time::Ticks modified = item.GetModifiedTicks(true);
    if (modified == 0)
    {
        systemError = GetLastError();
        if (systemError == 0)
            systemError = ERROR_FILE_NOT_FOUND;
        return false;
    }
    out.modified = static_cast<int64_t>(modified);
    out.created = static_cast<int64_t>(item.GetCreationTicks());
    out.accessed = static_cast<int64_t>(item.GetAccessTicks());
    systemError = 0;
    return true;
}

} // namespace kairon::cli
