// The file-time dialog's Change Multiple panel, end to end through the window (fixture in
// DialogTestSupport.h).
#include "DialogTestSupport.h"

// --- Change Multiple, end to end through the window ---------------------------------------------

namespace
{
struct TreeItem
{
    std::wstring path;
    DWORD attributes; // the attribute bits it carries (besides the folder bit)
    bool isFolder;
    Seconds modified, accessed;
};

enum FieldMask
{
    F_CREATED = 1,
    F_MODIFIED = 2,
    F_ACCESSED = 4,
    F_ALL = 7
};
} // namespace

TEST_F(FileTimeDialog, EveryChangeMultipleMethodChangesTheWholeTreeToTheSecondAndKeepsItsAttributes)
{
    const std::wstring root = makeFolder(L"tree");
    makeFolder(L"tree\\sub");
    std::vector<TreeItem> items = {
        {root, 0, true, Utc(2000, 1, 1, 10), 0},
        {makeFile(L"tree\\a.txt", 10), 0, false, Utc(2001, 2, 3, 4, 5, 6), 0},
        {makeFile(L"tree\\b.txt", 10, FILE_ATTRIBUTE_READONLY), FILE_ATTRIBUTE_READONLY, false, Utc(2002, 3, 4), 0},
        {makeFile(L"tree\\c.txt", 10, FILE_ATTRIBUTE_HIDDEN), FILE_ATTRIBUTE_HIDDEN, false, Utc(2003, 4, 5), 0},
        {makeFile(L"tree\\d.txt", 10, FILE_ATTRIBUTE_SYSTEM), FILE_ATTRIBUTE_SYSTEM, false, Utc(2004, 5, 6), 0},
        {folder + L"\\tree\\sub", 0, true, Utc(2005, 6, 7), 0},
        {makeFile(L"tree\\sub\\e.txt", 10), 0, false, Utc(2010, 7, 8, 9, 10, 11), 0},
    };
    for (TreeItem& item : items)
        item.accessed = item.modified + 3600;

    int plainZone = -1, otherPlainZone = -1;
    for (uint32_t i = 0; i < s::time::zoneCount(); ++i)
    {
        if (s::time::zoneAt(i)->hasDaylight())
            continue;
        if (plainZone < 0)
            plainZone = int(i);
        else if (s::time::zoneAt(i)->getBias() != s::time::zoneAt(uint32_t(plainZone))->getBias())
            otherPlainZone = int(i);
    }
    ASSERT_GE(otherPlainZone, 0);
    const int64_t zoneShift = s::time::zoneShift(*s::time::zoneAt(uint32_t(plainZone)), false,
                                                 *s::time::zoneAt(uint32_t(otherPlainZone)), false);
    ASSERT_NE(zoneShift, 0);

    build();
    chooseAction(2);
    click(multi().includeContents);
    click(multi().attributes[ATTR_READ_ONLY]);
    click(multi().attributes[ATTR_SYSTEM]);
    ASSERT_TRUE(checked(multi().attributes[ATTR_SYSTEM]));

    s::time::Time* specificTime = s::time::Time::fromFields(2011, 5, 6, 7, 8, 9);
    const Seconds specific = s::time::localToUtc(specificTime->getEpochSeconds());
    specificTime->Release();
    const Seconds newestModified = items[6].modified, oldestModified = items[0].modified;

    struct Case
    {
        const wchar_t* name;
        int method;
        int option; // sync option, or the offset digit
        int fields;
        bool minus;
        const wchar_t* unit;
        // Expected modified and accessed of an item (-1: unchanged), given "now" bounds.
        Seconds (*modified)(const TreeItem&, Seconds specific, Seconds newest, Seconds oldest, int64_t shift);
        Seconds (*accessed)(const TreeItem&, Seconds specific, Seconds newest, Seconds oldest, int64_t shift);
    };
    using T = const TreeItem&;
    const Case cases[] = {
        {L"Specific", METHOD_SPECIFIC, 0, F_ALL, false, nullptr, [](T, Seconds v, Seconds, Seconds, int64_t) { return v; },
         [](T, Seconds v, Seconds, Seconds, int64_t) { return v; }},
        {L"SyncModifiedToAccessed", METHOD_SYNC, SYNC_MODIFIED, F_ACCESSED, false, nullptr,
         [](T i, Seconds, Seconds, Seconds, int64_t) { return i.modified; },
         [](T i, Seconds, Seconds, Seconds, int64_t) { return i.modified; }},
        {L"SyncAccessedToModified", METHOD_SYNC, SYNC_ACCESSED, F_MODIFIED, false, nullptr,
         [](T i, Seconds, Seconds, Seconds, int64_t) { return i.accessed; },
         [](T i, Seconds, Seconds, Seconds, int64_t) { return i.accessed; }},
        {L"SyncNewest", METHOD_SYNC, SYNC_NEWEST, F_MODIFIED, false, nullptr,
         [](T, Seconds, Seconds n, Seconds, int64_t) { return n; },
         [](T i, Seconds, Seconds, Seconds, int64_t) { return i.accessed; }},
        {L"SyncOldest", METHOD_SYNC, SYNC_OLDEST, F_MODIFIED, false, nullptr,
         [](T, Seconds, Seconds, Seconds o, int64_t) { return o; },
         [](T i, Seconds, Seconds, Seconds, int64_t) { return i.accessed; }},
        {L"OffsetAddTwoHours", METHOD_OFFSET, 2, F_MODIFIED | F_ACCESSED, false, UnitHours,
         [](T i, Seconds, Seconds, Seconds, int64_t) { return i.modified + 7200; },
         [](T i, Seconds, Seconds, Seconds, int64_t) { return i.accessed + 7200; }},
        {L"OffsetMinusThreeDays", METHOD_OFFSET, 3, F_MODIFIED, true, UnitDays,
         [](T i, Seconds, Seconds, Seconds, int64_t) { return i.modified - 3 * 86400; },
         [](T i, Seconds, Seconds, Seconds, int64_t) { return i.accessed; }},
        {L"OffsetMinusFiftyNineSecs", METHOD_OFFSET, 59, F_MODIFIED, true, UnitSecs,
         [](T i, Seconds, Seconds, Seconds, int64_t) { return i.modified - 59; },
         [](T i, Seconds, Seconds, Seconds, int64_t) { return i.accessed; }},
        {L"TimeZone", METHOD_TIME_ZONE, 0, F_MODIFIED | F_ACCESSED, false, nullptr,
         [](T i, Seconds, Seconds, Seconds, int64_t shift) { return i.modified + shift; },
         [](T i, Seconds, Seconds, Seconds, int64_t shift) { return i.accessed + shift; }},
    };
    chooseValue(multi().from.combo(), plainZone);
    chooseValue(multi().to.combo(), otherPlainZone);

    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << std::string(c.name, c.name + wcslen(c.name)));
        for (const TreeItem& item : items)
            setTimes(item.path, item.modified, item.accessed);
        click(multi().methods[c.method]);
        ASSERT_TRUE(checked(multi().methods[c.method]));
        const bool fields[TIME_COUNT] = {(c.fields & F_CREATED) != 0, (c.fields & F_MODIFIED) != 0,
                                         (c.fields & F_ACCESSED) != 0};
        for (int k = 0; k < TIME_COUNT; ++k)
        {
            if (checked(multi().fields[k]) != fields[k])
                click(multi().fields[k]);
        }
        if (c.method == METHOD_SPECIFIC)
            setShown(multi().specific, 2011, 5, 6, 7, 8, 9);
        if (c.method == METHOD_SYNC)
            click(multi().sync[c.option]);
        if (c.method == METHOD_OFFSET)
        {
            click(c.minus ? multi().minus : multi().add);
            chooseValue(multi().digit, c.option);
            chooseValue(multi().unit, s::gui::combobox::ComboBoxItem::keyValue(c.unit));
        }
        drop({root});
        EXPECT_TRUE(boxes().empty());

        const ChangeRequest& request = dialog->getRequest();
        EXPECT_EQ(request.created < 0, !fields[TIME_CREATED]);
        if (c.method == METHOD_SPECIFIC)
        {
            EXPECT_EQ(request.created, specific);
        }
        if (c.method == METHOD_TIME_ZONE)
        {
            EXPECT_EQ(request.mode, ModeOffset);
            EXPECT_EQ(request.offset, zoneShift);
        }
        for (const TreeItem& item : items)
        {
            SCOPED_TRACE(testing::Message() << std::string(item.path.begin(), item.path.end()));
            const Times now = timesOf(item.path);
            const Seconds wantModified = fields[TIME_MODIFIED]
                                             ? c.modified(item, specific, newestModified, oldestModified, zoneShift)
                                             : item.modified;
            EXPECT_EQ(now.modified, wantModified);
            EXPECT_EQ(now.modifiedTicks % TICKS_PER_SECOND, 0u);
            if (!item.isFolder)
            {
                const Seconds wantAccessed = fields[TIME_ACCESSED]
                                                 ? c.accessed(item, specific, newestModified, oldestModified, zoneShift)
                                                 : item.accessed;
                EXPECT_EQ(now.accessed, wantAccessed);
            }
            const DWORD attributes = GetFileAttributesW(item.path.c_str());
            EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
                      item.attributes);
        }
    }

    // "Current Time": every checked time becomes the time of the drop.
    for (const TreeItem& item : items)
        setTimes(item.path, item.modified, item.accessed);
    click(multi().methods[METHOD_SYNC]);
    click(multi().sync[SYNC_CURRENT]);
    const Seconds before = s::time::nowSeconds();
    drop({root});
    const Seconds after = s::time::nowSeconds();
    for (const TreeItem& item : items)
    {
        const Seconds m = timesOf(item.path).modified;
        EXPECT_GE(m, before);
        EXPECT_LE(m, after);
    }
    EXPECT_EQ(dialog->getRequest().mode, ModeSpecific);
    EXPECT_EQ(dialog->getRequest().syncTarget, SyncCurrent);

    // Dropping saves the method, the time-zone one as "TimeZone".
    click(multi().methods[METHOD_TIME_ZONE]);
    drop({items[1].path});
    EXPECT_EQ(std::wstring(store->getString(MULTI, L"Mode", L"", nullptr, false)), L"TimeZone");
}

