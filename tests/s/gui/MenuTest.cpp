// Menus of a window (menu bar, tray and right-click menus), the message boxes and the
// standard choosers, driven through the window's messages as the platform delivers them.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "GuiTestSupport.h"
#include "s/gui/dialogs/win/FileDialogEx.h"
#include "s/gui/dialogs/win/FileOpener.h"
#include "s/gui/dialogs/win/FolderSelector.h"
#include "s/gui/menuitem/MenuItem.h"
#include "s/gui/win/MenuEx.h"
#include "s/gui/win/MessageBoxW.h"
#include "s/gui/win/Messages.h"
#include "s/gui/win/PopupMenu.h"
#include "s/lang/Localizer.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/xml/Node.h"

using s::gui::IWindow;
using s::gui::menuitem::MenuItem;
using s::gui::win::MenuEx;
using s::gui::win::MessageBoxW;
using s::gui::win::PopupMenu;
using testgui::Recorder;
using testgui::TestWindow;

namespace
{

s::lang::Localizer* menuLanguages()
{
    return testgui::languagePack(L"<pack><languages><entry tagName=\"eng\" engName=\"English\" trueName=\"English\"/>"
                L"<entry tagName=\"deu\" engName=\"German\" trueName=\"Deutsch\"/></languages>"
                L"<entries><entry id=\"609000\"><eng>View</eng><deu>Ansicht</deu></entry>"
                L"<entry id=\"609100\"><eng>Keep on Top</eng><deu>Immer oben</deu></entry>"
                L"<entry id=\"609300\"><eng>Easy Drag</eng><deu>Leicht ziehen</deu></entry></entries></pack>");
}

std::wstring menuText(HMENU menu, UINT position)
{
    wchar_t text[128] = L"";
    GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
    return text;
}

// A menu with one checked item, one radio-marked item and one disabled item.
PopupMenu* sampleMenu()
{
    PopupMenu* menu = PopupMenu::Acquire();
    menu->setTitle(L"View");
    menu->addItem(MenuItem::newTextMenuItem(L"Keep on Top", 100));
    menu->addItem(MenuItem::newTextMenuItem(L"Easy Drag", 120));
    menu->addItem(MenuItem::newSeparator());
    menu->addItem(MenuItem::newTextMenuItem(L"English", 2));
    menu->addItem(MenuItem::newTextMenuItem(L"Deutsch", 3));
    menu->addItem(MenuItem::newSeparator());
    menu->addItem(MenuItem::newTextMenuItem(L"Not now", 130));
    menu->setItemChecked(100, true);
    menu->checkRadioItem(4, 3, 4);
    menu->setItemEnabled(130, false);
    return menu;
}

// The visible platform menu window (class #32768), or null.
HWND openMenuWindow()
{
    HWND found = nullptr;
    for (HWND h = FindWindowExW(nullptr, nullptr, L"#32768", nullptr); h;
         h = FindWindowExW(nullptr, h, L"#32768", nullptr))
    {
        if (IsWindowVisible(h))
            found = h;
    }
    return found;
}

HWND waitForMenu()
{
    for (int i = 0; i < 1000; ++i)
    {
        if (HWND h = openMenuWindow())
            return h;
        Sleep(10);
    }
    return nullptr;
}

void closeMenu(HWND window, HWND menu)
{
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    for (int i = 0; i < 100 && openMenuWindow(); ++i)
        Sleep(10);
    if (openMenuWindow())
        PostMessageW(window, WM_CANCELMODE, 0, 0);
    for (int i = 0; i < 100 && openMenuWindow(); ++i)
        Sleep(10);
}

} // namespace

