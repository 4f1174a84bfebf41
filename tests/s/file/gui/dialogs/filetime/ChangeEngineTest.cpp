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

using namespace s::file::gui::dialogs::filetime;
using namespace s::gui::dialogs::dragndrop;
using s::file::win::PathWin;
using s::thread::ObjLocker;

namespace
{

using Seconds = int64_t;
constexpr int64_t TICKS_PER_SECOND = 10000000;
constexpr uint64_t EPOCH_TICKS = 116444736000000000ULL;

uint64_t TicksOf(Seconds s)
{
    return uint64_t(s * TICKS_PER_SECOND) + EPOCH_TICKS;
}
uint64_t TicksOf(const FILETIME& f)
{
    return (uint64_t(f.dwHighDateTime) << 32) | f.dwLowDateTime;
}
Seconds SecondsOf(uint64_t ticks)
{
    return (int64_t(ticks) - int64_t(EPOCH_TICKS)) / TICKS_PER_SECOND;
}
FILETIME FileTimeOf(uint64_t ticks)
{
    FILETIME f;
    f.dwLowDateTime = DWORD(ticks);
    f.dwHighDateTime = DWORD(ticks >> 32);
    return f;
}

Seconds Utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    SYSTEMTIME st{};
    st.wYear = WORD(y);
    st.wMonth = WORD(mo);
    st.wDay = WORD(d);
    st.wHour = WORD(h);
    st.wMinute = WORD(mi);
    st.wSecond = WORD(s);
    FILETIME f;
    SystemTimeToFileTime(&st, &f);
    return SecondsOf(TicksOf(f));
}

// --- what was handed to the write ----------------------------------------------------------

struct Write
{
    std::wstring path;
    Seconds created, accessed, modified; // -1: no pointer (left unchanged)
    uint64_t accessedTicks;              // 0: no pointer
};

std::mutex g_writesLock;
std::vector<Write> g_writes;

Seconds Observed(const FILETIME* f, bool wholeSecond = true)
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
void ObserveWrite(const wchar_t* apiPath, const FILETIME* c, const FILETIME* a, const FILETIME* m)
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

const Seconds T0 = 1371299696; // 2013-06-15 12:34:56 UTC

} // namespace

// --- Specific on files and folders ---------------------------------------------------------------

TEST_F(ChangeEngineTest, SpecificWritesFilesAndFoldersAndTheirContentsOnlyWhenAsked)
{
    Dir(L"D");
    File(L"D\\f1.txt");
    Dir(L"D\\S");
    File(L"D\\S\\f2.txt");
    File(L"F.txt");
    for (const wchar_t* r : {L"D", L"D\\f1.txt", L"D\\S", L"D\\S\\f2.txt", L"F.txt"})
    {
        SetTimes(r, Utc(2001, 1, 1), Utc(2001, 1, 1), Utc(2001, 1, 1));
    }

    for (bool contents : {false, true})
    {
        SCOPED_TRACE(contents ? "with contents" : "without contents");
        {
            std::lock_guard<std::mutex> g(g_writesLock);
            g_writes.clear();
        }
        channel_.events.clear();
        ChangeRequest& r = Request(contents);
        r.created = T0 + (contents ? 10 : 0);
        r.modified = T0 + 1 + (contents ? 10 : 0);
        r.accessed = T0 + 2 + (contents ? 10 : 0);
        Drop({L"D", L"F.txt"});

        std::map<std::wstring, Write> w = Writes();
        const std::vector<std::wstring> changed =
            contents ? std::vector<std::wstring>{L"D", L"D\\f1.txt", L"D\\S", L"D\\S\\f2.txt", L"F.txt"}
                     : std::vector<std::wstring>{L"D", L"F.txt"};
        EXPECT_EQ(w.size(), changed.size());
        for (const std::wstring& c : changed)
        {
            SCOPED_TRACE(std::string(c.begin(), c.end()));
            ASSERT_EQ(w.count(c), 1u);
            EXPECT_EQ(w[c].created, r.created);
            EXPECT_EQ(w[c].modified, r.modified);
            EXPECT_EQ(w[c].accessed, r.accessed);
            const Times t = Read(c);
            EXPECT_EQ(t.modified, TicksOf(r.modified));
            EXPECT_EQ(t.accessed, TicksOf(r.accessed));
        }
        if (!contents)
        {
            EXPECT_EQ(Read(L"D\\f1.txt").m(), Utc(2001, 1, 1));
        }
        else
        {
            // Contents before their folder.
            const std::vector<std::wstring> order = WriteOrder();
            auto at = [&](const wchar_t* r)
            { return std::find(order.begin(), order.end(), r) - order.begin(); };
            EXPECT_LT(at(L"D\\S\\f2.txt"), at(L"D\\S"));
            EXPECT_LT(at(L"D\\S"), at(L"D"));
            EXPECT_LT(at(L"D\\f1.txt"), at(L"D"));
            EXPECT_LT(at(L"D"), at(L"F.txt"));
        }
        EXPECT_EQ(engine_.getFailureCount(), 0u);
    }
}

TEST_F(ChangeEngineTest, UpdatesCarryTheTitleAndTheEndOfEachItemsShare)
{
    File(L"one.txt");
    File(L"two.dat");
    File(L"three");
    ChangeRequest& r = Request();
    r.created = r.modified = r.accessed = T0;
    Drop({L"one.txt", L"two.dat", L"three"});
    EXPECT_EQ(channel_.Positions(), (std::vector<int32_t>{333, 666, 1000}));
    EXPECT_EQ(channel_.Titles(), (std::vector<std::wstring>{L"one", L"two", L"three"}));
    for (const Event& e : channel_.events)
    {
        if (e.name == ProcessStatusUpdate)
        {
            EXPECT_EQ(e.total, 1000);
        }
    }
}

TEST_F(ChangeEngineTest, AFolderOfFourEntriesReportsQuartersAndThenItself)
{
    Dir(L"D");
    for (const wchar_t* f : {L"D\\a", L"D\\b", L"D\\c", L"D\\d"})
    {
        File(f);
    }
    ChangeRequest& r = Request(true);
    r.created = r.modified = r.accessed = T0;
    Drop({L"D"});
    EXPECT_EQ(channel_.Positions(), (std::vector<int32_t>{250, 500, 750, 1000, 1000}));
    EXPECT_EQ(channel_.Titles().back(), L"D");
}

TEST_F(ChangeEngineTest, ProgressOfTheLastItemReachesTheEndForAnyCount)
{
    // 1/49 in single precision times 49 falls short of 1.
    for (int i = 0; i < 49; ++i)
    {
        File(L"f" + std::to_wstring(i));
    }
    ChangeRequest& r = Request();
    r.created = r.modified = r.accessed = -1;
    {
        ObjLocker::Guard guard(frame_.getItemLock());
        for (int i = 0; i < 49; ++i)
        {
            frame_.appendPath(P(L"f" + std::to_wstring(i)).c_str());
        }
        frame_.startRun();
    }
    frame_.getWorker()->WaitIdle();
    const std::vector<int32_t> p = channel_.Positions();
    ASSERT_EQ(p.size(), 49u);
    EXPECT_EQ(p.back(), 1000);
    for (size_t i = 1; i < p.size(); ++i)
    {
        EXPECT_LE(p[i - 1], p[i]);
    }
}

