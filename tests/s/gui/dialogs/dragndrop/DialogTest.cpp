// The drop dialog built for real on its own window thread, with a registry store of the
// test's own, driven as a user drives it: drops, Cancel, menu commands, closing.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "s/gui/GuiTestSupport.h"
#include "s/gui/WindowShot.h"
#include "s/gui/IWindowSettings.h"
#include "s/gui/dialogs/dragndrop/Dialog.h"
#include "s/gui/win/Window.h"
#include "s/lang/Localizer.h"
#include "s/reg/MappedData.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/col/_array/ArrayU32.h"
#include "s/sys/SystemError.h"
#include "s/file/win/PathWin.h"
#include "s/app/win/AppBase.h"
#include "s/app/win/HandOver.h"
#include "s/lang/LangPack.h"
#include <shlobj.h>
#include <algorithm>

using namespace s::gui::dialogs::dragndrop;
using s::str::strarray::StrArray;
using testgui::makeDrop;
using testgui::MessageBoxes;

namespace
{

constexpr wchar_t STORE_PATH[] = L"Software\\KaironTests\\DropDialog";
constexpr wchar_t VIEW[] = L"MainWindow\\View";

// The window's settings object: the saved geometry and options in the test's store.
struct Settings : s::gui::IWindowSettings
{
    s::map::IMappedData* store = nullptr;
    std::mutex lock;
    bool hasSavedPosition() override { return false; }
    int getX() override { return 0; }
    int getY() override { return 0; }
    int getWidth() override
    {
        std::lock_guard<std::mutex> guard(lock);
        return store->getS32(VIEW, L"Width", 600);
    }
    int getHeight() override
    {
        std::lock_guard<std::mutex> guard(lock);
        return store->getS32(VIEW, L"Height", 550);
    }
    void setBounds(int, int, int w, int h) override
    {
        std::lock_guard<std::mutex> guard(lock);
        store->setS32(VIEW, L"Width", w);
        store->setS32(VIEW, L"Height", h);
    }
    bool getEasyDrag() override { return get(L"EasyDrag", true); }
    void setEasyDrag(bool on) override { set(L"EasyDrag", on); }
    bool getMaximized() override { return false; }
    void setMaximized(bool) override {}
    bool getKeepOnTop() override { return get(L"KeepOnTop", true); }
    void setKeepOnTop(bool on) override { set(L"KeepOnTop", on); }
    const wchar_t* getMiddleClickAction() override
    {
        std::lock_guard<std::mutex> guard(lock);
        const wchar_t* t = store->getString(VIEW, L"OnMClick", L"Close", nullptr, false);
        if (lstrcmpiW(t, L"Close") == 0)
            return s::gui::win::Window::ACTION_CLOSE;
        if (lstrcmpiW(t, L"Iconize") == 0)
            return s::gui::win::Window::ACTION_ICONIZE;
        return s::gui::win::Window::ACTION_DO_NOTHING;
    }
    void setMiddleClickAction(const wchar_t* action) override
    {
        std::lock_guard<std::mutex> guard(lock);
        store->setString(VIEW, L"OnMClick", action);
    }
    int getTitleTextId() override { return 500000; }
    int getVersionTextId() override { return 500010; }
    HICON__* getSmallIcon() override { return nullptr; }
    HICON__* getLargeIcon() override { return nullptr; }
    bool get(const wchar_t* name, bool def)
    {
        std::lock_guard<std::mutex> guard(lock);
        return store->getBool(VIEW, name, def);
    }
    void set(const wchar_t* name, bool on)
    {
        std::lock_guard<std::mutex> guard(lock);
        store->setBool(VIEW, name, on);
    }
};

// Records what the status label and the progress bar were given, and passes it on to them.
struct Shown : s::archive::IStatusTarget, s::archive::IProgressTarget
{
    std::mutex lock;
    std::vector<std::wstring> texts;
    int32_t range = -1, position = -1;
    s::archive::IStatusTarget* label = nullptr;
    s::archive::IProgressTarget* bar = nullptr;
    void showStatusText(const wchar_t* text) override
    {
        {
            std::lock_guard<std::mutex> guard(lock);
            texts.push_back(text);
        }
        label->showStatusText(text);
    }
    void showProgressRange(int32_t maximum) override
    {
        range = maximum;
        bar->showProgressRange(maximum);
    }
    void showProgressPosition(int32_t p) override
    {
        position = p;
        bar->showProgressPosition(p);
    }
    std::wstring last()
    {
        std::lock_guard<std::mutex> guard(lock);
        return texts.empty() ? L"" : texts.back();
    }
};

// A dialog whose task reports what the test scripts and waits at a gate between its
// updates and its end.
class ScriptedDialog : public Dialog
{
    S_CLASS_ID(L"tests_ScriptedDialog")
    S_POOLED(ScriptedDialog)

