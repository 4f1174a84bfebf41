// The file-time dialog's View & Copy and View & Edit panels (fixture in DialogTestSupport.h).
#include "DialogTestSupport.h"

// --- View & Copy ------------------------------------------------------------------------------------

TEST_F(FileTimeDialog, ViewAndCopyShowsSizesInEveryUnitAndCopiesThemToTheClipboard)
{
    const std::wstring small = makeFile(L"small.bin", 1023);
    const std::wstring two = makeFile(L"two.bin", 2048);
    const std::wstring empty = makeFile(L"empty.bin", 0);
    const std::wstring big = makeFile(L"big.bin", 1234567);
    const std::wstring sub = makeFolder(L"folder");
    build();
    struct Shown
    {
        const wchar_t* unit;
        bool comma;
        const wchar_t* text;
    };
    struct Case
    {
        std::wstring path;
        std::vector<Shown> shown;
    } cases[] = {
        {small, {{SizeAuto, true, L"1023 B"}, {SizeKB, false, L"1"}, {SizeMB, false, L"1"}, {SizeBytes, true, L"1,023"},
                 {SizeBytes, false, L"1023"}}},
        {two, {{SizeKB, false, L"2"}, {SizeAuto, false, L"2.00 KB"}}},
        {empty, {{SizeAuto, false, L"0 B"}, {SizeKB, false, L"0"}}},
        {big, {{SizeBytes, true, L"1,234,567"}, {SizeKB, true, L"1,206"}, {SizeAuto, true, L"1.17 MB"}}},
    };
    for (const Case& c : cases)
    {
        drop({c.path});
        EXPECT_EQ(textOf(hwnd(copy().name)), c.path.substr(c.path.rfind(L'\\') + 1));
        for (const Shown& s : c.shown)
        {
            chooseValue(copy().unit, s::gui::combobox::ComboBoxItem::keyValue(s.unit));
            EXPECT_EQ(enabled(copy().comma), s.unit != SizeAuto);
            if (s.unit != SizeAuto && checked(copy().comma) != s.comma)
                click(copy().comma);
            EXPECT_EQ(textOf(hwnd(copy().size)), s.text) << c.path.c_str();
        }
    }
    // The size Copy appends the unit (not for "Auto").
    chooseValue(copy().unit, s::gui::combobox::ComboBoxItem::keyValue(SizeBytes));
    if (!checked(copy().comma))
        click(copy().comma);
    click(copy().sizeCopy);
    EXPECT_EQ(clipboardText(), L"1,234,567 Bytes");
    chooseValue(copy().unit, s::gui::combobox::ComboBoxItem::keyValue(SizeAuto));
    click(copy().sizeCopy);
    EXPECT_EQ(clipboardText(), L"1.17 MB");
    click(copy().nameCopy);
    EXPECT_EQ(clipboardText(), L"big.bin");
    // The time fields: user locale, with offset, UTC; each Copy copies its own field.
    setTimes(big, Utc(2013, 8, 13, 14, 5, 9), Utc(2014, 1, 2, 3, 4, 5));
    clickAndWait(copy().refresh); // a refresh reads the same item again
    EXPECT_EQ(textOf(hwnd(copy().times[TIME_MODIFIED * 3 + 2])), L"2013-08-13 14:05:09 UTC");
    click(copy().timeCopy[TIME_ACCESSED * 3 + 2]);
    EXPECT_EQ(clipboardText(), L"2014-01-02 03:04:05 UTC");
    click(copy().timeCopy[TIME_MODIFIED * 3]);
    EXPECT_EQ(clipboardText(), textOf(hwnd(copy().times[TIME_MODIFIED * 3])));
    EXPECT_FALSE(clipboardText().empty());

    // A folder: its name and times, an empty size; its size Copy copies nothing.
    drop({sub, big});
    EXPECT_EQ(textOf(hwnd(copy().name)), L"folder");
    EXPECT_EQ(textOf(hwnd(copy().size)), L"");
    EXPECT_FALSE(textOf(hwnd(copy().times[0])).empty());
    putOnClipboard(L"unchanged");
    click(copy().sizeCopy);
    EXPECT_EQ(clipboardText(), L"unchanged");

    // Only the first of several dropped items is shown.
    drop({small, big});
    EXPECT_EQ(textOf(hwnd(copy().name)), L"small.bin");
    // A deleted item keeps its name after a refresh, its times read "unknown" (never 1970),
    // its size is empty, and the status names it.
    DeleteFileW(small.c_str());
    clickAndWait(copy().refresh);
    EXPECT_EQ(textOf(hwnd(copy().name)), L"small.bin");
    EXPECT_EQ(textOf(hwnd(copy().size)), L"");
    for (s::gui::win::TextField* field : copy().times)
        EXPECT_EQ(textOf(hwnd(field)), L"unknown");
    const std::wstring status = dialog->getStatusText();
    EXPECT_EQ(status.find(L"Done, but 1 item(s) could not be read. " + small + L": "), 0u) << status.c_str();
}