// --- the methods ------------------------------------------------------------------------------------

struct MethodCase
{
    const char* name;
    const wchar_t* mode;
    const wchar_t* target;
    int64_t offset;
    bool c, m, a; // which times are checked
};

class ChangeEngineMethodTest : public ChangeEngineTest, public ::testing::WithParamInterface<MethodCase>
{
};

// Every method on a file and on a folder, with and without includeContents: each written
// time is derived from the item's own times as the system reports them before the run.
TEST_P(ChangeEngineMethodTest, WritesWhatTheMethodDerivesFromEachItem)
{
    const MethodCase& mc = GetParam();
    Dir(L"D");
    File(L"D\\inner.txt");
    File(L"F.txt");
    // Distinct times with a sub-second part: Sync must write whole seconds.
    SetTicks(L"D\\inner.txt", TicksOf(Utc(2004, 2, 3)) + 1234567, TicksOf(Utc(2005, 3, 4)) + 7654321,
             TicksOf(Utc(2006, 4, 5)) + 5555555);
    SetTicks(L"F.txt", TicksOf(Utc(2007, 1, 15)) + 3333333, TicksOf(Utc(2008, 7, 15)) + 4444444,
             TicksOf(Utc(2009, 9, 9)) + 1111111);
    SetTicks(L"D", TicksOf(Utc(2001, 5, 6)), TicksOf(Utc(2002, 6, 7)) + 9999999, TicksOf(Utc(2003, 7, 8)));

    for (bool contents : {false, true})
    {
        SCOPED_TRACE(contents ? "with contents" : "without contents");
        std::map<std::wstring, Times> before;
        for (const wchar_t* r : {L"D", L"D\\inner.txt", L"F.txt"})
        {
            before[r] = Read(r);
        }
        {
            std::lock_guard<std::mutex> g(g_writesLock);
            g_writes.clear();
        }
        ChangeRequest& r = Request(contents);
        r.mode = mc.mode;
        r.syncTarget = mc.target;
        r.offset = mc.offset;
        r.created = mc.c ? T0 : -1;
        r.modified = mc.m ? T0 : -1;
        r.accessed = mc.a ? T0 : -1;
        Drop({L"D", L"F.txt"});

        std::map<std::wstring, Write> w = Writes();
        EXPECT_EQ(w.size(), contents ? 3u : 2u);
        for (const auto& [rel, t] : before)
        {
            SCOPED_TRACE(std::string(rel.begin(), rel.end()));
            if (!contents && rel == L"D\\inner.txt")
            {
                EXPECT_EQ(w.count(rel), 0u);
                continue;
            }
            ASSERT_EQ(w.count(rel), 1u);
            Seconds synced = 0;
            if (mc.target == SyncCreated)
            {
                synced = t.c();
            }
            else if (mc.target == SyncModified)
            {
                synced = t.m();
            }
            else if (mc.target == SyncAccessed)
            {
                synced = t.a();
            }
            auto expect = [&](bool checked, Seconds own) -> Seconds
            {
                if (!checked)
                {
                    return -1;
                }
                if (mc.mode == ModeOffset)
                {
                    return own + mc.offset;
                }
                if (mc.mode == ModeSync)
                {
                    return synced;
                }
                return T0;
            };
            const Seconds ec = expect(mc.c, t.c()), em = expect(mc.m, t.m()), ea = expect(mc.a, t.a());
            EXPECT_EQ(w[rel].created, ec);
            EXPECT_EQ(w[rel].modified, em);
            if (ea >= 0)
            {
                EXPECT_EQ(w[rel].accessedTicks, TicksOf(ea));
            }
            else if (contents && rel == L"D")
            {
                // Listing the folder stamped its access time: it gets back the one it had.
                EXPECT_EQ(w[rel].accessedTicks, t.accessed);
            }
            else
            {
                EXPECT_EQ(w[rel].accessed, -1);
            }
            const Times after = Read(rel);
            EXPECT_EQ(after.modified, em < 0 ? t.modified : TicksOf(em));
            EXPECT_EQ(after.accessed, ea < 0 ? t.accessed : TicksOf(ea));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Methods, ChangeEngineMethodTest,
    ::testing::Values(MethodCase{"Specific", ModeSpecific, SyncCurrent, 0, true, true, true},
                      MethodCase{"SpecificModifiedOnly", ModeSpecific, SyncCurrent, 0, false, true, false},
                      MethodCase{"SyncCreatedToModified", ModeSync, SyncCreated, 0, false, true, false},
                      MethodCase{"SyncModified", ModeSync, SyncModified, 0, true, false, true},
                      MethodCase{"SyncAccessed", ModeSync, SyncAccessed, 0, true, true, false},
                      MethodCase{"OffsetPlusOneDay", ModeOffset, SyncCurrent, 86400, true, true, true},
                      MethodCase{"OffsetMinusTwoHours", ModeOffset, SyncCurrent, -7200, true, true, true},
                      // A time-zone shift (Tokyo to UTC) is one fixed offset for every item, whatever
                      // its date: a January and a July item move by the same amount.
                      MethodCase{"TimeZoneAsFixedOffset", ModeOffset, SyncCurrent, -9 * 3600, true, true,
                                 true}),
    [](const ::testing::TestParamInfo<MethodCase>& info) { return std::string(info.param.name); });

TEST_F(ChangeEngineTest, MinusTwoHoursLeavesATimeThatWouldFallBefore1970)
{
    File(L"early.txt");
    SetTimes(L"early.txt", 3600, 3600, Utc(2000, 1, 1)); // 1970-01-01 01:00:00
    ChangeRequest& r = Request();
    r.mode = ModeOffset;
    r.offset = -7200;
    r.created = r.modified = r.accessed = 0;
    Drop({L"early.txt"});
    std::map<std::wstring, Write> w = Writes();
    ASSERT_EQ(w.count(L"early.txt"), 1u);
    EXPECT_EQ(w[L"early.txt"].created, -1);
    EXPECT_EQ(w[L"early.txt"].modified, -1);
    EXPECT_EQ(w[L"early.txt"].accessed, Utc(2000, 1, 1) - 7200);
    EXPECT_EQ(Read(L"early.txt").m(), 3600);
    EXPECT_EQ(Read(L"early.txt").a(), Utc(2000, 1, 1) - 7200);
}

// --- newest and oldest -----------------------------------------------------------------------------

TEST_F(ChangeEngineTest, NewestAndOldestSearchTheWholeTreeAndWriteWhatIsAsked)
{
    struct Case
    {
        const wchar_t* target;
        bool contents;
    } cases[] = {{SyncNewest, false}, {SyncNewest, true}, {SyncOldest, false}, {SyncOldest, true}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.target == SyncNewest ? "newest" : "oldest") +
                     (c.contents ? " with contents" : " without contents"));
        RemoveTree(P(L"Beta"));
        DeleteFileW(P(L"Alpha.txt").c_str());
        File(L"Alpha.txt");
        Dir(L"Beta");
        File(L"Beta\\Gamma.txt");
        SetTimes(L"Alpha.txt", Utc(2010, 1, 1), Utc(2010, 1, 1), Utc(2010, 1, 1));
        SetTimes(L"Beta\\Gamma.txt", Utc(2012, 1, 1), Utc(2012, 1, 1), Utc(2012, 1, 1));
        SetTimes(L"Beta", Utc(2005, 1, 1), Utc(2005, 1, 1), Utc(2005, 1, 1));
        {
            std::lock_guard<std::mutex> g(g_writesLock);
            g_writes.clear();
        }
        ChangeRequest& r = Request(c.contents);
        r.mode = ModeSpecific;
        r.syncTarget = c.target;
        // The capture starts a newest search at 0 and an oldest one at the time of the drop;
        // only Modified is checked.
        r.created = -1;
        r.modified = c.target == SyncNewest ? 0 : Utc(2030, 1, 1);
        r.accessed = -1;
        Drop({L"Alpha.txt", L"Beta"});

        const Seconds found = c.target == SyncNewest ? Utc(2012, 1, 1) : Utc(2005, 1, 1);
        EXPECT_EQ(engine_.getRequest().modified, found);
        EXPECT_EQ(engine_.getRequest().created, -1);
        std::map<std::wstring, Write> w = Writes();
        EXPECT_EQ(w.count(L"Beta\\Gamma.txt"), c.contents ? 1u : 0u);
        for (const auto& [rel, write] : w)
        {
            EXPECT_EQ(write.modified, found);
            EXPECT_EQ(write.created, -1);
            // A folder walked into gets back the access time it had before the search.
            EXPECT_EQ(write.accessed, c.contents && rel == L"Beta" ? Utc(2005, 1, 1) : -1);
        }
        EXPECT_EQ(Read(L"Beta").a(), Utc(2005, 1, 1));
        EXPECT_EQ(Read(L"Alpha.txt").m(), found);
        EXPECT_EQ(Read(L"Beta").m(), found);
        EXPECT_EQ(Read(L"Beta\\Gamma.txt").m(), c.contents ? found : Utc(2012, 1, 1));
    }
}

