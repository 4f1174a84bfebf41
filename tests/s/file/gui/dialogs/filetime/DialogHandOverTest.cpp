// Items handed to the running window by a later start of the program (WM_COPYDATA): they act
// as a drop in every action, those of a short time form one drop, and a malformed message
// from another process changes nothing. Also the View menu's two Explorer entries.
#include <algorithm>
#include <functional>
#include <map>

#include "DialogTestSupport.h"
#include "s/app/win/HandOver.h"
#include "s/app/win/ShellIntegration.h"
#include "s/gui/dialogs/dragndrop/Dialog.h"
#include "s/gui/WindowShot.h"
#include "s/process/SelfRunSupport.h"
#include "s/str/strarray/StrArray.h"

using s::app::win::ShellIntegration;
using s::str::strarray::StrArray;

namespace
{

constexpr wchar_t kChildWindow[] = L"KAIRON_HANDOVER_WINDOW";
constexpr wchar_t kChildPath[] = L"KAIRON_HANDOVER_PATH";

// Hands `paths` over as a later start does: one message per call.
bool handOver(HWND window, const std::vector<std::wstring>& paths)
{
    StrArray* list = StrArray::Acquire();
    for (const std::wstring& p : paths)
        list->Add(p.c_str());
    const bool taken = s::app::win::SendHandOver(window, list, 10000);
    list->Release();
    return taken;
}

// Runs this program again with only the child test selected; answers its exit code.
int runChild(const wchar_t* filter, HWND window, const std::wstring& path)
{
    return testprocess::runSelf(
        filter, {{kChildWindow, std::to_wstring(reinterpret_cast<uintptr_t>(window))}, {kChildPath, path}});
}

std::wstring variable(const wchar_t* name)
{
    wchar_t value[1024];
    const DWORD n = GetEnvironmentVariableW(name, value, 1024);
    return n > 0 && n < 1024 ? std::wstring(value, n) : std::wstring();
}

// A well-formed payload of `paths`, as bytes, to be spoiled by the cases below.
std::vector<uint8_t> payloadOf(const std::vector<std::wstring>& paths)
{
    StrArray* list = StrArray::Acquire();
    for (const std::wstring& p : paths)
        list->Add(p.c_str());
    std::vector<uint8_t> payload;
    s::app::win::EncodeHandOver(list, 0, &payload);
    list->Release();
    return payload;
}

void putU32(std::vector<uint8_t>& bytes, size_t at, uint32_t value)
{
    memcpy(bytes.data() + at, &value, 4);
}

// Every way a message can be wrong: key, magic, version, counts, sizes, terminators, caps.
struct Spoiled
{
    const char* what;
    ULONG_PTR key;
    std::vector<uint8_t> bytes;
};

std::vector<Spoiled> spoiledPayloads(const std::wstring& path)
{
    const std::vector<uint8_t> good = payloadOf({path});
    std::vector<Spoiled> cases;
    cases.push_back({"another key", s::app::win::HAND_OVER_KEY + 1, good});
    std::vector<uint8_t> b = good;
    putU32(b, 0, 0x12345678);
    cases.push_back({"another magic", s::app::win::HAND_OVER_KEY, b});
    b = good;
    putU32(b, 4, 2);
    cases.push_back({"another version", s::app::win::HAND_OVER_KEY, b});
    b = good;
    putU32(b, 8, 0);
    cases.push_back({"no paths", s::app::win::HAND_OVER_KEY, b});
    b = good;
    putU32(b, 8, 2);
    cases.push_back({"more paths counted than sent", s::app::win::HAND_OVER_KEY, b});
    b = good;
    putU32(b, 12, uint32_t((good.size() - 16) / 2 + 1));
    cases.push_back({"units beyond the message", s::app::win::HAND_OVER_KEY, b});
    b = good;
    b.pop_back();
    cases.push_back({"odd size", s::app::win::HAND_OVER_KEY, b});
    b = good;
    b[b.size() - 2] = 'x'; // the last NUL replaced
    cases.push_back({"unterminated path", s::app::win::HAND_OVER_KEY, b});
    b = payloadOf({path, path});
    b[16] = 0; // the first path starts with a NUL: an empty path
    b[17] = 0;
    cases.push_back({"empty path", s::app::win::HAND_OVER_KEY, b});
    b = good;
    b.resize(8);
    cases.push_back({"shorter than the header", s::app::win::HAND_OVER_KEY, b});
    // A path longer than any the system knows, and a message past the size cap.
    b = payloadOf({std::wstring(s::app::win::MAX_PATH_UNITS, L'a')});
    b.insert(b.end() - 2, {'a', 0});
    putU32(b, 12, uint32_t((b.size() - 16) / 2));
    cases.push_back({"overlong path", s::app::win::HAND_OVER_KEY, b});
    std::vector<std::wstring> many(40, std::wstring(16000, L'b'));
    b.assign(16, 0);
    putU32(b, 0, s::app::win::HAND_OVER_MAGIC);
    putU32(b, 4, s::app::win::HAND_OVER_VERSION);
    putU32(b, 8, uint32_t(many.size()));
    for (const std::wstring& m : many)
    {
        const uint8_t* p = reinterpret_cast<const uint8_t*>(m.c_str());
        b.insert(b.end(), p, p + (m.size() + 1) * 2);
    }
    putU32(b, 12, uint32_t((b.size() - 16) / 2));
    cases.push_back({"oversized message", s::app::win::HAND_OVER_KEY, b});
    b.assign(16, 0);
    putU32(b, 0, s::app::win::HAND_OVER_MAGIC);
    putU32(b, 4, s::app::win::HAND_OVER_VERSION);
    putU32(b, 8, s::app::win::MAX_PATHS_PER_MESSAGE + 1);
    for (uint32_t i = 0; i <= s::app::win::MAX_PATHS_PER_MESSAGE; ++i)
        b.insert(b.end(), {'c', 0, 0, 0});
    putU32(b, 12, uint32_t((b.size() - 16) / 2));
    cases.push_back({"too many paths", s::app::win::HAND_OVER_KEY, b});
    cases.push_back({"no data at all", s::app::win::HAND_OVER_KEY, {}});
    return cases;
}

} // namespace