TEST(FileTimeDialogSizeTexts, AutoAndThousands)
{
    struct Case
    {
        int64_t size;
        const wchar_t* autoText;
        const wchar_t* thousands;
    } cases[] = {
        {0, L"0 B", L"0"},
        {1000, L"1000 B", L"1,000"},
        {1023, L"1023 B", L"1,023"},
        {1536, L"1.50 KB", L"1,536"},
        {15360, L"15.0 KB", L"15,360"},
        {153600, L"150 KB", L"153,600"},
        {1048576, L"1.00 MB", L"1,048,576"},
        {1234567, L"1.17 MB", L"1,234,567"},
        {int64_t(5) << 40, L"5.00 TB", L"5,497,558,138,880"},
        {-1, L"-", nullptr},
        {-2, L"", nullptr},
    };
    s::str::strbuffer::StrBuffer* out = s::str::strbuffer::StrBuffer::Acquire();
    for (const Case& c : cases)
    {
        EXPECT_EQ(std::wstring(Dialog::formatSizeAuto(c.size, out)->CStr()), c.autoText) << c.size;
        if (c.thousands != nullptr)
        {
            EXPECT_EQ(std::wstring(Dialog::formatThousands(c.size, out)->CStr()), c.thousands) << c.size;
        }
    }
    out->Release();
}

// --- View & Edit ----------------------------------------------------------------------------------------

