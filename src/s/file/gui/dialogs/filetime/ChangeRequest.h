#pragma once
// What the change engine writes: the parameters of one job, captured on the
// user-interface thread before the worker starts, read by the worker.

#include <cstdint>

#include "s/time/EpochSeconds.h"

namespace s::time
{
class TimeZone;
}

namespace s::file::gui::dialogs::filetime
{

// Method keys. Recognised by identity (compare the pointer with the constant), never by
// text. The same texts are the values of the settings "Mode" and "SyncMode".
extern const wchar_t ModeSpecific[]; // "Specific": the request times as they are
extern const wchar_t ModeSync[];     // "Sync": each item's own time of the sync target
extern const wchar_t ModeOffset[];   // "Offset": each item's own time plus offset
extern const wchar_t ModeFromItem[]; // "FromItem": a time the item states itself (fromSource)

extern const wchar_t SyncCreated[];  // "Created"
extern const wchar_t SyncModified[]; // "Modified"
extern const wchar_t SyncAccessed[]; // "Accessed"
extern const wchar_t SyncCurrent[];  // "Current"
extern const wchar_t SyncNewest[];   // "Newest": the newest time among the dropped items
extern const wchar_t SyncOldest[];   // "Oldest": the oldest time among the dropped items

// Where mode FromItem finds each item's time (the setting "FromItem" keeps the same texts).
extern const wchar_t FromTaken[];        // "Taken": the date a photo was taken (EXIF)
extern const wchar_t FromName[];         // "Name": the date and time in the item's name
extern const wchar_t FromNewestInside[]; // "NewestInside": a folder's newest item, all levels below

struct ChangeRequest
{
    using EpochSeconds = s::time::EpochSeconds;

    // The new times; negative: that time is left unchanged. In mode Sync and Offset they
    // are only markers (zero or positive: this time is changed).
    EpochSeconds created = 0;
    EpochSeconds modified = 0;
    EpochSeconds accessed = 0;
    // Also change everything inside a dropped folder.
    bool includeContents = false;
    // Which items are changed, by the first of system, hidden, read-only that an item
    // has (none of them: normal). Items dropped directly as files ignore these four.
    bool normal = false;
    bool readOnly = false;
    bool hidden = false;
    bool system = false;
    // ModeSpecific, ModeSync or ModeOffset.
    const wchar_t* mode = ModeSpecific;
    // One of the Sync* keys.
    const wchar_t* syncTarget = SyncCurrent;
    // Seconds added in mode Offset (a time-zone shift is carried out as such a fixed offset).
    int64_t offset = 0;
    // Mode FromItem: FromTaken, FromName or FromNewestInside.
    const wchar_t* fromSource = FromTaken;
    // Mode FromItem: the zone a wall-clock time (a name, a photo without its offset) is read
    // in, with each date's own daylight rule; null = the system's zone. A library-owned zone
    // (zoneAt, systemZone): not released.
    const s::time::TimeZone* wallClockZone = nullptr;
    // Mode FromItem: read wall-clock times with the zone's daylight rule for their date
    // (false: its standard offset all year).
    bool wallClockDaylight = true;

    // Mode Specific, target Current, all times 0, all flags false, offset 0, source Taken
    // read in the system's zone.
    void reset() { *this = ChangeRequest(); }
};

} // namespace s::file::gui::dialogs::filetime
