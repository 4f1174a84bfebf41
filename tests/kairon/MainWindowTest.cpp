// The real program's main window as a user meets it: where it opens, how its views and a
// change of language lay it out, dragging it by its surface, the version window's middle
// click and "Keep on Top". Each test starts Kairon.exe with its settings seeded in a key of
// its own, drives it with real input and messages from this process, and looks at the
// native windows. Screenshots go into the build folder (main-*.bmp).
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "kairon/ProgramRun.h"
#include "s/gui/WindowShot.h"
#include "s/lang/LangPack.h"
#include "s/lang/Localizer.h"
#include "s/reg/MappedData.h"

using testkairon::Program;

namespace
{

constexpr wchar_t TEST_KEY[] = L"Software\\KaironTests\\MainWindow";
constexpr wchar_t VIEW[] = L"MainWindow\\View";
constexpr int CMD_FIRST_LANGUAGE = 2;
constexpr int CMD_KEEP_ON_TOP = 100;
constexpr int CMD_VERSION_INFORMATION = 10000;

// The program's own language pack (embedded in this test program as in the program).
s::lang::Localizer* programPack()
{
    static s::lang::Localizer* pack = []
    {
        s::lang::Localizer* p = s::lang::Localizer::loadFromResource(nullptr);
        p->selectLanguage(L"English");
        return p;
    }();
    return pack;
}

int languageIndex(const wchar_t* englishName)
{
    s::lang::Localizer* pack = programPack();
    for (uint32_t i = 0; i < pack->getLanguageCount(); ++i)
    {
        if (lstrcmpiW(pack->getLanguage(i)->getEngName(), englishName) == 0)
            return static_cast<int>(i);
    }
    return -1;
}

class MainWindow : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, TEST_KEY);
        store_ = s::reg::openRegistryStore((std::wstring(TEST_KEY) + L"\\SaveData").c_str());
        // The program's own version: the start keeps the settings seeded here.
        store_->setString(L"Version", L"", programPack()->getText(500010));
    }
    void TearDown() override
    {
        store_->Release();
        RegDeleteTreeW(HKEY_CURRENT_USER, TEST_KEY);
    }
    // Writes what was seeded, for the program to read at its start.
    void seeded() { store_->flush(); }

    s::reg::MappedData* store_ = nullptr;
};

RECT rectOf(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return r;
}

RECT workAreaOf(HWND window)
{
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

std::string describe(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " - " + std::to_string(r.right) + "," +
           std::to_string(r.bottom);
}

std::string narrow(const std::wstring& text)
{
    char out[512] = "";
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out, sizeof(out), nullptr, nullptr);
    return out;
}

// A screenshot of the window as the display shows it, name.bmp in the build folder.
void saveShot(HWND window, const std::string& name)
{
    const std::string bmp = name + ".bmp";
    EXPECT_TRUE(testgui::saveWindowShot(window, bmp.c_str()));
}

// A native child window as the user sees it: where it lies in the top window's client
// area, whether it is shown, and its class and text.
struct Piece
{
    RECT rect;
    bool visible;
    std::wstring text;
    bool operator==(const Piece& o) const
    {
        return EqualRect(&rect, &o.rect) && visible == o.visible;
    }
};

void collect(HWND top, HWND parent, std::vector<Piece>* pieces)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        Piece piece{rectOf(child), IsWindowVisible(child) != FALSE, L""};
        MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&piece.rect), 2);
        wchar_t text[128] = L"";
        GetWindowTextW(child, text, 128);
        piece.text = text;
        pieces->push_back(piece);
        collect(top, child, pieces);
    }
}

std::vector<Piece> layoutOf(HWND top)
{
    std::vector<Piece> pieces;
    collect(top, top, &pieces);
    return pieces;
}

// The first descendant of `parent` for which `test` holds.
template <class Test> HWND findChild(HWND parent, Test test)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        if (test(child))
            return child;
        if (HWND found = findChild(child, test))
            return found;
    }
    return nullptr;
}

// The drop box: the one part of the window that takes dropped files.
HWND dropBoxOf(HWND top)
{
    return findChild(top, [](HWND h) { return (GetWindowLongW(h, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; });
}

HWND childWithText(HWND top, const wchar_t* text)
{
    return findChild(top,
                     [text](HWND h)
                     {
                         wchar_t t[128] = L"";
                         GetWindowTextW(h, t, 128);
                         return lstrcmpW(t, text) == 0;
                     });
}

// Real pointer input, as the mouse gives it.
void pointerTo(int x, int y)
{
    // The display's pointer too: Wine's move loop reads where the display has it.
    SetCursorPos(x, y);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(in));
    Sleep(30);
}

void button(DWORD flags)
{
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof(in));
    Sleep(60);
}

