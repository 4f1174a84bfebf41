// The change engine's seams for other front ends: the listener, plan mode, error codes,
// cancel between fast items and running without a window.
#include "ChangeEngineTestSupport.h"
#include "s/file/gui/dialogs/filetime/PlanRecorder.h"

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

// A preview's recorder while another program touches items during the plan.
class TouchedPlan : public PlanRecorder
{
  public:
    bool beforeWrite(const wchar_t* path, bool isFolder, const ItemTimes& before, const ItemTimes& planned) override
    {
        if (touch)
        {
            touch(path);
        }
        return PlanRecorder::beforeWrite(path, isFolder, before, planned);
    }
    std::function<void(const std::wstring&)> touch;
};

// A preview writes nothing of its own: a folder that its plan listed gets back, to the
// tick, the access time it had before the listing; a folder that no listing of the plan
// touched is never written, whatever happens to its access time meanwhile.
TEST_F(ChangeEngineTest, APlanGivesBackOnlyTheAccessTimesItsListingsStamped)
{
    Dir(L"Alone");
    Dir(L"Walked");
    Dir(L"Walked\\Sub");
    File(L"Walked\\Sub\\a.txt");
    for (const wchar_t* rel : {L"Alone", L"Walked", L"Walked\\Sub", L"Walked\\Sub\\a.txt"})
    {
        SetTimes(rel, Utc(2005, 5, 5), Utc(2005, 5, 5), Utc(2005, 5, 5));
    }
    const auto endsWith = [](const std::wstring& path, const std::wstring& end) {
        return path.size() >= end.size() && path.compare(path.size() - end.size(), end.size(), end) == 0;
    };
    TouchedPlan plan;
    engine_.setListener(&plan);
    engine_.setPlanOnly(true);

    // Not walked into: another program opening the folder during the plan keeps its stamp.
    plan.touch = [&](const std::wstring& path) {
        if (endsWith(path, L"\\Alone"))
        {
            SetTimes(L"Alone", Utc(2005, 5, 5), Utc(2005, 5, 5), Utc(2010, 1, 1));
        }
    };
    ChangeRequest& r = Request(false);
    r.syncTarget = SyncCurrent;
    r.created = r.accessed = -1;
    r.modified = T0;
    Drop({L"Alone"});
    EXPECT_EQ(1u, plan.items());
    EXPECT_EQ(Utc(2010, 1, 1), Read(L"Alone").a());
    EXPECT_EQ(0u, Writes().count(L"Alone"));

    // Walked into: the listing's stamp (here made while the folder's walk runs) goes.
    plan.clear();
    plan.touch = [&](const std::wstring& path) {
        if (endsWith(path, L"\\a.txt"))
        {
            SetTimes(L"Walked\\Sub", Utc(2005, 5, 5), Utc(2005, 5, 5), Utc(2010, 1, 1));
        }
    };
    ChangeRequest& walk = Request(true);
    walk.syncTarget = SyncCurrent;
    walk.created = walk.accessed = -1;
    walk.modified = T0;
    Drop({L"Walked"});
    EXPECT_EQ(3u, plan.items());
    EXPECT_EQ(TicksOf(Utc(2005, 5, 5)), Read(L"Walked\\Sub").accessed);
    EXPECT_EQ(TicksOf(Utc(2005, 5, 5)), Read(L"Walked").accessed);
    const std::map<std::wstring, Write> w = Writes();
    for (const auto& [path, x] : w)
    {
        // Only access times given back; nothing the plan computed.
        EXPECT_EQ(-1, x.created) << path;
        EXPECT_EQ(-1, x.modified) << path;
        EXPECT_EQ(TicksOf(Utc(2005, 5, 5)), x.accessedTicks) << path;
    }
    EXPECT_EQ(1u, w.count(L"Walked\\Sub"));
    EXPECT_EQ(Utc(2005, 5, 5), Read(L"Walked\\Sub\\a.txt").m());
    engine_.setListener(nullptr);
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
