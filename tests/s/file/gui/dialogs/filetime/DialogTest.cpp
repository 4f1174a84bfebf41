// The file-time dialog built for real on its own window thread with a registry store of
// the test's own, driven through its native controls (BM_CLICK, CB_SETCURSEL with the
// CBN_SELCHANGE notification to the parent, WM_DROPFILES with real HDROPs, WM_CLOSE);
// the effects are read from the files on disk, the registry and the clipboard.
//
// Wine keeps no creation time: creation times are checked as the request handed to the
// engine, modified and accessed times on disk.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "s/file/gui/dialogs/filetime/Dialog.h"
#include "s/file/gui/dialogs/filetime/DialogKeys.h"
#include "s/gui/GuiTestSupport.h"
#include "s/gui/IWindowSettings.h"
#include "s/gui/combobox/ComboBoxItem.h"
#include "s/gui/win/Button.h"
#include "s/gui/win/CheckBox.h"
#include "s/gui/win/ComboBox.h"
#include "s/gui/win/RadioButton.h"
#include "s/gui/win/TextField.h"
#include "s/gui/win/Window.h"
#include "s/lang/Localizer.h"
#include "s/reg/MappedData.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/time/EpochSeconds.h"
#include "s/time/Time.h"
#include "s/time/TimeZone.h"

using namespace s::file::gui::dialogs::filetime;
using testgui::MessageBoxes;
using Seconds = int64_t;

namespace
{

constexpr wchar_t STORE_PATH[] = L"Software\\KaironTests\\FileTimeDialog";
constexpr wchar_t MAIN_VIEW[] = L"MainWindow\\View";
constexpr wchar_t EDIT[] = L"View";
constexpr wchar_t MULTI[] = L"View\\Multiple";
constexpr int64_t TICKS_PER_SECOND = 10000000;
constexpr uint64_t EPOCH_TICKS = 116444736000000000ULL;

// The window's settings object over the test's store.
struct Settings : s::gui::IWindowSettings
{
    s::map::IMappedData* store = nullptr;
    std::mutex lock;
    bool hasSavedPosition() override { return false; }
    int getX() override { return 0; }
    int getY() override { return 0; }
    int getWidth() override { return get(L"Width", 640); }
    int getHeight() override { return get(L"Height", 600); }
    void setBounds(int, int, int w, int h) override
    {
        std::lock_guard<std::mutex> guard(lock);
        store->setS32(MAIN_VIEW, L"Width", w);
        store->setS32(MAIN_VIEW, L"Height", h);
    }
    bool getEasyDrag() override { return false; }
    void setEasyDrag(bool) override {}
    bool getMaximized() override { return false; }
    void setMaximized(bool) override {}
    bool getKeepOnTop() override { return false; }
    void setKeepOnTop(bool) override {}
    const wchar_t* getMiddleClickAction() override { return s::gui::win::Window::ACTION_DO_NOTHING; }
    void setMiddleClickAction(const wchar_t*) override {}
    int getTitleTextId() override { return 500000; }
    int getVersionTextId() override { return 500010; }
    HICON__* getSmallIcon() override { return nullptr; }
    HICON__* getLargeIcon() override { return nullptr; }
    int get(const wchar_t* name, int def)
    {
        std::lock_guard<std::mutex> guard(lock);
        return store->getS32(MAIN_VIEW, name, def);
    }
};

HDROP makeDrop(const std::vector<std::wstring>& paths)
{
    size_t units = 1;
    for (const std::wstring& p : paths)
        units += p.size() + 1;
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + units * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(block));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    wchar_t* at = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(files) + sizeof(DROPFILES));
    for (const std::wstring& p : paths)
    {
        memcpy(at, p.c_str(), (p.size() + 1) * sizeof(wchar_t));
        at += p.size() + 1;
    }
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

