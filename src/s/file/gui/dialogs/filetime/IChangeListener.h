#pragma once
// What the change engine tells an observer about each item it writes (or, in plan mode,
// would write): a front end that lists, logs or confirms items one by one uses it; the
// dialog needs none.
//
//     class Printer : public IChangeListener { ... };
//     Printer printer;
//     engine.setListener(&printer);          // not owned; set while the frame is idle
//     engine.setPlanOnly(true);              // optional: tell, write nothing
//
// Threads: both calls come on the engine's worker thread, in the engine's order (a
// folder's contents before the folder itself), never with the frame's item lock held.
// Pointers given to a call are valid only during that call.

#include <cstdint>

namespace s::file::gui::dialogs::filetime
{

// File-system ticks (100 ns since 1601) of an item's three times, as read or as planned.
// 0 where the item has no time to read (a drive root).
struct ItemTimes
{
    int64_t created = 0;
    int64_t modified = 0;
    int64_t accessed = 0;
};

class IChangeListener
{
  public:
    virtual ~IChangeListener() = default;

    // Before the write of an item that passed the attribute filter: its full path (the
    // plain form, as shown to users), whether it is a folder, its times as read before the
    // engine walked into it, and the times that will be written. A time the request leaves
    // unchanged carries its old value. Answer false to skip this item: it is then neither
    // written nor counted as failed (its contents, handled before it, are not affected).
    // Items the engine cannot reach at all (a path that cannot be split) are not offered;
    // they are counted as failed with their error.
    virtual bool beforeWrite(const wchar_t* path, bool isFolder, const ItemTimes& before,
                             const ItemTimes& planned) = 0;

    // After the write attempt of an item that beforeWrite let through (never in plan
    // mode): ok, or the system's error code of what failed (0 when ok).
    virtual void afterWrite(const wchar_t* path, bool ok, uint32_t systemError) = 0;

    // Why an item that passed the attribute filter has no time of its own to take (mode
    // FromItem). Such an item is left alone and counted apart from failures.
    enum class NoDate
    {
        NoPhotoDate,  // no usable date taken in the file (or a folder: none to have)
        NoNameDate,   // no date in the name
        EmptyFolder,  // nothing inside that the filters let through
        NotAFolder,   // newest inside: a file holds no items (not counted)
        Before1970    // the date found lies before 1970: no file time can hold it
    };
    // Instead of beforeWrite for such an item. The default ignores it.
    virtual void withoutDate(const wchar_t* path, bool isFolder, NoDate reason)
    {
        (void)path;
        (void)isFolder;
        (void)reason;
    }
    // In plan mode only, right after the plan has listed a folder (to walk into it or to
    // search it): its full path and its access time before the listing (ticks; 0 when it
    // has none), which the listing may have stamped anew. The plan writes nothing itself;
    // a front end that keeps folders as they were gives this one its time back
    // (PlanRecorder::keepAccessTime). Folders that the plan did not list are never told.
    // The default ignores it.
    virtual void listedInPlan(const wchar_t* path, int64_t accessedBefore)
    {
        (void)path;
        (void)accessedBefore;
    }
};

} // namespace s::file::gui::dialogs::filetime