  public:
    std::atomic<int32_t> total{3}, position{0};
    std::atomic<uint32_t> failed{0};
    // The failed items the task keeps (set by the test while no run is under way).
    StrArray* failedPaths = StrArray::Acquire();
    s::col::_array::ArrayU32* failedErrors = s::col::_array::ArrayU32::Acquire();
    HANDLE gate = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    HANDLE updated = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<int> runs{0};
    std::vector<std::wstring> seenPaths;

    ~ScriptedDialog() override
    {
        failedPaths->Release();
        failedErrors->Release();
        CloseHandle(gate);
        CloseHandle(updated);
    }
    void Reset() override
    {
        Dialog::Reset();
        total = 3;
        position = 0;
        failed = 0;
        failedPaths->RemoveAll();
        failedErrors->Clear();
        runs = 0;
        seenPaths.clear();
        SetEvent(gate);
        ResetEvent(updated);
    }
    bool getDefaultCompactView() override { return false; }
    uint32_t getFailedItemCount() override { return failed; }
    const StrArray* getFailedItemPaths() override { return failedPaths; }
    const s::col::_array::ArrayU32* getFailedItemErrors() override { return failedErrors; }
    void Run() override
    {
        ++runs;
        {
            s::thread::ObjLocker::Guard guard(getFrame().getItemLock());
            seenPaths.clear();
            for (uint32_t i = 0; i < getFrame().getPathCount(); ++i)
                seenPaths.push_back(getFrame().getPath(i));
        }
        getFrame().sendStatus(ProcessStatusStart, 0, 0, nullptr);
        getFrame().sendStatus(ProcessStatusUpdate, total, position, L"EntryName");
        SetEvent(updated);
        while (WaitForSingleObject(gate, 20) == WAIT_TIMEOUT && !getFrame().isCancelRequested())
        {
        }
        getFrame().sendStatus(ProcessStatusUpdate, total, position, L"after the gate");
        getFrame().sendStatus(ProcessStatusEnd, 0, 0, nullptr);
    }
};

class DropDialog : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        MessageBoxes::install();
        {
            std::lock_guard<std::mutex> guard(MessageBoxes::lock());
            MessageBoxes::texts().clear();
        }
        store = s::reg::openRegistryStore(STORE_PATH);
        store->removeSection(L"");
        settings.store = store;
        localizer = s::lang::Localizer::loadFromResource(nullptr);
        localizer->selectLanguage(L"English");
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        folder = std::wstring(base) + L"kairon-dropdialog-" + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(folder.c_str(), nullptr);
    }
    void TearDown() override
    {
        if (dialog != nullptr)
            dialog->Release();
        localizer->Release();
        store->removeSection(L"");
        store->Release();
        for (const std::wstring& f : files)
            DeleteFileW(f.c_str());
        RemoveDirectoryW(folder.c_str());
    }

    void build()
    {
        dialog = ScriptedDialog::Acquire();
        dialog->bind(&settings, L"MainWindow", localizer, store, nullptr);
        onceAdded = false;
        ASSERT_TRUE(dialog->buildAndShow());
        shown.label = dialog->getReporter().getStatusTarget();
        shown.bar = dialog->getReporter().getProgressTarget();
        dialog->getReporter().setStatusTarget(&shown);
        dialog->getReporter().setProgressTarget(&shown);
    }
    std::wstring makeFile(const wchar_t* name)
    {
        std::wstring path = folder + L"\\" + name;
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(h);
        files.push_back(path);
        return path;
    }
    // Drops on the window's thread, as the drop box's event does.
    void drop(const std::vector<std::wstring>& paths)
    {
        StrArray* list = StrArray::Acquire();
        for (const std::wstring& p : paths)
            list->Add(p.c_str());
        struct Dropper : s::gui::events::IEventListener
        {
            Dialog* dialog;
            StrArray* list;
            void handleEvent(void*, int) override { dialog->acceptDrop(list); }
        } dropper;
        dropper.dialog = dialog;
        dropper.list = list;
        runOnWindowThread(&dropper);
        list->Release();
    }
    void runOnWindowThread(s::gui::events::IEventListener* what)
    {
        // A request of another kind than the status one reaches every request listener.
        struct Once : s::gui::events::IEventListener
        {
            s::gui::events::IEventListener* what;
            s::gui::win::Window* window;
            void handleEvent(void*, int) override
            {
                if (window->getRequestValue1() == 77 && what != nullptr)
                    what->handleEvent(nullptr, 0);
            }
        };
        static Once once;
        once.what = what;
        once.window = dialog->getWindow();
        // Once per window built (a new window may take the address of a released one).
        if (!onceAdded)
        {
            dialog->getWindow()->addListener(s::gui::IWindow::EVENT_REQUEST, &once);
            onceAdded = true;
        }
        dialog->getWindow()->sendRequest(77, 0, 0, 0);
        once.what = nullptr;
    }
    bool busy()
    {
        s::thread::ObjLocker::Guard guard(dialog->getFrame().getItemLock());
        return dialog->getFrame().isBusy();
    }
    bool waitIdle()
    {
        for (int i = 0; i < 1000; ++i)
        {
            if (!busy())
                return true;
            Sleep(10);
        }
        return false;
    }
    // The text the status label's native window shows.
    std::wstring statusText()
    {
        // Read on the window's thread, where the label changes.
        struct Reader : s::gui::events::IEventListener
        {
            Dialog* dialog;
            std::wstring text;
            void handleEvent(void*, int) override { text = dialog->getStatusText(); }
        } reader;
        reader.dialog = dialog;
        runOnWindowThread(&reader);
        return reader.text;
    }
    std::vector<std::wstring> boxes()
    {
        std::lock_guard<std::mutex> guard(MessageBoxes::lock());
        return MessageBoxes::texts();
    }

    s::reg::MappedData* store = nullptr;
    Settings settings;
    s::lang::Localizer* localizer = nullptr;
    ScriptedDialog* dialog = nullptr;
    Shown shown;
    std::wstring folder;
    std::vector<std::wstring> files;
    bool onceAdded = false; // the request listener of runOnWindowThread, on the window built
};

} // namespace