// A time before 1970 reads as negative, the request's "leave unchanged": the oldest search
// must pass over it instead of switching the field off for every item.
TEST_F(ChangeEngineTest, TheOldestSearchPassesOverTimesBefore1970)
{
    File(L"ancient.txt");
    File(L"old.txt");
    SetTimes(L"ancient.txt", Utc(2001, 1, 1), Utc(1960, 1, 1), Utc(2001, 1, 1));
    SetTimes(L"old.txt", Utc(2005, 1, 1), Utc(2005, 1, 1), Utc(2005, 1, 1));
    if (Read(L"ancient.txt").m() != Utc(1960, 1, 1))
    {
        GTEST_SKIP() << "the file system keeps no time before 1970";
    }
    ChangeRequest& r = Request();
    r.syncTarget = SyncOldest;
    r.created = r.accessed = -1;
    r.modified = Utc(2030, 1, 1);
    Drop({L"ancient.txt", L"old.txt"});
    EXPECT_EQ(engine_.getRequest().modified, Utc(2005, 1, 1));
    std::map<std::wstring, Write> w = Writes();
    ASSERT_EQ(w.size(), 2u);
    EXPECT_EQ(w[L"ancient.txt"].modified, Utc(2005, 1, 1));
    EXPECT_EQ(Read(L"ancient.txt").m(), Utc(2005, 1, 1));
}

// Sync copies one of the item's own times; a target that is none of them has nothing to
// copy and must not write 1970.
TEST_F(ChangeEngineTest, SyncToATargetThatIsNotAnOwnTimeWritesNothing)
{
    File(L"f.txt");
    SetTimes(L"f.txt", Utc(2005, 1, 1), Utc(2006, 1, 1), Utc(2007, 1, 1));
    for (const wchar_t* target : {SyncCurrent, SyncNewest, SyncOldest})
    {
        {
            std::lock_guard<std::mutex> g(g_writesLock);
            g_writes.clear();
        }
        ChangeRequest& r = Request();
        r.mode = ModeSync;
        r.syncTarget = target;
        r.created = r.modified = r.accessed = 0;
        Drop({L"f.txt"});
        std::map<std::wstring, Write> w = Writes();
        ASSERT_EQ(w.size(), 1u);
        EXPECT_EQ(w[L"f.txt"].created, -1);
        EXPECT_EQ(w[L"f.txt"].modified, -1);
        EXPECT_EQ(w[L"f.txt"].accessed, -1);
        EXPECT_EQ(Read(L"f.txt").m(), Utc(2006, 1, 1));
    }
}

TEST_F(ChangeEngineTest, TheNewestSearchLeavesTheItemLockFreeBetweenDroppedPaths)
{
    // Many dropped folders, so that the search takes a while; a watcher on another thread
    // must be able to take the item lock during it.
    for (int i = 0; i < 40; ++i)
    {
        const std::wstring d = L"D" + std::to_wstring(i);
        Dir(d);
        for (int k = 0; k < 25; ++k)
        {
            File(d + L"\\f" + std::to_wstring(k));
        }
    }
    ChangeRequest& r = Request();
    r.syncTarget = SyncNewest;
    r.created = r.accessed = -1;
    r.modified = 0;
    std::atomic<bool> searching{false};
    std::atomic<int> taken{0}, tries{0};
    std::thread watcher;
    channel_.onEvent = [&](const Event& e)
    {
        if (e.name == ProcessStatusStart)
        {
            searching = true;
            watcher = std::thread(
                [&]
                {
                    while (searching)
                    {
                        ++tries;
                        if (frame_.getItemLock().TryEnter())
                        {
                            ++taken;
                            frame_.getItemLock().Leave();
                        }
                        Sleep(0);
                    }
                });
        }
        else if (e.name == ProcessStatusUpdate && searching)
        {
            searching = false;
            watcher.join();
        }
    };
    {
        ObjLocker::Guard guard(frame_.getItemLock());
        for (int i = 0; i < 40; ++i)
        {
            frame_.appendPath(P(L"D" + std::to_wstring(i)).c_str());
        }
        frame_.startRun();
    }
    frame_.getWorker()->WaitIdle();
    EXPECT_FALSE(searching);
    EXPECT_GT(tries, 0);
    EXPECT_GT(taken, 0);
}

