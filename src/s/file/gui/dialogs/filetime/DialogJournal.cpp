// The file-time dialog's journal and undo: every run that writes is journalled (in words a
// person reads), and the Edit menu's "Undo Last Change" puts back the newest run not yet
// undone, whichever front end made it.
#include <atomic>
#include <string>

#include "s/file/gui/dialogs/filetime/Dialog.h"
#include "s/file/gui/dialogs/filetime/ItemListWindow.h"
#include "s/gui/win/Window.h"
#include "s/str/strarray/StrArray.h"
#include "s/col/_array/ArrayU32.h"
#include "s/gui/IPopupMenu.h"
#include "s/gui/menuitem/MenuItem.h"
#include "s/gui/win/PopupMenu.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/time/Time.h"

namespace s::file::gui::dialogs::filetime
{

using s::thread::ObjLocker;

namespace
{

constexpr int32_t TEXT_EDIT_MENU = 7700000;
constexpr int32_t TEXT_UNDO_LAST = 7700001;
constexpr int32_t TEXT_UNDO_NAMED = 7700002;
constexpr int32_t TEXT_RUN_MULTIPLE = 7700010;
constexpr int32_t TEXT_RUN_EDIT = 7700011;
constexpr int32_t TEXT_ONE_ITEM = 7700012;
constexpr int32_t TEXT_MANY_ITEMS = 7700013;
constexpr int32_t TEXT_SET_TO = 7700020;
constexpr int32_t TEXT_ADD = 7700021;
constexpr int32_t TEXT_SUBTRACT = 7700022;
constexpr int32_t TEXT_SET = 7700023;
constexpr int32_t TEXT_FIELDS = 7700030; // created, modified, accessed
constexpr int32_t TEXT_AND = 7700033;
constexpr int32_t TEXT_OWN_TIME = 7700040; // its created / modified / accessed time
constexpr int32_t TEXT_NEWEST = 7700043;
constexpr int32_t TEXT_OLDEST = 7700044;
constexpr int32_t TEXT_UNITS = 7700050;    // "%d days", hours, minutes, seconds
constexpr int32_t TEXT_UNIT_ONE = 7700054; // "1 day", hour, minute, second
constexpr int32_t TEXT_UNDONE = 7700060;
constexpr int32_t TEXT_UNDONE_CHANGED = 7700061;
constexpr int32_t TEXT_UNDONE_FAILED = 7700062;
constexpr int32_t TEXT_UNDO_STOPPED = 7700063;
constexpr int32_t TEXT_NOTHING_TO_UNDO = 7700064;
constexpr int32_t TEXT_JOURNAL_FAILED = 7700065;
constexpr int32_t TEXT_SHOW_FAILED = 7700003;
constexpr int32_t TEXT_NOTHING_CHANGED = 7700131;

// The menu text names the run; a long command is cut.
constexpr size_t MAX_NAMED = 80;

// The window whose thread's hook serves Ctrl+Z (one main window per process).
std::atomic<HWND> g_undoWindow{nullptr};

void replaceAll(std::wstring& text, const wchar_t* key, const std::wstring& value)
{
    const std::wstring k = key;
    for (size_t at = text.find(k); at != std::wstring::npos; at = text.find(k, at + value.size()))
        text.replace(at, k.size(), value);
}

} // namespace

std::wstring Dialog::describeRequest(bool edit)
{
    const ChangeRequest& r = engine_.getRequest();
    // "created", "created and modified", "created, modified and accessed".
    const EpochSeconds markers[TIME_COUNT] = {r.created, r.modified, r.accessed};
    std::wstring fields;
    int32_t count = 0;
    for (int k = 0; k < TIME_COUNT; ++k)
        count += markers[k] >= 0 ? 1 : 0;
    int32_t listed = 0;
    for (int k = 0; k < TIME_COUNT; ++k)
    {
        if (markers[k] < 0)
            continue;
        if (listed + 1 == count && listed > 0)
        {
            // The last two joined as the language joins them ("%a and %b").
            std::wstring joined = text(TEXT_AND);
            replaceAll(joined, L"%a", fields);
            replaceAll(joined, L"%b", text(TEXT_FIELDS + k));
            fields = joined;
        }
        else
        {
            fields += listed > 0 ? L", " : L"";
            fields += text(TEXT_FIELDS + k);
        }
        ++listed;
    }
    std::wstring what;
    if (r.mode == ModeOffset)
    {
        const int64_t size = r.offset < 0 ? -r.offset : r.offset;
        const int64_t units[4] = {86400, 3600, 60, 1};
        // The largest unit the offset is a whole number of.
        int unit = 3;
        for (int i = 0; i < 4; ++i)
        {
            if (size % units[i] == 0)
            {
                unit = i;
                break;
            }
        }
        const int64_t n = size / units[unit];
        std::wstring amount = text(n == 1 ? TEXT_UNIT_ONE + unit : TEXT_UNITS + unit);
        replaceAll(amount, L"%d", std::to_wstring(n));
        what = text(r.offset < 0 ? TEXT_SUBTRACT : TEXT_ADD);
        replaceAll(what, L"%t", amount);
    }
    else
    {
        std::wstring target;
        if (r.mode == ModeSync)
            target = text(TEXT_OWN_TIME + (r.syncTarget == SyncCreated ? 0 : r.syncTarget == SyncModified ? 1 : 2));
        else if (r.syncTarget == SyncNewest || r.syncTarget == SyncOldest)
            target = text(r.syncTarget == SyncNewest ? TEXT_NEWEST : TEXT_OLDEST);
        else
        {
            // One date for every field, or (View & Edit) a date per field.
            EpochSeconds shared = -1;
            bool one = true;
            for (EpochSeconds m : markers)
            {
                if (m < 0)
                    continue;
                one = one && (shared < 0 || shared == m);
                shared = m;
            }
            if (one && shared >= 0)
            {
                s::str::strbuffer::StrBuffer* date = s::time::formatSecondsLocale(shared);
                target = date->CStr();
                date->Release();
            }
        }
        what = text(target.empty() ? TEXT_SET : TEXT_SET_TO);
        replaceAll(what, L"%t", target);
    }
    replaceAll(what, L"%f", fields);
    std::wstring run = text(edit ? TEXT_RUN_EDIT : TEXT_RUN_MULTIPLE);
    replaceAll(run, L"%s", what);
    if (edit)
        replaceAll(run, L"%p", engine_.getEditPath());
    return run;
}

void Dialog::beginRun(bool plan, bool edit)
{
    planning_ = plan;
    engine_.setPlanOnly(plan);
    if (plan)
    {
        plan_.clear();
        engine_.setListener(&plan_);
    }
    else
    {
        engine_.setListener(&journal_);
        runCommand_ = describeRequest(edit);
        oneItem_ = text(TEXT_ONE_ITEM);
        manyItems_ = text(TEXT_MANY_ITEMS);
        journal_.begin(JournalFolder());
    }
    undoneLast_ = false;
    if (editMenu_ != nullptr)
    {
        editMenu_->setItemEnabled(CMD_UNDO_LAST, false);
        editMenu_->setItemEnabled(CMD_SHOW_FAILED, false);
    }
}

void Dialog::hookUndoKey()
{
    s::gui::win::Window* window = getWindow();
    if (undoHook_ != nullptr || window == nullptr || window->getHandle() == nullptr)
        return;
    // The hook of the window's thread, whichever thread asks.
    const DWORD thread = GetWindowThreadProcessId(window->getHandle(), nullptr);
    if (thread == 0)
        return;
    g_undoWindow = window->getHandle();
    undoHook_ = SetWindowsHookExW(WH_GETMESSAGE, &Dialog::undoKeyHook, nullptr, thread);
}

void Dialog::unhookUndoKey()
{
    if (undoHook_ != nullptr)
        UnhookWindowsHookEx(undoHook_);
    undoHook_ = nullptr;
    g_undoWindow = nullptr;
}

LRESULT CALLBACK Dialog::undoKeyHook(int code, WPARAM wParam, LPARAM lParam)
{
    MSG* message = reinterpret_cast<MSG*>(lParam);
    const HWND window = g_undoWindow;
    if (code == HC_ACTION && wParam == PM_REMOVE && message->message == WM_KEYDOWN && message->wParam == 'Z' &&
        (GetKeyState(VK_CONTROL) & 0x8000) != 0 && (GetKeyState(VK_MENU) & 0x8000) == 0 && window != nullptr &&
        (message->hwnd == window || IsChild(window, message->hwnd)))
    {
        // As the menu's command, through the menu bar; the key itself goes nowhere.
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(CMD_UNDO_LAST, 0), 0);
        message->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Dialog::refreshFailed()
{
    if (editMenu_ != nullptr)
        editMenu_->setItemEnabled(CMD_SHOW_FAILED, getFailedItemCount() != 0);
}

void Dialog::openList(int list)
{
    s::gui::win::Window* window = getWindow();
    const HWND owner = window != nullptr ? window->getHandle() : nullptr;
    if (list == LIST_FAILED)
    {
        ItemListWindow failed(ItemListWindow::MODE_FAILURES, getLocalizer());
        if (undoneLast_)
        {
            for (size_t i = 0; i < undo_.failedPaths().size(); ++i)
                failed.rows().push_back(ItemRow{undo_.failedPaths()[i], -1, 0, 0, undo_.failedErrors()[i]});
        }
        else
        {
            const s::str::strarray::StrArray& paths = engine_.getFailedPaths();
            for (uint32_t i = 0; i < paths.Count(); ++i)
                failed.rows().push_back(ItemRow{paths.Get(i)->CStr(), -1, 0, 0, engine_.getFailedErrors().Get(i)});
        }
        if (failed.create(owner))
            failed.runModal();
        return;
    }
    ItemListWindow preview(ItemListWindow::MODE_PREVIEW, getLocalizer());
    preview.rows() = std::move(plan_.rows());
    plan_.clear();
    const bool apply = preview.create(owner) && preview.runModal();
    ObjLocker::Guard guard(getFrame().getItemLock());
    if (!apply || getFrame().isBusy() || plannedPaths_.empty())
    {
        setStatus(text(TEXT_NOTHING_CHANGED));
        return;
    }
    // Exactly the planned change: the same request and the same dropped paths, journalled.
    beginRun(false);
    for (const std::wstring& path : plannedPaths_)
        getFrame().appendPath(path.c_str());
    plannedPaths_.clear();
    getFrame().startRun();
}

std::wstring Dialog::journalCommand()
{
    uint32_t dropped;
    {
        ObjLocker::Guard guard(getFrame().getItemLock());
        dropped = getFrame().getPathCount();
    }
    std::wstring items = dropped == 1 ? oneItem_ : manyItems_;
    replaceAll(items, L"%d", std::to_wstring(dropped));
    std::wstring command = runCommand_;
    replaceAll(command, L"%n", items);
    return command;
}

uint32_t Dialog::getFailedItemCount()
{
    return undoing_ ? undo_.failed() : engine_.getFailureCount();
}

s::gui::IPopupMenu* Dialog::createOwnMenu()
{
    using s::gui::menuitem::MenuItem;
    s::gui::win::PopupMenu* menu = s::gui::win::PopupMenu::Acquire();
    menu->setTitleId(TEXT_EDIT_MENU);
    menu->addItem(MenuItem::newMenuItem(TEXT_UNDO_LAST, getLocalizer(), CMD_UNDO_LAST, false));
    menu->addItem(MenuItem::newMenuItem(TEXT_SHOW_FAILED, getLocalizer(), CMD_SHOW_FAILED, false));
    menu->setItemEnabled(CMD_SHOW_FAILED, false);
    editMenu_ = menu;
    refreshUndo();
    return menu;
}

void Dialog::runOwnCommand(int32_t command)
{
    if (command == CMD_UNDO_LAST)
        undoLastChange();
    else if (command == CMD_SHOW_FAILED && getFailedItemCount() != 0)
        openList(LIST_FAILED);
}

bool Dialog::refreshUndo(bool ending)
{
    hookUndoKey();
    std::wstring command;
    undoFile_.clear();
    const bool found = FindLastJournal(JournalFolder(), undoFile_, &command);
    if (!found)
        undoFile_.clear();
    if (editMenu_ != nullptr)
    {
        bool busy;
        {
            ObjLocker::Guard guard(getFrame().getItemLock());
            busy = getFrame().isBusy();
        }
        std::wstring label = text(TEXT_UNDO_LAST);
        if (found)
        {
            if (command.size() > MAX_NAMED)
                command = command.substr(0, MAX_NAMED - 3) + L"...";
            label = text(TEXT_UNDO_NAMED);
            replaceAll(label, L"%s", command);
        }
        label += L"\tCtrl+Z";
        editMenu_->setItemText(CMD_UNDO_LAST, label.c_str());
        editMenu_->setItemEnabled(CMD_UNDO_LAST, found && (ending || !busy));
    }
    return found;
}

void Dialog::undoLastChange()
{
    ObjLocker::Guard guard(getFrame().getItemLock());
    if (getFrame().isBusy())
        return;
    if (!refreshUndo())
    {
        setStatus(text(TEXT_NOTHING_TO_UNDO));
        return;
    }
    undo_.setJournal(undoFile_);
    undoing_ = true;
    undoneLast_ = true;
    getFrame().setTask(&undo_);
    if (editMenu_ != nullptr)
        editMenu_->setItemEnabled(CMD_UNDO_LAST, false);
    if (!getFrame().startRun())
    {
        undoing_ = false;
        getFrame().setTask(&engine_);
    }
}

void Dialog::onProcessingFinished()
{
    journal_.end();
    const bool plainRun = !undoing_ && !planning_;
    if (undoing_)
    {
        getFrame().setTask(&engine_);
        std::wstring status = text(undo_.cancelled() ? TEXT_UNDO_STOPPED : TEXT_UNDONE);
        replaceAll(status, L"%r", std::to_wstring(undo_.restored()));
        if (undo_.changedSince() != 0)
        {
            std::wstring more = text(TEXT_UNDONE_CHANGED);
            replaceAll(more, L"%c", std::to_wstring(undo_.changedSince()));
            status += L" " + more;
        }
        if (undo_.failed() != 0)
        {
            std::wstring more = text(TEXT_UNDONE_FAILED);
            replaceAll(more, L"%f", std::to_wstring(undo_.failed()));
            status += L" " + more;
        }
        setStatus(status.c_str());
        undoing_ = false;
    }
    else if (planning_)
    {
        // Items known to fail without a write (a drive root) are listed with their reason.
        const s::str::strarray::StrArray& paths = engine_.getFailedPaths();
        for (uint32_t i = 0; i < paths.Count(); ++i)
            plan_.rows().push_back(ItemRow{paths.Get(i)->CStr(), -1, 0, 0, engine_.getFailedErrors().Get(i)});
        plannedPaths_.clear();
        {
            ObjLocker::Guard guard(getFrame().getItemLock());
            for (uint32_t i = 0; i < getFrame().getPathCount(); ++i)
                plannedPaths_.push_back(getFrame().getPath(i));
        }
        planning_ = false;
        engine_.setPlanOnly(false);
        engine_.setListener(&journal_);
        setStatus(text(TEXT_NOTHING_CHANGED));
        s::gui::win::Window* window = getWindow();
        if (window != nullptr)
            window->postRequest(LIST_REQUEST, LIST_PREVIEW, 0, 0);
    }
    else if (journal_.failed())
    {
        std::wstring message = text(TEXT_JOURNAL_FAILED);
        replaceAll(message, L"%s", journal_.error());
        showMessage(message.c_str());
    }
    if (plainRun)
        showFromItemEnd();
    // The frame is idle as soon as this handler returns.
    refreshUndo(true);
    refreshFailed();
}

} // namespace s::file::gui::dialogs::filetime
