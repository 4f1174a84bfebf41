#include "s/gui/dialogs/dragndrop/Dialog.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "mfc/afxwin.h"
#include "s/app/IAppBase.h"
#include "s/app/IAppWindow.h"
#include "s/app/win/AppBase.h"
#include "s/app/win/AppWindow.h"
#include "s/col/_array/ArrayU32.h"
#include "s/file/win/PathWin.h"
#include "s/gui/IWindowSettings.h"
#include "s/gui/dialogs/About3.h"
#include "s/gui/drawer/Skinner.h"
#include "s/gui/dialogs/dragndrop/DialogParts.h"
#include "s/gui/win/Window.h"
#include "s/lang/Localizer.h"
#include "s/map/IMappedData.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/sys/SystemError.h"
#include "s/time/EpochSeconds.h"

namespace s::gui::dialogs::dragndrop
{

using s::file::win::PathWin;
using s::str::strbuffer::StrBuffer;
using s::thread::ObjLocker;

namespace
{
// Status events travel as small codes in the window request; the text stays with the dialog.
int statusCodeOf(const wchar_t* name)
{
    if (name == ProcessStatusStart)
        return 1;
    if (name == ProcessStatusUpdate)
        return 2;
    if (name == ProcessStatusEnd)
        return 3;
    return 0;
}

const wchar_t* statusNameOf(int code)
{
    switch (code)
    {
    case 1:
        return ProcessStatusStart;
    case 2:
        return ProcessStatusUpdate;
    case 3:
        return ProcessStatusEnd;
    default:
        return nullptr;
    }
}

} // namespace

Dialog::Dialog()
    : scratch_(StrBuffer::Acquire()), scratch2_(StrBuffer::Acquire()), viewSection_(StrBuffer::Acquire()),
      updateText_(StrBuffer::Acquire()), customFolder_(StrBuffer::Acquire()), programPath_(StrBuffer::Acquire()),
      waiting_(s::str::strarray::StrArray::Acquire())
{
    frame_.setTask(this);
    frame_.setStatusChannel(this);
}

Dialog::~Dialog()
{
    resetDialog();
    scratch_->Release();
    scratch2_->Release();
    viewSection_->Release();
    customFolder_->Release();
    waiting_->Release();
    programPath_->Release();
    updateText_->Release();
}

void Dialog::Reset()
{
    resetDialog();
}

void Dialog::resetDialog()
{
    // The worker first: it may still be reporting to the window released below.
    frame_.clear();
    settings_ = nullptr;
    appWindow_ = nullptr;
    textBase_ = s::app::IAppBase::TEXT_BASE_FREEWARE;
    store_ = nullptr;
    localizer_ = nullptr;
    skinner_ = nullptr;
    // The version window before its settings (which own its skin manager).
    if (about_ != nullptr)
    {
        about_->Release();
        about_ = nullptr;
    }
    if (aboutSettings_ != nullptr)
    {
        aboutSettings_->Release();
        aboutSettings_ = nullptr;
    }
    if (window_ != nullptr)
    {
        window_->Release();
        window_ = nullptr;
    }
    delete parts_;
    parts_ = nullptr;
    if (outputFolder_ != nullptr)
    {
        outputFolder_->Release();
        outputFolder_ = nullptr;
    }
    reporter_.clear();
    pending_ = PendingStatus{};
    dropUpdate();
    runStartMillis_ = 0;
    compactView_ = true;
    rightClickTransform_ = true;
    askConfirmation_ = false;
    notifyWhenFinished_ = true;
    lowerPriority_ = false;
    minimizedByButton_ = false;
    priorityLowered_ = false;
    outputFolderMode_ = OUTPUT_ITEM_FOLDER;
    customFolder_->Clear();
    waiting_->RemoveAll();
    programPath_->Clear();
    gathering_ = false;
    acceptingDrop_ = false;
    viewSection_->Clear();
    scratch_->Clear();
    scratch2_->Clear();
    frame_.setTask(this);
    frame_.setStatusChannel(this);
}

void Dialog::bind(s::gui::IWindowSettings* settings, const wchar_t* windowName, s::lang::Localizer* localizer,
                  s::map::IMappedData* store, s::gui::drawer::Skinner* skinner)
{
    settings_ = settings;
    localizer_ = localizer;
    store_ = store;
    skinner_ = skinner;
    viewSection_->Clear();
    viewSection_->Append(windowName != nullptr ? windowName : L"MainWindow");
    viewSection_->Append(L"\\View");
}

void Dialog::bind(s::app::IAppWindow* appWindow)
{
    if (appWindow == nullptr)
    {
        return;
    }
    s::app::IAppBase* app = appWindow->getAppBase();
    bind(appWindow, appWindow->getName(), appWindow->getLocalizer(), app != nullptr ? app->getSettings() : nullptr,
         appWindow->getSkinner());
    appWindow_ = appWindow;
    textBase_ = appWindow->getTextBase();
    if (app != nullptr && app->getProgramPath() != nullptr)
    {
        setProgramPath(app->getProgramPath()->GetFullPath());
    }
}

const wchar_t* Dialog::getViewSection() const
{
    return viewSection_->CStr();
}

const wchar_t* Dialog::text(int32_t id)
{
    return localizer_ != nullptr ? localizer_->getText(id) : L"";
}

void Dialog::Run()
{
    frame_.runBaseTask();
}

void Dialog::updateWorkerPriority(bool force)
{
    if (force || (!lowerPriority_ && !minimizedByButton_))
    {
        frame_.setWorkerPriority(getWorkerPriority());
        priorityLowered_ = false;
        return;
    }
    frame_.setWorkerPriority(-2);
    priorityLowered_ = true;
}

// --- status ---------------------------------------------------------------------------

void Dialog::scaleUpdate(int32_t* total, int32_t* position)
{
    while (*total > MAX_UPDATE_TOTAL)
    {
        *total /= 2;
        *position /= 2;
    }
}

void Dialog::sendStatus(const wchar_t* name, int32_t total, int32_t position, const wchar_t* text)
{
    s::gui::win::Window* window = window_;
    if (window == nullptr || window->getHandle() == nullptr)
    {
        handleStatus(name, total, position, text);
        return;
    }
    if (name == ProcessStatusUpdate)
    {
        bool post;
        {
            ObjLocker::Guard guard(updateLock_);
            updatePending_ = true;
            updateTotal_ = total;
            updatePosition_ = position;
            updateHasText_ = text != nullptr;
            updateText_->Clear();
            if (text != nullptr)
            {
                updateText_->Append(text);
            }
            post = !updatePosted_;
            updatePosted_ = true;
        }
        if (post && !window->postRequest(STATUS_REQUEST, statusCodeOf(name), 0, 0))
        {
            // Not posted (the window is closing): the next update tries again.
            ObjLocker::Guard guard(updateLock_);
            updatePosted_ = false;
        }
        return;
    }
    ObjLocker::Guard guard(statusLock_);
    pending_ = PendingStatus{name, total, position, text};
    window->sendRequest(STATUS_REQUEST, statusCodeOf(name), total, position);
    pending_ = PendingStatus{};
}

void Dialog::handleStatusRequest()
{
    s::gui::win::Window* window = window_;
    if (window == nullptr || window->getRequestValue1() != STATUS_REQUEST)
    {
        return;
    }
    const wchar_t* name = statusNameOf(window->getRequestValue2());
    if (name == ProcessStatusUpdate)
    {
        std::wstring text;
        bool hasText;
        int32_t total, position;
        {
            ObjLocker::Guard guard(updateLock_);
            updatePosted_ = false;
            if (!updatePending_)
            {
                return; // dropped by a start or an end
            }
            updatePending_ = false;
            total = updateTotal_;
            position = updatePosition_;
            hasText = updateHasText_;
            text = updateText_->CStr();
        }
        handleStatus(name, total, position, hasText ? text.c_str() : nullptr);
        return;
    }
    if (name != nullptr && name == pending_.name)
    {
        handleStatus(name, window->getRequestValue3(), window->getRequestValue4(), pending_.text);
    }
}

void Dialog::dropUpdate()
{
    ObjLocker::Guard guard(updateLock_);
    updatePending_ = false;
}

void Dialog::setStatus(const wchar_t* text)
{
    reporter_.setStatus(text);
}

void Dialog::handleStatus(const wchar_t* name, int32_t total, int32_t position, const wchar_t* text)
{
    if (name != ProcessStatusUpdate)
    {
        // An update still on its way belongs to the run before this start or this end.
        dropUpdate();
    }
    if (name == ProcessStatusStart)
    {
        runStartMillis_ = s::time::nowMillis();
        if (parts_ != nullptr)
        {
            parts_->showProgressBox(true);
        }
        reporter_.setRange(1000);
        reporter_.setPosition(0);
    }
    else if (name == ProcessStatusUpdate)
    {
        if (frame_.isCancelRequested())
        {
            return;
        }
        scaleUpdate(&total, &position);
        reporter_.setRange(static_cast<int64_t>(total) + 1);
        reporter_.setPosition(static_cast<int64_t>(position) + 1);
        setStatus(text);
    }
    else if (name == ProcessStatusEnd)
    {
        finishStatusEnd();
    }
}

void Dialog::finishStatusEnd()
{
    reporter_.setRange(1);
    reporter_.setPosition(1);
    if (parts_ != nullptr)
    {
        parts_->setStatusTail(L"");
    }
    const uint32_t failed = getFailedItemCount();
    if (failed == 0)
    {
        setStatus(text(TEXT_DONE));
        setStatus(text(TEXT_READY));
    }
    else
    {
        // The count and the first failed items stay in the status label: "Ready" would hide
        // that items kept their times.
        composeFailureStatus(failed, scratch2_);
        setStatus(scratch2_->CStr());
    }
    if (parts_ != nullptr)
    {
        parts_->showProgressBox(false);
    }
    onProcessingFinished();
    runStartMillis_ = 0;
    frame_.finishRun();
    // What was handed over during the run forms the next drop, once this run's worker is
    // gone (the timer fires after this request has returned).
    if (!waiting_->IsEmpty() && !gathering_ && window_ != nullptr)
    {
        gathering_ = true;
        window_->startTimer(GATHER_TIMER, 50);
    }
}

void Dialog::composeFailureStatus(uint32_t failed, StrBuffer* out)
{
    out->Clear();
    const int32_t countId = getFailedItemsTextId();
    out->Append(text(countId));
    if (out->IsEmpty())
    {
        out->Append(countId == TEXT_DONE_WITH_FAILURES ? L"Done, but %d item(s) could not be changed." : L"%d");
    }
    StrBuffer* number = StrBuffer::Acquire();
    number->AppendNumber(failed);
    out->ReplaceAll(L"%d", number->CStr());
    // Each named item with the system's words for what failed: "C:.txt: Access denied".
    const s::str::strarray::StrArray* paths = getFailedItemPaths();
    const s::col::_array::ArrayU32* errors = getFailedItemErrors();
    const uint32_t kept = paths != nullptr ? paths->Count() : 0;
    const uint32_t named = kept < NAMED_FAILURES ? kept : NAMED_FAILURES;
    for (uint32_t i = 0; i < named; ++i)
    {
        out->Append(i == 0 ? L" " : L"; ");
        out->Append(paths->Get(i)->CStr());
        const uint32_t code = errors != nullptr && i < errors->Count() ? errors->Get(i) : 0;
        if (code != 0)
        {
            out->Append(L": ");
            s::sys::AppendSystemErrorText(code, out);
        }
    }
    if (named > 0 && failed > named)
    {
        number->Clear();
        number->AppendNumber(failed - named);
        StrBuffer* more = StrBuffer::Acquire();
        more->Append(text(TEXT_MORE_FAILURES));
        if (more->IsEmpty())
        {
            more->Append(L"and %d more");
        }
        more->ReplaceAll(L"%d", number->CStr());
        out->Append(L"; ");
        out->Append(more);
        more->Release();
    }
    number->Release();
}

void Dialog::cancelProcessing(bool wait)
{
    frame_.cancelProcessing(wait);
    if (!wait)
    {
        bool busy;
        {
            ObjLocker::Guard guard(frame_.getItemLock());
            busy = frame_.isBusy();
        }
        if (busy)
        {
            setStatus(CANCELING_TEXT);
        }
    }
}

// --- drops ----------------------------------------------------------------------------

void Dialog::acceptDrop(const s::str::strarray::StrArray* paths)
{
    if (paths == nullptr || paths->IsEmpty())
    {
        return;
    }
    ObjLocker::Guard guard(frame_.getItemLock());
    if (frame_.isBusy() || acceptingDrop_)
    {
        return;
    }
    // The output-folder message runs a message loop: a hand-over served inside it must not
    // start a drop of its own meanwhile.
    struct Accepting
    {
        bool& flag;
        explicit Accepting(bool& f) : flag(f) { flag = true; }
        ~Accepting() { flag = false; }
    } accepting(acceptingDrop_);
    if (!beforeProcess())
    {
        return;
    }
    // The check comes before any path is queued: a drop the user was told cannot be
    // processed must not be processed later together with the next drop.
    if (!checkOutputFolder(paths->Get(0)->CStr()))
    {
        return;
    }
    for (uint32_t i = 0; i < paths->Count(); ++i)
    {
        frame_.appendPath(paths->Get(i)->CStr());
    }
    frame_.startRun();
}

bool Dialog::checkOutputFolder(const wchar_t* firstPath)
{
    if (outputFolder_ != nullptr)
    {
        outputFolder_->Release();
        outputFolder_ = nullptr;
    }
    int32_t mode = outputFolderMode_;
    if (mode == OUTPUT_CUSTOM && customFolder_->IsEmpty())
    {
        mode = OUTPUT_ITEM_FOLDER;
    }
    PathWin* folder = nullptr;
    if (mode == OUTPUT_CUSTOM)
    {
        folder = PathWin::FromText(customFolder_->CStr());
    }
    else if (mode == OUTPUT_DESKTOP)
    {
        wchar_t desktop[MAX_PATH] = L"";
        if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_DESKTOP, nullptr, SHGFP_TYPE_CURRENT, desktop)))
        {
            folder = PathWin::FromText(desktop);
        }
    }
    else if (firstPath != nullptr && firstPath[0] != L'\0')
    {
        PathWin* item = PathWin::FromText(firstPath);
        if (item->IsValid() && !item->IsDriveOnly())
        {
            folder = item->GetParent();
        }
        item->Release();
        if (folder != nullptr && mode == OUTPUT_SUB_FOLDER)
        {
            PathWin* sub = PathWin::FromFolderAndName(folder->GetFullPath(), text(608225));
            folder->Release();
            folder = sub;
        }
    }

    scratch_->Clear();
    scratch_->Append(localizer_ != nullptr && localizer_->hasText(TEXT_OUTPUT_FOLDER_FAILED)
                         ? text(TEXT_OUTPUT_FOLDER_FAILED)
                         : OUTPUT_FOLDER_FAILED_TEXT);
    if (folder == nullptr || !folder->IsValid() || folder->GetFullPath()[0] == L'\0')
    {
        if (folder != nullptr)
        {
            folder->Release();
        }
        if (!tellDroppedItemGone(mode, firstPath))
        {
            showInformation(scratch_->CStr());
        }
        return false;
    }

    if (createsOutputFolder() && !folder->Exists())
    {
        folder->EnsureParent();
        folder->CreateDirectory();
    }
    bool usable = false;
    if (folder->Exists())
    {
        usable = (folder->IsDirectory() || folder->IsDriveOnly()) && folder->IsReadWritable();
    }
    else if (!folder->IsDriveOnly())
    {
        PathWin* parent = folder->GetParent();
        usable = parent != nullptr && parent->Exists() && (parent->IsDirectory() || parent->IsDriveOnly()) &&
                 parent->IsReadWritable();
        if (parent != nullptr)
        {
            parent->Release();
        }
    }
    if (!usable && tellDroppedItemGone(mode, firstPath))
    {
        folder->Release();
        return false;
    }
    if (!usable)
    {
        scratch_->Append(L"\r\n\"");
        scratch_->Append(folder->GetFullPath());
        scratch_->Append(L"\"");
        folder->Release();
        showInformation(scratch_->CStr());
        return false;
    }
    outputFolder_ = folder;
    return true;
}