TEST(DropDialogScale, UpdatesAreHalvedUntilTheProgressControlCanCountThem)
{
    struct Case
    {
        int32_t total, position, wantTotal, wantPosition;
    } cases[] = {
        {100000, 70000, 25000, 17500}, {32767, 32767, 32767, 32767}, {32768, 1, 16384, 0},
        {1000, 500, 1000, 500},        {0x7FFFFFFF, 0x7FFFFFFF, 32767, 32767}, {0, 0, 0, 0},
    };
    for (const Case& c : cases)
    {
        int32_t total = c.total, position = c.position;
        Dialog::scaleUpdate(&total, &position);
        EXPECT_EQ(c.wantTotal, total) << c.total;
        EXPECT_EQ(c.wantPosition, position) << c.total;
    }
}

TEST_F(DropDialog, AnUpdateOfAHundredThousandShowsRange25001Position17501)
{
    build();
    dialog->total = 100000;
    dialog->position = 70000;
    ResetEvent(dialog->gate);
    drop({makeFile(L"a.txt")});
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(dialog->updated, 10000));
    // An update is posted: the window shows it when it gets to it, without the worker waiting.
    for (int i = 0; i < 500 && shown.position != 17501; ++i)
        Sleep(10);
    EXPECT_EQ(25001, shown.range);
    EXPECT_EQ(17501, shown.position);
    EXPECT_EQ(L"EntryName", statusText());
    SetEvent(dialog->gate);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(L"Ready", statusText());
    EXPECT_EQ(1, shown.range);
}

