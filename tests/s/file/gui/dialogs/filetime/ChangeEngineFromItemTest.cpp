// Times from the item itself: the date a photo was taken, the date in the name, and each
// folder's newest item inside. Times are checked on disk (modified) and as handed to the
// write (created, which Wine does not keep).

#include "ChangeEngineTestSupport.h"

#include <string>

#include "s/time/TimeZone.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/file/meta/ExifFixtures.h"

using namespace s::file::meta::test;

namespace
{

const s::time::TimeZone* ZoneByKey(const wchar_t* key)
{
    for (uint32_t i = 0; i < s::time::zoneCount(); ++i)
    {
        const s::time::TimeZone* z = s::time::zoneAt(i);
        if (std::wstring(z->getKeyName().CStr()) == key)
            return z;
    }
    return nullptr;
}

// Records why items had no date.
struct NoDateRecorder : IChangeListener
{
    bool beforeWrite(const wchar_t*, bool, const ItemTimes&, const ItemTimes&) override { return true; }
    void afterWrite(const wchar_t*, bool, uint32_t) override {}
    void withoutDate(const wchar_t* path, bool, NoDate reason) override
    {
        std::wstring p = path;
        reasons[p.substr(p.find_last_of(L'\\') + 1)] = reason;
    }
    std::map<std::wstring, NoDate> reasons;
};

} // namespace

