// The change engine walking trees: the attribute filter, names and paths the system would
// rewrite, drive roots, cancel and failures.
#include "ChangeEngineTestSupport.h"

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

// A dropped item that is gone is not written and sends no update, but it is no silent skip:
// it counts as failed with the system's reason.
TEST_F(ChangeEngineTest, MissingPathsAreNotWrittenButCounted)
{
    File(L"there.txt");
    ChangeRequest& r = Request();
    r.created = r.modified = r.accessed = T0;
    Drop({L"missing.txt", L"there.txt"});
    EXPECT_EQ(Writes().size(), 1u);
    EXPECT_EQ(channel_.Positions(), (std::vector<int32_t>{1000}));
    EXPECT_EQ(engine_.getFailureCount(), 1u);
    ASSERT_EQ(engine_.getFailedPaths().Count(), 1u);
    EXPECT_EQ(std::wstring(engine_.getFailedPaths().Get(0)->CStr()), P(L"missing.txt"));
    EXPECT_EQ(engine_.getFailedErrors().Get(0), uint32_t(ERROR_FILE_NOT_FOUND));
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
