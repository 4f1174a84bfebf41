#pragma once
// Shared by the change engine's tests (ChangeEngine*Test.cpp): the time helpers, the
// record of what was handed to the write, the status channel and the fixture with its
// temporary tree. Everything here is inline, so that every test file of the folder uses
// the same fixture class and the same write record.
//
// The change engine on real temporary trees, driven through the processing frame with a
// status channel that records the events and, like the drop dialog, calls finishRun.
//
// Wine keeps no creation time (it reads back as the modified time): creation times are
// checked as the values handed to the write (PathWin's write observer); modified and
// accessed times are checked on disk.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "s/file/gui/dialogs/filetime/ChangeEngine.h"
#include "s/col/_array/ArrayU32.h"
#include "s/file/gui/dialogs/filetime/IChangeListener.h"
#include "s/file/win/PathWin.h"
#include "s/file/win/WriterCalls.h"
#include "s/gui/dialogs/dragndrop/ProcessingFrame.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "TimeTestSupport.h"

using namespace s::file::gui::dialogs::filetime;
using namespace s::gui::dialogs::dragndrop;
using s::file::win::PathWin;
using s::thread::ObjLocker;

// --- what was handed to the write ----------------------------------------------------------

struct Write
{
    std::wstring path;
    Seconds created, accessed, modified; // -1: no pointer (left unchanged)
    uint64_t accessedTicks;              // 0: no pointer
};

inline std::mutex g_writesLock;
inline std::vector<Write> g_writes;

inline Seconds Observed(const FILETIME* f, bool wholeSecond = true)
{
    if (f == nullptr)
    {
        return -1;
    }
    const uint64_t t = TicksOf(*f);
    if (wholeSecond)
    {
        EXPECT_EQ(t % TICKS_PER_SECOND, 0u) << "a written time has a sub-second part";
    }
    return SecondsOf(t);
}

// A new time is always a whole second; an access time given back to a walked folder is
// the one it had, to the tick (checked through accessedTicks where it matters).
inline void ObserveWrite(const wchar_t* apiPath, const FILETIME* c, const FILETIME* a, const FILETIME* m)
{
    std::lock_guard<std::mutex> g(g_writesLock);
    g_writes.push_back({apiPath, Observed(c), Observed(a, false), Observed(m), a != nullptr ? TicksOf(*a) : 0});
}

// --- the status channel ----------------------------------------------------------------------

struct Event
{
    const wchar_t* name;
    int32_t total;
    int32_t position;
    std::wstring text;
};

class Channel : public IStatusChannel
{
  public:
    explicit Channel(ProcessingFrame& frame) : frame_(frame) {}
    void sendStatus(const wchar_t* name, int32_t total, int32_t position, const wchar_t* text) override
    {
        events.push_back({name, total, position, text ? text : L""});
        if (onEvent)
        {
            onEvent(events.back());
        }
        if (name == ProcessStatusEnd)
        {
            frame_.finishRun();
        }
    }
    std::vector<int32_t> Positions() const
    {
        std::vector<int32_t> p;
        for (const Event& e : events)
        {
            if (e.name == ProcessStatusUpdate)
            {
                p.push_back(e.position);
            }
        }
        return p;
    }
    std::vector<std::wstring> Titles() const
    {
        std::vector<std::wstring> t;
        for (const Event& e : events)
        {
            if (e.name == ProcessStatusUpdate)
            {
                t.push_back(e.text);
            }
        }
        return t;
    }
    std::vector<Event> events;
    std::function<void(const Event&)> onEvent;

  private:
    ProcessingFrame& frame_;
};

// --- the fixture: one temporary tree per test -------------------------------------------------

class ChangeEngineTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        static int counter = 0;
        root_ = std::wstring(temp) + L"kairon_engine_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                std::to_wstring(++counter);
        ASSERT_TRUE(CreateDirectoryW(root_.c_str(), nullptr));
        frame_.setStatusChannel(&channel_);
        {
            std::lock_guard<std::mutex> g(g_writesLock);
            g_writes.clear();
        }
        PathWin::SetTimeWriteObserver(&ObserveWrite);
    }

    void TearDown() override
    {
        PathWin::SetTimeWriteObserver(nullptr);
        RemoveTree(root_);
    }

    // Through the long form, so that names such as "name." or "aux.log" go too.
    static void RemoveTree(const std::wstring& given)
    {
        const std::wstring path = given.rfind(L"\\\\?\\", 0) == 0 ? given : L"\\\\?\\" + given;
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        WIN32_FIND_DATAW d;
        HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &d);
        if (h != INVALID_HANDLE_VALUE)
        {
            do
            {
                const std::wstring name = d.cFileName;
                if (name == L"." || name == L"..")
                {
                    continue;
                }
                const std::wstring child = path + L"\\" + name;
                if (d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                {
                    RemoveTree(child);
                }
                else
                {
                    SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileW(child.c_str());
                }
            } while (FindNextFileW(h, &d));
            FindClose(h);
        }
        RemoveDirectoryW(path.c_str());
    }

    std::wstring P(const std::wstring& rel) const { return root_ + L"\\" + rel; }

    void File(const std::wstring& rel, DWORD attributes = 0)
    {
        HANDLE h = CreateFileW(P(rel).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << "cannot create " << std::string(rel.begin(), rel.end());
        DWORD written = 0;
        WriteFile(h, "x", 1, &written, nullptr);
        CloseHandle(h);
        if (attributes != 0)
        {
            ASSERT_TRUE(SetFileAttributesW(P(rel).c_str(), attributes));
        }
    }

    void Dir(const std::wstring& rel) { ASSERT_TRUE(CreateDirectoryW(P(rel).c_str(), nullptr)); }

    void Attr(const std::wstring& rel, DWORD attributes)
    {
        ASSERT_TRUE(SetFileAttributesW(P(rel).c_str(), attributes));
    }

    DWORD Attributes(const std::wstring& rel) { return GetFileAttributesW(P(rel).c_str()); }

    // Sets modified and accessed (and creation, which Wine may not keep), in ticks.
    void SetTicks(const std::wstring& rel, uint64_t created, uint64_t modified, uint64_t accessed)
    {
        const DWORD a = GetFileAttributesW(P(rel).c_str());
        SetFileAttributesW(P(rel).c_str(), FILE_ATTRIBUTE_NORMAL);
        HANDLE h = CreateFileW(P(rel).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        FILETIME c = FileTimeOf(created), m = FileTimeOf(modified), ac = FileTimeOf(accessed);
        ASSERT_TRUE(SetFileTime(h, &c, &ac, &m));
        CloseHandle(h);
        SetFileAttributesW(P(rel).c_str(), a);
    }
    void SetTimes(const std::wstring& rel, Seconds created, Seconds modified, Seconds accessed)
    {
        SetTicks(rel, TicksOf(created), TicksOf(modified), TicksOf(accessed));
    }

    struct Times
    {
        uint64_t created, modified, accessed; // ticks as the system reports them
        Seconds c() const { return SecondsOf(created); }
        Seconds m() const { return SecondsOf(modified); }
        Seconds a() const { return SecondsOf(accessed); }
    };
    Times Read(const std::wstring& rel)
    {
        WIN32_FILE_ATTRIBUTE_DATA d{};
        EXPECT_TRUE(GetFileAttributesExW(P(rel).c_str(), GetFileExInfoStandard, &d));
        return {TicksOf(d.ftCreationTime), TicksOf(d.ftLastWriteTime), TicksOf(d.ftLastAccessTime)};
    }

    // Drops the items (relative paths) and waits until the run has ended.
    void Drop(std::initializer_list<std::wstring> rels)
    {
        {
            ObjLocker::Guard guard(frame_.getItemLock());
            for (const std::wstring& r : rels)
            {
                frame_.appendPath(P(r).c_str());
            }
            ASSERT_TRUE(frame_.startRun());
        }
        frame_.getWorker()->WaitIdle();
        ASSERT_FALSE(channel_.events.empty());
        EXPECT_EQ(channel_.events.front().name, ProcessStatusStart);
        EXPECT_EQ(channel_.events.back().name, ProcessStatusEnd);
        ObjLocker::Guard guard(frame_.getItemLock());
        EXPECT_FALSE(frame_.isBusy());
        EXPECT_EQ(frame_.getPathCount(), 0u);
    }

    // The item a write was handed to, relative to the root. Every write goes through the
    // long form, which the system takes exactly as written.
    std::wstring Relative(const std::wstring& apiPath)
    {
        const std::wstring prefix = L"\\\\?\\" + root_ + L"\\";
        EXPECT_EQ(apiPath.compare(0, prefix.size(), prefix), 0) << "not the long form of an item inside";
        return apiPath.size() > prefix.size() ? apiPath.substr(prefix.size()) : apiPath;
    }

    // Writes handed to the system, by relative path.
    std::map<std::wstring, Write> Writes()
    {
        std::lock_guard<std::mutex> g(g_writesLock);
        std::map<std::wstring, Write> byPath;
        for (const Write& w : g_writes)
        {
            byPath[Relative(w.path)] = w;
        }
        return byPath;
    }
    std::vector<std::wstring> WriteOrder()
    {
        std::lock_guard<std::mutex> g(g_writesLock);
        std::vector<std::wstring> order;
        for (const Write& w : g_writes)
        {
            order.push_back(Relative(w.path));
        }
        return order;
    }

    ChangeRequest& Request(bool includeContents = false)
    {
        ChangeRequest& r = engine_.getRequest();
        r.reset();
        r.includeContents = includeContents;
        r.normal = true;
        r.hidden = true; // the default boxes: Normal and Hidden
        engine_.setAction(ChangeEngine::ACTION_CHANGE_MULTIPLE);
        return r;
    }

    std::wstring root_;
    ProcessingFrame frame_;
    Channel channel_{frame_};
    ChangeEngine engine_{frame_};
};

inline constexpr Seconds T0 = 1371299696; // 2013-06-15 12:34:56 UTC