TEST(Menu, ItemsStatesAndPositions)
{
    PopupMenu* menu = sampleMenu();
    HMENU h = menu->getMenuHandle();
    EXPECT_EQ(7, menu->getItemCount());
    EXPECT_EQ(GetMenuItemCount(h), menu->getItemCount());
    EXPECT_TRUE(menu->isItemChecked(100));
    EXPECT_TRUE(GetMenuState(h, 100, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_FALSE(menu->isItemChecked(120));
    EXPECT_TRUE(menu->isItemRadioMarked(3));
    EXPECT_FALSE(menu->isItemRadioMarked(2));
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    ASSERT_TRUE(GetMenuItemInfoW(h, 4, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
    EXPECT_TRUE(info.fState & MFS_CHECKED);
    EXPECT_FALSE(menu->isItemEnabled(130));
    EXPECT_TRUE(GetMenuState(h, 130, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_EQ(1, menu->indexOfId(120));
    EXPECT_EQ(-1, menu->indexOfId(999));
    menu->checkRadioItemById(2);
    EXPECT_TRUE(menu->isItemRadioMarked(2));
    EXPECT_FALSE(menu->isItemRadioMarked(3));

    PopupMenu* sub = PopupMenu::Acquire();
    sub->setTitle(L"More");
    sub->addItem(MenuItem::newTextMenuItem(L"Deep", 700));
    menu->addSubmenu(sub);
    EXPECT_EQ(8, menu->getItemCount());
    EXPECT_TRUE(menu->containsId(700));
    EXPECT_EQ(L"More", menuText(h, 7));
    menu->setSubmenuEnabled(sub, false);
    EXPECT_TRUE(GetMenuState(h, 7, MF_BYPOSITION) & MF_GRAYED);
    Recorder subCommands;
    sub->addCommandListener(&subCommands);
    menu->runCommand(700); // run by the submenu that holds it
    ASSERT_EQ(1u, subCommands.kinds.size());
    EXPECT_EQ(0, subCommands.kinds[0]);
    EXPECT_EQ(700, sub->getLastCommand());
    menu->Release();
}

TEST(Menu, CommandsOfTheMenuBarTrayAndPopupReachTheirListeners)
{
    TestWindow w;
    MenuEx* bar = MenuEx::Acquire();
    PopupMenu* view = sampleMenu();
    bar->addMenu(view);
    Recorder barCommands, viewCommands;
    bar->addCommandListener(&barCommands);
    view->addCommandListener(&viewCommands);
    w->add(bar);
    testgui::settle(w.handle());
    EXPECT_EQ(bar->getMenuHandle(), GetMenu(w.handle()));
    EXPECT_EQ(static_cast<s::gui::IMenuEx*>(bar), w->getMenuBar());

    PopupMenu* tray = PopupMenu::Acquire();
    tray->addItem(MenuItem::newTextMenuItem(L"Show", 500));
    PopupMenu* popup = PopupMenu::Acquire();
    popup->addItem(MenuItem::newTextMenuItem(L"Show too", 500));
    popup->addItem(MenuItem::newTextMenuItem(L"Other", 600));
    Recorder trayCommands, popupCommands;
    tray->addCommandListener(&trayCommands);
    popup->addCommandListener(&popupCommands);
    w->setTrayMenu(tray);
    w->setPopupMenu(popup);

    // A chosen item arrives as WM_COMMAND (code 0, no control).
    SendMessageW(w.handle(), WM_COMMAND, MAKEWPARAM(120, 0), 0);
    ASSERT_EQ(1u, barCommands.kinds.size());
    EXPECT_EQ(0, barCommands.kinds[0]);
    EXPECT_EQ(120, bar->getLastCommand());
    EXPECT_EQ(120, view->getLastCommand());
    EXPECT_EQ(1u, viewCommands.kinds.size());
    EXPECT_EQ(GetWindowThreadProcessId(w.handle(), nullptr), barCommands.threads[0]);
    // The tray menu is asked before the popup menu; an id nobody holds does nothing.
    SendMessageW(w.handle(), WM_COMMAND, MAKEWPARAM(500, 0), 0);
    SendMessageW(w.handle(), WM_COMMAND, MAKEWPARAM(600, 0), 0);
    SendMessageW(w.handle(), WM_COMMAND, MAKEWPARAM(999, 0), 0);
    EXPECT_EQ(1u, trayCommands.kinds.size());
    EXPECT_EQ(500, tray->getLastCommand());
    EXPECT_EQ(1u, popupCommands.kinds.size());
    EXPECT_EQ(600, popup->getLastCommand());
    EXPECT_EQ(1u, barCommands.kinds.size());

    // Removed from the window, the bar leaves it (and is not destroyed with it).
    w->remove(bar, true);
    EXPECT_EQ(nullptr, GetMenu(w.handle()));
    EXPECT_EQ(nullptr, w->getMenuBar());
    w->setTrayMenu(nullptr);
    w->setPopupMenu(nullptr);
    tray->Release();
    popup->Release();
}

// The window asks its right-click menu to run a chosen command: an item of a submenu
// reaches the submenu's listeners and those of the menu the window asked.
TEST(Menu, ASubmenusCommandReachesTheRightClickMenuTheWindowAsked)
{
    TestWindow w;
    PopupMenu* popup = PopupMenu::Acquire();
    popup->addItem(MenuItem::newTextMenuItem(L"Refresh", 700));
    PopupMenu* skins = PopupMenu::Acquire();
    skins->setTitle(L"Skin");
    skins->addItem(MenuItem::newTextMenuItem(L"White", 710));
    PopupMenu* dark = PopupMenu::Acquire();
    dark->setTitle(L"Dark");
    dark->addItem(MenuItem::newTextMenuItem(L"Black", 720));
    skins->addSubmenu(dark);
    popup->addSubmenu(skins);
    Recorder popupCommands, skinCommands, darkCommands;
    popup->addCommandListener(&popupCommands);
    skins->addCommandListener(&skinCommands);
    dark->addCommandListener(&darkCommands);
    w->setPopupMenu(popup);

    SendMessageW(w.handle(), WM_COMMAND, MAKEWPARAM(710, 0), 0);
    EXPECT_EQ(1u, skinCommands.kinds.size());
    ASSERT_EQ(1u, popupCommands.kinds.size());
    EXPECT_EQ(static_cast<s::gui::IPopupMenu*>(popup), popupCommands.lastSource);
    EXPECT_EQ(710, popup->getLastCommand());
    EXPECT_EQ(GetWindowThreadProcessId(w.handle(), nullptr), popupCommands.threads[0]);

    SendMessageW(w.handle(), WM_COMMAND, MAKEWPARAM(720, 0), 0);
    EXPECT_EQ(1u, darkCommands.kinds.size());
    EXPECT_EQ(2u, skinCommands.kinds.size());
    EXPECT_EQ(2u, popupCommands.kinds.size());
    EXPECT_EQ(720, popup->getLastCommand());
    EXPECT_EQ(720, skins->getLastCommand());

    // The menu's own item stays its own.
    SendMessageW(w.handle(), WM_COMMAND, MAKEWPARAM(700, 0), 0);
    EXPECT_EQ(3u, popupCommands.kinds.size());
    EXPECT_EQ(2u, skinCommands.kinds.size());
    w->setPopupMenu(nullptr);
    popup->Release();
}

TEST(Menu, ALanguageChangeReTextsItemsWithIdsAndLeavesLiteralOnes)
{
    s::lang::Localizer* pack = menuLanguages();
    {
        TestWindow w;
        w->setLocalizer(pack);
        MenuEx* bar = MenuEx::Acquire();
        PopupMenu* view = PopupMenu::Acquire();
        view->setLanguagePack(pack);
        view->setTitleId(609000);
        view->addItem(MenuItem::newMenuItem(609100, pack, 100, true));
        view->addItem(MenuItem::newTextMenuItem(L"Deutsch", 2));
        view->addItem(MenuItem::newMenuItem(609300, pack, 120, false));
        bar->addMenu(view);
        w->add(bar);
        HMENU items = view->getMenuHandle();
        EXPECT_EQ(L"View", menuText(bar->getMenuHandle(), 0));
        EXPECT_EQ(L"Keep on Top", menuText(items, 0));
        pack->selectLanguage(L"German");
        EXPECT_EQ(L"Ansicht", menuText(bar->getMenuHandle(), 0));
        EXPECT_EQ(L"Immer oben", menuText(items, 0));
        EXPECT_EQ(L"Deutsch", menuText(items, 1));
        EXPECT_EQ(L"Leicht ziehen", menuText(items, 2));
        EXPECT_TRUE(view->isItemChecked(100)); // re-texting keeps the marks
        view->setItemText(120, L"Literal now");
        pack->selectLanguage(L"English");
        EXPECT_EQ(L"Literal now", menuText(items, 2));
        EXPECT_EQ(L"Keep on Top", menuText(items, 0));
    }
    EXPECT_EQ(0u, pack->getListenerCount()); // the menus left the pack with the window
    pack->Release();
}

TEST(Menu, ALanguageChangeReachesTheMenusOfABarThroughTheBarAlone)
{
    s::lang::Localizer* pack = menuLanguages();
    {
        TestWindow w;
        w->setLocalizer(pack);
        const uint32_t listenersBefore = pack->getListenerCount();
        MenuEx* bar = MenuEx::Acquire();
        bar->setLanguagePack(pack);
        PopupMenu* view = PopupMenu::Acquire();
        view->setLanguagePack(pack);
        view->setTitleId(609000);
        view->addItem(MenuItem::newMenuItem(609100, pack, 100, false));
        PopupMenu* more = PopupMenu::Acquire();
        more->setLanguagePack(pack);
        more->setTitleId(609300);
        more->addItem(MenuItem::newMenuItem(609100, pack, 110, false));
        view->addSubmenu(more);
        bar->addMenu(view);
        w->add(bar);
        // One listener for the whole bar: a change of language re-texts each menu once,
        // not once for itself and again for every menu that holds it.
        EXPECT_EQ(listenersBefore + 1, pack->getListenerCount());
        pack->selectLanguage(L"German");
        EXPECT_EQ(L"Ansicht", menuText(bar->getMenuHandle(), 0));
        EXPECT_EQ(L"Immer oben", menuText(view->getMenuHandle(), 0));
        EXPECT_EQ(L"Leicht ziehen", menuText(view->getMenuHandle(), 1));
        EXPECT_EQ(L"Immer oben", menuText(more->getMenuHandle(), 0));
        pack->selectLanguage(L"English");
        EXPECT_EQ(L"Easy Drag", menuText(view->getMenuHandle(), 1));
        EXPECT_EQ(L"Keep on Top", menuText(more->getMenuHandle(), 0));
    }
    EXPECT_EQ(0u, pack->getListenerCount()); // the bar left the pack with the window
    pack->Release();
}

TEST(Menu, AMenuOfItsOwnFollowsTheLanguage)
{
    s::lang::Localizer* pack = menuLanguages();
    PopupMenu* menu = PopupMenu::Acquire();
    menu->setLanguagePack(pack);
    menu->addItem(MenuItem::newMenuItem(609300, pack, 120, false));
    EXPECT_EQ(1u, pack->getListenerCount());
    pack->selectLanguage(L"German");
    EXPECT_EQ(L"Leicht ziehen", menuText(menu->getMenuHandle(), 0));
    menu->Release();
    EXPECT_EQ(0u, pack->getListenerCount());
    pack->Release();
}

TEST(Menu, TrayMenuAtTheBottomOfTheScreenOpensUpwards)
{
    TestWindow w;
    PopupMenu* tray = sampleMenu();
    w->setTrayMenu(tray);
    w->setBounds(100, 100, 300, 200);
    w->setVisible(true, false);
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    int y = GetSystemMetrics(SM_CYSCREEN) - 2;
    SetCursorPos(200, y);
    Recorder trayRight;
    w->addListener(IWindow::EVENT_TRAY_RIGHT_DOWN, &trayRight);
    // What the shell sends when the tray icon is right-clicked.
    PostMessageW(w.handle(), s::gui::win::MSG_TRAY_CALLBACK, 0, WM_RBUTTONDOWN);
    HWND menu = waitForMenu();
    ASSERT_NE(nullptr, menu);
    RECT r;
    GetWindowRect(menu, &r);
    EXPECT_LE(r.bottom, y + 1);
    EXPECT_LT(r.top, y - 50);
    closeMenu(w.handle(), menu);
    testgui::settle(w.handle());
    EXPECT_EQ(PopupMenu::TRAY_FLAGS, tray->getLastShowFlags());
    EXPECT_TRUE(PopupMenu::TRAY_FLAGS & TPM_BOTTOMALIGN);
    EXPECT_EQ(1u, trayRight.kinds.size());
    w->setTrayMenu(nullptr);
    tray->Release();
}

TEST(Menu, OpenMenuScreenshot)
{
    TestWindow w;
    w->setTitle(L"Menu");
    MenuEx* bar = MenuEx::Acquire();
    PopupMenu* popup = sampleMenu();
    w->setPopupMenu(popup);
    PopupMenu* view = PopupMenu::Acquire();
    view->setTitle(L"View");
    bar->addMenu(view);
    w->add(bar);
    w->setBounds(100, 100, 360, 280);
    w->setTopmost(true);
    w->setVisible(true, false);
    testgui::settle(w.handle());
    Recorder opening;
    w->addListener(IWindow::EVENT_POPUP_OPENING, &opening);
    SetCursorPos(140, 190);
    PostMessageW(w.handle(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(40, 40));
    HWND menu = waitForMenu();
    ASSERT_NE(nullptr, menu);
    Sleep(400);
    RECT frame, shown;
    GetWindowRect(w.handle(), &frame);
    GetWindowRect(menu, &shown);
    RECT all{std::min(frame.left, shown.left), std::min(frame.top, shown.top), std::max(frame.right, shown.right),
             std::max(frame.bottom, shown.bottom)};
    EXPECT_TRUE(testgui::saveScreen(all, "gui-menu.bmp"));
    closeMenu(w.handle(), menu);
    testgui::settle(w.handle());
    EXPECT_EQ(1u, opening.kinds.size());
    EXPECT_EQ(PopupMenu::SHOW_FLAGS, popup->getLastShowFlags());
    w->setPopupMenu(nullptr);
    popup->Release();
}

TEST(Menu, OwnerDrawnMenusForwardTheirOpeningToTheDrawingWindow)
{
    static std::atomic<int> opened{0};
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT
    {
        if (m == WM_INITMENUPOPUP)
            ++opened;
        return DefWindowProcW(h, m, wp, lp);
    };
    wc.lpszClassName = L"KaironTestMenuDrawer";
    RegisterClassW(&wc);
    HWND drawer = CreateWindowW(L"KaironTestMenuDrawer", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(nullptr, drawer);
    TestWindow w;
    PopupMenu* menu = sampleMenu();
    menu->setDrawingWindow(drawer);
    SendMessageW(w.handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu->getMenuHandle()), 0);
    EXPECT_EQ(1, opened.load());
    PopupMenu* plain = sampleMenu();
    SendMessageW(w.handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(plain->getMenuHandle()), 0);
    EXPECT_EQ(1, opened.load());
    menu->Release();
    plain->Release();
    DestroyWindow(drawer);
}

namespace
{
// Answers every box with the button set here and records the last one asked.
struct ScriptedBoxes
{
    static int& answer()
    {
        static int a = IDOK;
        return a;
    }
    static std::wstring& last()
    {
        static std::wstring l;
        return l;
    }
    static UINT& lastType()
    {
        static UINT t = 0;
        return t;
    }
    static int ask(HWND, const wchar_t* text, const wchar_t* caption, UINT type)
    {
        last() = std::wstring(caption) + L"|" + text;
        lastType() = type;
        return answer();
    }
};
} // namespace

TEST(MessageBoxes, EveryKindGoesThroughTheOneHookWithTheRightButtons)
{
    AfxMessageBoxHook previous = AfxSetMessageBoxHook(&ScriptedBoxes::ask);
    std::wstring app = AfxGetAppName();
    struct Case
    {
        int pressed;
        bool result, answer;
    };
    for (const Case& c : {Case{IDYES, true, true}, Case{IDNO, true, false}, Case{IDCANCEL, false, false}})
    {
        ScriptedBoxes::answer() = c.pressed;
        bool answer = !c.answer;
        EXPECT_EQ(c.result, MessageBoxW::askQuestionOrCancel(L"Save?", &answer));
        if (c.result)
        {
            EXPECT_EQ(c.answer, answer);
        }
        EXPECT_EQ(static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION), ScriptedBoxes::lastType());
        EXPECT_EQ(app + L"|Save?", ScriptedBoxes::last());
    }
    ScriptedBoxes::answer() = IDNO;
    EXPECT_FALSE(MessageBoxW::askQuestion(L"Sure?"));
    EXPECT_EQ(static_cast<UINT>(MB_YESNO | MB_ICONQUESTION), ScriptedBoxes::lastType());
    MessageBoxW::showWarning(L"Careful");
    EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), ScriptedBoxes::lastType());
    MessageBoxW::showError(L"Broken");
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), ScriptedBoxes::lastType());
    MessageBoxW::showMessage(L"Done");
    EXPECT_EQ(static_cast<UINT>(MB_ICONINFORMATION), ScriptedBoxes::lastType());
    EXPECT_EQ(app + L"|Done", ScriptedBoxes::last());
    s::gui::win::Toolkit::showCreationFailed();
    EXPECT_EQ(L"Error!|Window Creation Failed!", ScriptedBoxes::last());
    EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), ScriptedBoxes::lastType());
    AfxSetMessageBoxHook(previous);
}

