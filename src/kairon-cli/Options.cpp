#include "kairon-cli/Options.h"

#include <cwchar>

#include "kairon-cli/TimeText.h"

namespace kairon::cli
{

namespace
{

const wchar_t USAGE[] =
    L"Usage:\n"
    L"  kairon-cli show [--json] [--recursive] PATH...\n"
    L"  kairon-cli set [--created] [--modified] [--accessed] METHOD [--recursive]\n"
    L"                 [--include KINDS] [--dry-run] [--quiet] PATH...\n"
    L"  kairon-cli undo [--force] [JOURNAL]\n"
    L"  kairon-cli zones\n"
    L"\n"
    L"show   prints each item's name, size and created, modified and accessed times, in\n"
    L"       local time with its offset and in UTC (--json: one JSON object per line).\n"
    L"       --recursive also shows everything inside folders.\n"
    L"set    changes the times of the items (default: all three fields) by one METHOD:\n"
    L"  --to DATETIME          a date and time: 2024-05-01T14:30:00 (local time of that\n"
    L"                         date), with Z or +hh:mm for another offset, or \"now\"\n"
    L"  --sync-to TARGET       each item's own created, modified or accessed time, or the\n"
    L"                         newest or oldest time among all the items (and their contents)\n"
    L"  --reference FILE       the times of another file or folder\n"
    L"  --offset OFFSET        add an offset: -1h30m, +2d, 90s (units s, m, h, d)\n"
    L"  --zone-shift FROM TO   move times from one zone's clock to another's; zones by key\n"
    L"                         name (\"Tokyo Standard Time\"), display name, or \"local\";\n"
    L"                         --from-dst / --to-dst apply that zone's daylight rule\n"
    L"  --from SOURCE          a time the item states itself: taken (the date a photo was\n"
    L"                         taken), name (the date in its name; a date alone is\n"
    L"                         midnight), newest-inside (a folder: its newest item at any\n"
    L"                         level, deepest folders first; files are left alone). Items\n"
    L"                         without one are left alone and counted\n"
    L"  --zone ZONE            with --from: the zone clock times are read in, with each\n"
    L"                         date's daylight rule (default: local; photos that state\n"
    L"                         their offset need none)\n"
    L"  --recursive            also change everything inside the folders given\n"
    L"  --include KINDS        which items inside folders are changed (and folders given),\n"
    L"                         by kind: normal,readonly,hidden,system (default\n"
    L"                         normal,hidden); files given by name are always changed\n"
    L"  --dry-run              list every item that would change, old and new times; write\n"
    L"                         nothing\n"
    L"  --quiet                no summary line\n"
    L"       Every real run keeps a journal of the times it replaced (in\n"
    L"       %LOCALAPPDATA%\\Kairon\\Journal, or the folder named by KAIRON_JOURNAL_DIR).\n"
    L"undo   puts back the times replaced by the last run not yet undone (or by the run of\n"
    L"       the JOURNAL file given). Items modified since that run are left alone and\n"
    L"       listed; --force puts them back too.\n"
    L"zones  lists the time zones: key name and display name.\n"
    L"\n"
    L"Exit status: 0 when every item was done, 1 when some failed (each is listed on\n"
    L"standard error with the reason), 2 for a usage error.\n";

bool Is(const wchar_t* arg, const wchar_t* name)
{
    return wcscmp(arg, name) == 0;
}

// "--name=value": the value after "=" when arg starts with name and "=".
const wchar_t* InlineValue(const wchar_t* arg, const wchar_t* name)
{
    const size_t n = wcslen(name);
    return wcsncmp(arg, name, n) == 0 && arg[n] == L'=' ? arg + n + 1 : nullptr;
}

bool SetMethod(Options& out, Method method, const wchar_t* option, std::wstring& error)
{
    if (out.method != Method::None)
    {
        error = L"only one of --to, --sync-to, --reference, --offset, --zone-shift and --from may be given (";
        error += option;
        error += L" is a second)";
        return false;
    }
    out.method = method;
    return true;
}

bool ParseKinds(const wchar_t* text, Options& out, std::wstring& error)
{
    out.includeNormal = out.includeReadOnly = out.includeHidden = out.includeSystem = false;
    std::wstring list = text;
    size_t start = 0;
    bool any = false;
    while (start <= list.size())
    {
        size_t end = list.find(L',', start);
        if (end == std::wstring::npos)
            end = list.size();
        const std::wstring kind = list.substr(start, end - start);
        if (_wcsicmp(kind.c_str(), L"normal") == 0)
            out.includeNormal = true;
        else if (_wcsicmp(kind.c_str(), L"readonly") == 0 || _wcsicmp(kind.c_str(), L"read-only") == 0)
            out.includeReadOnly = true;
        else if (_wcsicmp(kind.c_str(), L"hidden") == 0)
            out.includeHidden = true;
        else if (_wcsicmp(kind.c_str(), L"system") == 0)
            out.includeSystem = true;
        else if (_wcsicmp(kind.c_str(), L"all") == 0)
            out.includeNormal = out.includeReadOnly = out.includeHidden = out.includeSystem = true;
        else
        {
            error = L"unknown kind \"" + kind + L"\" for --include (use normal, readonly, hidden, system)";
            return false;
        }
        any = true;
        start = end + 1;
    }
    if (!any)
    {
        error = L"--include needs a list of kinds: normal,readonly,hidden,system";
        return false;
    }
    return true;
}

bool ParseFromSource(const wchar_t* text, FromSource& out, std::wstring& error)
{
    const struct
    {
        const wchar_t* name;
        FromSource source;
    } sources[] = {{L"taken", FromSource::Taken}, {L"name", FromSource::Name},
                   {L"newest-inside", FromSource::NewestInside}};
    for (const auto& s : sources)
    {
        if (_wcsicmp(text, s.name) == 0)
        {
            out = s.source;
            return true;
        }
    }
    error = L"unknown --from source \"";
    error += text;
    error += L"\" (use taken, name or newest-inside)";
    return false;
}

bool ParseSyncTarget(const wchar_t* text, SyncTarget& out, std::wstring& error)
{
    const struct
    {
        const wchar_t* name;
        SyncTarget target;
    } targets[] = {{L"created", SyncTarget::Created}, {L"modified", SyncTarget::Modified},
                   {L"accessed", SyncTarget::Accessed}, {L"newest", SyncTarget::Newest},
                   {L"oldest", SyncTarget::Oldest}};
    for (const auto& t : targets)
    {
        if (_wcsicmp(text, t.name) == 0)
        {
            out = t.target;
            return true;
        }
    }
    error = L"unknown --sync-to target \"";
    error += text;
    error += L"\" (use created, modified, accessed, newest or oldest)";
    return false;
}

} // namespace

const wchar_t* UsageText()
{
    return USAGE;
}

bool ParseOptions(int argc, const wchar_t* const* argv, s::time::EpochSeconds now, Options& out,
                  std::wstring& error)
{
    out = Options();
    error.clear();
    int i = 0;
    if (argc <= 0)
    {
        error = L"no command given";
        return false;
    }
    const wchar_t* command = argv[i++];
    if (Is(command, L"--help") || Is(command, L"-h") || Is(command, L"/?") || Is(command, L"help"))
    {
        out.command = Command::Help;
        return true;
    }
    if (Is(command, L"--version") || Is(command, L"version"))
    {
        out.command = Command::Version;
        return true;
    }
    if (Is(command, L"show"))
        out.command = Command::Show;
    else if (Is(command, L"set"))
        out.command = Command::Set;
    else if (Is(command, L"undo"))
        out.command = Command::Undo;
    else if (Is(command, L"zones"))
        out.command = Command::Zones;
    else
    {
        error = L"unknown command \"";
        error += command;
        error += L"\" (use show, set, undo or zones)";
        return false;
    }
    const bool isSet = out.command == Command::Set;
    const bool isShow = out.command == Command::Show;
    const bool isUndo = out.command == Command::Undo;

    bool onlyPaths = false;
    for (; i < argc; ++i)
    {
        const wchar_t* arg = argv[i];
        if (onlyPaths || arg[0] != L'-' || arg[1] == 0)
        {
            if (isUndo)
            {
                if (!out.journal.empty())
                {
                    error = L"undo takes at most one journal";
                    return false;
                }
                out.journal = arg;
            }
            else if (out.command == Command::Zones)
            {
                error = L"zones takes no arguments";
                return false;
            }
            else
                out.paths.push_back(arg);
            continue;
        }
        if (Is(arg, L"--"))
        {
            onlyPaths = true;
            continue;
        }
        if (Is(arg, L"--help") || Is(arg, L"-h"))
        {
            out.command = Command::Help;
            return true;
        }
        // An option with a value: "--name value" or "--name=value".
        const auto value = [&](const wchar_t* name, const wchar_t*& v) -> bool {
            if (const wchar_t* inline_ = InlineValue(arg, name))
            {
                v = inline_;
                return true;
            }
            if (!Is(arg, name))
                return false;
            if (i + 1 >= argc)
            {
                error = std::wstring(name) + L" needs a value";
                v = nullptr;
                return true;
            }
            v = argv[++i];
            return true;
        };
        const wchar_t* v = nullptr;
        const auto notFor = [&]() {
            error = L"option ";
            error += arg;
            error += L" does not apply to this command";
            return false;
        };
        if (Is(arg, L"--json"))
        {
            if (!isShow)
                return notFor();
            out.json = true;
        }
        else if (Is(arg, L"--recursive") || Is(arg, L"-r"))
        {
            if (!isShow && !isSet)
                return notFor();
            out.recursive = true;
        }
        else if (Is(arg, L"--force"))
        {
            if (!isUndo)
                return notFor();
            out.force = true;
        }
        else if (!isSet)
        {
            if (Is(arg, L"--created") || Is(arg, L"--modified") || Is(arg, L"--accessed") ||
                Is(arg, L"--dry-run") || Is(arg, L"--quiet") || Is(arg, L"--from-dst") ||
                Is(arg, L"--to-dst") || InlineValue(arg, L"--to") || Is(arg, L"--to") ||
                Is(arg, L"--offset") || Is(arg, L"--sync-to") || Is(arg, L"--reference") ||
                Is(arg, L"--zone-shift") || Is(arg, L"--include") || Is(arg, L"--from") ||
                InlineValue(arg, L"--from") || Is(arg, L"--zone") || InlineValue(arg, L"--zone"))
                return notFor();
            error = L"unknown option ";
            error += arg;
            return false;
        }
        else if (Is(arg, L"--created") || Is(arg, L"-c"))
            out.created = true;
        else if (Is(arg, L"--modified") || Is(arg, L"-m"))
            out.modified = true;
        else if (Is(arg, L"--accessed") || Is(arg, L"-a"))
            out.accessed = true;
        else if (Is(arg, L"--dry-run") || Is(arg, L"-n"))
            out.dryRun = true;
        else if (Is(arg, L"--quiet") || Is(arg, L"-q"))
            out.quiet = true;
        else if (Is(arg, L"--from-dst"))
            out.fromDst = true;
        else if (Is(arg, L"--to-dst"))
            out.toDst = true;
        else if (value(L"--to", v))
        {
            if (!v || !SetMethod(out, Method::To, L"--to", error) || !ParseDateTime(v, now, out.to, error))
                return false;
        }
        else if (value(L"--sync-to", v))
        {
            if (!v || !SetMethod(out, Method::SyncTo, L"--sync-to", error) ||
                !ParseSyncTarget(v, out.syncTarget, error))
                return false;
        }
        else if (value(L"--reference", v))
        {
            if (!v || !SetMethod(out, Method::Reference, L"--reference", error))
                return false;
            out.reference = v;
        }
        else if (value(L"--offset", v))
        {
            if (!v || !SetMethod(out, Method::Offset, L"--offset", error) || !ParseOffset(v, out.offset, error))
                return false;
        }
        else if (Is(arg, L"--zone-shift"))
        {
            if (!SetMethod(out, Method::ZoneShift, L"--zone-shift", error))
                return false;
            if (i + 2 >= argc)
            {
                error = L"--zone-shift needs two zones: FROM TO";
                return false;
            }
            out.fromZone = argv[++i];
            out.toZone = argv[++i];
        }
        else if (value(L"--from", v))
        {
            if (!v || !SetMethod(out, Method::From, L"--from", error) || !ParseFromSource(v, out.fromSource, error))
                return false;
        }
        else if (value(L"--zone", v))
        {
            if (!v)
                return false;
            out.clockZone = v;
        }
        else if (value(L"--include", v))
        {
            if (!v || !ParseKinds(v, out, error))
                return false;
        }
        else
        {
            error = L"unknown option ";
            error += arg;
            return false;
        }
    }

    if ((isSet || isShow) && out.paths.empty())
    {
        error = L"no file or folder given";
        return false;
    }
    if (isSet)
    {
        if (out.method == Method::None)
        {
            error = L"set needs one of --to, --sync-to, --reference, --offset, --zone-shift or --from";
            return false;
        }
        if ((out.fromDst || out.toDst) && out.method != Method::ZoneShift)
        {
            error = L"--from-dst and --to-dst belong to --zone-shift";
            return false;
        }
        if (!out.clockZone.empty() && out.method != Method::From)
        {
            error = L"--zone belongs to --from";
            return false;
        }
        if (!out.created && !out.modified && !out.accessed)
            out.created = out.modified = out.accessed = true;
    }
    return true;
}

} // namespace kairon::cli