// --- the attribute filter ----------------------------------------------------------------------------

TEST_F(ChangeEngineTest, AHiddenFileDroppedDirectlyIsChangedAHiddenFolderIsSkippedWithItsContents)
{
    File(L"hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    Dir(L"HD");
    File(L"HD\\inside.txt");
    Attr(L"HD", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    ASSERT_TRUE(Attributes(L"HD") & FILE_ATTRIBUTE_HIDDEN);
    ChangeRequest& r = Request(true);
    r.hidden = false;
    r.created = r.modified = r.accessed = T0;
    Drop({L"hidden.txt", L"HD"});
    std::map<std::wstring, Write> w = Writes();
    EXPECT_EQ(w.size(), 1u);
    EXPECT_EQ(w.count(L"hidden.txt"), 1u);
    EXPECT_EQ(Read(L"hidden.txt").m(), T0);
    EXPECT_NE(Read(L"HD\\inside.txt").m(), T0);
    EXPECT_EQ(channel_.Titles(), (std::vector<std::wstring>{L"hidden"}));
    EXPECT_EQ(Attributes(L"hidden.txt") & FILE_ATTRIBUTE_HIDDEN, DWORD(FILE_ATTRIBUTE_HIDDEN));
}

TEST_F(ChangeEngineTest, UnderTheDefaultBoxesAReadOnlyOrSystemFolderIsSkippedEntirely)
{
    // Read Only and System are unchecked by default: such a folder is left alone even when
    // its contents are not asked for. (Wine keeps no read-only bit on folders; the system
    // bit shows the same rule there.)
    int checked = 0;
    for (DWORD bit : {DWORD(FILE_ATTRIBUTE_READONLY), DWORD(FILE_ATTRIBUTE_SYSTEM)})
    {
        const std::wstring dir = L"F" + std::to_wstring(bit);
        Dir(dir);
        File(dir + L"\\inside.txt");
        Attr(dir, bit | FILE_ATTRIBUTE_DIRECTORY);
        if (!(Attributes(dir) & bit))
        {
            continue;
        }
        ++checked;
        for (bool contents : {false, true})
        {
            channel_.events.clear();
            ChangeRequest& r = Request(contents);
            r.created = r.modified = r.accessed = T0;
            Drop({dir});
            EXPECT_TRUE(Writes().empty());
            EXPECT_TRUE(channel_.Positions().empty());
        }
    }
    EXPECT_GT(checked, 0);
}

TEST_F(ChangeEngineTest, TheFirstOfSystemHiddenReadOnlyDecidesInsideAFolder)
{
    // The item sits in a folder whose own attributes pass the same request.
    struct Case
    {
        const wchar_t* name;
        DWORD folder;
        DWORD item;
        bool normal, readOnly, hidden, system;
        bool changed;
    } cases[] = {
        {L"hr_hidden_on", 0, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY, true, false, true, false, true},
        {L"hr_hidden_off", 0, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY, true, true, false, true,
         false},
        {L"hs_system_on", 0, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, true, false, false, true, true},
        {L"hs_system_off", 0, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM, true, true, true, false, false},
        {L"ro_on", 0, FILE_ATTRIBUTE_READONLY, true, true, false, false, true},
        {L"ro_off", 0, FILE_ATTRIBUTE_READONLY, true, false, true, true, false},
        {L"normal_on", FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_ARCHIVE, true, false, true, false, true},
        {L"normal_off", FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_ARCHIVE, false, true, true, true, false},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.name, c.name + wcslen(c.name)));
        const std::wstring dir = std::wstring(L"dir_") + c.name;
        Dir(dir);
        File(dir + L"\\item", c.item);
        if (c.folder != 0)
        {
            Attr(dir, c.folder | FILE_ATTRIBUTE_DIRECTORY);
        }
        const DWORD before = Attributes(dir + L"\\item");
        ASSERT_EQ(before & c.item, c.item);
        {
            std::lock_guard<std::mutex> g(g_writesLock);
            g_writes.clear();
        }
        ChangeRequest& r = Request(true);
        r.normal = c.normal;
        r.readOnly = c.readOnly;
        r.hidden = c.hidden;
        r.system = c.system;
        r.created = r.modified = r.accessed = T0;
        Drop({dir});
        std::map<std::wstring, Write> w = Writes();
        EXPECT_EQ(w.count(dir), 1u);
        EXPECT_EQ(w.count(dir + L"\\item"), c.changed ? 1u : 0u);
        // Whatever happened, the item has its attributes back.
        EXPECT_EQ(Attributes(dir + L"\\item"), before);
    }
}