uint64_t ticksOf(const FILETIME& f)
{
    return (uint64_t(f.dwHighDateTime) << 32) | f.dwLowDateTime;
}
Seconds secondsOf(const FILETIME& f)
{
    return (int64_t(ticksOf(f)) - int64_t(EPOCH_TICKS)) / TICKS_PER_SECOND;
}
FILETIME fileTimeOf(Seconds s)
{
    const uint64_t t = uint64_t(s * TICKS_PER_SECOND) + EPOCH_TICKS;
    FILETIME f;
    f.dwLowDateTime = DWORD(t);
    f.dwHighDateTime = DWORD(t >> 32);
    return f;
}
Seconds utc(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
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
    return secondsOf(f);
}

struct Times
{
    Seconds modified = -1, accessed = -1;
    uint64_t modifiedTicks = 0;
};

Times timesOf(const std::wstring& path)
{
    Times t;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
    {
        t.modified = secondsOf(data.ftLastWriteTime);
        t.accessed = secondsOf(data.ftLastAccessTime);
        t.modifiedTicks = ticksOf(data.ftLastWriteTime);
    }
    return t;
}

// Sets the modified and accessed times (attributes cleared around the write, then put back).
void setTimes(const std::wstring& path, Seconds modified, Seconds accessed)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    FILETIME m = fileTimeOf(modified), a = fileTimeOf(accessed);
    SetFileTime(h, nullptr, &a, &m);
    CloseHandle(h);
    SetFileAttributesW(path.c_str(), attributes);
}

template <class T> HWND hwnd(T* component)
{
    return component->getHandle();
}

template <class T> void click(T* component)
{
    SendMessageW(hwnd(component), BM_CLICK, 0, 0);
}

template <class T> bool checked(T* component)
{
    return SendMessageW(hwnd(component), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

template <class T> bool enabled(T* component)
{
    return IsWindowEnabled(hwnd(component)) != FALSE;
}

// Selects entry `index` as the user does: the control's selection, then its notification
// to the parent.
void choose(s::gui::win::ComboBox* combo, int index)
{
    HWND h = hwnd(combo);
    SendMessageW(h, CB_SETCURSEL, WPARAM(index), 0);
    SendMessageW(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), CBN_SELCHANGE), LPARAM(h));
}

int indexOfValue(s::gui::win::ComboBox* combo, intptr_t value)
{
    for (int i = 0; i < combo->getItemCount(); ++i)
    {
        if (combo->getItem(i)->getValue() == value)
            return i;
    }
    return -1;
}

void chooseValue(s::gui::win::ComboBox* combo, intptr_t value)
{
    const int index = indexOfValue(combo, value);
    ASSERT_GE(index, 0) << value;
    choose(combo, index);
}

int selection(s::gui::win::ComboBox* combo)
{
    return int(SendMessageW(hwnd(combo), CB_GETCURSEL, 0, 0));
}

intptr_t selectedValueOf(s::gui::win::ComboBox* combo)
{
    const int i = selection(combo);
    return i >= 0 ? combo->getItem(i)->getValue() : -1000;
}

std::wstring textOf(HWND h)
{
    wchar_t buffer[512] = L"";
    GetWindowTextW(h, buffer, 512);
    return buffer;
}

// The selectors' fields as "YYYY-MM-DD hh:mm:ss".
std::wstring shown(const TimeSelectors& set)
{
    wchar_t text[64];
    std::swprintf(text, 64, L"%04d-%02d-%02d %02d:%02d:%02d", int(selectedValueOf(set.year())),
                  int(selectedValueOf(set.month())), int(selectedValueOf(set.day())), int(selectedValueOf(set.hour())),
                  int(selectedValueOf(set.minute())), int(selectedValueOf(set.second())));
    return text;
}

void setShown(const TimeSelectors& set, int y, int mo, int d, int h, int mi, int s)
{
    chooseValue(set.year(), y);
    chooseValue(set.month(), mo);
    chooseValue(set.day(), d);
    chooseValue(set.hour(), h);
    chooseValue(set.minute(), mi);
    chooseValue(set.second(), s);
}