bool Dialog::tellDroppedItemGone(int32_t mode, const wchar_t* firstPath)
{
    // Only where the folder comes from the dropped item: a folder of its own (the custom
    // folder, the desktop) that fails is the output folder's fault.
    if ((mode != OUTPUT_ITEM_FOLDER && mode != OUTPUT_SUB_FOLDER) || firstPath == nullptr || firstPath[0] == L'\0')
    {
        return false;
    }
    PathWin* item = PathWin::FromText(firstPath);
    uint32_t error = 0;
    const bool found = item == nullptr || item->Query(&error);
    if (found)
    {
        if (item != nullptr)
        {
            item->Release();
        }
        return false;
    }
    StrBuffer* message = StrBuffer::Acquire();
    message->Append(text(TEXT_DROPPED_ITEM_GONE));
    if (message->IsEmpty())
    {
        message->Append(DROPPED_ITEM_GONE_TEXT);
    }
    message->Append(L"\r\n\"");
    message->Append(item->GetFullPath());
    message->Append(L"\"\r\n");
    s::sys::AppendSystemErrorText(error, message);
    message->Append(L".");
    item->Release();
    showInformation(message->CStr());
    message->Release();
    return true;
}

void Dialog::showInformation(const wchar_t* message)
{
    if (window_ != nullptr && window_->getHandle() != nullptr)
    {
        window_->showMessage(message);
    }
    else
    {
        AfxShowMessageBox(nullptr, message, AfxGetAppName(), MB_ICONINFORMATION);
    }
}

void* Dialog::getDropBoxHandle() const
{
    return parts_ != nullptr ? parts_->getDropBoxHandle() : nullptr;
}

void* Dialog::getCancelButtonHandle() const
{
    return parts_ != nullptr ? parts_->getCancelButtonHandle() : nullptr;
}

s::gui::ILabel* Dialog::getStatusLabel() const
{
    return parts_ != nullptr ? parts_->getStatusLabel() : nullptr;
}

const wchar_t* Dialog::getStatusText() const
{
    return parts_ != nullptr ? parts_->getStatusText() : L"";
}

s::gui::IPopupMenu* Dialog::getViewMenu() const
{
    return parts_ != nullptr ? parts_->getViewMenu() : nullptr;
}

s::gui::IPopupMenu* Dialog::getLanguageMenu() const
{
    return parts_ != nullptr ? parts_->getLanguageMenu() : nullptr;
}

// --- pages ----------------------------------------------------------------------------

void Dialog::openPageById(int32_t textId)
{
    s::app::win::AppBase::openAddress(text(textId));
}

} // namespace s::gui::dialogs::dragndrop