// Presses the left button at (x, y), moves the pointer by (dx, dy) in steps and releases it.
void dragBy(int x, int y, int dx, int dy)
{
    pointerTo(x, y);
    button(MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 8; ++step)
    {
        pointerTo(x + dx * step / 8, y + dy * step / 8);
        Sleep(30);
    }
    button(MOUSEEVENTF_LEFTUP);
    Sleep(200);
}

// Whether any of `window` can be seen: it is shown, and some of it lies inside every window
// that holds it (a part collapsed to nothing shows nothing of its content).
bool isSeen(HWND window)
{
    if (!window || !IsWindowVisible(window))
        return false;
    RECT seen = rectOf(window);
    for (HWND holder = GetParent(window); holder; holder = GetParent(holder))
    {
        const RECT r = rectOf(holder);
        if (!IntersectRect(&seen, &seen, &r))
            return false;
        if (!(GetWindowLongW(holder, GWL_STYLE) & WS_CHILD))
            break;
    }
    return !IsRectEmpty(&seen);
}

// A menu command as the menu sends it, waiting until the program has run it.
void command(HWND window, int id)
{
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, WM_COMMAND, static_cast<WPARAM>(id), 0, SMTO_BLOCK, 10000, &ignored);
}

bool isTopmost(HWND window)
{
    return (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

} // namespace

// A position saved on a monitor that is gone, or a window larger than the screen: the
// window opens wholly inside the work area of the nearest monitor.
TEST_F(MainWindow, OpensWhollyOnTheNearestScreenWhateverWasSaved)
{
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    struct Case
    {
        int x, y, width, height;
        const char* shot;
    } cases[] = {
        {-3000, -3000, 640, 600, "main-off-screen"},
        {screenW + 500, 40, 640, 600, "main-right-of-screen"},
        {-200, screenH - 100, screenW + 400, screenH + 300, "main-larger-than-screen"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.shot);
        store_->setS32(VIEW, L"X", c.x);
        store_->setS32(VIEW, L"Y", c.y);
        store_->setS32(VIEW, L"Width", c.width);
        store_->setS32(VIEW, L"Height", c.height);
        store_->setS32(VIEW, L"LargeWidth", c.width);
        store_->setS32(VIEW, L"LargeHeight", c.height);
        seeded();
        Program program(TEST_KEY);
        ASSERT_NE(nullptr, program.window());
        program.settle();
        const RECT r = rectOf(program.window()), work = workAreaOf(program.window());
        EXPECT_GE(r.left, work.left) << describe(r) << " in " << describe(work);
        EXPECT_GE(r.top, work.top) << describe(r) << " in " << describe(work);
        EXPECT_LE(r.right, work.right) << describe(r) << " in " << describe(work);
        EXPECT_LE(r.bottom, work.bottom) << describe(r) << " in " << describe(work);
        saveShot(program.window(), c.shot);
        EXPECT_TRUE(program.close());
    }
}

// "Keep on Top" in the platform's own terms: the window's WS_EX_TOPMOST, at the start and
// after the View menu's command and the check box.
TEST_F(MainWindow, KeepOnTopOffLeavesTheWindowNotTopmost)
{
    store_->setBool(VIEW, L"KeepOnTop", false);
    seeded();
    {
        Program program(TEST_KEY);
        ASSERT_NE(nullptr, program.window());
        program.settle();
        EXPECT_FALSE(isTopmost(program.window())) << "stored off, opened topmost";
        command(program.window(), CMD_KEEP_ON_TOP);
        EXPECT_TRUE(isTopmost(program.window()));
        command(program.window(), CMD_KEEP_ON_TOP);
        EXPECT_FALSE(isTopmost(program.window())) << "switched off in the menu, still topmost";
        EXPECT_TRUE(program.close());
    }
    EXPECT_FALSE(store_->getBool(VIEW, L"KeepOnTop", true));

    store_->setBool(VIEW, L"KeepOnTop", true);
    seeded();
    Program program(TEST_KEY);
    ASSERT_NE(nullptr, program.window());
    program.settle();
    EXPECT_TRUE(isTopmost(program.window()));
    HWND box = childWithText(program.window(), programPack()->getText(1000000));
    ASSERT_NE(nullptr, box);
    SendMessageW(box, BM_CLICK, 0, 0);
    program.settle();
    EXPECT_FALSE(isTopmost(program.window())) << "unticked in the box, still topmost";
    SendMessageW(box, BM_CLICK, 0, 0);
    program.settle();
    EXPECT_TRUE(isTopmost(program.window()));
    EXPECT_TRUE(program.close());
}

// With "Easy Drag" on, the window moves when dragged by any part of its surface that is not
// a control: the drop box, the empty column under it, the band beside the status text.
TEST_F(MainWindow, EasyDragMovesTheWindowFromItsSurfaceAndOnlyWhenOn)
{
    for (bool easyDrag : {true, false})
    {
        SCOPED_TRACE(easyDrag ? "Easy Drag on" : "Easy Drag off");
        store_->setBool(VIEW, L"EasyDrag", easyDrag);
        store_->setS32(VIEW, L"X", 100);
        store_->setS32(VIEW, L"Y", 50);
        store_->setS32(VIEW, L"LargeWidth", 640);
        store_->setS32(VIEW, L"LargeHeight", 600);
        seeded();
        Program program(TEST_KEY);
        ASSERT_NE(nullptr, program.window());
        program.settle();
        HWND top = program.window();
        HWND drop = dropBoxOf(top);
        ASSERT_NE(nullptr, drop);
        const RECT d = rectOf(drop);
        struct Where
        {
            const char* name;
            int x, y;
        } places[] = {
            {"the drop box", (d.left + d.right) / 2, (d.top + d.bottom) / 2},
            {"under the drop box", (d.left + d.right) / 2, d.bottom + 60},
        };
        for (const Where& at : places)
        {
            SCOPED_TRACE(at.name);
            const RECT before = rectOf(top);
            // Relative to the window, so that the press lands where named after earlier moves.
            const RECT now = rectOf(drop);
            dragBy(at.x + (now.left - d.left), at.y + (now.top - d.top), 40, 30);
            program.settle();
            const RECT after = rectOf(top);
            if (easyDrag)
            {
                EXPECT_EQ(before.left + 40, after.left);
                EXPECT_EQ(before.top + 30, after.top);
            }
            else
            {
                EXPECT_EQ(before.left, after.left);
                EXPECT_EQ(before.top, after.top);
            }
        }
        EXPECT_TRUE(program.close());
    }
}

// A click on a control still works with "Easy Drag" on: the "Keep on Top" box toggles and the
// window stays where it is.
TEST_F(MainWindow, EasyDragLeavesControlsTheirClicks)
{
    store_->setBool(VIEW, L"EasyDrag", true);
    store_->setBool(VIEW, L"KeepOnTop", true);
    seeded();
    Program program(TEST_KEY);
    ASSERT_NE(nullptr, program.window());
    program.settle();
    HWND box = childWithText(program.window(), programPack()->getText(1000000));
    ASSERT_NE(nullptr, box);
    const RECT before = rectOf(program.window());
    const RECT b = rectOf(box);
    pointerTo(b.left + 6, (b.top + b.bottom) / 2);
    button(MOUSEEVENTF_LEFTDOWN);
    button(MOUSEEVENTF_LEFTUP);
    program.settle();
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(box, BM_GETCHECK, 0, 0));
    EXPECT_FALSE(isTopmost(program.window()));
    const RECT after = rectOf(program.window());
    EXPECT_TRUE(EqualRect(&before, &after));
    EXPECT_TRUE(program.close());
}