// --- the other process ------------------------------------------------------------------------

// Sends every malformed message to the window named by the parent, then a good one; exits
// with the number of malformed messages the window took (0 expected) or 100 when the good
// one was refused.
TEST(HandOverChild, DISABLED_SendMalformed)
{
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::stoull(variable(kChildWindow))));
    const std::wstring path = variable(kChildPath);
    int taken = 0;
    for (Spoiled& c : spoiledPayloads(path))
    {
        COPYDATASTRUCT message{c.key, DWORD(c.bytes.size()), c.bytes.empty() ? nullptr : c.bytes.data()};
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(window, WM_COPYDATA, 0, LPARAM(&message), SMTO_BLOCK, 10000, &answer);
        if (answer != 0)
        {
            ++taken;
            ADD_FAILURE() << c.what;
        }
    }
    // The window still answers: a well-formed message naming an item that does not exist.
    const bool good = handOver(window, {path + L"-absent"});
    fflush(stdout);
    ExitProcess(taken > 0 ? UINT(taken) : (good ? 0 : 100));
}

// --- the window -------------------------------------------------------------------------------

namespace
{
// Waits until `done` holds (at most 10 s), then for the run it started to end.
template <class Fixture> bool waitFor(Fixture* f, const std::function<bool()>& done)
{
    for (int i = 0; i < 1000 && !done(); ++i)
        Sleep(10);
    return done() && f->waitIdleForTest();
}
} // namespace

class HandOverDialog : public FileTimeDialog
{
  public:
    bool waitIdleForTest() { return waitIdle(); }

  protected:
    // Files with distinct modified times, the last one the newest.
    std::vector<std::wstring> makeFiles(const wchar_t* prefix, int count, Seconds base)
    {
        std::vector<std::wstring> paths;
        for (int i = 0; i < count; ++i)
        {
            paths.push_back(makeFile(std::wstring(prefix) + std::to_wstring(i) + L".txt", 1));
            setTimes(paths.back(), base + i * 3600, base + i * 3600);
        }
        return paths;
    }
    void chooseSyncToNewest()
    {
        chooseAction(2);
        click(multi().methods[METHOD_SYNC]);
        click(multi().sync[SYNC_NEWEST]);
        testgui::settle(window());
    }
    bool allModifiedAt(const std::vector<std::wstring>& paths, Seconds when)
    {
        return std::all_of(paths.begin(), paths.end(),
                           [&](const std::wstring& p) { return timesOf(p).modified == when; });
    }
};