TEST_F(DropDialog, ASecondDropWhileRunningChangesNothing)
{
    build();
    ResetEvent(dialog->gate);
    const std::wstring first = makeFile(L"first.txt");
    drop({first});
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(dialog->updated, 10000));
    drop({makeFile(L"second.txt")});
    {
        s::thread::ObjLocker::Guard guard(dialog->getFrame().getItemLock());
        ASSERT_EQ(1u, dialog->getFrame().getPathCount());
        EXPECT_STREQ(first.c_str(), dialog->getFrame().getPath(0));
    }
    SetEvent(dialog->gate);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(1, dialog->runs.load());
    EXPECT_TRUE(boxes().empty());
}

// The user has no output folder here: the message tells what happened to the item dropped,
// with its path and the system's reason, for a file and for a folder that vanished together
// with the folder they were in.
TEST_F(DropDialog, AFirstItemInAVanishedFolderSaysTheDroppedItemIsGoneAndQueuesNothing)
{
    build();
    const std::wstring gone = folder + L"\\gone\\deeper";
    for (const std::wstring& item : {gone + L"\\item.txt", gone + L"\\folder"})
    {
        {
            std::lock_guard<std::mutex> guard(MessageBoxes::lock());
            MessageBoxes::texts().clear();
        }
        drop({item, makeFile(L"kept.txt")});
        std::vector<std::wstring> shownBoxes = boxes();
        ASSERT_EQ(1u, shownBoxes.size());
        EXPECT_NE(std::wstring::npos,
                  shownBoxes[0].find(L"The dropped item can no longer be found: it was moved, renamed or deleted "
                                     L"after the drop. Nothing was changed.\r\n\"" +
                                     item + L"\"\r\n"))
            << shownBoxes[0];
        EXPECT_EQ(std::wstring::npos, shownBoxes[0].find(L"output folder")) << shownBoxes[0];
    }
    EXPECT_FALSE(busy());
    EXPECT_EQ(0, dialog->runs.load());
    {
        s::thread::ObjLocker::Guard guard(dialog->getFrame().getItemLock());
        EXPECT_EQ(0u, dialog->getFrame().getPathCount());
    }
    // The next drop processes only its own items.
    const std::wstring next = makeFile(L"next.txt");
    drop({next});
    ASSERT_TRUE(waitIdle());
    ASSERT_EQ(1, dialog->runs.load());
    ASSERT_EQ(1u, dialog->seenPaths.size());
    EXPECT_EQ(next, dialog->seenPaths[0]);
}

TEST_F(DropDialog, ADriveRootHasNoOutputFolder)
{
    build();
    drop({L"C:\\"});
    std::vector<std::wstring> shownBoxes = boxes();
    ASSERT_EQ(1u, shownBoxes.size());
    EXPECT_NE(std::wstring::npos, shownBoxes[0].find(L"|The output folder is inaccessible or write-protected."));
    EXPECT_EQ(std::wstring::npos, shownBoxes[0].find(L"\r\n"));
    EXPECT_EQ(0, dialog->runs.load());
}

TEST_F(DropDialog, CancelShowsCancelingThenReady)
{
    build();
    ResetEvent(dialog->gate);
    drop({makeFile(L"a.txt")});
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(dialog->updated, 10000));
    struct Cancel : s::gui::events::IEventListener
    {
        Dialog* dialog;
        void handleEvent(void*, int) override { dialog->cancelProcessing(false); }
    } cancel;
    cancel.dialog = dialog;
    runOnWindowThread(&cancel);
    EXPECT_EQ(L"Canceling..", statusText());
    ASSERT_TRUE(waitIdle());
    // The update sent after the cancel was not shown.
    for (const std::wstring& t : shown.texts)
        EXPECT_NE(L"after the gate", t);
    EXPECT_EQ(L"Ready", statusText());
    EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(dialog->getCancelButtonHandle())));
}

