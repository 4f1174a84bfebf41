// The journal shared by the window and the command line: the window journals its runs, its
// Edit menu undoes the newest run of either front end, the command line undoes the
// window's; pruning; a run stopped midway is undone up to where it got (fixture in
// DialogTestSupport.h).
#include <algorithm>
#include <atomic>

#include "DialogTestSupport.h"
#include "kairon-cli/CliRun.h"
#include "s/file/gui/dialogs/filetime/Journal.h"
#include "s/file/gui/dialogs/filetime/JournalUndo.h"
#include "s/gui/dialogs/dragndrop/ProcessingFrame.h"

using kairon::cli::test::CliResult;
using kairon::cli::test::RunCli;

namespace
{

std::vector<std::wstring> journalsIn(const std::wstring& folder)
{
    std::vector<std::wstring> found;
    WIN32_FIND_DATAW d;
    HANDLE h = FindFirstFileW((folder + L"\\*.journal.txt").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE)
        return found;
    do
        found.push_back(folder + L"\\" + d.cFileName);
    while (FindNextFileW(h, &d));
    FindClose(h);
    std::sort(found.begin(), found.end());
    return found;
}

std::wstring journalCommand(const std::wstring& file)
{
    std::vector<JournalEntry> entries;
    bool undone = false;
    std::wstring error, command;
    EXPECT_TRUE(ReadJournal(file, entries, undone, error, &command)) << std::string(error.begin(), error.end());
    return command;
}

bool journalUndone(const std::wstring& file)
{
    std::vector<JournalEntry> entries;
    bool undone = false;
    std::wstring error;
    ReadJournal(file, entries, undone, error);
    return undone;
}

// The fixture's tree removal, for the tests without a window.
struct Tree : FileTimeDialog
{
    using FileTimeDialog::removeTree;
};

std::string narrow(const std::wstring& w)
{
    return std::string(w.begin(), w.end());
}

} // namespace

class FileTimeJournal : public FileTimeDialog
{
  protected:
    // Three files with known times, "add 1 hour to modified" chosen in Change Multiple.
    void prepareOffsetRun()
    {
        for (int i = 0; i < 3; ++i)
        {
            files.push_back(makeFile(L"f" + std::to_wstring(i) + L".txt", 5));
            setTimes(files.back(), Utc(2010, 1, 1 + i, 8), Utc(2011, 1, 1 + i, 8));
            before.push_back(timesOf(files.back()));
        }
        build();
        chooseAddOneHour();
        chooseFields(false, true, false);
    }
    // The Edit menu's Undo item as the menu bar shows it.
    std::wstring undoText()
    {
        wchar_t text[256] = {};
        GetMenuStringW(GetMenu(window()), Dialog::CMD_UNDO_LAST, text, 256, MF_BYCOMMAND);
        return text;
    }
    bool undoEnabled()
    {
        const UINT state = GetMenuState(GetMenu(window()), Dialog::CMD_UNDO_LAST, MF_BYCOMMAND);
        return state != UINT(-1) && (state & (MF_DISABLED | MF_GRAYED)) == 0;
    }
    // Chooses "Undo Last Change" as the menu bar does, and waits for the undo to end.
    void undoFromMenu()
    {
        SendMessageW(window(), WM_COMMAND, MAKEWPARAM(Dialog::CMD_UNDO_LAST, 0), 0);
        testgui::settle(window());
        ASSERT_TRUE(waitIdle());
        testgui::settle(window());
    }
    std::wstring status() { return dialog->getStatusText(); }

    std::vector<std::wstring> files;
    std::vector<Times> before;
};

TEST_F(FileTimeJournal, AWindowRunIsJournalledInWordsAndUndoneByTheCommandLineToTheTick)
{
    prepareOffsetRun();
    EXPECT_FALSE(undoEnabled());
    drop(files);
    for (size_t i = 0; i < files.size(); ++i)
        ASSERT_EQ(timesOf(files[i]).modified, before[i].modified + 3600);
    const auto journals = journalsIn(journalFolder);
    ASSERT_EQ(journals.size(), 1u);
    EXPECT_EQ(journalCommand(journals[0]), L"Change Multiple: add 1 hour to modified, 3 items dropped");
    // The menu names what it would undo.
    EXPECT_TRUE(undoEnabled());
    EXPECT_EQ(undoText(), L"Undo: Change Multiple: add 1 hour to modified, 3 items dropped\tCtrl+Z");

    const CliResult undo = RunCli({L"undo"});
    EXPECT_EQ(undo.exitCode, 0u) << narrow(undo.err);
    for (size_t i = 0; i < files.size(); ++i)
    {
        EXPECT_EQ(timesOf(files[i]).modifiedTicks, before[i].modifiedTicks);
        EXPECT_EQ(timesOf(files[i]).accessed, before[i].accessed);
    }
    EXPECT_TRUE(journalUndone(journals[0]));
    // The window sees it when it asks again (on activation, after a run).
    EXPECT_FALSE(dialog->refreshUndo());
    EXPECT_FALSE(undoEnabled());
    EXPECT_EQ(undoText(), L"Undo Last Change\tCtrl+Z");
}

