#pragma once
// What a planned run would do, item by item: the engine's listener in plan mode that keeps
// one row per time that would change, for a preview to show. A plan writes nothing, but
// listing a folder stamps its access time where the system keeps them: each folder that
// the plan listed gets back the access time it had, to the tick (keepAccessTime, which the
// command line's dry run uses too); a folder no listing touched is never written.
//
// Threads: the engine's worker fills the rows during a run; read them on any thread once
// the run has ended. No window code.

#include <cstdint>
#include <string>
#include <vector>

#include "s/file/gui/dialogs/filetime/IChangeListener.h"

namespace s::file::gui::dialogs::filetime
{

// One row of a list of items: an item with one of its times (field 0 created, 1 modified,
// 2 accessed) as it is and as planned, or (field -1) an item that will not or could not be
// changed with the system's error code of why.
struct ItemRow
{
    std::wstring path;
    int32_t field = -1;
    int64_t current = 0;
    int64_t planned = 0;
    uint32_t error = 0;
};

class PlanRecorder : public IChangeListener
{
  public:
    bool beforeWrite(const wchar_t* path, bool isFolder, const ItemTimes& before, const ItemTimes& planned) override;
    void afterWrite(const wchar_t*, bool, uint32_t) override {}
    void listedInPlan(const wchar_t* path, int64_t accessedBefore) override { keepAccessTime(path, accessedBefore); }

    std::vector<ItemRow>& rows() { return rows_; }
    // Items with at least one time that would change.
    uint32_t items() const { return items_; }
    void clear()
    {
        rows_.clear();
        items_ = 0;
    }

    // Gives the folder at `path` back its access time `accessed` (ticks) when its listing
    // has stamped a new one. Nothing for 0.
    static void keepAccessTime(const wchar_t* path, int64_t accessed);

  private:
    std::vector<ItemRow> rows_;
    uint32_t items_ = 0;
};

} // namespace s::file::gui::dialogs::filetime