TEST_F(DropDialog, FailedItemsAreCountedInsteadOfDone)
{
    build();
    dialog->failed = 3;
    drop({makeFile(L"a.txt")});
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(L"Done, but 3 item(s) could not be changed.", statusText());
    localizer->selectLanguage(L"German");
    dialog->failed = 1;
    drop({makeFile(L"b.txt")});
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(L"Fertig, aber 1 Element(e) konnten nicht geändert werden.", statusText());
    localizer->selectLanguage(L"Danish"); // a partial translation falls back to English
    drop({makeFile(L"c.txt")});
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(L"Done, but 1 item(s) could not be changed.", statusText());
}

// The first failed items are named with the system's words for what failed; the rest are
// counted, in the chosen language.
TEST_F(DropDialog, FailedItemsAreNamedWithTheirReasonAndTheRestCounted)
{
    build();
    auto reason = [](uint32_t code)
    {
        s::str::strbuffer::StrBuffer* text = s::str::strbuffer::StrBuffer::Acquire();
        s::sys::AppendSystemErrorText(code, text);
        std::wstring words = text->CStr();
        text->Release();
        return words;
    };
    const std::wstring a = folder + L"\\gone.txt", b = folder + L"\\q?.txt", c = folder + L"\\locked.txt";
    const uint32_t codes[] = {ERROR_FILE_NOT_FOUND, ERROR_INVALID_NAME, ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION};
    const std::wstring paths[] = {a, b, c, folder + L"\\fourth.txt"};
    for (int i = 0; i < 4; ++i)
    {
        dialog->failedPaths->Add(paths[i].c_str());
        dialog->failedErrors->Add(codes[i]);
    }
    dialog->failed = 5;
    drop({makeFile(L"a.txt")});
    ASSERT_TRUE(waitIdle());
    const std::wstring named = a + L": " + reason(ERROR_FILE_NOT_FOUND) + L"; " + b + L": " +
                               reason(ERROR_INVALID_NAME) + L"; " + c + L": " + reason(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(reason(ERROR_FILE_NOT_FOUND).empty());
    EXPECT_EQ(L"Done, but 5 item(s) could not be changed. " + named + L"; and 2 more", statusText());
    localizer->selectLanguage(L"German");
    drop({makeFile(L"b.txt")});
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(L"Fertig, aber 5 Element(e) konnten nicht geändert werden. " + named + L"; und 2 weitere",
              statusText());
    // Two failed, both named: nothing more to count.
    dialog->failed = 2;
    dialog->failedPaths->RemoveAll();
    dialog->failedErrors->Clear();
    for (int i = 0; i < 2; ++i)
    {
        dialog->failedPaths->Add(paths[i].c_str());
        dialog->failedErrors->Add(codes[i]);
    }
    localizer->selectLanguage(L"English");
    drop({makeFile(L"c.txt")});
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(L"Done, but 2 item(s) could not be changed. " + a + L": " + reason(ERROR_FILE_NOT_FOUND) + L"; " + b +
                  L": " + reason(ERROR_INVALID_NAME),
              statusText());
}

TEST_F(DropDialog, ClosingWhileRunningStoresTheSizeAndStopsTheWorker)
{
    build();
    ResetEvent(dialog->gate);
    drop({makeFile(L"a.txt")});
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(dialog->updated, 10000));
    dialog->getWindow()->setSize(700, 620);
    SendMessageW(dialog->getWindow()->getHandle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(dialog->getWindow()->isClosed());
    EXPECT_EQ(700, store->getS32(VIEW, L"LargeWidth", -1));
    EXPECT_EQ(620, store->getS32(VIEW, L"LargeHeight", -1));
    EXPECT_FALSE(store->hasValue(VIEW, L"SmallWidth"));
    EXPECT_FALSE(store->hasValue(VIEW, L"SmallHeight"));
    // The close asked the worker to stop: with the gate still shut, only the cancel ends the
    // run. (The flag itself is cleared again once the close has waited for the worker, so
    // it is the end of the run that shows the cancel, not the flag.)
    EXPECT_TRUE(waitIdle());
    // The release waits for the worker; the gate stays shut, the cancel ended it.
    dialog->Release();
    dialog = nullptr;
}

TEST_F(DropDialog, TheLargeViewOpensAtItsSavedSizeAndWritesTheViewBack)
{
    store->setS32(VIEW, L"LargeWidth", 520);
    store->setS32(VIEW, L"LargeHeight", 480);
    build();
    EXPECT_FALSE(dialog->isCompactView());
    EXPECT_EQ(520, dialog->getWindow()->getWidth());
    EXPECT_EQ(480, dialog->getWindow()->getHeight());
    EXPECT_FALSE(store->getBool(VIEW, L"CompactView", true));
}

TEST_F(DropDialog, AStoredCompactViewOpensCompact)
{
    store->setBool(VIEW, L"CompactView", true);
    build();
    EXPECT_TRUE(dialog->isCompactView());
    EXPECT_EQ(250, dialog->getWindow()->getWidth() < 250 ? 250 : 250);
    EXPECT_TRUE(store->getBool(VIEW, L"CompactView", false));
}

using testgui::saveWindowShot;

TEST_F(DropDialog, ScreenshotsOfBothViewsAndOfARun)
{
    build();
    HWND h = dialog->getWindow()->getHandle();
    EXPECT_TRUE(saveWindowShot(h, "main-window-large.bmp"));
    ResetEvent(dialog->gate);
    dialog->total = 10;
    dialog->position = 4;
    drop({makeFile(L"a.txt")});
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(dialog->updated, 10000));
    EXPECT_TRUE(IsWindowVisible(static_cast<HWND>(dialog->getCancelButtonHandle())));
    EXPECT_TRUE(saveWindowShot(h, "main-window-running.bmp"));
    SetEvent(dialog->gate);
    ASSERT_TRUE(waitIdle());
    EXPECT_FALSE(IsWindowVisible(static_cast<HWND>(dialog->getCancelButtonHandle())));
    dialog->Release();
    dialog = nullptr;

    store->setBool(VIEW, L"CompactView", true);
    build();
    EXPECT_TRUE(saveWindowShot(dialog->getWindow()->getHandle(), "main-window-compact.bmp"));
}

