#include "kairon-cli/Items.h"

namespace kairon::cli
{

bool ReadTickTimes(s::file::win::PathWin& item, TickTimes& out, uint32_t& systemError)
{
    // The times the listing or a Query just made have cached; read only when none are.
    const s::time::Ticks modified = item.GetModifiedTicks(false);
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
