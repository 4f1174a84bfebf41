#pragma once
// Time zones by the names users type.

#include <string>

namespace s::time
{
class TimeZone;
}

namespace kairon::cli
{

/// The zone called `name`: "local" (or "system") for the system's own zone; else, ignoring
/// case, the zone whose registry key name, standard-time name or display name is `name`;
/// else the one zone whose display name contains it ("Tokyo"). Null with a one-line reason
/// when there is none or more than one.
const s::time::TimeZone* FindZone(const std::wstring& name, std::wstring& error);

} // namespace kairon::cli