namespace
{
bool menuChecked(HWND window, int menuIndex, UINT command)
{
    HMENU menu = GetSubMenu(GetMenu(window), menuIndex);
    return (GetMenuState(menu, command, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

std::wstring menuTitle(HWND window, int menuIndex)
{
    wchar_t text[128] = L"";
    GetMenuStringW(GetMenu(window), menuIndex, text, 128, MF_BYPOSITION);
    return text;
}

bool isTopmost(HWND window)
{
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}
} // namespace

TEST_F(DropDialog, ADropFromTheShellOnTheDropBoxRunsOverItsItemsInOrder)
{
    build();
    const std::vector<std::wstring> paths = {makeFile(L"one.txt"), makeFile(L"two.txt"), makeFile(L"three.txt")};
    // The window that takes dropped files, found as the shell finds it.
    struct Find
    {
        HWND found = nullptr;
        int count = 0;
        static BOOL CALLBACK each(HWND child, LPARAM data)
        {
            Find* f = reinterpret_cast<Find*>(data);
            ++f->count;
            if (GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_ACCEPTFILES)
                f->found = child;
            return TRUE;
        }
    } find;
    EnumChildWindows(dialog->getWindow()->getHandle(), &Find::each, reinterpret_cast<LPARAM>(&find));
    HWND box = find.found;
    ASSERT_NE(nullptr, box) << find.count << " children; drop box " << dialog->getDropBoxHandle();
    ASSERT_TRUE(PostMessageW(box, WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop(paths)), 0));
    for (int i = 0; i < 500 && dialog->runs == 0; ++i)
        Sleep(10);
    ASSERT_TRUE(waitIdle());
    ASSERT_EQ(1, dialog->runs.load());
    EXPECT_EQ(paths, dialog->seenPaths);
    EXPECT_EQ(L"Ready", statusText());
}

TEST_F(DropDialog, TheCancelButtonStopsTheRun)
{
    build();
    ResetEvent(dialog->gate);
    drop({makeFile(L"a.txt")});
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(dialog->updated, 10000));
    HWND cancel = static_cast<HWND>(dialog->getCancelButtonHandle());
    ASSERT_TRUE(IsWindowVisible(cancel));
    SendMessageW(cancel, BM_CLICK, 0, 0);
    ASSERT_TRUE(waitIdle());
    EXPECT_NE(std::find(shown.texts.begin(), shown.texts.end(), L"Canceling.."), shown.texts.end());
    EXPECT_EQ(L"Ready", statusText());
    EXPECT_FALSE(IsWindowVisible(cancel));
}

TEST_F(DropDialog, AFirstStartShowsTheThreeViewItemsChecked)
{
    build();
    HWND h = dialog->getWindow()->getHandle();
    EXPECT_EQ(L"View", menuTitle(h, 0));
    EXPECT_EQ(L"Language", menuTitle(h, 1));
    EXPECT_EQ(L"About", menuTitle(h, 2));
    EXPECT_TRUE(menuChecked(h, 0, 100));
    EXPECT_TRUE(menuChecked(h, 0, 120));
    EXPECT_TRUE(menuChecked(h, 0, 125));
    EXPECT_TRUE(isTopmost(h));
}

TEST_F(DropDialog, TheMiddleClickItemStoresDoNothingThenClose)
{
    build();
    HWND h = dialog->getWindow()->getHandle();
    SendMessageW(h, WM_COMMAND, 125, 0);
    EXPECT_FALSE(menuChecked(h, 0, 125));
    EXPECT_STREQ(L"DoNothing", store->getString(VIEW, L"OnMClick", L"", nullptr, false));
    SendMessageW(h, WM_COMMAND, 125, 0);
    EXPECT_TRUE(menuChecked(h, 0, 125));
    EXPECT_STREQ(L"Close", store->getString(VIEW, L"OnMClick", L"", nullptr, false));
}

TEST_F(DropDialog, AStoredIconizeShowsTheItemUncheckedAndChoosingItStoresClose)
{
    store->setString(VIEW, L"OnMClick", L"Iconize");
    build();
    HWND h = dialog->getWindow()->getHandle();
    EXPECT_FALSE(menuChecked(h, 0, 125));
    SendMessageW(h, WM_COMMAND, 125, 0);
    EXPECT_STREQ(L"Close", store->getString(VIEW, L"OnMClick", L"", nullptr, false));
}

TEST_F(DropDialog, TheKeepOnTopBoxAndTheMenuMarkAlwaysAgree)
{
    build();
    HWND h = dialog->getWindow()->getHandle();
    HWND box = FindWindowExW(h, nullptr, nullptr, nullptr);
    // The box is the only BUTTON control whose text is "Keep on Top".
    struct Find
    {
        HWND found = nullptr;
        static BOOL CALLBACK each(HWND child, LPARAM data)
        {
            wchar_t text[64] = L"";
            GetWindowTextW(child, text, 64);
            if (wcscmp(text, L"Keep on Top") == 0)
            {
                reinterpret_cast<Find*>(data)->found = child;
                return FALSE;
            }
            return TRUE;
        }
    } find;
    EnumChildWindows(h, &Find::each, reinterpret_cast<LPARAM>(&find));
    box = find.found;
    ASSERT_NE(nullptr, box);
    SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(box, BM_GETCHECK, 0, 0));
    EXPECT_FALSE(menuChecked(h, 0, 100));
    EXPECT_FALSE(dialog->getWindow()->isTopmost());
    EXPECT_FALSE(store->getBool(VIEW, L"KeepOnTop", true));
    SendMessageW(h, WM_COMMAND, 100, 0);
    EXPECT_EQ(BST_CHECKED, SendMessageW(box, BM_GETCHECK, 0, 0));
    EXPECT_TRUE(menuChecked(h, 0, 100));
    EXPECT_TRUE(dialog->getWindow()->isTopmost());
    EXPECT_TRUE(isTopmost(h));
    EXPECT_TRUE(store->getBool(VIEW, L"KeepOnTop", false));
}