TEST_F(FileTimeJournal, TheWindowUndoesACommandLineRunAndNothingIsLeftToUndoAfterIt)
{
    prepareOffsetRun();
    const CliResult set = RunCli({L"set", L"--modified", L"--offset", L"-2d", files[0], files[1]});
    ASSERT_EQ(set.exitCode, 0u) << narrow(set.err);
    ASSERT_EQ(timesOf(files[0]).modified, before[0].modified - 2 * 86400);
    ASSERT_TRUE(dialog->refreshUndo());
    EXPECT_TRUE(undoEnabled());
    EXPECT_NE(undoText().find(L"--offset -2d"), std::wstring::npos) << narrow(undoText());

    undoFromMenu();
    for (size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(timesOf(files[i]).modifiedTicks, before[i].modifiedTicks) << i;
    EXPECT_EQ(status(), L"Undone: 2 item(s) restored.");
    EXPECT_FALSE(undoEnabled());
    // Once more: nothing to undo, nothing changes.
    undoFromMenu();
    EXPECT_EQ(status(), L"Nothing to undo.");
    EXPECT_EQ(timesOf(files[0]).modifiedTicks, before[0].modifiedTicks);
}

TEST_F(FileTimeJournal, AnItemChangedSinceTheRunIsLeftAloneAndTheStatusSaysSo)
{
    prepareOffsetRun();
    drop(files);
    // Another program writes the second file afterwards.
    const Seconds later = Utc(2020, 5, 5, 5);
    setTimes(files[1], later, later);
    undoFromMenu();
    EXPECT_EQ(timesOf(files[0]).modifiedTicks, before[0].modifiedTicks);
    EXPECT_EQ(timesOf(files[1]).modified, later);
    EXPECT_EQ(timesOf(files[2]).modifiedTicks, before[2].modifiedTicks);
    EXPECT_EQ(status(), L"Undone: 2 item(s) restored. 1 item(s) changed since the run were left alone.");
}

TEST_F(FileTimeJournal, CtrlZUndoesTheLastRun)
{
    prepareOffsetRun();
    drop(files);
    ASSERT_EQ(timesOf(files[0]).modified, before[0].modified + 3600);
    SetForegroundWindow(window());
    testgui::settle(window());
    keybd_event(VK_CONTROL, 0, 0, 0);
    keybd_event('Z', 0, 0, 0);
    keybd_event('Z', 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    for (int i = 0; i < 500 && status().rfind(L"Undone", 0) != 0; ++i)
        Sleep(10);
    ASSERT_TRUE(waitIdle());
    testgui::settle(window());
    EXPECT_EQ(status(), L"Undone: 3 item(s) restored.");
    for (size_t i = 0; i < files.size(); ++i)
        EXPECT_EQ(timesOf(files[i]).modifiedTicks, before[i].modifiedTicks) << i;
}

TEST_F(FileTimeJournal, ViewAndEditApplyIsJournalledAndUndone)
{
    const std::wstring f = makeFile(L"edit.txt", 3);
    setTimes(f, Utc(2005, 5, 5, 5), Utc(2006, 6, 6, 6));
    const Times was = timesOf(f);
    build();
    chooseAction(1);
    drop({f});
    setShown(edit().times[TIME_MODIFIED], 2015, 1, 2, 3, 4, 5);
    clickAndWait(edit().apply);
    ASSERT_NE(timesOf(f).modified, was.modified);
    const auto journals = journalsIn(journalFolder);
    ASSERT_EQ(journals.size(), 1u);
    EXPECT_EQ(journalCommand(journals[0]).rfind(L"View & Edit: ", 0), 0u) << narrow(journalCommand(journals[0]));
    undoFromMenu();
    EXPECT_EQ(timesOf(f).modifiedTicks, was.modifiedTicks);
}

// --- the library's journal without a window ----------------------------------------------

class JournalLibrary : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        folder = std::wstring(base) + L"kairon-journal-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder.c_str(), nullptr);
        journals = folder + L"\\journals";
        CreateDirectoryW(journals.c_str(), nullptr);
    }
    void TearDown() override { Tree::removeTree(folder); }
    void makeJournal(const std::wstring& stamp)
    {
        const std::wstring path = journals + L"\\" + stamp + L"-1.journal.txt";
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        const char text[] = "Kairon journal 1\n";
        DWORD written = 0;
        WriteFile(h, text, sizeof text - 1, &written, nullptr);
        CloseHandle(h);
    }
    // A stamp `days` days before the test began, plus `index` seconds.
    std::wstring stampDaysAgo(int days, int index) const
    {
        uint64_t t = (uint64_t(now.dwHighDateTime) << 32 | now.dwLowDateTime) - uint64_t(days) * 86400 * 10000000ULL +
                     uint64_t(index) * 10000000ULL;
        FILETIME ft = {DWORD(t), DWORD(t >> 32)};
        SYSTEMTIME st;
        FileTimeToSystemTime(&ft, &st);
        wchar_t text[40];
        swprintf(text, 40, L"%04u%02u%02uT%02u%02u%02u000Z", st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute,
                 st.wSecond);
        return text;
    }
    std::wstring folder, journals;
    FILETIME now = [] {
        FILETIME t;
        GetSystemTimeAsFileTime(&t);
        return t;
    }();
};

