#include "s/file/gui/dialogs/filetime/PlanRecorder.h"

#include "s/file/win/PathWin.h"

namespace s::file::gui::dialogs::filetime
{

using s::file::win::PathWin;

bool PlanRecorder::beforeWrite(const wchar_t* path, bool, const ItemTimes& before, const ItemTimes& planned)
{
    const int64_t from[3] = {before.created, before.modified, before.accessed};
    const int64_t to[3] = {planned.created, planned.modified, planned.accessed};
    bool any = false;
    for (int32_t k = 0; k < 3; ++k)
    {
        if (from[k] == to[k])
            continue;
        rows_.push_back(ItemRow{path, k, from[k], to[k], 0});
        any = true;
    }
    items_ += any ? 1 : 0;
    return true;
}

void PlanRecorder::keepAccessTime(const wchar_t* path, int64_t accessed)
{
    if (accessed <= 0)
        return;
    PathWin* folder = PathWin::FromText(path);
    if (folder == nullptr)
        return;
    if (static_cast<int64_t>(folder->GetAccessTicks(true)) != accessed)
    {
        const auto ticks = static_cast<s::time::Ticks>(accessed);
        PathWin::WriteTimeTicks(folder->AttributePath(), nullptr, &ticks, nullptr);
    }
    folder->Release();
}

} // namespace s::file::gui::dialogs::filetime
