#pragma once
// Small helpers of the commands around the library's PathWin, and the library's journal
// under the names the commands use.

#include <cstdint>
#include <string>

#include "s/file/gui/dialogs/filetime/Journal.h"
#include "s/file/win/PathWin.h"

namespace kairon::cli
{

// File-system ticks of an item's three times: the engine's own record.
using TickTimes = s::file::gui::dialogs::filetime::ItemTimes;
using s::file::gui::dialogs::filetime::FindLastJournal;
using s::file::gui::dialogs::filetime::JournalEntry;
using s::file::gui::dialogs::filetime::JournalFolder;
using s::file::gui::dialogs::filetime::JournalListener;
using s::file::gui::dialogs::filetime::MarkUndone;
using s::file::gui::dialogs::filetime::ReadItemTimes;
using s::file::gui::dialogs::filetime::ReadJournal;

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

} // namespace kairon::cli
