// kairon-cli show: each item's name, size and three times.
#include "kairon-cli/Commands.h"
#include "kairon-cli/Items.h"
#include "kairon-cli/Output.h"
#include "kairon-cli/TimeText.h"
#include "s/col/_array/ArrayP.h"

namespace kairon::cli
{

using s::file::win::PathWin;

namespace
{

std::wstring JsonTime(int64_t ticks)
{
    const auto t = static_cast<s::time::Ticks>(ticks);
    return L"{\"local\":" + JsonString(FormatLocal(t).c_str()) + L",\"utc\":" + JsonString(FormatUtc(t).c_str()) +
           L",\"ticks\":" + std::to_wstring(ticks) + L"}";
}

std::wstring TextTime(const wchar_t* label, int64_t ticks)
{
    const auto t = static_cast<s::time::Ticks>(ticks);
    return std::wstring(L"  ") + label + FormatLocal(t) + L"   " + FormatUtc(t) + L"\n";
}

// Shows one item; false (with a message) when its times cannot be read.
bool ShowItem(PathWin& item, bool json)
{
    TickTimes times;
    uint32_t error = 0;
    if (!ReadItemTimes(item, times, error))
    {
        ErrorLine(L"cannot read " + std::wstring(item.GetFullPath()) + L": " + SystemReason(error));
        return false;
    }
    const bool folder = item.IsDirectory();
    const int64_t size = folder ? 0 : item.GetSize();
    std::wstring out;
    if (json)
    {
        out = L"{\"path\":" + JsonString(item.GetFullPath()) + L",\"name\":" + JsonString(item.GetName()) +
              L",\"type\":" + (folder ? L"\"folder\"" : L"\"file\"") + L",\"size\":" + std::to_wstring(size) +
              L",\"created\":" + JsonTime(times.created) + L",\"modified\":" + JsonTime(times.modified) +
              L",\"accessed\":" + JsonTime(times.accessed) + L"}\n";
    }
    else
    {
        out = std::wstring(item.GetFullPath()) + L"\n";
        out += folder ? L"  folder\n" : L"  size      " + std::to_wstring(size) + L" bytes\n";
        out += TextTime(L"created   ", times.created);
        out += TextTime(L"modified  ", times.modified);
        out += TextTime(L"accessed  ", times.accessed);
    }
    Out(out);
    return true;
}

} // namespace

int RunShow(const Options& options)
{
    bool failed = false;
    for (const std::wstring& typed : options.paths)
    {
        HeldPath item(FullPathOf(typed));
        if (item.p == nullptr || !item->Query())
        {
            ErrorLine(L"no such file or folder: " + typed);
            failed = true;
            continue;
        }
        failed |= !ShowItem(*item.p, options.json);
        if (options.recursive && item->IsDirectory())
        {
            // Everything inside, hidden items too; links are never followed.
            s::col::_array::ArrayP* entries = item->ListEntries(true, true);
            if (entries != nullptr)
            {
                for (uint32_t i = 0; i < entries->Count(); ++i)
                    failed |= !ShowItem(*static_cast<PathWin*>(entries->Get(i)), options.json);
                entries->Release();
            }
        }
    }
    return failed ? EXIT_SOME_FAILED : EXIT_DONE;
}

} // namespace kairon::cli
