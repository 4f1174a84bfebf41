#pragma once
// The command line of kairon-cli: what the user asked for, read from the arguments and
// checked before anything is touched.
//
//     kairon-cli show [--json] [--recursive] PATH...
//     kairon-cli set [fields] METHOD [--recursive] [--include KINDS] [--dry-run] PATH...
//     kairon-cli undo [--force] [JOURNAL]
//     kairon-cli zones
//
// Values that can be checked without the file system (dates, offsets, sync targets, kinds)
// are checked here; zones, the reference item and the paths are checked by the commands.

#include <cstdint>
#include <string>
#include <vector>

#include "s/time/EpochSeconds.h"

namespace kairon::cli
{

enum class Command
{
    None,
    Help,
    Version,
    Show,
    Set,
    Undo,
    Zones,
};

enum class Method
{
    None,
    To,        // --to DATETIME
    SyncTo,    // --sync-to created|modified|accessed|newest|oldest
    Reference, // --reference FILE
    Offset,    // --offset +-N{s,m,h,d}
    ZoneShift, // --zone-shift FROM TO [--from-dst] [--to-dst]
    From,      // --from taken|name|newest-inside [--zone ZONE]
};

// Where --from finds each item's time.
enum class FromSource
{
    Taken,        // the date a photo was taken
    Name,         // the date in the item's name
    NewestInside, // a folder: the newest item inside it
};

enum class SyncTarget
{
    Created,
    Modified,
    Accessed,
    Newest,
    Oldest,
};

struct Options
{
    Command command = Command::None;
    std::vector<std::wstring> paths; // as typed
    bool json = false;
    bool recursive = false;
    bool dryRun = false;
    bool force = false;
    bool quiet = false;

    // The fields to change; none given means all three.
    bool created = false;
    bool modified = false;
    bool accessed = false;

    Method method = Method::None;
    s::time::EpochSeconds to = 0;
    SyncTarget syncTarget = SyncTarget::Modified;
    std::wstring reference;
    int64_t offset = 0;
    std::wstring fromZone;
    std::wstring toZone;
    bool fromDst = false;
    bool toDst = false;
    FromSource fromSource = FromSource::Taken;
    // --zone: the zone clock times of --from are read in; empty = the system's.
    std::wstring clockZone;

    // --include: which items inside folders (and folders given) are changed, by the first
    // of system, hidden, read-only an item has, else normal. The window's defaults.
    bool includeNormal = true;
    bool includeReadOnly = false;
    bool includeHidden = true;
    bool includeSystem = false;

    // undo: the journal given, or empty for the last run.
    std::wstring journal;
};

/// Reads the arguments after the program name. `now` is what "now" means. Answers false with
/// a one-line message in `error` for a usage error.
bool ParseOptions(int argc, const wchar_t* const* argv, s::time::EpochSeconds now, Options& out,
                  std::wstring& error);

/// The text of --help.
const wchar_t* UsageText();

} // namespace kairon::cli