// The version window closes on a middle click on its content (its middle-click action is
// "Close"), and the main window is usable again.
TEST_F(MainWindow, AMiddleClickClosesTheVersionWindow)
{
    seeded();
    Program program(TEST_KEY);
    ASSERT_NE(nullptr, program.window());
    program.settle();
    PostMessageW(program.window(), WM_COMMAND, CMD_VERSION_INFORMATION, 0);
    HWND about = nullptr;
    for (int i = 0; i < 200 && about == nullptr; ++i)
    {
        for (HWND w : testkairon::windowsOf(program.processId()))
        {
            if (w != program.window())
                about = w;
        }
        Sleep(50);
    }
    ASSERT_NE(nullptr, about);
    // Shown in full once its owner is disabled and its own thread answers.
    for (int i = 0; i < 200 && IsWindowEnabled(program.window()); ++i)
        Sleep(20);
    SendMessageTimeoutW(about, WM_NULL, 0, 0, SMTO_BLOCK, 5000, nullptr);
    Sleep(200);
    EXPECT_FALSE(IsWindowEnabled(program.window()));
    const RECT r = rectOf(about);
    // The middle of the white panel: the picture and the texts, no control.
    pointerTo((r.left + r.right) / 2, r.top + (r.bottom - r.top) / 3);
    button(MOUSEEVENTF_MIDDLEDOWN);
    button(MOUSEEVENTF_MIDDLEUP);
    for (int i = 0; i < 100 && IsWindowVisible(about); ++i)
        Sleep(20);
    EXPECT_FALSE(IsWindowVisible(about));
    EXPECT_TRUE(IsWindowEnabled(program.window()));
    EXPECT_TRUE(program.close());
}