TEST_F(ChangeEngineTest, AReadOnlyFileIsChangedAndReadOnlyAgainWithItsArchiveBit)
{
    File(L"ro.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    ASSERT_EQ(Attributes(L"ro.txt") & 0x21u, 0x21u);
    ChangeRequest& r = Request();
    r.created = r.modified = r.accessed = T0;
    Drop({L"ro.txt"});
    EXPECT_EQ(Read(L"ro.txt").m(), T0);
    EXPECT_EQ(Attributes(L"ro.txt") & 0x27u, 0x21u);
    EXPECT_EQ(engine_.getFailureCount(), 0u);
}

TEST_F(ChangeEngineTest, WithNoFieldCheckedEveryItemIsStillOpenedAndRestoredAndProgressEnds)
{
    Dir(L"D");
    File(L"D\\ro.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    File(L"D\\n.txt");
    SetTimes(L"D\\ro.txt", Utc(2003, 3, 3), Utc(2003, 3, 3), Utc(2003, 3, 3));
    SetTimes(L"D\\n.txt", Utc(2003, 3, 3), Utc(2003, 3, 3), Utc(2003, 3, 3));
    ChangeRequest& r = Request(true);
    r.readOnly = true;
    r.created = r.modified = r.accessed = -1;
    Drop({L"D"});
    std::map<std::wstring, Write> w = Writes();
    EXPECT_EQ(w.size(), 3u);
    for (const auto& [rel, write] : w)
    {
        EXPECT_EQ(write.created, -1);
        EXPECT_EQ(write.modified, -1);
        // The folder walked into gets back its access time; the files are opened only.
        if (rel != L"D")
        {
            EXPECT_EQ(write.accessed, -1);
        }
    }
    EXPECT_EQ(Read(L"D\\ro.txt").m(), Utc(2003, 3, 3));
    EXPECT_EQ(Read(L"D\\n.txt").a(), Utc(2003, 3, 3));
    EXPECT_EQ(Attributes(L"D\\ro.txt") & 0x27u, 0x21u);
    EXPECT_EQ(channel_.Positions().back(), 1000);
    EXPECT_EQ(engine_.getFailureCount(), 0u);
}

// Names the system's plain-path rules would rewrite: trailing dots and blanks are dropped
// ("name." would reach its neighbour "name") and device names are taken for devices
// ("aux.log" would reach AUX). Each item is written itself; neighbours keep their times and
// attributes, and the counts are honest.
TEST_F(ChangeEngineTest, EveryWriteReachesTheWalkedItemWhateverItsName)
{
    const std::vector<std::wstring> names = {L"name.", L"name",    L"trail ", L"aux.log",
                                             L"con.txt", L"nul",   L"com1.log", L"a.."};
    Dir(L"D");
    auto exact = [&](const std::wstring& rel) { return L"\\\\?\\" + P(rel); };
    for (size_t i = 0; i < names.size(); ++i)
    {
        const std::wstring rel = L"D\\" + names[i];
        HANDLE h = CreateFileW(exact(rel).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << "cannot make " << std::string(rel.begin(), rel.end());
        CloseHandle(h);
        // Distinct times per item, so that a write reaching a neighbour shows.
        FILETIME t = FileTimeOf(TicksOf(Utc(2001, 1, 1) + Seconds(i) * 86400));
        h = CreateFileW(exact(rel).c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        ASSERT_TRUE(SetFileTime(h, &t, &t, &t));
        CloseHandle(h);
    }
    ASSERT_TRUE(SetFileAttributesW(exact(L"D\\name.").c_str(),
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_TRUE(SetFileAttributesW(exact(L"D\\name").c_str(), FILE_ATTRIBUTE_ARCHIVE));
    auto times = [&](const std::wstring& rel)
    {
        WIN32_FILE_ATTRIBUTE_DATA d{};
        EXPECT_TRUE(GetFileAttributesExW(exact(rel).c_str(), GetFileExInfoStandard, &d));
        return std::make_pair(d.dwFileAttributes, SecondsOf(TicksOf(d.ftLastWriteTime)));
    };

    // Only "name." is changed when dropped alone: its neighbour "name" keeps everything.
    Request().modified = T0;
    engine_.getRequest().created = engine_.getRequest().accessed = -1;
    Drop({L"D\\name."});
    EXPECT_EQ(times(L"D\\name.").second, T0);
    EXPECT_EQ(times(L"D\\name.").first & 0x27u, 0x23u);
    EXPECT_EQ(times(L"D\\name").second, Utc(2001, 1, 2));
    EXPECT_EQ(times(L"D\\name").first & 0x27u, 0x20u);
    EXPECT_EQ(engine_.getFailureCount(), 0u);

    // The folder with everything inside it.
    channel_.events.clear();
    ChangeRequest& r = Request(true);
    r.created = r.accessed = -1;
    r.modified = T0 + 60;
    Drop({L"D"});
    std::map<std::wstring, Write> w = Writes();
    for (const std::wstring& name : names)
    {
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        EXPECT_EQ(w.count(L"D\\" + name), 1u);
        EXPECT_EQ(times(L"D\\" + name).second, T0 + 60);
    }
    EXPECT_EQ(times(L"D\\name.").first & 0x27u, 0x23u);
    EXPECT_EQ(times(L"D\\name").first & 0x27u, 0x20u);
    EXPECT_EQ(channel_.Positions().size(), names.size() + 1);
    EXPECT_EQ(engine_.getFailureCount(), 0u);
}

// A walked folder whose path cannot be split (a folder part longer than a path component
// may be) cannot be reached: it is counted with its path, not passed over.
TEST_F(ChangeEngineTest, AFolderTooDeepToNameIsCountedAsAFailure)
{
    const std::wstring part(200, L'p');
    std::wstring rel = L"D";
    Dir(rel);
    for (int i = 0; i < 4; ++i)
    {
        rel += L"\\" + part;
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + P(rel)).c_str(), nullptr));
    }
    const std::wstring deep = rel + L"\\deep";
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + P(deep)).c_str(), nullptr));
    ASSERT_GT(P(rel).size(), 780u);
    ChangeRequest& r = Request(true);
    r.created = r.accessed = -1;
    r.modified = T0;
    Drop({L"D"});
    EXPECT_EQ(engine_.getFailureCount(), 1u);
    ASSERT_EQ(engine_.getFailedPaths().Count(), 1u);
    EXPECT_EQ(std::wstring(engine_.getFailedPaths().Get(0)->CStr()), P(deep));
    // Everything above it is written.
    EXPECT_EQ(Writes().count(rel), 1u);
    EXPECT_EQ(Read(L"D").m(), T0);
}

// A walked folder keeps the access time it had when "Accessed" is not checked: listing it
// stamps it, and the write gives the old one back.
TEST_F(ChangeEngineTest, AWalkedFolderKeepsItsAccessTime)
{
    Dir(L"D");
    Dir(L"D\\S");
    File(L"D\\S\\f.txt");
    const uint64_t old = TicksOf(Utc(2003, 7, 8)) + 1234567;
    SetTicks(L"D", TicksOf(Utc(2001, 1, 1)), TicksOf(Utc(2002, 1, 1)), old);
    SetTicks(L"D\\S", TicksOf(Utc(2001, 1, 1)), TicksOf(Utc(2002, 1, 1)), old);
    for (const wchar_t* target : {SyncCurrent, SyncNewest})
    {
        ChangeRequest& r = Request(true);
        r.syncTarget = target;
        r.created = r.accessed = -1;
        r.modified = target == SyncNewest ? 0 : T0;
        Drop({L"D"});
        EXPECT_EQ(Read(L"D").accessed, old);
        EXPECT_EQ(Read(L"D\\S").accessed, old);
        EXPECT_EQ(Read(L"D\\S").m(), target == SyncNewest ? Read(L"D\\S\\f.txt").m() : T0);
    }
}

TEST_F(ChangeEngineTest, InvalidAndMissingPathsAreSkippedSilently)
{
    File(L"there.txt");
    ChangeRequest& r = Request();
    r.created = r.modified = r.accessed = T0;
    Drop({L"missing.txt", L"there.txt"});
    EXPECT_EQ(Writes().size(), 1u);
    EXPECT_EQ(channel_.Positions(), (std::vector<int32_t>{1000}));
    EXPECT_EQ(engine_.getFailureCount(), 0u);
}

