// The file-time dialog: building, saved settings, screenshots, time zones and languages of
// their own, and a close request during a run (fixture in DialogTestSupport.h).
#include "DialogTestSupport.h"
#include "s/lang/LangPack.h"

// --- building and saved settings ------------------------------------------------------------

TEST_F(FileTimeDialog, AnEmptyStoreOpensTheChangeMultipleViewWithItsDefaults)
{
    build();
    chooseAction(2);
    EXPECT_TRUE(IsWindowVisible(hwnd(multi().methods[METHOD_SPECIFIC])));
    EXPECT_FALSE(IsWindowVisible(hwnd(copy().refresh)));
    EXPECT_TRUE(checked(multi().methods[METHOD_SPECIFIC]));
    for (int m = METHOD_SYNC; m < METHOD_COUNT; ++m)
        EXPECT_FALSE(checked(multi().methods[m])) << m;
    EXPECT_TRUE(checked(multi().sync[SYNC_CURRENT]));
    EXPECT_TRUE(checked(multi().add));
    EXPECT_FALSE(checked(multi().minus));
    EXPECT_EQ(selectedValueOf(multi().digit), 1);
    EXPECT_EQ(reinterpret_cast<const wchar_t*>(selectedValueOf(multi().unit)), UnitHours);
    EXPECT_EQ(selection(multi().from.combo()), 0);
    EXPECT_EQ(selection(multi().to.combo()), 0);
    EXPECT_EQ(checked(multi().from.daylightBox()), s::time::systemAdjustsDaylight());
    EXPECT_EQ(checked(multi().to.daylightBox()), s::time::systemAdjustsDaylight());
    for (int k = 0; k < TIME_COUNT; ++k)
        EXPECT_TRUE(checked(multi().fields[k])) << k;
    EXPECT_FALSE(checked(multi().includeContents));
    EXPECT_TRUE(checked(multi().attributes[ATTR_NORMAL]));
    EXPECT_TRUE(checked(multi().attributes[ATTR_HIDDEN]));
    EXPECT_FALSE(checked(multi().attributes[ATTR_READ_ONLY]));
    EXPECT_FALSE(checked(multi().attributes[ATTR_SYSTEM]));
    for (int i = 0; i < ATTR_COUNT; ++i)
        EXPECT_FALSE(enabled(multi().attributes[i])) << i;
    // Only the chosen method's controls are enabled.
    EXPECT_TRUE(enabled(multi().specific.year()));
    EXPECT_FALSE(enabled(multi().sync[SYNC_CURRENT]));
    EXPECT_FALSE(enabled(multi().digit));
    EXPECT_FALSE(enabled(multi().from.combo()));
    EXPECT_FALSE(enabled(multi().from.daylightBox()));
    // The system entry names the system's zone.
    const std::wstring system = multi().from.combo()->getItem(0)->getText();
    EXPECT_NE(system.find(std::wstring(L" - ") + s::time::systemZone().getDisplayName().CStr()), std::wstring::npos);
    EXPECT_EQ(std::wstring(multi().from.combo()->getItem(1)->getText()), std::wstring(38, L'-'));
    EXPECT_EQ(multi().from.combo()->getItemCount(), int(s::time::zoneCount()) + 2);
    // The "Specific:" selectors show the time of building (local, to the minute or so).
    const Seconds now = s::time::nowSeconds();
    s::time::Time* local = s::time::Time::fromSecondsLocal(now);
    EXPECT_EQ(selectedValueOf(multi().specific.year()), local->getYear());
    EXPECT_EQ(selectedValueOf(multi().specific.month()), local->getMonth());
    local->Release();
    // The View & Edit panel starts cleared: everything disabled, time 0 in the rows.
    EXPECT_FALSE(enabled(edit().rows[TIME_CREATED]));
    EXPECT_FALSE(enabled(edit().apply));
    EXPECT_FALSE(enabled(edit().restore));
    EXPECT_FALSE(enabled(edit().cancel));
    EXPECT_FALSE(enabled(edit().convert));
    EXPECT_TRUE(checked(edit().rows[TIME_CREATED]));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(FileTimeDialog, SettingsAreSavedOnCloseInTheirOrderAndRestoredByTheNextDialog)
{
    build();
    chooseAction(2);
    click(multi().methods[METHOD_TIME_ZONE]);
    chooseValue(multi().digit, 42);
    chooseValue(multi().unit, s::gui::combobox::ComboBoxItem::keyValue(UnitMins));
    click(multi().fields[TIME_ACCESSED]);
    click(multi().includeContents);
    click(multi().attributes[ATTR_SYSTEM]);
    // A zone with a daylight rule in From, its box checked by the user: remembered.
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
    chooseValue(multi().from.combo(), daylightZone);
    EXPECT_TRUE(enabled(multi().from.daylightBox()));
    if (!checked(multi().from.daylightBox()))
        click(multi().from.daylightBox());
    chooseValue(multi().to.combo(), plainZone);
    EXPECT_FALSE(enabled(multi().to.daylightBox()));
    // View & Edit: Created row unchecked, offset 7 Secs, a To zone.
    click(edit().rows[TIME_CREATED]); // disabled while cleared: the click changes nothing
    edit().rows[TIME_CREATED]->setCheckedSilently(false);
    chooseValue(edit().digit, 7);
    chooseValue(edit().unit, s::gui::combobox::ComboBoxItem::keyValue(UnitSecs));
    chooseValue(edit().to.combo(), daylightZone);
    const std::wstring systemText = edit().from.combo()->getItem(0)->getText();
    const std::wstring fromText = multi().from.combo()->getItem(indexOfValue(multi().from.combo(), daylightZone))->getText();
    close();

    EXPECT_EQ(std::wstring(store->getString(MULTI, L"Mode", L"", nullptr, false)), L"TimeZone");
    EXPECT_EQ(std::wstring(store->getString(MULTI, L"SyncMode", L"", nullptr, false)), L"Current");
    EXPECT_EQ(store->getS32(MULTI, L"OffsetDigit", 0), 42);
    EXPECT_EQ(std::wstring(store->getString(MULTI, L"OffsetUnit", L"", nullptr, false)), L"Mins");
    EXPECT_TRUE(store->getBool(MULTI, L"OffsetAdd", false));
    EXPECT_FALSE(store->getBool(MULTI, L"Accessed", true));
    EXPECT_TRUE(store->getBool(MULTI, L"Modified", false));
    EXPECT_TRUE(store->getBool(MULTI, L"ApplyTo_AllUnderFolder", false));
    EXPECT_TRUE(store->getBool(MULTI, L"ApplyTo_SystemFiles", false));
    EXPECT_EQ(std::wstring(store->getString(MULTI, L"TimeZoneFrom", L"", nullptr, false)), fromText);
    EXPECT_TRUE(store->getBool(MULTI, L"TimeZoneFrom_ConsiderDaylight", false));
    EXPECT_FALSE(store->getBool(EDIT, L"Creation", true));
    EXPECT_EQ(store->getS32(EDIT, L"OffsetDigit", 0), 7);
    EXPECT_EQ(std::wstring(store->getString(EDIT, L"OffsetUnit", L"", nullptr, false)), L"Secs");
    // The system entry is saved with the system zone's name.
    EXPECT_EQ(std::wstring(store->getString(EDIT, L"TimeZoneFrom", L"", nullptr, false)), systemText);

    // A restart: a second dialog on the same store shows what was saved.
    build();
    chooseAction(2);
    EXPECT_TRUE(checked(multi().methods[METHOD_TIME_ZONE]));
    EXPECT_FALSE(checked(multi().methods[METHOD_SPECIFIC]));
    EXPECT_TRUE(enabled(multi().from.combo()));
    EXPECT_FALSE(enabled(multi().specific.year()));
    EXPECT_EQ(selectedValueOf(multi().digit), 42);
    EXPECT_EQ(reinterpret_cast<const wchar_t*>(selectedValueOf(multi().unit)), UnitMins);
    EXPECT_FALSE(checked(multi().fields[TIME_ACCESSED]));
    EXPECT_TRUE(checked(multi().includeContents));
    EXPECT_TRUE(checked(multi().attributes[ATTR_SYSTEM]));
    EXPECT_TRUE(enabled(multi().attributes[ATTR_SYSTEM]));
    EXPECT_EQ(selectedValueOf(multi().from.combo()), daylightZone);
    EXPECT_TRUE(checked(multi().from.daylightBox()));
    EXPECT_EQ(selectedValueOf(multi().to.combo()), plainZone);
    EXPECT_FALSE(checked(edit().rows[TIME_CREATED]));
    EXPECT_EQ(selectedValueOf(edit().digit), 7);
    EXPECT_EQ(reinterpret_cast<const wchar_t*>(selectedValueOf(edit().unit)), UnitSecs);
    EXPECT_EQ(selectedValueOf(edit().to.combo()), daylightZone);
    EXPECT_EQ(selection(edit().from.combo()), 0);
}

TEST_F(FileTimeDialog, ASavedSystemEntryOfAnotherZoneAndUnknownTextsFallBackToTheBuiltChoices)
{
    store->setString(MULTI, L"TimeZoneFrom", L"Current System Time Zone - (UTC+13:45) Nowhere");
    store->setString(MULTI, L"Mode", L"Sideways");
    store->setString(MULTI, L"SyncMode", L"Tomorrow");
    store->setS32(MULTI, L"OffsetDigit", 100);
    store->setString(MULTI, L"OffsetUnit", L"Weeks");
    build();
    EXPECT_EQ(selection(multi().from.combo()), 0);
    EXPECT_TRUE(checked(multi().methods[METHOD_SPECIFIC]));
    EXPECT_TRUE(checked(multi().sync[SYNC_CURRENT]));
    EXPECT_EQ(selectedValueOf(multi().digit), 1);
    EXPECT_EQ(reinterpret_cast<const wchar_t*>(selectedValueOf(multi().unit)), UnitHours);
}

TEST_F(FileTimeDialog, ScreenshotsOfTheThreeViews)
{
    build();
    const std::wstring file = makeFile(L"report.txt", 1234567);
    drop({file});
    screenshot("filetime-view-copy.bmp");
    chooseAction(1);
    drop({file});
    screenshot("filetime-view-edit.bmp");
    chooseAction(2);
    screenshot("filetime-multiple.bmp");
}

// --- time zones of their own --------------------------------------------------------------------------

class FileTimeDialogTokyoEnv : public FileTimeDialog
{
};
class FileTimeDialogNewYorkEnv : public FileTimeDialog
{
};

TEST_F(FileTimeDialogTokyoEnv, MinusOneDayNear1970StopsAtZero)
{
    const std::wstring file = makeFile(L"tokyo.txt");
    build();
    chooseAction(1);
    drop({file});
    setShown(edit().times[TIME_MODIFIED], 1970, 1, 1, 10, 0, 0);
    chooseValue(edit().digit, 1);
    chooseValue(edit().unit, s::gui::combobox::ComboBoxItem::keyValue(UnitDays));
    click(edit().minus);
    EXPECT_EQ(shown(edit().times[TIME_MODIFIED]), L"1970-01-01 09:00:00");
}

TEST_F(FileTimeDialogNewYorkEnv, AClearedRowWestOfUtcShowsTheYear1970)
{
    build();
    chooseAction(1);
    EXPECT_EQ(shown(edit().times[TIME_CREATED]), L"1970-12-31 19:00:00");
}

// --- a close request while a run is under way -----------------------------------------------------------

namespace
{
// A dialog whose worker waits at a gate before it shows the dropped item.
class GatedDialog : public Dialog
{
    S_CLASS_ID(L"tests_GatedDialog")
    S_POOLED(GatedDialog)

  public:
    HANDLE gate = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    HANDLE waiting = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~GatedDialog() override
    {
        CloseHandle(gate);
        CloseHandle(waiting);
    }
    void showDroppedItem() override
    {
        SetEvent(waiting);
        WaitForSingleObject(gate, 20000);
        Dialog::showDroppedItem();
    }
};
} // namespace

TEST_F(FileTimeDialog, AClosedWindowSavesTheSettingsButLeavesTheRunningRequestAlone)
{
    const std::wstring file = makeFile(L"running.txt", 1);
    GatedDialog* gated = GatedDialog::Acquire();
    dialog = gated;
    ResetEvent(gated->gate);
    ResetEvent(gated->waiting);
    dialog->bind(&settings, L"MainWindow", localizer, store, nullptr);
    ASSERT_TRUE(dialog->buildAndShow());
    testgui::settle(window());
    SendMessageW(HWND(dialog->getDropBoxHandle()), WM_DROPFILES, WPARAM(makeDrop({file})), 0);
    ASSERT_EQ(WaitForSingleObject(gated->waiting, 20000), WAIT_OBJECT_0);
    ASSERT_TRUE(busy());
    // Meanwhile the user picks another method, then closes the window.
    chooseAction(2);
    click(multi().methods[METHOD_OFFSET]);
    SendMessageW(window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(std::wstring(store->getString(MULTI, L"Mode", L"", nullptr, false)), L"Offset");
    EXPECT_EQ(dialog->getRequest().mode, ModeSpecific) << "the running job's request was changed";
    EXPECT_EQ(dialog->getRequest().offset, 0);
    SetEvent(gated->gate);
    dialog->getWindow()->waitUntilClosed();
    release();
}

// --- other languages ---------------------------------------------------------------------------------------

namespace
{

// The room a button's text needs in the font the control paints with, and the room it has
// (its client width less the frame and the focus margins of the platform's button).
void expectTextFits(s::gui::win::Button* button)
{
    HWND h = s::gui::win::Toolkit::handleOf(button);
    ASSERT_NE(h, nullptr);
    wchar_t text[128] = {};
    GetWindowTextW(h, text, 128);
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)));
    SIZE need{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &need);
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    RECT client;
    GetClientRect(h, &client);
    EXPECT_GE(client.right, need.cx + 8) << "\"" << std::wstring(text).size() << "\" characters cut";
}