TEST_F(FileTimeDialog, ViewAndEditShowsEditsAppliesAndRestoresTheItemsTimes)
{
    const std::wstring file = makeFile(L"edit.txt", 5, FILE_ATTRIBUTE_READONLY);
    const Seconds modified = Utc(2009, 9, 9, 9, 9, 9), accessed = Utc(2009, 10, 10, 10, 10, 10);
    setTimes(file, modified, accessed);
    build();
    chooseAction(1);
    drop({file});
    EXPECT_EQ(textOf(hwnd(edit().name)), L"edit.txt");
    s::time::Time* local = s::time::Time::fromSecondsLocal(modified);
    wchar_t expected[64];
    std::swprintf(expected, 64, L"%04d-%02d-%02d %02d:%02d:%02d", local->getYear(), local->getMonth(), local->getDay(),
                  local->getHour(), local->getMinute(), local->getSecond());
    local->Release();
    EXPECT_EQ(shown(edit().times[TIME_MODIFIED]), expected);
    EXPECT_TRUE(enabled(edit().rows[TIME_MODIFIED]));
    EXPECT_TRUE(enabled(edit().times[TIME_MODIFIED].year()));
    EXPECT_TRUE(enabled(edit().cancel));
    EXPECT_FALSE(enabled(edit().restore)) << "nothing edited yet";
    EXPECT_FALSE(enabled(edit().apply));
    EXPECT_FALSE(enabled(edit().folder)) << "a file has no contents";

    // 31 February in the Created row: its Copy button refuses with the row's message and
    // leaves the Modified row alone, but Restore and Apply become enabled.
    setShown(edit().times[TIME_CREATED], 2013, 2, 31, 1, 2, 3);
    click(edit().restore); // back to the shown times, Restore disabled again
    EXPECT_FALSE(enabled(edit().restore));
    setShown(edit().times[TIME_CREATED], 2013, 2, 31, 1, 2, 3);
    click(edit().sync[TIME_CREATED]);
    ASSERT_EQ(boxes().size(), 1u);
    EXPECT_NE(boxes()[0].find(L"Created:"), std::wstring::npos);
    EXPECT_NE(boxes()[0].find(L"The date value of the month is invalid."), std::wstring::npos);
    EXPECT_EQ(shown(edit().times[TIME_MODIFIED]), expected);
    EXPECT_TRUE(enabled(edit().restore));
    EXPECT_TRUE(enabled(edit().apply));
    // Apply with the impossible date in a checked row writes nothing.
    click(edit().apply);
    testgui::settle(window());
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(boxes().size(), 2u);
    EXPECT_EQ(timesOf(file).modified, modified);

    // Only the Modified row checked: +1 Day over 2012-02-28 23:30:00 gives the 29th.
    click(edit().rows[TIME_CREATED]);
    click(edit().rows[TIME_ACCESSED]);
    EXPECT_FALSE(enabled(edit().times[TIME_CREATED].year()));
    setShown(edit().times[TIME_MODIFIED], 2012, 2, 28, 23, 30, 0);
    chooseValue(edit().digit, 1);
    chooseValue(edit().unit, s::gui::combobox::ComboBoxItem::keyValue(UnitDays));
    click(edit().plus);
    EXPECT_EQ(shown(edit().times[TIME_MODIFIED]), L"2012-02-29 23:30:00");
    chooseValue(edit().unit, s::gui::combobox::ComboBoxItem::keyValue(UnitMins));
    chooseValue(edit().digit, 30);
    click(edit().minus);
    EXPECT_EQ(shown(edit().times[TIME_MODIFIED]), L"2012-02-29 23:00:00");

    clickAndWait(edit().apply);
    s::time::Time* wanted = s::time::Time::fromFields(2012, 2, 29, 23, 0, 0);
    EXPECT_EQ(timesOf(file).modified, s::time::localToUtc(wanted->getEpochSeconds()));
    wanted->Release();
    EXPECT_EQ(timesOf(file).accessed, accessed) << "an unchecked row is not written";
    EXPECT_EQ(dialog->getRequest().created, -1);
    EXPECT_TRUE(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(dialog->isAppliedOnce());
    EXPECT_FALSE(enabled(edit().apply));

    // Restore brings back the times read when the item was shown, and Apply can write them
    // back because an Apply was made.
    click(edit().restore);
    EXPECT_EQ(shown(edit().times[TIME_MODIFIED]), expected);
    EXPECT_FALSE(enabled(edit().restore));
    EXPECT_TRUE(enabled(edit().apply));
    clickAndWait(edit().apply);
    EXPECT_EQ(timesOf(file).modified, modified);

    // "Now" writes the current time into every checked row; Cancel clears the panel.
    click(edit().now);
    EXPECT_NE(shown(edit().times[TIME_MODIFIED]), expected);
    click(edit().cancel);
    EXPECT_EQ(textOf(hwnd(edit().name)), L"");
    EXPECT_FALSE(enabled(edit().apply));
    EXPECT_FALSE(enabled(edit().rows[TIME_MODIFIED]));
}

TEST_F(FileTimeDialog, ViewAndEditAppliesToAFolderAndItsContentsByItsBoxes)
{
    const std::wstring dir = makeFolder(L"dir");
    const std::wstring inside = makeFile(L"dir\\in.txt", 1);
    const std::wstring hidden = makeFile(L"dir\\hid.txt", 1, FILE_ATTRIBUTE_HIDDEN);
    const Seconds old = Utc(2001, 1, 1);
    for (const std::wstring& p : {dir, inside, hidden})
        setTimes(p, old, old);
    build();
    chooseAction(1);
    drop({dir});
    EXPECT_TRUE(enabled(edit().folder));
    EXPECT_FALSE(enabled(edit().attributes[ATTR_NORMAL]));
    click(edit().folder);
    EXPECT_TRUE(enabled(edit().attributes[ATTR_NORMAL]));
    // Normal checked, Hidden unchecked: the hidden file keeps its time.
    if (!checked(edit().attributes[ATTR_NORMAL]))
        click(edit().attributes[ATTR_NORMAL]);
    if (checked(edit().attributes[ATTR_HIDDEN]))
        click(edit().attributes[ATTR_HIDDEN]);
    setShown(edit().times[TIME_MODIFIED], 2015, 6, 7, 8, 9, 10);
    clickAndWait(edit().apply);
    s::time::Time* wanted = s::time::Time::fromFields(2015, 6, 7, 8, 9, 10);
    const Seconds want = s::time::localToUtc(wanted->getEpochSeconds());
    wanted->Release();
    EXPECT_EQ(timesOf(dir).modified, want);
    EXPECT_EQ(timesOf(inside).modified, want);
    EXPECT_EQ(timesOf(hidden).modified, old);
    EXPECT_TRUE(GetFileAttributesW(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

TEST_F(FileTimeDialog, ZoneSelectorsSnapBackFromTheSeparatorAndRememberTheirDaylightBoxes)
{
    const std::wstring file = makeFile(L"zone.txt");
    build();
    chooseAction(1);
    drop({file});
    int daylightZone = -1, plainZone = -1;
    for (uint32_t i = 0; i < s::time::zoneCount(); ++i)
    {
        if (s::time::zoneAt(i)->hasDaylight() && daylightZone < 0)
            daylightZone = int(i);
        if (!s::time::zoneAt(i)->hasDaylight() && plainZone < 0)
            plainZone = int(i);
    }
    ASSERT_GE(daylightZone, 0);
    ASSERT_GE(plainZone, 0);
    for (const ZoneSelector* zone : {&edit().from, &edit().to})
    {
        const bool isTo = zone == &edit().to;
        SCOPED_TRACE(isTo ? "To" : "From");
        chooseValue(zone->combo(), daylightZone);
        EXPECT_TRUE(enabled(zone->daylightBox()));
        const int before = selection(zone->combo());
        const bool boxBefore = checked(zone->daylightBox());
        choose(zone->combo(), 1); // the separator
        EXPECT_EQ(selection(zone->combo()), before);
        EXPECT_EQ(checked(zone->daylightBox()), boxBefore);
        if (!checked(zone->daylightBox()))
            click(zone->daylightBox());
        // system entry, then a zone with a rule: the box comes back checked.
        choose(zone->combo(), 0);
        EXPECT_FALSE(enabled(zone->daylightBox()));
        EXPECT_EQ(checked(zone->daylightBox()), s::time::systemZone().isDaylightInUse());
        chooseValue(zone->combo(), daylightZone);
        EXPECT_TRUE(checked(zone->daylightBox()));
        // system entry, a zone without a rule, a zone with one: From comes back checked;
        // To remembers what the box showed for the zone without a rule.
        choose(zone->combo(), 0);
        chooseValue(zone->combo(), plainZone);
        EXPECT_FALSE(enabled(zone->daylightBox()));
        EXPECT_FALSE(checked(zone->daylightBox()));
        chooseValue(zone->combo(), daylightZone);
        EXPECT_EQ(checked(zone->daylightBox()), isTo ? s::time::systemZone().isDaylightInUse() : true);
    }
    // Unchecking with a rule, then the system entry, then closing saves false.
    if (checked(edit().from.daylightBox()))
        click(edit().from.daylightBox());
    choose(edit().from.combo(), 0);
    close();
    EXPECT_FALSE(store->getBool(EDIT, L"TimeZoneFrom_ConsiderDaylight", true));
}