class ChangeEngineFromItemTest : public ChangeEngineTest
{
  protected:
    void Picture(const std::wstring& rel, const Bytes& bytes)
    {
        HANDLE h = CreateFileW(P(rel).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                               nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }
    ChangeRequest& FromItem(const wchar_t* source, bool includeContents)
    {
        ChangeRequest& r = Request(includeContents);
        r.mode = ModeFromItem;
        r.fromSource = source;
        r.created = r.modified = 0;
        r.accessed = -1;
        return r;
    }
    NoDateRecorder recorder_;
};

TEST_F(ChangeEngineFromItemTest, DateTakenWithAndWithoutOffsetInTheChosenZone)
{
    const Bytes jpeg = SmallJpeg();
    Picture(L"offset.jpg", WithSegments(jpeg, {ExifSegment(Tiff({{TAG_DATE_ORIGINAL, "2024:04:03 18:40:12"},
                                                                 {TAG_OFFSET_ORIGINAL, "-05:00"}}))}));
    Picture(L"wallclock.jpg", WithSegments(jpeg, {ExifSegment(Tiff({{TAG_DATE_ORIGINAL, "2024:04:03 18:40:12"}}))}));
    Picture(L"digitized.jpg", WithSegments(jpeg, {ExifSegment(Tiff({{TAG_DATE_DIGITIZED, "2019:01:02 03:04:05"}}))}));
    Picture(L"damaged.jpg", WithSegments(jpeg, {ExifSegment(Tiff({{TAG_DATE_ORIGINAL, "2024:04:03 18:40:12", 0x7FFFFFF0}}))}));
    Picture(L"plain.jpg", jpeg);
    Dir(L"Album");
    for (const wchar_t* r : {L"offset.jpg", L"wallclock.jpg", L"digitized.jpg", L"damaged.jpg", L"plain.jpg", L"Album"})
        SetTimes(r, Utc(2001, 1, 1), Utc(2001, 1, 1), Utc(2001, 1, 1));

    const s::time::TimeZone* tokyo = ZoneByKey(L"Tokyo Standard Time");
    ASSERT_NE(nullptr, tokyo);
    ChangeRequest& r = FromItem(FromTaken, false);
    r.wallClockZone = tokyo;
    engine_.setListener(&recorder_);
    Drop({L"offset.jpg", L"wallclock.jpg", L"digitized.jpg", L"damaged.jpg", L"plain.jpg", L"Album"});

    EXPECT_EQ(Utc(2024, 4, 3, 23, 40, 12), Read(L"offset.jpg").m());   // exact, whatever the zone
    EXPECT_EQ(Utc(2024, 4, 3, 9, 40, 12), Read(L"wallclock.jpg").m()); // read at UTC+9
    EXPECT_EQ(Utc(2019, 1, 1, 18, 4, 5), Read(L"digitized.jpg").m());
    std::map<std::wstring, Write> w = Writes();
    EXPECT_EQ(Utc(2024, 4, 3, 23, 40, 12), w[L"offset.jpg"].created);
    EXPECT_EQ(-1, w[L"offset.jpg"].accessed);
    // Without a date: left alone, counted apart from failures, with the reason.
    for (const wchar_t* r2 : {L"damaged.jpg", L"plain.jpg", L"Album"})
    {
        EXPECT_EQ(0u, w.count(r2));
        EXPECT_EQ(Utc(2001, 1, 1), Read(r2).m());
        EXPECT_EQ(1u, recorder_.reasons.count(r2));
    }
    EXPECT_EQ(3u, engine_.getChangedCount());
    EXPECT_EQ(3u, engine_.getWithoutDateCount());
    EXPECT_EQ(0u, engine_.getFailureCount());
    EXPECT_EQ(6u, channel_.Positions().size()); // every item that passed the filter reports
    engine_.setListener(nullptr);
}

TEST_F(ChangeEngineFromItemTest, DateInTheNameOfFilesAndFolders)
{
    Dir(L"2023-12-24 Christmas");
    File(L"2023-12-24 Christmas\\IMG_20231224_193000.jpg");
    File(L"2023-12-24 Christmas\\notes.txt");
    File(L"Screenshot 2024-04-03 at 18.40.12.png");
    File(L"IMG-20240403-WA0001.jpg");
    File(L"2024-02-31.txt");
    const s::time::TimeZone* utc = ZoneByKey(L"UTC");
    ASSERT_NE(nullptr, utc);
    ChangeRequest& r = FromItem(FromName, true);
    r.wallClockZone = utc;
    engine_.setListener(&recorder_);
    Drop({L"2023-12-24 Christmas", L"Screenshot 2024-04-03 at 18.40.12.png", L"IMG-20240403-WA0001.jpg",
          L"2024-02-31.txt"});

    EXPECT_EQ(Utc(2023, 12, 24), Read(L"2023-12-24 Christmas").m());
    EXPECT_EQ(Utc(2023, 12, 24, 19, 30, 0), Read(L"2023-12-24 Christmas\\IMG_20231224_193000.jpg").m());
    EXPECT_EQ(Utc(2024, 4, 3, 18, 40, 12), Read(L"Screenshot 2024-04-03 at 18.40.12.png").m());
    EXPECT_EQ(Utc(2024, 4, 3), Read(L"IMG-20240403-WA0001.jpg").m()); // date only: midnight
    EXPECT_EQ(4u, engine_.getChangedCount());
    EXPECT_EQ(2u, engine_.getWithoutDateCount()); // notes.txt, 2024-02-31.txt
    EXPECT_EQ(IChangeListener::NoDate::NoNameDate, recorder_.reasons[L"notes.txt"]);
    EXPECT_EQ(IChangeListener::NoDate::NoNameDate, recorder_.reasons[L"2024-02-31.txt"]);
    engine_.setListener(nullptr);
}

TEST_F(ChangeEngineFromItemTest, EachFolderTakesItsNewestItemInsideDeepestFirst)
{
    Dir(L"Top");
    File(L"Top\\a.txt");
    Dir(L"Top\\Sub");
    File(L"Top\\Sub\\b.txt");
    Dir(L"Top\\Sub\\Deep");
    File(L"Top\\Sub\\Deep\\c.txt");
    Dir(L"Top\\Empty");
    Dir(L"Top\\Empty\\AlsoEmpty");
    Dir(L"Top\\Hid");
    File(L"Top\\Hid\\h.txt");
    File(L"Top\\hidden.txt");
    SetTimes(L"Top\\a.txt", Utc(2010, 1, 1), Utc(2010, 5, 5), Utc(2010, 1, 1));
    SetTimes(L"Top\\Sub\\b.txt", Utc(2011, 1, 1), Utc(2015, 5, 5), Utc(2011, 1, 1));
    SetTimes(L"Top\\Sub\\Deep\\c.txt", Utc(2016, 1, 1), Utc(2012, 5, 5), Utc(2012, 1, 1));
    SetTimes(L"Top\\Hid\\h.txt", Utc(2020, 1, 1), Utc(2020, 5, 5), Utc(2020, 1, 1));
    SetTimes(L"Top\\hidden.txt", Utc(2021, 1, 1), Utc(2021, 5, 5), Utc(2021, 1, 1));
    Attr(L"Top\\Hid", FILE_ATTRIBUTE_HIDDEN);
    Attr(L"Top\\hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    for (const wchar_t* d : {L"Top", L"Top\\Sub", L"Top\\Sub\\Deep", L"Top\\Empty", L"Top\\Empty\\AlsoEmpty"})
        SetTimes(d, Utc(2001, 1, 1), Utc(2001, 1, 1), Utc(2001, 1, 1));

    // Hidden content left out by the filter; modified compared and written.
    ChangeRequest& r = FromItem(FromNewestInside, true);
    r.hidden = false;
    r.created = -1;
    Drop({L"Top"});
    EXPECT_EQ(Utc(2012, 5, 5), Read(L"Top\\Sub\\Deep").m());
    EXPECT_EQ(Utc(2015, 5, 5), Read(L"Top\\Sub").m());
    EXPECT_EQ(Utc(2015, 5, 5), Read(L"Top").m());
    EXPECT_EQ(Utc(2001, 1, 1), Read(L"Top\\Empty").m());
    EXPECT_EQ(Utc(2001, 1, 1), Read(L"Top\\Empty\\AlsoEmpty").m());
    EXPECT_EQ(Utc(2010, 5, 5), Read(L"Top\\a.txt").m()); // files keep their times
    // Deepest first (an empty folder walked into only gets back its access time).
    std::vector<std::wstring> order;
    {
        std::lock_guard<std::mutex> g(g_writesLock);
        for (const Write& x : g_writes)
            if (x.modified >= 0)
                order.push_back(Relative(x.path));
    }
    EXPECT_EQ((std::vector<std::wstring>{L"Top\\Sub\\Deep", L"Top\\Sub", L"Top"}), order);
    EXPECT_EQ(3u, engine_.getChangedCount());
    EXPECT_EQ(2u, engine_.getWithoutDateCount()); // the two empty folders

    // Hidden content counts when the filter lets it through; only Created checked: the
    // creation times are compared and written.
    {
        std::lock_guard<std::mutex> g(g_writesLock);
        g_writes.clear();
    }
    channel_.events.clear();
    ChangeRequest& r2 = FromItem(FromNewestInside, false);
    r2.hidden = true;
    r2.modified = -1;
    Drop({L"Top"});
    std::map<std::wstring, Write> w = Writes();
    // Without "Apply also to...": the dropped folder alone gets new times; each folder the
    // search listed below it only gets back, to the tick, the access time the listing stamped.
    ASSERT_EQ(1u, w.count(L"Top"));
    for (const auto& [path, x] : w)
    {
        if (path == L"Top")
            continue;
        EXPECT_EQ(-1, x.created) << path;
        EXPECT_EQ(-1, x.modified) << path;
        if (path != L"Top\\Hid")
        {
            EXPECT_EQ(TicksOf(Utc(2001, 1, 1)), x.accessedTicks) << path;
        }
    }
    EXPECT_EQ(1u, w.count(L"Top\\Sub\\Deep"));
    Seconds newestCreated = -1; // as the system reads them back (Wine keeps none of its own)
    for (const wchar_t* f : {L"Top\\a.txt", L"Top\\Sub\\b.txt", L"Top\\Sub\\Deep\\c.txt", L"Top\\Hid\\h.txt",
                             L"Top\\hidden.txt"})
        newestCreated = std::max(newestCreated, Read(f).c());
    EXPECT_EQ(newestCreated, w[L"Top"].created);
    EXPECT_EQ(-1, w[L"Top"].modified);
}
