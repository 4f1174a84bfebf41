// The file-time dialog makes only the chosen action's panel with its window and the others
// when first chosen: the saved settings, every action and the keyboard order must not depend
// on which panels were ever made (fixture in DialogTestSupport.h).
#include <algorithm>

#include "DialogTestSupport.h"
#include "s/gui/win/Box.h"

namespace
{
constexpr const wchar_t* ACTION_NAMES[3] = {L"View & Copy", L"View & Edit",
                                            L"Change Multiple File(s) / Folder(s) at Once"};

// The settings below `key` (see dumpKey) without the window's sizes, which follow the
// panels shown (a panel may need more room).
std::vector<std::wstring> settingsBelow(const std::wstring& key)
{
    std::vector<std::wstring> lines, kept;
    dumpKey(HKEY_CURRENT_USER, key, &lines);
    const std::wstring view = L"[" + key + L"\\" + MAIN_VIEW + L"]";
    bool inView = false;
    for (const std::wstring& line : lines)
    {
        if (!line.empty() && line[0] == L'[')
            inView = line == view;
        bool size = false;
        for (const wchar_t* name : {L"Width=", L"Height=", L"LargeWidth=", L"LargeHeight=", L"SmallWidth=", L"SmallHeight="})
            size = size || (inView && line.rfind(name, 0) == 0);
        if (!size)
            kept.push_back(line);
    }
    return kept;
}

// The enabled, visible tab stops inside `panel` in the windows' order.
std::vector<HWND> tabStops(HWND panel)
{
    std::vector<HWND> stops;
    EnumChildWindows(
        panel,
        [](HWND h, LPARAM data) -> BOOL
        {
            if ((GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(h) && IsWindowEnabled(h))
                reinterpret_cast<std::vector<HWND>*>(data)->push_back(h);
            return TRUE;
        },
        LPARAM(&stops));
    return stops;
}

// A tab stop as "kind:text": buttons by their text; fields and lists by their kind (their
// content is the time). A combo box counts as one kind, its stand-in or its control.
std::wstring describe(HWND h)
{
    wchar_t className[64] = L"", text[128] = L"";
    GetClassNameW(h, className, 64);
    std::wstring kind = className;
    if (lstrcmpiW(className, L"Button") == 0)
        GetWindowTextW(h, text, 128);
    else if (lstrcmpiW(className, L"ComboBox") == 0 || lstrcmpiW(className, L"PellamWindowClass") == 0)
        kind = L"combo";
    return kind + L":" + text;
}

// The enabled, visible tab stops inside `panel` in the order Tab visits them (the windows'
// order), as describe gives them.
std::vector<std::wstring> tabWalk(HWND panel)
{
    std::vector<std::wstring> walk;
    for (HWND h : tabStops(panel))
        walk.push_back(describe(h));
    return walk;
}

HWND panelOf(Dialog* dialog, int action)
{
    switch (action)
    {
    case 0:
        return dialog->getCopyPanel().panel->getHandle();
    case 1:
        return dialog->getEditPanel().panel->getHandle();
    default:
        return dialog->getMultiplePanel().panel->getHandle();
    }
}
} // namespace

TEST_F(FileTimeDialog, OnlyTheSavedActionsPanelIsMadeWithTheWindow)
{
    for (int action = 0; action < 3; ++action)
    {
        store->removeSection(L"");
        store->setString(MAIN_VIEW, L"ConvertTo", ACTION_NAMES[action]);
        build();
        for (int other = 0; other < 3; ++other)
            EXPECT_EQ(other == action, dialog->isPanelMade(other)) << action << " " << other;
        EXPECT_TRUE(IsWindowVisible(panelOf(dialog, action))) << action;
        // Chosen once, a panel is made and kept; the one left is hidden, not unmade.
        const int other = (action + 1) % 3;
        chooseAction(other);
        EXPECT_TRUE(dialog->isPanelMade(other));
        EXPECT_TRUE(IsWindowVisible(panelOf(dialog, other))) << action;
        EXPECT_FALSE(IsWindowVisible(panelOf(dialog, action))) << action;
        HWND made = panelOf(dialog, other);
        chooseAction(action);
        chooseAction(other);
        EXPECT_EQ(made, panelOf(dialog, other));
        close();
    }
}

TEST_F(FileTimeDialog, SavedSettingsAreTheSameWhicheverPanelsWereShown)
{
    // Values the panels write back in their own form (unknown, out of range or missing).
    auto seed = [&](int action)
    {
        store->removeSection(L"");
        store->setString(MAIN_VIEW, L"ConvertTo", ACTION_NAMES[action]);
        store->setS32(EDIT, L"OffsetDigit", 150);
        store->setString(EDIT, L"OffsetUnit", L"Weeks");
        store->setString(EDIT, L"TimeZoneFrom", L"Nowhere Standard Time");
        store->setBool(EDIT, L"Modified", false);
        store->setString(MULTI, L"Mode", L"Offset");
        store->setString(MULTI, L"SyncMode", L"Sideways");
        store->setS32(MULTI, L"OffsetDigit", 7);
        store->setBool(MULTI, L"ApplyTo_HiddenFiles", false);
    };
    const std::wstring key = std::wstring(STORE_PATH) + L"\\" + std::to_wstring(GetCurrentProcessId());
    for (int action = 0; action < 3; ++action)
    {
        std::vector<std::wstring> written[2];
        for (int showAll = 0; showAll < 2; ++showAll)
        {
            seed(action);
            build();
            if (showAll)
            {
                for (int other = 0; other < 3; ++other)
                    chooseAction(other);
                chooseAction(action);
            }
            close();
            written[showAll] = settingsBelow(key);
        }
        EXPECT_EQ(written[0], written[1]) << "saved action " << action;
        // The panels' own sections are written either way.
        for (const wchar_t* value : {L"OffsetUnit=", L"Mode="})
        {
            EXPECT_TRUE(std::any_of(written[0].begin(), written[0].end(),
                                    [&](const std::wstring& line) { return line.rfind(value, 0) == 0; }))
                << action;
        }
    }
}

TEST_F(FileTimeDialog, EveryActionWorksAfterAColdStartWithEachSavedAction)
{
    const std::wstring file = makeFile(L"cold.txt", 3);
    for (int saved = 0; saved < 3; ++saved)
    {
        for (int action = 0; action < 3; ++action)
        {
            store->removeSection(L"");
            store->setString(MAIN_VIEW, L"ConvertTo", ACTION_NAMES[saved]);
            setTimes(file, Utc(2003, 3, 3, 3, 3, 3), Utc(2004, 4, 4, 4, 4, 4));
            build();
            EXPECT_EQ(saved, selection(dialog->getActionChooser()));
            if (action != saved)
                chooseAction(action);
            ASSERT_TRUE(dialog->isPanelMade(action));
            EXPECT_TRUE(IsWindowVisible(panelOf(dialog, action))) << saved << " " << action;
            if (action == 2)
            {
                click(multi().methods[METHOD_SYNC]);
                click(multi().sync[SYNC_MODIFIED]);
            }
            drop({file});
            if (action == 0)
            {
                EXPECT_EQ(L"cold.txt", textOf(hwnd(copy().name))) << saved;
            }
            else if (action == 1)
            {
                EXPECT_EQ(L"cold.txt", textOf(hwnd(edit().name))) << saved;
                EXPECT_TRUE(enabled(edit().cancel)) << saved;
            }
            else
            {
                EXPECT_EQ(Utc(2003, 3, 3, 3, 3, 3), timesOf(file).accessed) << saved;
            }
            close();
        }
    }
}

TEST_F(FileTimeDialog, AnItemDroppedBeforeAPanelIsMadeShowsInItWhenItIsChosen)
{
    const std::wstring file = makeFile(L"early.txt", 3);
    for (int saved = 0; saved < 2; ++saved)
    {
        store->removeSection(L"");
        store->setString(MAIN_VIEW, L"ConvertTo", ACTION_NAMES[saved]);
        build();
        drop({file});
        const int other = 1 - saved;
        chooseAction(other);
        HWND name = hwnd(other == 0 ? dialog->getCopyPanel().name : dialog->getEditPanel().name);
        EXPECT_EQ(L"early.txt", textOf(name)) << saved;
        close();
    }
}

// Keys reach the active window only: in an entry of its own (tests.cmake), as windows of test
// programs running alongside would take the activation between the presses.
class FileTimeDialogForegroundEnv : public FileTimeDialog
{
};

TEST_F(FileTimeDialogForegroundEnv, TabVisitsTheShownPanelsControlsInTheSameOrderWhenTheyAreMadeLater)
{
    for (int action = 0; action < 3; ++action)
    {
        // Made with the window.
        store->removeSection(L"");
        store->setString(MAIN_VIEW, L"ConvertTo", ACTION_NAMES[action]);
        build();
        const std::vector<std::wstring> cold = tabWalk(panelOf(dialog, action));
        // Before a drop the View panels offer little to operate; Change Multiple offers much.
        EXPECT_GE(cold.size(), action == 2 ? 10u : 1u) << action;
        close();
        // Made when chosen later.
        store->removeSection(L"");
        store->setString(MAIN_VIEW, L"ConvertTo", ACTION_NAMES[(action + 1) % 3]);
        build();
        chooseAction(action);
        const std::vector<std::wstring> later = tabWalk(panelOf(dialog, action));
        EXPECT_EQ(cold, later) << action;
        // The keyboard starts at the action chooser; pressing Tab visits the panel's stops in
        // that order (a combo box's stand-in hands the focus to its control, made then);
        // Shift+Tab goes back.
        const DWORD ui = GetWindowThreadProcessId(window(), nullptr);
        AttachThreadInput(GetCurrentThreadId(), ui, TRUE);
        // Keys go to the active window only, and test programs beside this one show and
        // activate windows of their own on the same display: before the check and before
        // each press the window is made the active one again (it gives the focus back to
        // where it was, as a user who comes back finds it).
        const auto toFront = [&]
        {
            const auto ready = [&] { return GetForegroundWindow() == window() && GetFocus() != nullptr; };
            if (!ready())
                SetForegroundWindow(window());
            for (int waited = 0; waited < 2000 && !ready(); waited += 10)
                Sleep(10);
            testgui::settle(window());
        };
        toFront();
        EXPECT_EQ(hwnd(dialog->getActionChooser()), GetFocus()) << action;
        const auto press = [&](bool back)
        {
            toFront();
            BYTE keys[256] = {};
            GetKeyboardState(keys);
            keys[VK_SHIFT] = back ? 0x80 : 0;
            SetKeyboardState(keys);
            HWND from = GetFocus();
            // To the window, whose thread moves the focus from where it is (a stand-in that
            // handed the focus to its control goes soon, and a key posted to it with it).
            PostMessageW(window(), WM_KEYDOWN, VK_TAB, 0);
            // Until the focus has settled in a shown window elsewhere: while a stand-in hands
            // it to the control it makes, it passes through no window for a moment, and a
            // stand-in (a toolkit window) that has it is about to hand it on: the focus rests
            // only on the control (read while it rests on the stand-in, the control taking it
            // would pass for the next stop).
            const auto settled = [&]
            {
                HWND f = GetFocus();
                wchar_t className[64] = L"";
                if (f != nullptr)
                    GetClassNameW(f, className, 64);
                return f != nullptr && f != from && IsWindowVisible(f) &&
                       lstrcmpiW(className, s::gui::win::Toolkit::CLASS_NAME) != 0;
            };
            for (int waited = 0; waited < 2000 && !settled(); waited += 10)
                Sleep(10);
            testgui::settle(window());
            for (int waited = 0; waited < 2000 && !settled(); waited += 10)
                Sleep(10);
            keys[VK_SHIFT] = 0;
            SetKeyboardState(keys);
        };
        std::vector<std::wstring> pressed;
        for (size_t i = 0; i < later.size(); ++i)
        {
            press(false);
            pressed.push_back(describe(GetFocus()));
        }
        EXPECT_EQ(later, pressed) << action;
        if (later.size() > 1)
        {
            press(true);
            EXPECT_EQ(later[later.size() - 2], describe(GetFocus())) << action;
        }
        AttachThreadInput(GetCurrentThreadId(), ui, FALSE);
        close();
    }
}

namespace
{
// The window's outer size and the picture of a panel as the display shows it.
struct Shot
{
    int width = 0, height = 0;
    BITMAPINFOHEADER header{};
    std::vector<unsigned char> panel;
};
} // namespace

TEST_F(FileTimeDialog, APanelChosenLaterGrowsTheWindowAndLooksAsWhenMadeWithIt)
{
    const std::wstring file = makeFile(L"looks.txt", 4321);
    setTimes(file, Utc(2011, 1, 11, 11, 11, 11), Utc(2012, 2, 12, 12, 12, 12));
    auto start = [&](int action)
    {
        store->removeSection(L"");
        store->setString(MAIN_VIEW, L"ConvertTo", ACTION_NAMES[action]);
        build();
    };
    auto size = [&](Shot* shot)
    {
        RECT r;
        GetWindowRect(window(), &r);
        shot->width = r.right - r.left;
        shot->height = r.bottom - r.top;
    };
    // The panel of `action` with the same content whichever way it was reached, written to
    // the build folder too.
    auto shoot = [&](int action, const std::string& name, Shot* shot)
    {
        if (action == 2)
            setShown(multi().specific, 2020, 2, 20, 20, 20, 20);
        else
            drop({file});
        // Above the windows of other programs (tests run side by side on one display).
        SetWindowPos(window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(window());
        RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        testgui::settle(window());
        Sleep(300);
        RECT r;
        GetWindowRect(panelOf(dialog, action), &r);
        EXPECT_TRUE(testgui::waitUncovered(window(), r)) << name << ": another window stays above the panel";
        testgui::grabScreen(r, &shot->header, &shot->panel);
        testgui::writeBmp24(name.c_str(), shot->header, shot->panel.data());
        RECT w;
        GetWindowRect(window(), &w);
        testgui::saveScreen(w, ("window-" + name).c_str());
    };
    Shot atStart[3];
    for (int action = 0; action < 3; ++action)
    {
        start(action);
        size(&atStart[action]);
        close();
    }
    for (int target = 0; target < 3; ++target)
    {
        for (int first = 0; first < 3; ++first)
        {
            if (first == target)
                continue;
            const std::string pair = std::to_string(first) + "-to-" + std::to_string(target);
            // A window of a test running beside this one may still show on the screen for a
            // moment without being found above this one (a window whose thread hangs on
            // purpose): pictures that differ are taken once more, twice at most.
            for (int attempt = 0; attempt < 3; ++attempt)
            {
                start(first);
                chooseAction(target);
                Shot later;
                size(&later);
                shoot(target, "panels-switched-" + pair + ".bmp", &later);
                close();

                // The same panel made with the window, in a window of the same size.
                start(target);
                SetWindowPos(window(), nullptr, 0, 0, later.width, later.height,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                testgui::settle(window());
                Shot cold;
                shoot(target, "panels-at-start-" + pair + ".bmp", &cold);
                close();
                if (cold.panel != later.panel && attempt < 2)
                {
                    Sleep(1000);
                    continue;
                }
                // As large as the window made for both panels at a start would be.
                EXPECT_EQ(std::max(atStart[first].width, atStart[target].width), later.width) << pair;
                EXPECT_EQ(std::max(atStart[first].height, atStart[target].height), later.height) << pair;
                EXPECT_EQ(cold.header.biWidth, later.header.biWidth) << pair;
                EXPECT_EQ(cold.header.biHeight, later.header.biHeight) << pair;
                EXPECT_TRUE(cold.panel == later.panel) << pair << ": the panels differ (see the pictures)";
                break;
            }
        }
    }
}