TEST_F(HandOverDialog, HandedOverItemsActAsADropInEveryAction)
{
    const Seconds base = Utc(2015, 3, 4, 5, 6, 7);
    build();
    for (int action : {0, 1, 2})
    {
        const std::wstring tag = std::to_wstring(action);
        std::vector<std::wstring> dropped = makeFiles((L"drop" + tag + L"-").c_str(), 3, base);
        std::vector<std::wstring> handed = makeFiles((L"hand" + tag + L"-").c_str(), 3, base);
        if (action == 2)
            chooseSyncToNewest();
        else
            chooseAction(action);
        auto shownName = [&] {
            return textOf(hwnd(action == 0 ? copy().name : edit().name));
        };

        drop(dropped);
        const std::wstring afterDrop = action == 2 ? L"" : shownName();
        ASSERT_TRUE(handOver(window(), handed)) << action;
        if (action == 2)
        {
            ASSERT_TRUE(waitFor(this, [&] { return allModifiedAt(handed, base + 2 * 3600); })) << action;
            // The drop did the same to its twins.
            EXPECT_TRUE(allModifiedAt(dropped, base + 2 * 3600));
        }
        else
        {
            // The first handed-over item is shown as the first dropped one was.
            ASSERT_TRUE(waitFor(this, [&] { return shownName() != afterDrop; })) << action;
            EXPECT_NE(std::wstring::npos, afterDrop.find(L"drop" + tag + L"-0.txt")) << afterDrop;
            EXPECT_NE(std::wstring::npos, shownName().find(L"hand" + tag + L"-0.txt")) << shownName();
            for (size_t i = 0; i < handed.size(); ++i)
                EXPECT_EQ(base + Seconds(i) * 3600, timesOf(handed[i]).modified) << "viewing changes nothing";
        }
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(HandOverDialog, ItemsArrivingWithinTheGatheringFormOneDropAndLaterOnesTheNext)
{
    const Seconds base = Utc(2016, 1, 2, 3, 4, 5);
    const std::vector<std::wstring> together = makeFiles(L"together-", 6, base);
    build();
    chooseSyncToNewest();
    // Three messages within the gathering: one run, so every item gets the newest of all six.
    ASSERT_TRUE(handOver(window(), {together[0], together[1]}));
    Sleep(60);
    ASSERT_TRUE(handOver(window(), {together[2], together[3]}));
    Sleep(60);
    ASSERT_TRUE(handOver(window(), {together[4], together[5]}));
    ASSERT_TRUE(waitFor(this, [&] { return timesOf(together[0]).modified != base; }));
    EXPECT_TRUE(allModifiedAt(together, base + 5 * 3600));

    // Past the gathering a new drop begins: each group syncs to its own newest item.
    const std::vector<std::wstring> first = makeFiles(L"first-", 2, base);
    const std::vector<std::wstring> second = makeFiles(L"second-", 2, base + 100 * 3600);
    ASSERT_TRUE(handOver(window(), first));
    ASSERT_TRUE(waitFor(this, [&] { return allModifiedAt(first, base + 3600); }));
    Sleep(2 * s::gui::dialogs::dragndrop::Dialog::GATHER_MILLIS);
    ASSERT_TRUE(handOver(window(), second));
    ASSERT_TRUE(waitFor(this, [&] { return allModifiedAt(second, base + 101 * 3600); }));
    EXPECT_TRUE(allModifiedAt(first, base + 3600));
}

TEST_F(HandOverDialog, TheFirstItemToArriveIsTheOneShown)
{
    const Seconds base = Utc(2017, 6, 7, 8, 9, 10);
    const std::vector<std::wstring> items = makeFiles(L"order-", 3, base);
    build();
    chooseAction(1);
    ASSERT_TRUE(handOver(window(), {items[2]}));
    ASSERT_TRUE(handOver(window(), {items[0], items[1]}));
    ASSERT_TRUE(waitFor(this, [&] { return !textOf(hwnd(edit().name)).empty(); }));
    EXPECT_NE(std::wstring::npos, textOf(hwnd(edit().name)).find(L"order-2.txt"));
}

TEST_F(HandOverDialog, MalformedMessagesFromAnotherProcessChangeNothing)
{
    const Seconds base = Utc(2018, 9, 10, 11, 12, 13);
    const std::vector<std::wstring> items = makeFiles(L"target-", 1, base);
    const std::vector<std::wstring> newer = makeFiles(L"newer-", 1, base + 3600);
    build();
    chooseAction(2);
    click(multi().methods[METHOD_SYNC]);
    click(multi().sync[SYNC_CURRENT]);
    testgui::settle(window());
    // Every malformed message names the target; the good one at the end an absent item.
    EXPECT_EQ(0, runChild(L"HandOverChild.*", window(), items[0]));
    Sleep(3 * s::gui::dialogs::dragndrop::Dialog::GATHER_MILLIS);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(base, timesOf(items[0]).modified);
    EXPECT_TRUE(IsWindow(window()));
    EXPECT_TRUE(boxes().empty());
    // The window still takes what is well-formed.
    ASSERT_TRUE(handOver(window(), newer));
    ASSERT_TRUE(waitFor(this, [&] { return timesOf(newer[0]).modified != base + 3600; }));
}

// --- the View menu's Explorer entries ---------------------------------------------------------

namespace
{
constexpr wchar_t CLASSES[] = L"Software\\KaironTests\\HandOverClasses";

std::vector<std::wstring> listFolder(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (h != INVALID_HANDLE_VALUE)
    {
        do
            names.push_back(found.cFileName);
        while (FindNextFileW(h, &found));
        FindClose(h);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::wstring readValue(const std::wstring& path, const wchar_t* name)
{
    wchar_t text[1024] = L"";
    DWORD size = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return text;
}

// The menu of the bar that holds the command (the View menu; other menus may come first).
HMENU menuHolding(HWND window, UINT command)
{
    HMENU bar = GetMenu(window);
    for (int i = 0; i < GetMenuItemCount(bar); ++i)
    {
        HMENU sub = GetSubMenu(bar, i);
        if (sub != nullptr && GetMenuState(sub, command, MF_BYCOMMAND) != static_cast<UINT>(-1))
            return sub;
    }
    return nullptr;
}

bool viewItemChecked(HWND window, UINT command)
{
    return (GetMenuState(menuHolding(window, command), command, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

std::wstring viewItemText(HWND window, UINT command)
{
    wchar_t text[256] = L"";
    GetMenuStringW(menuHolding(window, command), command, text, 256, MF_BYCOMMAND);
    return text;
}
} // namespace

class ExplorerEntries : public HandOverDialog
{
  protected:
    void SetUp() override
    {
        HandOverDialog::SetUp();
        RegDeleteTreeW(HKEY_CURRENT_USER, CLASSES);
        sendTo = makeFolder(L"SendTo");
        ShellIntegration::setClassesKey(CLASSES);
        ShellIntegration::setSendToFolder(sendTo.c_str());
        wchar_t own[MAX_PATH];
        GetModuleFileNameW(nullptr, own, MAX_PATH);
        program = own;
    }
    void TearDown() override
    {
        ShellIntegration::setClassesKey(nullptr);
        ShellIntegration::setSendToFolder(nullptr);
        RegDeleteTreeW(HKEY_CURRENT_USER, CLASSES);
        HandOverDialog::TearDown();
    }
    void buildWithProgram()
    {
        dialog = Dialog::Acquire();
        dialog->bind(&settings, L"MainWindow", localizer, store, nullptr);
        dialog->setProgramPath(program.c_str());
        ASSERT_TRUE(dialog->buildAndShow());
        testgui::settle(window());
    }
    void command(int id)
    {
        SendMessageW(window(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
        testgui::settle(window());
    }
    std::vector<std::wstring> snapshot()
    {
        std::vector<std::wstring> lines;
        dumpKey(HKEY_CURRENT_USER, CLASSES, &lines);
        for (const std::wstring& name : listFolder(sendTo))
            lines.push_back(L"file " + name);
        return lines;
    }
    std::wstring sendTo, program;
    static constexpr int SEND_TO = s::gui::dialogs::dragndrop::Dialog::CMD_SEND_TO;
    static constexpr int CONTEXT = s::gui::dialogs::dragndrop::Dialog::CMD_CONTEXT_MENU;
};

TEST_F(ExplorerEntries, EachEntrySwitchesOnAndOffLeavingNothingBehind)
{
    // What another program keeps there stays as it is.
    HKEY other;
    RegCreateKeyExW(HKEY_CURRENT_USER, (std::wstring(CLASSES) + L"\\*\\shell\\OtherTool").c_str(), 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &other, nullptr);
    RegSetValueExW(other, L"", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"Other"), 12);
    RegCloseKey(other);
    makeFile(L"SendTo\\Mail Recipient.MAPIMail");

    for (bool withOthers : {true, false})
    {
        if (!withOthers)
        {
            RegDeleteTreeW(HKEY_CURRENT_USER, CLASSES);
            RegCreateKeyExW(HKEY_CURRENT_USER, CLASSES, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &other, nullptr);
            RegCloseKey(other);
        }
        buildWithProgram();
        HWND h = window();
        EXPECT_EQ(L"Add to the Send To menu", viewItemText(h, SEND_TO));
        EXPECT_EQ(L"Add to the context menu of files and folders", viewItemText(h, CONTEXT));
        const std::vector<std::wstring> before = snapshot();
        EXPECT_FALSE(viewItemChecked(h, SEND_TO));
        EXPECT_FALSE(viewItemChecked(h, CONTEXT));

        command(CONTEXT);
        EXPECT_TRUE(viewItemChecked(h, CONTEXT));
        for (const wchar_t* parent : {L"\\*", L"\\Directory"})
        {
            const std::wstring verb = std::wstring(CLASSES) + parent + L"\\shell\\Kairon";
            EXPECT_EQ(L"Change times with Kairon", readValue(verb, L""));
            EXPECT_EQ(L"\"" + program + L"\",0", readValue(verb, L"Icon"));
            EXPECT_EQ(L"Player", readValue(verb, L"MultiSelectModel"));
            EXPECT_EQ(L"\"" + program + L"\" \"%1\"", readValue(verb + L"\\command", L""));
        }
        command(CONTEXT);
        EXPECT_FALSE(viewItemChecked(h, CONTEXT));
        EXPECT_EQ(before, snapshot()) << withOthers;

        command(SEND_TO);
        EXPECT_TRUE(viewItemChecked(h, SEND_TO));
        EXPECT_EQ(program, ShellIntegration::sendToTarget(L"Kairon"));
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((sendTo + L"\\Kairon.lnk").c_str()));
        command(SEND_TO);
        EXPECT_FALSE(viewItemChecked(h, SEND_TO));
        EXPECT_EQ(before, snapshot()) << withOthers;
        EXPECT_TRUE(boxes().empty());
        close();
    }
}

TEST_F(ExplorerEntries, TheMarksShowWhatIsThereWhenTheWindowOpens)
{
    ASSERT_TRUE(ShellIntegration::addContextMenu(L"Kairon", program.c_str(), L"Verb"));
    ASSERT_TRUE(ShellIntegration::addSendTo(L"Kairon", program.c_str(), L"Tip"));
    buildWithProgram();
    EXPECT_TRUE(viewItemChecked(window(), SEND_TO));
    EXPECT_TRUE(viewItemChecked(window(), CONTEXT));
    close();
    // Entries of another copy of the program are not this one's.
    ASSERT_TRUE(ShellIntegration::addContextMenu(L"Kairon", L"C:\\elsewhere\\Kairon.exe", L"Verb"));
    buildWithProgram();
    EXPECT_FALSE(viewItemChecked(window(), CONTEXT));
}

TEST_F(ExplorerEntries, ScreenshotOfTheViewMenuWithBothCommands)
{
    ASSERT_TRUE(ShellIntegration::addContextMenu(L"Kairon", program.c_str(), L"Verb"));
    buildWithProgram();
    HWND h = window();
    RECT title;
    ASSERT_TRUE(GetMenuItemRect(h, GetMenu(h), 0, &title));
    SetForegroundWindow(h);
    // A click on the menu bar's "View", as the user opens it.
    PostMessageW(h, WM_NCLBUTTONDOWN, HTMENU, MAKELPARAM((title.left + title.right) / 2, (title.top + title.bottom) / 2));
    Sleep(800);
    RECT r;
    GetWindowRect(h, &r);
    r.right = std::max<LONG>(r.right, title.left + 420);
    r.bottom = std::max<LONG>(r.bottom, title.bottom + 220);
    EXPECT_TRUE(testgui::saveScreen(r, "explorer-entries-menu.bmp"));
    PostMessageW(h, WM_CANCELMODE, 0, 0);
    PostMessageW(h, WM_KEYDOWN, VK_ESCAPE, 0);
    Sleep(200);
}
