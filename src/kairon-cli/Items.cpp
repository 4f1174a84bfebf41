#include "kairon-cli/Items.h"

namespace kairon::cli
{

bool ReadTickTimes(s::file::win::PathWin& item, TickTimes& out, uint32_t& systemError)
{
    // The times the listing or a Query just made have cached; read only when none are. A 0
    // from the getters is no time (a drive root has none of its own).
    if (!item.HasTimes())
    {
        systemError = GetLastError();
        if (systemError == 0)
            systemError = ERROR_FILE_NOT_FOUND;
        return false;
    }
    out.modified = static_cast<int64_t>(item.GetModifiedTicks());
    out.created = static_cast<int64_t>(item.GetCreationTicks());
    out.accessed = static_cast<int64_t>(item.GetAccessTicks());
    systemError = 0;
    return true;
}

} // namespace kairon::cli