TEST(Choosers, FolderChoiceOverATopmostWindowLeavesItTopmost)
{
    std::wstring folder = L"C:\\KaironChooserTest";
    CreateDirectoryW(folder.c_str(), nullptr);
    TestWindow w;
    w->setBounds(100, 100, 300, 200);
    w->setVisible(true, false);
    w->setTopmost(true);
    std::atomic<bool> done{false};
    std::atomic<DWORD> chooserThread{0};
    std::atomic<bool> topmostDuring{true};
    bool chosen = false;
    s::gui::dialogs::win::FolderSelector selector;
    std::thread t(
        [&]
        {
            CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            chooserThread = GetCurrentThreadId();
            chosen = selector.select(w.window, folder.c_str(), nullptr);
            CoUninitialize();
            done = true;
        });
    // A person would press OK on the chooser, which opened on the initial folder.
    HWND dialog = nullptr;
    // The first chooser of a process loads the shell: generous under load.
    for (int i = 0; i < 6000 && !dialog && !done; ++i)
    {
        Sleep(10);
        EnumThreadWindows(
            chooserThread,
            [](HWND h, LPARAM out) -> BOOL
            {
                wchar_t cls[16];
                GetClassNameW(h, cls, 16);
                if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(h))
                {
                    *reinterpret_cast<HWND*>(out) = h;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&dialog));
    }
    if (!dialog)
    {
        t.detach(); // a chooser that never showed cannot be closed
        FAIL() << "no folder chooser appeared";
    }
    Sleep(300);
    topmostDuring = w->isTopmost();
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    t.join();
    EXPECT_FALSE(topmostDuring.load());
    EXPECT_TRUE(chosen);
    EXPECT_EQ(0, lstrcmpiW(folder.c_str(), selector.getPath())) << selector.getPath();
    EXPECT_TRUE(w->isTopmost());
    EXPECT_TRUE(GetWindowLongPtrW(w.handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    RemoveDirectoryW(folder.c_str());
}

TEST(Choosers, FileDialogAnswersSplitIntoFullPaths)
{
    using s::gui::dialogs::win::FileDialogEx;
    struct Case
    {
        std::wstring answer; // with its zeros
        std::vector<std::wstring> paths;
    };
    const Case cases[] = {
        {std::wstring(L"C:\\data\\one.txt\0\0", 17), {L"C:\\data\\one.txt"}},
        {std::wstring(L"C:\\data\0a.txt\0b c.txt\0\0", 24), {L"C:\\data\\a.txt", L"C:\\data\\b c.txt"}},
        {std::wstring(L"C:\\\0x\0\0", 7), {L"C:\\x"}},
    };
    for (const Case& c : cases)
    {
        s::str::strarray::StrArray* out = s::str::strarray::StrArray::Acquire();
        FileDialogEx::splitSelection(c.answer.data(), c.answer.size(), out);
        ASSERT_EQ(c.paths.size(), out->Count());
        for (size_t i = 0; i < c.paths.size(); ++i)
            EXPECT_STREQ(c.paths[i].c_str(), out->Get(static_cast<uint32_t>(i))->CStr());
        out->Release();
    }
}

TEST(Choosers, FileOpenerReturnsEveryChosenFileWhole)
{
    wchar_t folder[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, folder);
    std::wstring base = folder;
    if (base.back() != L'\\')
        base += L'\\';
    const std::wstring names[] = {L"kairon open a.txt", L"kairon_open_b.txt"};
    for (const std::wstring& name : names)
    {
        HANDLE h = CreateFileW((base + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        CloseHandle(h);
    }
    std::atomic<DWORD> openerThread{0};
    std::atomic<bool> done{false};
    s::str::strarray::StrArray* chosen = nullptr;
    std::thread t(
        [&]
        {
            CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            openerThread = GetCurrentThreadId();
            s::gui::dialogs::win::FileOpener opener;
            chosen = opener.open(nullptr);
            CoUninitialize();
            done = true;
        });
    HWND dialog = nullptr;
    for (int i = 0; i < 6000 && !dialog && !done; ++i)
    {
        Sleep(10);
        EnumThreadWindows(
            openerThread,
            [](HWND h, LPARAM out) -> BOOL
            {
                wchar_t cls[16];
                GetClassNameW(h, cls, 16);
                if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(h))
                {
                    *reinterpret_cast<HWND*>(out) = h;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&dialog));
    }
    if (!dialog)
    {
        t.detach(); // a dialog that never showed cannot be closed
        FAIL() << "no file dialog appeared";
    }
    Sleep(300);
    // A person types both names, quoted, into the file name box and presses Open.
    std::wstring typed = L"\"" + names[0] + L"\" \"" + names[1] + L"\"";
    HWND nameBox = GetDlgItem(dialog, 0x47C); // cmb13
    if (!nameBox)
        nameBox = GetDlgItem(dialog, 0x480); // edt1
    ASSERT_NE(nullptr, nameBox);
    SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    for (int i = 0; i < 1000 && !done; ++i)
        Sleep(10);
    if (!done)
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    t.join();
    ASSERT_NE(nullptr, chosen);
    ASSERT_EQ(2u, chosen->Count());
    for (uint32_t i = 0; i < 2; ++i)
        EXPECT_EQ(0, lstrcmpiW((base + names[i]).c_str(), chosen->Get(i)->CStr())) << chosen->Get(i)->CStr();
    chosen->Release();
    for (const std::wstring& name : names)
        DeleteFileW((base + name).c_str());
}