// A dropped drive root ("C:\", kept as "C:"). Its times go to the root itself: "C:" names
// the drive's current folder, which is where the program's working folder usually is. It
// has no times of its own to read (they answer 0), so an oldest search is not pulled to
// 1970 by it and an offset does not write 1970 plus the offset.
TEST_F(ChangeEngineTest, ADroppedDriveRootIsWrittenAtTheRootAndLendsNoTimes)
{
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(root_.c_str()));
    const std::wstring drive = root_.substr(0, 2);
    ASSERT_EQ(drive[1], L':');
    const std::wstring rootText = drive + L"\\";
    SetTimes(L"", Utc(2004, 1, 1), Utc(2004, 1, 1), Utc(2004, 1, 1));
    auto dropRoot = [&]
    {
        {
            std::lock_guard<std::mutex> g(g_writesLock);
            g_writes.clear();
        }
        {
            ObjLocker::Guard guard(frame_.getItemLock());
            frame_.appendPath(rootText.c_str());
            ASSERT_TRUE(frame_.startRun());
        }
        frame_.getWorker()->WaitIdle();
        std::lock_guard<std::mutex> g(g_writesLock);
        ASSERT_EQ(g_writes.size(), 1u);
        EXPECT_EQ(g_writes[0].path, rootText);
    };
    auto allBoxes = [](ChangeRequest& r)
    {
        r.normal = r.readOnly = r.hidden = r.system = true;
    };

    // Specific: only the root is written, and the current folder keeps its time.
    ChangeRequest& r = Request();
    allBoxes(r);
    r.created = r.accessed = -1;
    r.modified = T0;
    dropRoot();
    SetCurrentDirectoryW(previous);
    EXPECT_EQ(Read(L"").m(), Utc(2004, 1, 1));
    EXPECT_EQ(engine_.getFailureCount(), 0u);

    // Oldest: the search walks the whole drive; whatever it finds, it is not 1970.
    allBoxes(Request());
    engine_.getRequest().syncTarget = SyncOldest;
    engine_.getRequest().created = engine_.getRequest().accessed = -1;
    engine_.getRequest().modified = Utc(2030, 1, 1);
    dropRoot();
    EXPECT_GT(engine_.getRequest().modified, 0);
    EXPECT_LE(engine_.getRequest().modified, Utc(2004, 1, 1));

    // An offset has nothing to start from: the root keeps its times and is counted.
    allBoxes(Request());
    engine_.getRequest().mode = ModeOffset;
    engine_.getRequest().offset = 3600;
    dropRoot();
    {
        std::lock_guard<std::mutex> g(g_writesLock);
        ASSERT_EQ(g_writes.size(), 1u);
        EXPECT_EQ(g_writes[0].created, -1);
        EXPECT_EQ(g_writes[0].modified, -1);
        EXPECT_EQ(g_writes[0].accessed, -1);
    }
    EXPECT_EQ(engine_.getFailureCount(), 1u);
    EXPECT_EQ(channel_.Positions().back(), 1000);
}

// --- cancel ------------------------------------------------------------------------------------

TEST_F(ChangeEngineTest, CancellingInsideAFolderFinishesTheItemAndItsFoldersOnly)
{
    Dir(L"D");
    Dir(L"D\\S");
    for (const wchar_t* f : {L"D\\S\\s1", L"D\\S\\s2", L"D\\S\\s3", L"D\\S\\s4"})
    {
        File(f);
    }
    File(L"after.txt");
    ChangeRequest& r = Request(true);
    r.created = r.modified = r.accessed = T0;
    channel_.onEvent = [&](const Event& e)
    {
        if (e.name == ProcessStatusUpdate && channel_.Positions().size() == 2)
        {
            frame_.cancelProcessing(false);
        }
    };
    Drop({L"D", L"after.txt"});
    // Two entries of S were written before the cancel; S and D are finished; nothing else.
    const std::vector<std::wstring> order = WriteOrder();
    ASSERT_EQ(order.size(), 4u);
    EXPECT_EQ(order[2], L"D\\S");
    EXPECT_EQ(order[3], L"D");
    EXPECT_EQ(channel_.Titles().size(), 4u);
    EXPECT_EQ(channel_.Titles()[2], L"S");
    EXPECT_EQ(channel_.Titles()[3], L"D");
    EXPECT_NE(Read(L"after.txt").m(), T0);
    EXPECT_EQ(Read(L"D").m(), T0);
    int changed = 0;
    for (const wchar_t* f : {L"D\\S\\s1", L"D\\S\\s2", L"D\\S\\s3", L"D\\S\\s4"})
    {
        changed += Read(f).m() == T0 ? 1 : 0;
    }
    EXPECT_EQ(changed, 2);
    ObjLocker::Guard guard(frame_.getItemLock());
    EXPECT_FALSE(frame_.isCancelRequested());
}

// --- failures ----------------------------------------------------------------------------------

TEST_F(ChangeEngineTest, ItemsThatCannotBeOpenedAreCountedKeptAndStillRestored)
{
    const int lockedCount = 103;
    Dir(L"D");
    for (int i = 0; i < lockedCount; ++i)
    {
        File(L"D\\locked" + std::to_wstring(i), i == 0 ? FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE : 0);
    }
    File(L"D\\free.txt");
    ChangeRequest& r = Request(true);
    r.readOnly = true;
    r.created = r.modified = r.accessed = T0;
    {
        // Every open of these items is refused at the time writer's seam.
        s::file::win::test::WriterCalls calls;
        calls.refuseAll = L"locked";
        Drop({L"D"});
    }
    EXPECT_EQ(engine_.getFailureCount(), uint32_t(lockedCount));
    const s::str::strarray::StrArray& failed = engine_.getFailedPaths();
    ASSERT_EQ(failed.Count(), ChangeEngine::MAX_KEPT_FAILURES);
    for (uint32_t i = 0; i < failed.Count(); ++i)
    {
        const std::wstring path = failed.Get(i)->CStr();
        EXPECT_EQ(path.rfind(P(L"D\\locked"), 0), 0u);
    }
    // Every item still reported its update; the others were changed.
    EXPECT_EQ(channel_.Positions().size(), size_t(lockedCount + 2));
    EXPECT_EQ(Read(L"D\\free.txt").m(), T0);
    EXPECT_EQ(Read(L"D").m(), T0);
    EXPECT_NE(Read(L"D\\locked1").m(), T0);
    EXPECT_EQ(Attributes(L"D\\locked0") & 0x27u, 0x21u);

    EXPECT_EQ(engine_.getFailedErrors().Get(0), uint32_t(ERROR_ACCESS_DENIED));

    // The next run starts with a clean count.
    File(L"ok.txt");
    Drop({L"ok.txt"});
    EXPECT_EQ(engine_.getFailureCount(), 0u);
    EXPECT_EQ(engine_.getFailedPaths().Count(), 0u);
}