// The index of a language in the pack's list (its menu command is 2 + the index).
uint32_t languageIndex(s::lang::Localizer* localizer, const wchar_t* engName)
{
    for (uint32_t i = 0; i < localizer->getLanguageCount(); ++i)
        if (wcscmp(localizer->getLanguage(i)->getEngName(), engName) == 0)
            return i;
    return 0;
}

// The shown text of a combo box's first entry, read from the native control.
std::wstring firstEntry(s::gui::win::ComboBox* combo)
{
    HWND h = s::gui::win::Toolkit::handleOf(combo);
    LRESULT length = SendMessageW(h, CB_GETLBTEXTLEN, 0, 0);
    if (length <= 0)
        return L"";
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(h, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

} // namespace

// A language chosen from the menu re-texts every text of the window, the zone selectors'
// system entries and the buttons included, and a button whose stated width is too narrow
// for the new text grows to it.
TEST_F(FileTimeDialog, ALanguageChosenFromTheMenuRetextsTheZoneSelectorsAndWidensButtons)
{
    build();
    chooseAction(1);
    const uint32_t german = languageIndex(localizer, L"German");
    ASSERT_NE(german, 0u);
    const std::wstring english = localizer->getText(ZoneSelector::TEXT_SYSTEM_ZONE);
    ZoneSelector* selectors[] = {const_cast<ZoneSelector*>(&edit().from), const_cast<ZoneSelector*>(&edit().to),
                                 const_cast<ZoneSelector*>(&multi().from), const_cast<ZoneSelector*>(&multi().to)};
    for (ZoneSelector* z : selectors)
        EXPECT_EQ(firstEntry(z->combo()).rfind(english + L" - ", 0), 0u) << "English at the start";

    SendMessageW(window(), WM_COMMAND, 2 + german, 0);
    testgui::settle(window());
    const std::wstring deutsch = localizer->getText(ZoneSelector::TEXT_SYSTEM_ZONE);
    ASSERT_NE(deutsch, english);
    for (ZoneSelector* z : selectors)
    {
        EXPECT_EQ(firstEntry(z->combo()).rfind(deutsch + L" - ", 0), 0u) << "the system entry follows the menu";
        EXPECT_STREQ(z->selectedText(), firstEntry(z->combo()).c_str()) << "the system entry stays selected";
    }
    for (s::gui::win::Button* b : {edit().restore, edit().apply, edit().cancel})
        expectTextFits(b);
    screenshot("filetime-edit-switched-de.bmp");
    localizer->selectLanguage(L"English");
}


class FileTimeDialogGermanEnv : public FileTimeDialog
{
};
class FileTimeDialogJapaneseEnv : public FileTimeDialog
{
};

TEST_F(FileTimeDialogGermanEnv, ScreenshotOfTheChangeMultipleView)
{
    localizer->selectLanguage(L"German");
    build();
    chooseAction(2);
    EXPECT_EQ(std::wstring(multi().methods[METHOD_SPECIFIC]->getText()), std::wstring(localizer->getText(6011000)));
    EXPECT_NE(std::wstring(localizer->getText(6011000)).find(L"Specific"), 0u);
    screenshot("filetime-multiple-de.bmp");
}

TEST_F(FileTimeDialogJapaneseEnv, ScreenshotOfTheChangeMultipleView)
{
    localizer->selectLanguage(L"Japanese");
    build();
    chooseAction(2);
    EXPECT_EQ(std::wstring(multi().methods[METHOD_SPECIFIC]->getText()), std::wstring(localizer->getText(6011000)));
    screenshot("filetime-multiple-ja.bmp");
}

TEST_F(FileTimeDialogGermanEnv, ViewAndEditButtonsShowTheirWholeTexts)
{
    localizer->selectLanguage(L"German");
    build();
    chooseAction(1);
    EXPECT_EQ(std::wstring(edit().restore->getText()), L"Wiederherstellen");
    for (s::gui::win::Button* b : {edit().restore, edit().apply, edit().cancel, edit().now})
        expectTextFits(b);
    screenshot("filetime-edit-de.bmp");
}
