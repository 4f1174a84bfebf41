#pragma once
// Small helpers of the commands around the library's PathWin.

#include <cstdint>
#include <string>

#include "kairon-cli/Journal.h"
#include "s/file/win/PathWin.h"

namespace kairon::cli
{

// A PathWin of a text, given back to its pool at the end of the scope (null when none
// could be made).
struct HeldPath
{
    explicit HeldPath(const std::wstring& text) : p(s::file::win::PathWin::FromText(text.c_str())) {}
    explicit HeldPath(s::file::win::PathWin* path) : p(path) {}
    ~HeldPath()
    {
        if (p != nullptr)
            p->Release();
    }
    HeldPath(const HeldPath&) = delete;
    HeldPath& operator=(const HeldPath&) = delete;
    s::file::win::PathWin* operator->() const { return p; }
    s::file::win::PathWin* p;
};

/// The item's three times exactly as the file system keeps them (ticks; a zero creation or
/// access time reads as the modified time, as everywhere in the program). False with the
/// system's error code when they cannot be read. Times the item has cached (from a listing
/// or a Query just made) are taken as they are; otherwise they are read.
bool ReadTickTimes(s::file::win::PathWin& item, TickTimes& out, uint32_t& systemError);

} // namespace kairon::cli
