// The change engine and items it cannot read: a name with a colon (a stream path on Windows,
// an ordinary file under Wine) is changed from its own times, never from 1970; dropped items
// that cannot be found or reached are counted with the system's reason, and only items the
// attribute boxes leave out are passed over.
#include "ChangeEngineTestSupport.h"

#include <set>

namespace
{

// The kept failures by full path.
std::map<std::wstring, uint32_t> FailuresOf(const ChangeEngine& engine)
{
    std::map<std::wstring, uint32_t> byPath;
    const s::str::strarray::StrArray& paths = engine.getFailedPaths();
    for (uint32_t i = 0; i < paths.Count(); ++i)
    {
        byPath[paths.Get(i)->CStr()] = engine.getFailedErrors().Get(i);
    }
    return byPath;
}

} // namespace

// "x:y" is read through the path itself, as it is written: every method that derives from the
// item's own times starts from its real times.
TEST_F(ChangeEngineTest, ANameWithAColonIsChangedFromItsOwnTimes)
{
    File(L"x:y");
    File(L"other.txt");
    const Seconds own = Utc(2012, 3, 4, 5, 6, 7);
    const Seconds other = Utc(2009, 1, 2, 3, 4, 5);
    struct Case
    {
        const char* name;
        const wchar_t* mode;
        const wchar_t* target;
        int64_t offset;
        bool withOther;
        Seconds modified, accessed; // expected on disk for x:y (-1: as before)
    } cases[] = {
        {"offset +1h", ModeOffset, SyncCurrent, 3600, false, own + 3600, own + 100 + 3600},
        {"sync to modified", ModeSync, SyncModified, 0, false, own, own},
        {"newest", ModeSpecific, SyncNewest, 0, true, own, own + 100},
        {"oldest", ModeSpecific, SyncOldest, 0, true, other, other},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        SetTimes(L"x:y", own, own, own + 100);
        SetTimes(L"other.txt", other, other, other);
        channel_.events.clear();
        ChangeRequest& r = Request();
        r.mode = c.mode;
        r.syncTarget = c.target;
        r.offset = c.offset;
        const Seconds start = c.target == SyncOldest ? s::time::nowSeconds() : 0;
        r.created = -1;
        r.modified = start;
        r.accessed = start;
        if (c.withOther)
            Drop({L"x:y", L"other.txt"});
        else
            Drop({L"x:y"});
        EXPECT_EQ(Read(L"x:y").m(), c.modified);
        EXPECT_EQ(Read(L"x:y").a(), c.accessed);
        EXPECT_EQ(engine_.getFailureCount(), 0u);
    }
}

// The engine's own read of such an item: the times the system keeps for it, not 0.
TEST_F(ChangeEngineTest, ANameWithAColonHasTheTimesOfWhatItNames)
{
    File(L"x:y");
    SetTimes(L"x:y", Utc(2012, 3, 4), Utc(2012, 3, 4, 1), Utc(2012, 3, 4, 2));
    PathWin* item = PathWin::FromText(P(L"x:y").c_str());
    ASSERT_TRUE(item->IsStream());
    uint32_t error = 1;
    EXPECT_TRUE(item->Query(&error));
    EXPECT_EQ(error, 0u);
    EXPECT_TRUE(item->HasTimes());
    EXPECT_EQ(item->GetModifiedTime(), Utc(2012, 3, 4, 1));
    EXPECT_EQ(item->GetAccessTime(), Utc(2012, 3, 4, 2));
    EXPECT_EQ(item->GetSize(), 1);
    item->Release();

    PathWin* missing = PathWin::FromText(P(L"x:none").c_str());
    EXPECT_FALSE(missing->Query(&error));
    EXPECT_NE(error, 0u);
    EXPECT_FALSE(missing->HasTimes());
    EXPECT_EQ(missing->GetAttributes(), INVALID_FILE_ATTRIBUTES);
    missing->Release();
}

// Deleted after the drop, a name the system refuses, a folder that went with its parent: each
// is counted and kept with its reason, under every method; the others change. A folder the
// attribute boxes leave out is what the user asked for and no failure.
TEST_F(ChangeEngineTest, DroppedItemsThatCannotBeFoundAreCountedWithTheirReason)
{
    File(L"a.txt");
    File(L"c.txt");
    Dir(L"H");
    Attr(L"H", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_DIRECTORY);
    const std::vector<std::wstring> dropped = {L"a.txt", L"gone.txt", L"q?.txt", L"star*.txt",
                                               L"vanished\\folder", L"c.txt", L"H"};
    const std::map<std::wstring, uint32_t> expected = {{P(L"gone.txt"), ERROR_FILE_NOT_FOUND},
                                                       {P(L"q?.txt"), ERROR_INVALID_NAME},
                                                       {P(L"star*.txt"), ERROR_INVALID_NAME},
                                                       {P(L"vanished\\folder"), ERROR_PATH_NOT_FOUND}};
    for (const wchar_t* mode : {ModeSpecific, ModeOffset, ModeSync})
    {
        SCOPED_TRACE(std::string(mode, mode + wcslen(mode)));
        for (const wchar_t* f : {L"a.txt", L"c.txt"})
            SetTimes(f, Utc(2005, 1, 1), Utc(2005, 1, 1), Utc(2005, 1, 1));
        ChangeRequest& r = Request();
        r.hidden = false; // the hidden folder H is left out on purpose
        r.mode = mode;
        r.syncTarget = mode == ModeSync ? SyncModified : SyncCurrent;
        r.offset = mode == ModeOffset ? 60 : 0;
        r.created = -1;
        r.modified = r.accessed = mode == ModeSpecific ? T0 : 0;
        {
            ObjLocker::Guard guard(frame_.getItemLock());
            for (const std::wstring& d : dropped)
                frame_.appendPath(P(d).c_str());
            ASSERT_TRUE(frame_.startRun());
        }
        frame_.getWorker()->WaitIdle();
        const Seconds want = mode == ModeSpecific ? T0 : mode == ModeOffset ? Utc(2005, 1, 1) + 60 : Utc(2005, 1, 1);
        EXPECT_EQ(Read(L"a.txt").m(), want);
        EXPECT_EQ(Read(L"c.txt").m(), want);
        EXPECT_EQ(engine_.getFailureCount(), 4u);
        EXPECT_EQ(FailuresOf(engine_), expected);
    }
}

// View & Edit's Apply of an item that went away after it was shown.
TEST_F(ChangeEngineTest, AnAppliedItemThatIsGoneIsCounted)
{
    Request();
    engine_.getRequest().modified = T0;
    engine_.setAction(ChangeEngine::ACTION_VIEW_EDIT);
    engine_.setEditPath(P(L"gone.txt").c_str());
    engine_.setApplyPending(true);
    {
        ObjLocker::Guard guard(frame_.getItemLock());
        ASSERT_TRUE(frame_.startRun());
    }
    frame_.getWorker()->WaitIdle();
    EXPECT_EQ(engine_.getFailureCount(), 1u);
    EXPECT_EQ(FailuresOf(engine_), (std::map<std::wstring, uint32_t>{{P(L"gone.txt"), ERROR_FILE_NOT_FOUND}}));
    EXPECT_TRUE(engine_.didLastRunWrite());
}