TEST_F(JournalLibrary, PruningKeepsTheNewestFiftyOrThirtyDaysWhicheverKeepsMore)
{
    struct Case
    {
        const char* name;
        int old;    // journals 40 days old
        int recent; // journals a day old
        size_t kept;
        int newestOldKept; // how many of the old ones stay
    } cases[] = {
        {"few old ones all stay", 20, 0, 20, 20},
        {"many old ones: the newest fifty", 70, 0, 50, 50},
        {"recent ones all stay, old ones fill up to fifty", 30, 35, 50, 15},
        {"more than fifty recent ones all stay", 10, 60, 60, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        Tree::removeTree(journals);
        CreateDirectoryW(journals.c_str(), nullptr);
        for (int i = 0; i < c.old; ++i)
            makeJournal(stampDaysAgo(40, i));
        for (int i = 0; i < c.recent; ++i)
            makeJournal(stampDaysAgo(1, i));
        PruneJournals(journals);
        const auto left = journalsIn(journals);
        EXPECT_EQ(left.size(), c.kept);
        int oldLeft = 0;
        for (int i = 0; i < c.old; ++i)
            oldLeft += GetFileAttributesW((journals + L"\\" + stampDaysAgo(40, i) + L"-1.journal.txt").c_str()) !=
                       INVALID_FILE_ATTRIBUTES;
        EXPECT_EQ(oldLeft, c.newestOldKept);
        // The old ones that stay are the newest of them.
        for (int i = c.old - c.newestOldKept; i < c.old; ++i)
            EXPECT_NE(GetFileAttributesW((journals + L"\\" + stampDaysAgo(40, i) + L"-1.journal.txt").c_str()),
                      INVALID_FILE_ATTRIBUTES)
                << i;
    }
}

namespace
{
// Stops the run after `limit` items were let through, as a cancel midway does.
struct StopAfter : IChangeListener
{
    StopAfter(JournalListener& journal, s::gui::dialogs::dragndrop::ProcessingFrame& frame, int limit)
        : journal(journal), frame(frame), limit(limit)
    {
    }
    bool beforeWrite(const wchar_t* path, bool isFolder, const ItemTimes& b, const ItemTimes& p) override
    {
        if (!journal.beforeWrite(path, isFolder, b, p))
            return false;
        if (++seen == limit)
            frame.cancelProcessing(false);
        return true;
    }
    void afterWrite(const wchar_t*, bool, uint32_t) override {}
    JournalListener& journal;
    s::gui::dialogs::dragndrop::ProcessingFrame& frame;
    int limit;
    int seen = 0;
};
} // namespace

TEST_F(JournalLibrary, ARunStoppedMidwayIsUndoneUpToTheItemItReached)
{
    std::vector<std::wstring> paths;
    std::vector<Times> was;
    for (int i = 0; i < 10; ++i)
    {
        paths.push_back(folder + L"\\i" + std::to_wstring(i) + L".txt");
        HANDLE h = CreateFileW(paths.back().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(h);
        setTimes(paths.back(), Utc(2001, 1, 1 + i), Utc(2002, 1, 1 + i));
        was.push_back(timesOf(paths.back()));
    }
    s::gui::dialogs::dragndrop::ProcessingFrame frame;
    ChangeEngine engine(frame);
    engine.setAction(ChangeEngine::ACTION_CHANGE_MULTIPLE);
    ChangeRequest& r = engine.getRequest();
    r.mode = ModeOffset;
    r.offset = 3600;
    r.created = r.accessed = -1;
    r.modified = 0;
    JournalListener journal(frame, [] { return std::wstring(L"test run"); });
    journal.begin(journals);
    StopAfter stop(journal, frame, 4);
    engine.setListener(&stop);
    {
        s::thread::ObjLocker::Guard guard(frame.getItemLock());
        for (const auto& p : paths)
            frame.appendPath(p.c_str());
        frame.startRun();
    }
    frame.waitForEnd();
    journal.end();
    int changed = 0;
    for (size_t i = 0; i < paths.size(); ++i)
        changed += timesOf(paths[i]).modified != was[i].modified;
    ASSERT_EQ(changed, 4);
    EXPECT_EQ(journal.count(), 4u);

    JournalUndo undo(frame);
    std::wstring file;
    ASSERT_TRUE(FindLastJournal(journals, file));
    EXPECT_EQ(file, journal.path());
    undo.setJournal(file);
    frame.setTask(&undo);
    {
        s::thread::ObjLocker::Guard guard(frame.getItemLock());
        frame.startRun();
    }
    frame.waitForEnd();
    frame.setTask(&engine);
    EXPECT_EQ(undo.restored(), 4u);
    EXPECT_EQ(undo.failed(), 0u);
    for (size_t i = 0; i < paths.size(); ++i)
        EXPECT_EQ(timesOf(paths[i]).modifiedTicks, was[i].modifiedTicks) << i;
    EXPECT_TRUE(journalUndone(file));
    EXPECT_FALSE(FindLastJournal(journals, file));
}

// --- preview ------------------------------------------------------------------------------------

#include <commctrl.h>

#include "s/file/gui/dialogs/filetime/ItemListWindow.h"

namespace
{

// The list window once it is shown (the dialog opens it after the plan has ended).
HWND waitForList()
{
    for (int i = 0; i < 500; ++i)
    {
        HWND h = FindWindowW(ItemListWindow::CLASS_NAME, nullptr);
        if (h != nullptr && IsWindowVisible(h))
            return h;
        Sleep(10);
    }
    return nullptr;
}

HWND listViewOf(HWND list)
{
    return FindWindowExW(list, nullptr, WC_LISTVIEWW, nullptr);
}

std::wstring cell(HWND listView, int row, int column)
{
    wchar_t text[512] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 512;
    SendMessageW(listView, LVM_GETITEMTEXTW, WPARAM(row), LPARAM(&item));
    return text;
}

// A click on a column head, as the list view tells its window.
void clickColumn(HWND list, int column)
{
    NMLISTVIEW n = {};
    n.hdr.hwndFrom = listViewOf(list);
    n.hdr.code = LVN_COLUMNCLICK;
    n.iItem = -1;
    n.iSubItem = column;
    SendMessageW(list, WM_NOTIFY, 0, LPARAM(&n));
}

void screenshotOf(HWND h, const char* path)
{
    RECT r;
    GetWindowRect(h, &r);
    SetForegroundWindow(h);
    RedrawWindow(h, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(300);
    EXPECT_TRUE(testgui::saveScreen(r, path));
}

struct Snapshot
{
    uint64_t created = 0, modified = 0, accessed = 0;
    DWORD attributes = 0;
    uint64_t size = 0;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshotOf(const std::wstring& path)
{
    Snapshot s;
    WIN32_FILE_ATTRIBUTE_DATA d{};
    if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d))
    {
        s.created = TicksOf(d.ftCreationTime);
        s.modified = TicksOf(d.ftLastWriteTime);
        s.accessed = TicksOf(d.ftLastAccessTime);
        s.attributes = d.dwFileAttributes;
        s.size = (uint64_t(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
    }
    return s;
}

} // namespace

class FileTimePreview : public FileTimeJournal
{
  protected:
    // A folder with a file, a read-only file and a subfolder with a file; the preview
    // checked, "add 1 hour to modified" with the folder's contents.
    void preparePreview(const std::wstring& name)
    {
        root = makeFolder(name);
        tree = {root, makeFile(name + L"\\a.txt", 4), makeFile(name + L"\\b.txt", 6, FILE_ATTRIBUTE_READONLY),
                makeFolder(name + L"\\sub"), makeFile(name + L"\\sub\\c.txt", 8)};
        for (size_t i = 0; i < tree.size(); ++i)
            setTimes(tree[i], Utc(2012, 3, 4 + int(i), 5), Utc(2013, 3, 4 + int(i), 5));
    }
    void chooseOffsetWithContents()
    {
        chooseAddOneHour();
        chooseFields(false, true, false);
        if (!checked(multi().includeContents))
            click(multi().includeContents);
        if (!checked(multi().attributes[ATTR_READ_ONLY]))
            click(multi().attributes[ATTR_READ_ONLY]);
    }
    void closeList(HWND list, int button)
    {
        SendMessageW(GetDlgItem(list, button), BM_CLICK, 0, 0);
        // The list's loop ends only when it next takes a message, and what it answers (the
        // run that Apply starts) follows then: a message sent meanwhile is served inside
        // that loop, so only the list window's end says the dialog has gone on.
        for (int i = 0; i < 1500 && IsWindow(list); ++i)
            Sleep(10);
        testgui::settle(window());
        ASSERT_TRUE(waitIdle());
        testgui::settle(window());
    }
    std::wstring root;
    std::vector<std::wstring> tree;
};

TEST_F(FileTimePreview, PreviewThenCancelWritesNothing)
{
    preparePreview(L"tree");
    std::vector<Snapshot> was;
    for (const auto& p : tree)
        was.push_back(snapshotOf(p));
    build();
    chooseOffsetWithContents();
    click(multi().preview);
    drop({root});
    HWND list = waitForList();
    ASSERT_NE(list, nullptr);
    // One row per time that would change: the modified time of all five items.
    HWND view = listViewOf(list);
    EXPECT_EQ(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0), 5);
    EXPECT_EQ(cell(view, 0, 1), L"modified");
    screenshotOf(list, "filetime-preview.bmp");
    closeList(list, ItemListWindow::ID_CANCEL);
    for (size_t i = 0; i < tree.size(); ++i)
        EXPECT_EQ(snapshotOf(tree[i]), was[i]) << narrow(tree[i]);
    EXPECT_TRUE(journalsIn(journalFolder).empty());
    EXPECT_EQ(status(), L"Nothing was changed.");
    // Saved with the panel's settings.
    EXPECT_TRUE(store->getBool(MULTI, L"Preview", false));
}

TEST_F(FileTimePreview, PreviewThenApplyEqualsARunWithoutPreviewAndIsJournalled)
{
    preparePreview(L"plain");
    const std::vector<std::wstring> plain = tree;
    preparePreview(L"previewed");
    build();
    chooseOffsetWithContents();
    drop({plain[0]});
    click(multi().preview);
    drop({root});
    HWND list = waitForList();
    ASSERT_NE(list, nullptr);
    HWND view = listViewOf(list);
    // Sorted by the item column, both ways.
    clickColumn(list, 0);
    EXPECT_EQ(cell(view, 0, 0), root);
    clickColumn(list, 0);
    EXPECT_EQ(cell(view, 0, 0), tree[4]);
    EXPECT_EQ(snapshotOf(tree[1]).modified, TicksOf(Utc(2012, 3, 5, 5)));
    closeList(list, ItemListWindow::ID_APPLY);
    for (size_t i = 0; i < tree.size(); ++i)
    {
        EXPECT_EQ(snapshotOf(tree[i]).modified, snapshotOf(plain[i]).modified) << i;
        EXPECT_EQ(snapshotOf(tree[i]).modified, TicksOf(Utc(2012, 3, 4 + int(i), 6))) << i;
        EXPECT_EQ(snapshotOf(tree[i]).attributes, snapshotOf(plain[i]).attributes) << i;
    }
    const auto journals = journalsIn(journalFolder);
    ASSERT_EQ(journals.size(), 2u);
    EXPECT_EQ(journalCommand(journals[1]), L"Change Multiple: add 1 hour to modified, 1 item dropped");
    // The preview's run is the newest to undo.
    undoFromMenu();
    for (size_t i = 0; i < tree.size(); ++i)
        EXPECT_EQ(snapshotOf(tree[i]).modified, TicksOf(Utc(2012, 3, 4 + int(i), 5))) << i;
}

TEST_F(FileTimePreview, FailedItemsAreListedWithTheSystemsReason)
{
    // The drive root passes the filter whatever its attributes.
    for (const wchar_t* box : {L"ApplyTo_ReadOnly", L"ApplyTo_SystemFiles", L"ApplyTo_HiddenFiles", L"ApplyTo_NormalFiles"})
        store->setBool(MULTI, box, true);
    prepareOffsetRun();
    EXPECT_NE(GetMenuState(GetMenu(window()), Dialog::CMD_SHOW_FAILED, MF_BYCOMMAND) & (MF_DISABLED | MF_GRAYED), 0u);
    // A drive root has no times of its own to add an hour to: it keeps them and fails.
    std::wstring f = L"C:\\";
    f[0] = files[0][0];
    drop({files[0], f});
    EXPECT_EQ(timesOf(files[0]).modified, before[0].modified + 3600);
    ASSERT_EQ(dialog->getFailedItemCount(), 1u) << narrow(status());
    EXPECT_EQ(GetMenuState(GetMenu(window()), Dialog::CMD_SHOW_FAILED, MF_BYCOMMAND) & (MF_DISABLED | MF_GRAYED), 0u);
    PostMessageW(window(), WM_COMMAND, MAKEWPARAM(Dialog::CMD_SHOW_FAILED, 0), 0);
    HWND list = waitForList();
    ASSERT_NE(list, nullptr);
    HWND view = listViewOf(list);
    ASSERT_EQ(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(cell(view, 0, 0).rfind(f.substr(0, 2), 0), 0u) << narrow(cell(view, 0, 0));
    EXPECT_FALSE(cell(view, 0, 1).empty());
    EXPECT_EQ(cell(view, 0, 1).find(L"error "), std::wstring::npos) << narrow(cell(view, 0, 1));
    screenshotOf(list, "filetime-failed.bmp");
    SendMessageW(GetDlgItem(list, ItemListWindow::ID_CANCEL), BM_CLICK, 0, 0);
    testgui::settle(window());
}

TEST_F(FileTimePreview, TheEditMenuNamesTheRunItWouldUndo)
{
    prepareOffsetRun();
    drop(files);
    // The menu opened as the user opens it, for its picture.
    PostMessageW(window(), WM_SYSCOMMAND, SC_KEYMENU, 0);
    testgui::settle(window());
    Sleep(200);
    keybd_event(VK_DOWN, 0, 0, 0);
    keybd_event(VK_DOWN, 0, KEYEVENTF_KEYUP, 0);
    testgui::settle(window());
    Sleep(300);
    RECT r;
    GetWindowRect(window(), &r);
    r.bottom = r.top + 200;
    r.right = r.left + 640;
    EXPECT_TRUE(testgui::saveScreen(r, "filetime-edit-menu.bmp"));
    keybd_event(VK_ESCAPE, 0, 0, 0);
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_ESCAPE, 0, 0, 0);
    keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
    testgui::settle(window());
    EXPECT_TRUE(undoEnabled());
}

class FileTimeDialogJapaneseEnv : public FileTimeDialog
{
};

TEST_F(FileTimeDialogJapaneseEnv, ScreenshotOfThePreviewList)
{
    localizer->selectLanguage(L"Japanese");
    const std::wstring f = makeFile(L"photo.jpg", 3);
    setTimes(f, Utc(2010, 4, 5, 6), Utc(2010, 4, 5, 6));
    build();
    chooseAction(2);
    click(multi().methods[METHOD_OFFSET]);
    click(multi().preview);
    drop({f});
    HWND list = waitForList();
    ASSERT_NE(list, nullptr);
    HWND view = listViewOf(list);
    ASSERT_GE(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(cell(view, 0, 0), f);
    screenshotOf(list, "filetime-preview-ja.bmp");
    SendMessageW(GetDlgItem(list, ItemListWindow::ID_CANCEL), BM_CLICK, 0, 0);
    testgui::settle(window());
    ASSERT_TRUE(waitIdle());
}