std::wstring clipboardText()
{
    std::wstring text;
    for (int attempt = 0; attempt < 50 && !OpenClipboard(nullptr); ++attempt)
        Sleep(20);
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT))
    {
        if (const wchar_t* p = static_cast<const wchar_t*>(GlobalLock(data)))
        {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void putOnClipboard(const wchar_t* text)
{
    Dialog::copyTextToClipboard(text, nullptr);
}

class FileTimeDialog : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        MessageBoxes::install();
        {
            std::lock_guard<std::mutex> guard(MessageBoxes::lock());
            MessageBoxes::texts().clear();
        }
        // One key per process: the zone entries of this program may run at the same time.
        const std::wstring key = std::wstring(STORE_PATH) + L"\\" + std::to_wstring(GetCurrentProcessId());
        store = s::reg::openRegistryStore(key.c_str());
        store->removeSection(L"");
        settings.store = store;
        localizer = s::lang::Localizer::loadFromResource(nullptr);
        localizer->selectLanguage(L"English");
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        folder = std::wstring(base) + L"kairon-ftdialog-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    void TearDown() override
    {
        release();
        localizer->Release();
        store->removeSection(L"");
        store->Release();
        removeTree(folder);
        // The process's own key itself, and the common parent when nothing else is left in it.
        HKEY tests = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, STORE_PATH, 0, KEY_ALL_ACCESS, &tests) == ERROR_SUCCESS)
        {
            RegDeleteKeyW(tests, std::to_wstring(GetCurrentProcessId()).c_str());
            RegCloseKey(tests);
        }
        RegDeleteKeyW(HKEY_CURRENT_USER, STORE_PATH);
    }
    static void removeTree(const std::wstring& path)
    {
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE)
        {
            do
            {
                std::wstring name = found.cFileName;
                if (name == L"." || name == L"..")
                    continue;
                std::wstring child = path + L"\\" + name;
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    removeTree(child);
                else
                    DeleteFileW(child.c_str());
            } while (FindNextFileW(h, &found));
            FindClose(h);
        }
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryW(path.c_str());
    }

    void build()
    {
        dialog = Dialog::Acquire();
        dialog->bind(&settings, L"MainWindow", localizer, store, nullptr);
        ASSERT_TRUE(dialog->buildAndShow());
        testgui::settle(window());
    }
    void release()
    {
        if (dialog != nullptr)
            dialog->Release();
        dialog = nullptr;
    }
    // Closes the window as the user does and releases the dialog.
    void close()
    {
        PostMessageW(window(), WM_CLOSE, 0, 0);
        dialog->getWindow()->waitUntilClosed();
        release();
    }
    HWND window() { return dialog->getWindow()->getHandle(); }
    void chooseAction(int index)
    {
        choose(dialog->getActionChooser(), index);
        testgui::settle(window());
    }
    bool busy()
    {
        s::thread::ObjLocker::Guard guard(dialog->getFrame().getItemLock());
        return dialog->getFrame().isBusy();
    }
    bool waitIdle()
    {
        for (int i = 0; i < 1500; ++i)
        {
            if (!busy())
                return true;
            Sleep(10);
        }
        return false;
    }
    // A real shell drop on the drop box; returns when its run has ended. Sent rather than
    // posted, so that the drop has been taken when the wait for the run begins.
    void drop(const std::vector<std::wstring>& paths)
    {
        SendMessageW(HWND(dialog->getDropBoxHandle()), WM_DROPFILES, WPARAM(makeDrop(paths)), 0);
        testgui::settle(window());
        ASSERT_TRUE(waitIdle());
        testgui::settle(window());
    }
    void clickAndWait(s::gui::win::Button* button)
    {
        click(button);
        testgui::settle(window());
        ASSERT_TRUE(waitIdle());
        testgui::settle(window());
    }
    std::wstring makeFile(const std::wstring& relative, size_t bytes = 0, DWORD attributes = 0)
    {
        std::wstring path = folder + L"\\" + relative;
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        std::string content(bytes, 'k');
        DWORD written = 0;
        if (bytes > 0)
            WriteFile(h, content.data(), DWORD(bytes), &written, nullptr);
        CloseHandle(h);
        if (attributes != 0)
            SetFileAttributesW(path.c_str(), attributes);
        return path;
    }
    std::wstring makeFolder(const std::wstring& relative)
    {
        std::wstring path = folder + L"\\" + relative;
        CreateDirectoryW(path.c_str(), nullptr);
        return path;
    }
    std::vector<std::wstring> boxes()
    {
        std::lock_guard<std::mutex> guard(MessageBoxes::lock());
        return MessageBoxes::texts();
    }
    const MultiplePanel& multi() { return dialog->getMultiplePanel(); }
    const EditPanel& edit() { return dialog->getEditPanel(); }
    const CopyPanel& copy() { return dialog->getCopyPanel(); }

    void screenshot(const char* path)
    {
        RECT r;
        GetWindowRect(window(), &r);
        SetForegroundWindow(window());
        RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        testgui::settle(window());
        Sleep(300);
        EXPECT_TRUE(testgui::saveScreen(r, path));
    }

    s::reg::MappedData* store = nullptr;
    Settings settings;
    s::lang::Localizer* localizer = nullptr;
    Dialog* dialog = nullptr;
    std::wstring folder;
};

} // namespace

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
        {root, 0, true, utc(2000, 1, 1, 10), 0},
        {makeFile(L"tree\\a.txt", 10), 0, false, utc(2001, 2, 3, 4, 5, 6), 0},
        {makeFile(L"tree\\b.txt", 10, FILE_ATTRIBUTE_READONLY), FILE_ATTRIBUTE_READONLY, false, utc(2002, 3, 4), 0},
        {makeFile(L"tree\\c.txt", 10, FILE_ATTRIBUTE_HIDDEN), FILE_ATTRIBUTE_HIDDEN, false, utc(2003, 4, 5), 0},
        {makeFile(L"tree\\d.txt", 10, FILE_ATTRIBUTE_SYSTEM), FILE_ATTRIBUTE_SYSTEM, false, utc(2004, 5, 6), 0},
        {folder + L"\\tree\\sub", 0, true, utc(2005, 6, 7), 0},
        {makeFile(L"tree\\sub\\e.txt", 10), 0, false, utc(2010, 7, 8, 9, 10, 11), 0},
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
    setTimes(file, utc(2005, 5, 5, 5, 5, 5), utc(2006, 6, 6, 6, 6, 6));
    build();
    chooseAction(2);
    // A Newest search left over from an earlier drop must not take over a later "Specific:".
    click(multi().methods[METHOD_SYNC]);
    click(multi().sync[SYNC_NEWEST]);
    drop({file});
    click(multi().methods[METHOD_SPECIFIC]);
    setTimes(file, utc(2005, 5, 5, 5, 5, 5), utc(2006, 6, 6, 6, 6, 6));

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
        EXPECT_NE(shownBoxes[0].find(L"The date value of the month is invalid."), std::wstring::npos);
        EXPECT_NE(shownBoxes[0].find(L"Specific:"), std::wstring::npos);
        EXPECT_EQ(timesOf(file).modified, utc(2005, 5, 5, 5, 5, 5));
        EXPECT_EQ(timesOf(file).accessed, utc(2006, 6, 6, 6, 6, 6));
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
    setTimes(big, utc(2013, 8, 13, 14, 5, 9), utc(2014, 1, 2, 3, 4, 5));
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
    // A deleted item leaves every field empty after a refresh.
    DeleteFileW(small.c_str());
    clickAndWait(copy().refresh);
    EXPECT_EQ(textOf(hwnd(copy().name)), L"");
    EXPECT_EQ(textOf(hwnd(copy().times[0])), L"");
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
    const Seconds modified = utc(2009, 9, 9, 9, 9, 9), accessed = utc(2009, 10, 10, 10, 10, 10);
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
    const Seconds old = utc(2001, 1, 1);
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
