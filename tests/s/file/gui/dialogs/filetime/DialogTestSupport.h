#pragma once
// Shared by the file-time dialog's tests (Dialog*Test.cpp): the window settings over the
// test's store, the time and control helpers and the fixture that builds the real dialog.
// Everything here is inline, so that every test file of the folder uses the same fixture
// class.
//
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

#include <algorithm>
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
#include "TimeTestSupport.h"

using namespace s::file::gui::dialogs::filetime;
using testgui::MessageBoxes;


inline constexpr wchar_t STORE_PATH[] = L"Software\\KaironTests\\FileTimeDialog";
inline constexpr wchar_t MAIN_VIEW[] = L"MainWindow\\View";
inline constexpr wchar_t EDIT[] = L"View";
inline constexpr wchar_t MULTI[] = L"View\\Multiple";

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

using testgui::makeDrop;

// Every key and value below `path`, one line each, in a stable order.
inline void dumpKey(HKEY root, const std::wstring& path, std::vector<std::wstring>* lines)
{
    HKEY key;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    lines->push_back(L"[" + path + L"]");
    for (DWORD i = 0;; ++i)
    {
        wchar_t name[256];
        DWORD nameLength = 256, type = 0;
        BYTE data[2048];
        DWORD size = sizeof data;
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS)
            break;
        lines->push_back(std::wstring(name) + L"=" + std::to_wstring(type) + L":" +
                         std::wstring(reinterpret_cast<wchar_t*>(data), size / 2));
    }
    std::vector<std::wstring> subKeys;
    for (DWORD i = 0;; ++i)
    {
        wchar_t name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        subKeys.push_back(name);
    }
    RegCloseKey(key);
    std::sort(subKeys.begin(), subKeys.end());
    for (const std::wstring& sub : subKeys)
        dumpKey(root, path + L"\\" + sub, lines);
}

struct Times
{
    Seconds modified = -1, accessed = -1;
    uint64_t modifiedTicks = 0;
};

inline Times timesOf(const std::wstring& path)
{
    Times t;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
    {
        t.modified = SecondsOf(TicksOf(data.ftLastWriteTime));
        t.accessed = SecondsOf(TicksOf(data.ftLastAccessTime));
        t.modifiedTicks = TicksOf(data.ftLastWriteTime);
    }
    return t;
}

// Sets the modified and accessed times (attributes cleared around the write, then put back).
inline void setTimes(const std::wstring& path, Seconds modified, Seconds accessed)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    FILETIME m = FileTimeOf(TicksOf(modified)), a = FileTimeOf(TicksOf(accessed));
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
inline void choose(s::gui::win::ComboBox* combo, int index)
{
    HWND h = hwnd(combo);
    SendMessageW(h, CB_SETCURSEL, WPARAM(index), 0);
    SendMessageW(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), CBN_SELCHANGE), LPARAM(h));
}

inline int indexOfValue(s::gui::win::ComboBox* combo, intptr_t value)
{
    for (int i = 0; i < combo->getItemCount(); ++i)
    {
        if (combo->getItem(i)->getValue() == value)
            return i;
    }
    return -1;
}

inline void chooseValue(s::gui::win::ComboBox* combo, intptr_t value)
{
    const int index = indexOfValue(combo, value);
    ASSERT_GE(index, 0) << value;
    choose(combo, index);
}

inline int selection(s::gui::win::ComboBox* combo)
{
    return int(SendMessageW(hwnd(combo), CB_GETCURSEL, 0, 0));
}

inline intptr_t selectedValueOf(s::gui::win::ComboBox* combo)
{
    const int i = selection(combo);
    return i >= 0 ? combo->getItem(i)->getValue() : -1000;
}

inline std::wstring textOf(HWND h)
{
    wchar_t buffer[512] = L"";
    GetWindowTextW(h, buffer, 512);
    return buffer;
}

// The selectors' fields as "YYYY-MM-DD hh:mm:ss".
inline std::wstring shown(const TimeSelectors& set)
{
    wchar_t text[64];
    std::swprintf(text, 64, L"%04d-%02d-%02d %02d:%02d:%02d", int(selectedValueOf(set.year())),
                  int(selectedValueOf(set.month())), int(selectedValueOf(set.day())), int(selectedValueOf(set.hour())),
                  int(selectedValueOf(set.minute())), int(selectedValueOf(set.second())));
    return text;
}

inline void setShown(const TimeSelectors& set, int y, int mo, int d, int h, int mi, int s)
{
    chooseValue(set.year(), y);
    chooseValue(set.month(), mo);
    chooseValue(set.day(), d);
    chooseValue(set.hour(), h);
    chooseValue(set.minute(), mi);
    chooseValue(set.second(), s);
}

inline std::wstring clipboardText()
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

inline void putOnClipboard(const wchar_t* text)
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
        // The window journals its runs: into the test's own folder.
        journalFolder = folder + L"-journals";
        SetEnvironmentVariableW(L"KAIRON_JOURNAL_DIR", journalFolder.c_str());
    }
    void TearDown() override
    {
        release();
        SetEnvironmentVariableW(L"KAIRON_JOURNAL_DIR", nullptr);
        removeTree(journalFolder);
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
    // A panel not chosen yet is made (hidden) first, as the dialog does when it needs one.
    const MultiplePanel& multi()
    {
        dialog->makePanel(2);
        return dialog->getMultiplePanel();
    }
    // Change Multiple, By Offset, adding one hour; the fields are left as they are.
    void chooseAddOneHour()
    {
        chooseAction(2);
        click(multi().methods[METHOD_OFFSET]);
        click(multi().add);
        chooseValue(multi().digit, 1);
        chooseValue(multi().unit, s::gui::combobox::ComboBoxItem::keyValue(UnitHours));
    }
    // Change Multiple's fields to change: exactly those given, by clicks.
    void chooseFields(bool created, bool modified, bool accessed)
    {
        const bool wanted[TIME_COUNT] = {created, modified, accessed};
        for (int k = 0; k < TIME_COUNT; ++k)
        {
            if (checked(multi().fields[k]) != wanted[k])
                click(multi().fields[k]);
        }
    }
    const EditPanel& edit()
    {
        dialog->makePanel(1);
        return dialog->getEditPanel();
    }
    const CopyPanel& copy()
    {
        dialog->makePanel(0);
        return dialog->getCopyPanel();
    }

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
    std::wstring journalFolder;
};
