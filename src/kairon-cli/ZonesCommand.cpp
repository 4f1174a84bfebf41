// kairon-cli zones, and the zones of --zone-shift by name.
#include <cwchar>
#include <cwctype>

#include "kairon-cli/Commands.h"
#include "kairon-cli/Output.h"
#include "kairon-cli/Zones.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/time/TimeZone.h"

namespace kairon::cli
{

using s::time::TimeZone;

namespace
{

std::wstring Lower(const wchar_t* text)
{
    std::wstring out = text;
    for (wchar_t& c : out)
        c = static_cast<wchar_t>(towlower(c));
    return out;
}

} // namespace

const TimeZone* FindZone(const std::wstring& name, std::wstring& error)
{
    if (_wcsicmp(name.c_str(), L"local") == 0 || _wcsicmp(name.c_str(), L"system") == 0)
        return &s::time::systemZone();
    const uint32_t count = s::time::zoneCount();
    for (uint32_t i = 0; i < count; ++i)
    {
        const TimeZone* zone = s::time::zoneAt(i);
        if (zone->getKeyName().EqualsIgnoreCase(name.c_str()) ||
            zone->getStandardName().EqualsIgnoreCase(name.c_str()) ||
            zone->getDisplayName().EqualsIgnoreCase(name.c_str()))
            return zone;
    }
    const std::wstring wanted = Lower(name.c_str());
    const TimeZone* found = nullptr;
    uint32_t matches = 0;
    for (uint32_t i = 0; i < count && !wanted.empty(); ++i)
    {
        const TimeZone* zone = s::time::zoneAt(i);
        if (Lower(zone->getDisplayName().CStr()).find(wanted) != std::wstring::npos)
        {
            found = zone;
            ++matches;
        }
    }
    if (matches == 1)
        return found;
    error = matches == 0 ? L"unknown time zone \"" + name + L"\" (kairon-cli zones lists them)"
                         : L"\"" + name + L"\" names " + std::to_wstring(matches) +
                               L" time zones; give the key name (kairon-cli zones lists them)";
    return nullptr;
}

int RunZones(const Options&)
{
    std::wstring out = L"local\t" + std::wstring(s::time::systemZone().getDisplayName().CStr()) +
                       L" (the system's zone)\n";
    const uint32_t count = s::time::zoneCount();
    for (uint32_t i = 0; i < count; ++i)
    {
        const TimeZone* zone = s::time::zoneAt(i);
        out += zone->getKeyName().CStr();
        out += L'\t';
        out += zone->getDisplayName().CStr();
        out += L'\n';
    }
    Out(out);
    return EXIT_DONE;
}

} // namespace kairon::cli