TEST_F(FileTimeDialog, AnImpossibleSpecificDateIsRefusedWithTheMessageAndNothingIsWritten)
{
    const std::wstring file = makeFile(L"keep.txt", 3);
    setTimes(file, Utc(2005, 5, 5, 5, 5, 5), Utc(2006, 6, 6, 6, 6, 6));
    build();
    chooseAction(2);
    // A Newest search left over from an earlier drop must not take over a later "Specific:".
    click(multi().methods[METHOD_SYNC]);
    click(multi().sync[SYNC_NEWEST]);
    drop({file});
    click(multi().methods[METHOD_SPECIFIC]);
    setTimes(file, Utc(2005, 5, 5, 5, 5, 5), Utc(2006, 6, 6, 6, 6, 6));

    struct Bad
    {
        int y, m, d;
    } bad[] = {{2013, 2, 31}, {2013, 4, 31}, {2013, 2, 29}};
    for (const Bad& b : bad)
    {
        {
            std::lock_guard<std::mutex> guard(MessageBoxes::lock());
            MessageBoxes::texts().clear();
        }
        setShown(multi().specific, b.y, b.m, b.d, 12, 0, 0);
        drop({file});
        const std::vector<std::wstring> shownBoxes = boxes();
        ASSERT_EQ(shownBoxes.size(), 1u) << b.m << "/" << b.d;
        // The method's name and the message read as two words, as the View & Edit rows' do.
        EXPECT_NE(shownBoxes[0].find(L"Specific: The date value of the month is invalid."), std::wstring::npos)
            << shownBoxes[0];
        EXPECT_EQ(timesOf(file).modified, Utc(2005, 5, 5, 5, 5, 5));
        EXPECT_EQ(timesOf(file).accessed, Utc(2006, 6, 6, 6, 6, 6));
    }
    // 29 February of a leap year is a date.
    {
        std::lock_guard<std::mutex> guard(MessageBoxes::lock());
        MessageBoxes::texts().clear();
    }
    setShown(multi().specific, 2012, 2, 29, 12, 0, 0);
    drop({file});
    EXPECT_EQ(boxes().size(), 0u);
    s::time::Time* leap = s::time::Time::fromFields(2012, 2, 29, 12, 0, 0);
    EXPECT_EQ(timesOf(file).modified, s::time::localToUtc(leap->getEpochSeconds()));
    leap->Release();
}