// The engine changes documents another program holds open, even without any sharing, and
// read-only, hidden and system items, without touching a single attribute.
TEST_F(ChangeEngineTest, OpenAndProtectedItemsGetTheirTimesWithoutAttributeChanges)
{
    Dir(L"D");
    File(L"D\\held.txt");
    File(L"D\\rhs.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
    HANDLE h = CreateFileW(P(L"D\\held.txt").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ChangeRequest& r = Request(true);
    r.readOnly = r.system = true;
    r.created = r.accessed = -1;
    r.modified = T0;
    s::file::win::test::WriterCalls calls;
    Drop({L"D"});
    CloseHandle(h);
    EXPECT_EQ(engine_.getFailureCount(), 0u);
    EXPECT_EQ(Read(L"D\\held.txt").m(), T0);
    EXPECT_EQ(Read(L"D\\rhs.txt").m(), T0);
    EXPECT_EQ(Read(L"D").m(), T0);
    EXPECT_TRUE(calls.Changes().empty());
    EXPECT_EQ(calls.FullOpens(), 0);
    EXPECT_EQ(Attributes(L"D\\rhs.txt") & 0x27u, 0x27u);
}

// --- seams for other front ends ----------------------------------------------------------------

// Records what the engine tells its listener; may skip or act on chosen items.
class Listener : public IChangeListener
{
  public:
    struct Seen
    {
        std::wstring path;
        bool isFolder;
        ItemTimes before, planned;
    };
    struct After
    {
        std::wstring path;
        bool ok;
        uint32_t error;
    };
    bool beforeWrite(const wchar_t* path, bool isFolder, const ItemTimes& before, const ItemTimes& planned) override
    {
        seen.push_back({path, isFolder, before, planned});
        if (onBefore)
        {
            onBefore(path);
        }
        return skip.count(path) == 0;
    }
    void afterWrite(const wchar_t* path, bool ok, uint32_t systemError) override
    {
        after.push_back({path, ok, systemError});
    }
    std::vector<Seen> seen;
    std::vector<After> after;
    std::map<std::wstring, bool> skip;
    std::function<void(const std::wstring&)> onBefore;
};

// The listener sees every item in the engine's order with its times as read and as they
// will be written (an unchanged time carries its old value), then the outcome; an item it
// skips is neither written nor counted.
TEST_F(ChangeEngineTest, TheListenerSeesOldAndNewTimesAndMaySkipItems)
{
    Dir(L"D");
    File(L"D\\a.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    File(L"D\\skip.txt");
    const uint64_t c0 = TicksOf(Utc(2001, 1, 1)) + 1111111, m0 = TicksOf(Utc(2002, 2, 2)) + 2222222,
                   a0 = TicksOf(Utc(2003, 3, 3)) + 3333333;
    SetTicks(L"D\\a.txt", c0, m0, a0);
    SetTicks(L"D", c0, m0, a0);
    const Times skipBefore = Read(L"D\\skip.txt");
    Listener listener;
    listener.skip[P(L"D\\skip.txt")] = true;
    engine_.setListener(&listener);
    ChangeRequest& r = Request(true);
    r.readOnly = true;
    r.created = -1;
    r.modified = T0;
    r.accessed = -1;
    Drop({L"D"});

    ASSERT_EQ(listener.seen.size(), 3u);
    EXPECT_EQ(listener.seen.back().path, P(L"D")); // contents before their folder
    EXPECT_TRUE(listener.seen.back().isFolder);
    for (const Listener::Seen& s : listener.seen)
    {
        if (s.path == P(L"D\\skip.txt"))
        {
            continue;
        }
        SCOPED_TRACE(std::string(s.path.begin(), s.path.end()));
        // As read: the item's own times, to the tick (Wine keeps no creation time: it reads
        // as what the system reports).
        const Times t = Read(s.path.substr(root_.size() + 1));
        EXPECT_EQ(uint64_t(s.before.modified), m0);
        EXPECT_EQ(uint64_t(s.before.accessed), a0);
        EXPECT_EQ(s.planned.created, s.before.created);
        EXPECT_EQ(uint64_t(s.planned.modified), TicksOf(T0));
        EXPECT_EQ(s.planned.accessed, s.before.accessed);
        EXPECT_EQ(t.modified, TicksOf(T0));
        EXPECT_EQ(t.accessed, a0);
    }
    ASSERT_EQ(listener.after.size(), 2u); // the skipped item has no outcome
    for (const Listener::After& a : listener.after)
    {
        EXPECT_TRUE(a.ok);
        EXPECT_EQ(a.error, 0u);
    }
    EXPECT_EQ(Read(L"D\\skip.txt").modified, skipBefore.modified);
    EXPECT_EQ(Writes().count(L"D\\skip.txt"), 0u);
    EXPECT_EQ(engine_.getFailureCount(), 0u);
    EXPECT_EQ(channel_.Positions().size(), 3u); // progress still moves past a skipped item
    EXPECT_EQ(Attributes(L"D\\a.txt") & 0x27u, 0x21u);
    engine_.setListener(nullptr);
}

// Plan mode walks, filters, computes and tells, but writes nothing: no time, no attribute.
TEST_F(ChangeEngineTest, PlanModeWritesNothing)
{
    Dir(L"D");
    File(L"D\\ro.txt", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    File(L"D\\n.txt");
    File(L"F.txt");
    for (const wchar_t* rel : {L"D", L"D\\ro.txt", L"D\\n.txt", L"F.txt"})
    {
        SetTimes(rel, Utc(2005, 5, 5), Utc(2005, 5, 5), Utc(2005, 5, 5));
    }
    Listener listener;
    engine_.setListener(&listener);
    engine_.setPlanOnly(true);
    for (const wchar_t* target : {SyncCurrent, SyncNewest})
    {
        listener.seen.clear();
        channel_.events.clear();
        ChangeRequest& r = Request(true);
        r.syncTarget = target;
        r.created = r.accessed = -1;
        r.modified = target == SyncNewest ? 0 : T0;
        Drop({L"D", L"F.txt"});
        const Seconds expected = target == SyncNewest ? Utc(2005, 5, 5) : T0;
        EXPECT_EQ(listener.seen.size(), 4u);
        for (const Listener::Seen& s : listener.seen)
        {
            EXPECT_EQ(SecondsOf(uint64_t(s.planned.modified)), expected);
        }
        EXPECT_TRUE(listener.after.empty());
        EXPECT_TRUE(Writes().empty());
        for (const wchar_t* rel : {L"D", L"D\\ro.txt", L"D\\n.txt", L"F.txt"})
        {
            EXPECT_EQ(Read(rel).m(), Utc(2005, 5, 5));
        }
        EXPECT_EQ(Attributes(L"D\\ro.txt") & 0x27u, 0x23u);
        EXPECT_EQ(channel_.Positions().back(), 1000);
        EXPECT_EQ(engine_.getFailureCount(), 0u);
    }
    EXPECT_TRUE(engine_.isPlanOnly());
    engine_.reset();
    EXPECT_FALSE(engine_.isPlanOnly());
    EXPECT_EQ(engine_.getListener(), nullptr);
}

// Each failed item keeps the system's error code of what failed, beside its path; the
// listener hears the same code.
TEST_F(ChangeEngineTest, FailuresKeepTheSystemErrorCode)
{
    Dir(L"D");
    File(L"D\\gone.txt");
    File(L"D\\stays.txt");
    // A folder part longer than a path may have: the item cannot be named.
    const std::wstring part(200, L'p');
    std::wstring rel = L"D";
    for (int i = 0; i < 4; ++i)
    {
        rel += L"\\" + part;
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + P(rel)).c_str(), nullptr));
    }
    ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + P(rel + L"\\deep")).c_str(), nullptr));
    Listener listener;
    // The file vanishes between the listing and its write.
    listener.onBefore = [&](const std::wstring& path)
    {
        if (path == P(L"D\\gone.txt"))
        {
            DeleteFileW(path.c_str());
        }
    };
    engine_.setListener(&listener);
    ChangeRequest& r = Request(true);
    r.created = r.accessed = -1;
    r.modified = T0;
    Drop({L"D"});
    ASSERT_EQ(engine_.getFailureCount(), 2u);
    const s::str::strarray::StrArray& paths = engine_.getFailedPaths();
    const s::col::_array::ArrayU32& errors = engine_.getFailedErrors();
    ASSERT_EQ(errors.Count(), paths.Count());
    std::map<std::wstring, uint32_t> byPath;
    for (uint32_t i = 0; i < paths.Count(); ++i)
    {
        byPath[paths.Get(i)->CStr()] = errors.Get(i);
    }
    EXPECT_EQ(byPath[P(L"D\\gone.txt")], uint32_t(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(byPath[P(rel + L"\\deep")], uint32_t(ERROR_FILENAME_EXCED_RANGE));
    bool heard = false;
    for (const Listener::After& a : listener.after)
    {
        if (a.path == P(L"D\\gone.txt"))
        {
            heard = true;
            EXPECT_FALSE(a.ok);
            EXPECT_EQ(a.error, uint32_t(ERROR_FILE_NOT_FOUND));
        }
        else
        {
            EXPECT_TRUE(a.ok);
        }
    }
    EXPECT_TRUE(heard);
    EXPECT_EQ(Read(L"D\\stays.txt").m(), T0);
    engine_.setListener(nullptr);
}

// A cancel during a run of fast items stops within one item: the flag is tested before
// every item, whether or not its update reached the display.
TEST_F(ChangeEngineTest, CancelDuringFastItemsStopsWithinOneItem)
{
    Dir(L"D");
    for (int i = 0; i < 300; ++i)
    {
        File(L"D\\f" + std::to_wstring(i));
    }
    Listener listener;
    size_t seenAtCancel = 0;
    channel_.onEvent = [&](const Event& e)
    {
        if (e.name == ProcessStatusUpdate && e.position >= 100 && seenAtCancel == 0)
        {
            seenAtCancel = listener.seen.size();
            frame_.cancelProcessing(false);
        }
    };
    engine_.setListener(&listener);
    ChangeRequest& r = Request(true);
    r.created = r.accessed = -1;
    r.modified = T0;
    Drop({L"D"});
    channel_.onEvent = nullptr;
    engine_.setListener(nullptr);
    ASSERT_GT(seenAtCancel, 0u);
    // Only the folder that encloses the cancelled item follows.
    ASSERT_EQ(listener.seen.size(), seenAtCancel + 1);
    EXPECT_EQ(listener.seen.back().path, P(L"D"));
    EXPECT_EQ(Writes().size(), seenAtCancel + 1);
}

// The engine needs no window: a frame without a status channel, startRun, waitForEnd.
TEST_F(ChangeEngineTest, RunsWithoutAnyStatusChannel)
{
    File(L"f.txt");
    frame_.setStatusChannel(nullptr);
    ChangeRequest& r = Request();
    r.created = r.accessed = -1;
    r.modified = T0;
    for (int run = 0; run < 2; ++run)
    {
        {
            ObjLocker::Guard guard(frame_.getItemLock());
            frame_.appendPath(P(L"f.txt").c_str());
            ASSERT_TRUE(frame_.startRun());
        }
        frame_.waitForEnd();
        ObjLocker::Guard guard(frame_.getItemLock());
        EXPECT_FALSE(frame_.isBusy());
        EXPECT_EQ(frame_.getPathCount(), 0u);
    }
    EXPECT_EQ(Read(L"f.txt").m(), T0);
    frame_.setStatusChannel(&channel_);
}

// --- the views ------------------------------------------------------------------------------------

TEST_F(ChangeEngineTest, ViewActionsShowTheItemAndViewEditApplyWritesTheShownItem)
{
    struct View : IDroppedItemView
    {
        std::atomic<int> shown{0};
        void showDroppedItem() override { ++shown; }
    } view;
    engine_.setItemView(&view);
    File(L"shown.txt");
    File(L"dropped.txt");

    engine_.setAction(ChangeEngine::ACTION_VIEW_COPY);
    Drop({L"dropped.txt"});
    EXPECT_EQ(view.shown, 1);
    engine_.setAction(ChangeEngine::ACTION_VIEW_EDIT);
    Drop({L"dropped.txt"});
    EXPECT_EQ(view.shown, 2);
    EXPECT_TRUE(Writes().empty());

    // Apply: the capture's request for a file, the shown item's path, apply pending.
    ChangeRequest& r = engine_.getRequest();
    r.reset();
    r.normal = r.readOnly = r.hidden = r.system = true;
    r.created = T0;
    r.modified = T0 + 60;
    r.accessed = -1;
    engine_.setEditPath(P(L"shown.txt").c_str());
    engine_.setApplyPending(true);
    channel_.events.clear();
    {
        ObjLocker::Guard guard(frame_.getItemLock());
        ASSERT_TRUE(frame_.startRun());
    }
    frame_.getWorker()->WaitIdle();
    EXPECT_EQ(view.shown, 2);
    EXPECT_FALSE(engine_.isApplyPending());
    std::map<std::wstring, Write> w = Writes();
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[L"shown.txt"].created, T0);
    EXPECT_EQ(w[L"shown.txt"].modified, T0 + 60);
    EXPECT_EQ(w[L"shown.txt"].accessed, -1);
    EXPECT_EQ(Read(L"shown.txt").m(), T0 + 60);
    EXPECT_EQ(channel_.Positions(), (std::vector<int32_t>{1000}));
    EXPECT_EQ(channel_.events.back().name, ProcessStatusEnd);
}

TEST(ChangeRequest, ANewOrResetRequestHoldsTheDefaults)
{
    ChangeRequest r;
    r.created = 5;
    r.mode = ModeOffset;
    r.syncTarget = SyncNewest;
    r.hidden = true;
    r.offset = 9;
    r.reset();
    EXPECT_EQ(r.mode, ModeSpecific);
    EXPECT_EQ(r.syncTarget, SyncCurrent);
    EXPECT_EQ(r.created, 0);
    EXPECT_EQ(r.modified, 0);
    EXPECT_EQ(r.accessed, 0);
    EXPECT_FALSE(r.includeContents || r.normal || r.readOnly || r.hidden || r.system);
    EXPECT_EQ(r.offset, 0);
    EXPECT_STREQ(ModeSync, L"Sync");
    EXPECT_STREQ(SyncOldest, L"Oldest");
}
