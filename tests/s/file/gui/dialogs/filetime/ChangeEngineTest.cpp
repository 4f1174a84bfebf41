// The change engine: Specific, the methods, newest and oldest, the views and the request.
#include "ChangeEngineTestSupport.h"

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