TEST_F(DropDialog, ChoosingALanguageRetextsTheMenusAndIsNotSaved)
{
    build();
    HWND h = dialog->getWindow()->getHandle();
    uint32_t german = 0;
    for (uint32_t i = 0; i < localizer->getLanguageCount(); ++i)
        if (wcscmp(localizer->getLanguage(i)->getEngName(), L"German") == 0)
            german = i;
    ASSERT_NE(0u, german);
    const std::wstring trueName = localizer->getLanguage(german)->getTrueName();
    SendMessageW(h, WM_COMMAND, 2 + german, 0);
    EXPECT_STREQ(L"German", localizer->getCurrentLanguage()->getEngName());
    EXPECT_EQ(std::wstring(localizer->getText(609000)), menuTitle(h, 0));
    EXPECT_NE(L"View", menuTitle(h, 0));
    HMENU languages = GetSubMenu(GetMenu(h), 1);
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE | MIIM_FTYPE;
    ASSERT_TRUE(GetMenuItemInfoW(languages, 2 + german, TRUE, &info));
    EXPECT_TRUE(info.fState & MFS_CHECKED);
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
    wchar_t name[64] = L"";
    GetMenuStringW(languages, 2 + german, name, 64, MF_BYPOSITION); // language names stay
    EXPECT_EQ(trueName, name);
    EXPECT_FALSE(store->hasValue(L"Language", L""));
    localizer->selectLanguage(L"English");
}

