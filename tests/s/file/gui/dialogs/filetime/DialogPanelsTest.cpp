// The file-time dialog makes only the chosen action's panel with its window and the others
// when first chosen: the saved settings, every action and the keyboard order must not depend
// on which panels were ever made (fixture in DialogTestSupport.h).
#include <map>

#include "DialogTestSupport.h"
#include "s/gui/win/Box.h"

namespace
{
constexpr const wchar_t* ACTION_NAMES[3] = {L"View & Copy", L"View & Edit",
                                            L"Change Multiple File(s) / Folder(s) at Once"};

// Every value below `key` as "section\name" -> type and bytes.
void dumpKey(HKEY root, const std::wstring& key, const std::wstring& prefix, std::map<std::wstring, std::wstring>* out)
{
    HKEY h = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
        return;
    for (DWORD i = 0;; ++i)
    {
        wchar_t name[256];
        DWORD nameLength = 256, type = 0, size = 4096;
        BYTE data[4096];
        if (RegEnumValueW(h, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        std::wstring value = std::to_wstring(type) + L":";
        for (DWORD b = 0; b < size; ++b)
            value += std::to_wstring(data[b]) + L",";
        (*out)[prefix + name] = value;
    }
    std::vector<std::wstring> children;
    for (DWORD i = 0;; ++i)
    {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(h, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        children.push_back(name);
    }
    RegCloseKey(h);
    for (const std::wstring& child : children)
        dumpKey(root, key + L"\\" + child, prefix + child + L"\\", out);
}

// The window's sizes follow the panels shown (a panel may need more room); everything
// else must not.
bool isWindowSize(const std::wstring& name)
{
    for (const wchar_t* size : {L"Width", L"Height", L"LargeWidth", L"LargeHeight", L"SmallWidth", L"SmallHeight"})
    {
        if (name == std::wstring(MAIN_VIEW) + L"\\" + size)
            return true;
    }
    return false;
}

// The enabled, visible tab stops inside `panel` in the order Tab visits them (the windows'
// order), as "class:text".
std::vector<std::wstring> tabWalk(HWND panel)
{
    std::vector<std::wstring> walk;
    EnumChildWindows(
        panel,
        [](HWND h, LPARAM data) -> BOOL
        {
            if ((GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(h) && IsWindowEnabled(h))
            {
                wchar_t className[64], text[128] = L"";
                GetClassNameW(h, className, 64);
                // Buttons by their text; fields and lists by their kind (their content is the time).
                if (lstrcmpiW(className, L"Button") == 0)
                    GetWindowTextW(h, text, 128);
                reinterpret_cast<std::vector<std::wstring>*>(data)->push_back(std::wstring(className) + L":" + text);
            }
            return TRUE;
        },
        LPARAM(&walk));
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
        std::map<std::wstring, std::wstring> written[2];
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
            dumpKey(HKEY_CURRENT_USER, key, L"", &written[showAll]);
            for (auto it = written[showAll].begin(); it != written[showAll].end();)
                it = isWindowSize(it->first) ? written[showAll].erase(it) : std::next(it);
        }
        EXPECT_EQ(written[0], written[1]) << "saved action " << action;
        // The panels' own sections are written either way.
        EXPECT_EQ(1u, written[0].count(std::wstring(EDIT) + L"\\OffsetUnit")) << action;
        EXPECT_EQ(1u, written[0].count(std::wstring(MULTI) + L"\\Mode")) << action;
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

TEST_F(FileTimeDialog, TabVisitsTheShownPanelsControlsInTheSameOrderWhenTheyAreMadeLater)
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
        close();
    }
}