// A language chosen in the menu lays the window out as a start in that language does: the
// parts of the upper left area in the same place and size (the drop box whole, its hint
// uncut), the window as high.
TEST_F(MainWindow, ALanguageChosenInTheMenuLaysOutAsAStartInThatLanguage)
{
    const int german = languageIndex(L"German");
    ASSERT_GE(german, 0);
    auto seedView = [&](const wchar_t* language)
    {
        store_->setString(L"Language", L"", language);
        store_->setS32(VIEW, L"X", 20);
        store_->setS32(VIEW, L"Y", 20);
        store_->setS32(VIEW, L"LargeWidth", 640);
        store_->setS32(VIEW, L"LargeHeight", 600);
        seeded();
    };
    std::vector<Piece> started, switched;
    RECT startedRect{}, switchedRect{};
    {
        seedView(L"German");
        Program program(TEST_KEY);
        ASSERT_NE(nullptr, program.window());
        program.settle();
        started = layoutOf(program.window());
        startedRect = rectOf(program.window());
        saveShot(program.window(), "main-german-start");
        EXPECT_TRUE(program.close());
    }
    {
        seedView(L"English");
        Program program(TEST_KEY);
        ASSERT_NE(nullptr, program.window());
        program.settle();
        command(program.window(), CMD_FIRST_LANGUAGE + german);
        switched = layoutOf(program.window());
        switchedRect = rectOf(program.window());
        saveShot(program.window(), "main-german-switched");
        EXPECT_TRUE(program.close());
    }
    // The window is as large as at a start in German: the chosen panel (the only one made)
    // measured in German, from the window's first, small size.
    EXPECT_EQ(startedRect.bottom - startedRect.top, switchedRect.bottom - switchedRect.top);
    EXPECT_EQ(startedRect.right - startedRect.left, switchedRect.right - switchedRect.left);
    ASSERT_EQ(started.size(), switched.size());
    // The upper left area, where the fault showed: "Keep on Top", the drop box and its texts
    // lie where a start puts them.
    int compared = 0;
    for (size_t i = 0; i < started.size(); ++i)
    {
        if (!started[i].visible || started[i].rect.right > 300 || started[i].rect.top < 2)
            continue;
        ++compared;
        EXPECT_TRUE(started[i] == switched[i])
            << "part " << i << " \"" << narrow(started[i].text) << "\": started " << describe(started[i].rect)
            << (started[i].visible ? "" : " hidden") << ", switched " << describe(switched[i].rect)
            << (switched[i].visible ? "" : " hidden");
    }
    EXPECT_GE(compared, 5);
}

// A stored compact view opens with the drop box above the chooser and the chosen action's
// panel, no other panel drawn (nor made), and the view-switch row collapsed (the program has no view
// switch, so the panel stays: it is the only way to see and set what a drop does).
TEST_F(MainWindow, AStoredCompactViewShowsOnlyTheChosenPanel)
{
    // One control of each panel: Refresh (View & Copy), Apply (View & Edit), Add (Change
    // Multiple); no choice stored means View & Copy.
    const int panelTexts[3] = {1009500, 1006070, 6051000};
    struct Case
    {
        const wchar_t* action;
        int panel;
        const char* shot;
    } cases[] = {{L"", 0, "main-compact"}, {programPack()->getText(1101000), 2, "main-compact-multiple"}};
    s::lang::Localizer* pack = programPack();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.shot);
        store_->setBool(VIEW, L"CompactView", true);
        if (c.action[0] != L'\0')
            store_->setString(VIEW, L"ConvertTo", c.action);
        seeded();
        Program program(TEST_KEY);
        ASSERT_NE(nullptr, program.window());
        program.settle();
        HWND top = program.window();
        saveShot(top, c.shot);
        HWND viewSwitch = childWithText(top, pack->getText(1005000));
        ASSERT_NE(nullptr, viewSwitch);
        EXPECT_FALSE(isSeen(viewSwitch)) << "the view-switch row shows";
        for (int panel = 0; panel < 3; ++panel)
        {
            HWND control = childWithText(top, pack->getText(panelTexts[panel]));
            if (panel == c.panel)
            {
                ASSERT_NE(nullptr, control) << panelTexts[panel];
            }
            EXPECT_EQ(panel == c.panel, control != nullptr && isSeen(control))
                << narrow(pack->getText(panelTexts[panel]));
        }
        EXPECT_TRUE(isSeen(dropBoxOf(top)));
        EXPECT_TRUE(program.close());
        EXPECT_TRUE(store_->getBool(VIEW, L"CompactView", false));
    }
}