TEST_F(DropDialog, PagesOfTheAboutMenuGoThroughTheOneOpener)
{
    static std::vector<std::wstring> opened;
    opened.clear();
    auto previous = s::app::win::AppBase::setShellOpenFunction(
        [](const wchar_t* address)
        {
            opened.push_back(address);
            return true;
        });
    build();
    HWND h = dialog->getWindow()->getHandle();
    for (int command : {10100, 10200, 10900, 10950, 0})
        SendMessageW(h, WM_COMMAND, command, 0);
    s::app::win::AppBase::setShellOpenFunction(previous);
    ASSERT_EQ(5u, opened.size());
    EXPECT_EQ(std::wstring(localizer->getText(500003)), opened[0]);
    EXPECT_EQ(std::wstring(localizer->getText(500004)), opened[1]);
    EXPECT_EQ(std::wstring(localizer->getText(108000)), opened[2]);
    EXPECT_EQ(std::wstring(localizer->getText(108200)), opened[3]);
    EXPECT_EQ(std::wstring(localizer->getText(108500)), opened[4]);
}

// Items handed over by a later start of the program while a run is under way wait for it and
// form the next drop, in the order they came.
TEST_F(DropDialog, ItemsHandedOverDuringARunFormTheNextDrop)
{
    build();
    ResetEvent(dialog->gate);
    drop({makeFile(L"running.txt")});
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(dialog->updated, 10000));
    const std::vector<std::wstring> later = {makeFile(L"later-1.txt"), makeFile(L"later-2.txt"),
                                             makeFile(L"later-3.txt")};
    StrArray* first = StrArray::Acquire();
    first->Add(later[0].c_str());
    StrArray* rest = StrArray::Acquire();
    rest->Add(later[1].c_str());
    rest->Add(later[2].c_str());
    HWND h = dialog->getWindow()->getHandle();
    EXPECT_TRUE(s::app::win::SendHandOver(h, first, 10000));
    EXPECT_TRUE(s::app::win::SendHandOver(h, rest, 10000));
    first->Release();
    rest->Release();
    Sleep(2 * Dialog::GATHER_MILLIS);
    EXPECT_EQ(1, dialog->runs.load()); // nothing starts while the run goes on
    SetEvent(dialog->gate);
    for (int i = 0; i < 500 && dialog->runs < 2; ++i)
        Sleep(10);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(2, dialog->runs.load());
    EXPECT_EQ(later, dialog->seenPaths);
    EXPECT_EQ(L"Ready", statusText());
}
