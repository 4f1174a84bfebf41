// The drop dialog's share of a hand-over: paths another start of the program sent to the
// window become one drop, gathered for a short time and held back while a run is under way.
#include "s/gui/dialogs/dragndrop/Dialog.h"

#include "s/app/win/HandOver.h"
#include "s/gui/dialogs/dragndrop/DialogParts.h"
#include "s/gui/win/CopyData.h"
#include "s/gui/win/Window.h"
#include "s/lang/Localizer.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::gui::dialogs::dragndrop
{

using s::str::strarray::StrArray;
using s::str::strbuffer::StrBuffer;

namespace
{
// "%d item(s) wait for the next run." and "Too many items at once: %d were not taken."
constexpr int32_t TEXT_ITEMS_WAITING = 7600010;
constexpr int32_t TEXT_ITEMS_REFUSED = 7600011;
} // namespace

uint32_t Dialog::getWaitingPathCount() const
{
    return waiting_->Count();
}

void Dialog::handleCopyData()
{
    if (window_ == nullptr)
    {
        return;
    }
    const COPYDATASTRUCT* data = s::gui::win::copyDataInFlight();
    if (data == nullptr)
    {
        return;
    }
    StrArray* paths = StrArray::Acquire();
    // Anything but a well-formed hand-over is left unanswered (0) and changes nothing.
    if (s::app::win::DecodeHandOver(data->dwData, data->lpData, data->cbData, paths))
    {
        window_->setRequestResult(takeHandedPaths(paths) ? 1 : 0);
    }
    paths->Release();
}

bool Dialog::takeHandedPaths(const StrArray* paths)
{
    if (paths == nullptr || paths->IsEmpty())
    {
        return false;
    }
    if (paths->Count() > MAX_WAITING_PATHS - waiting_->Count())
    {
        scratch2_->Assign(text(TEXT_ITEMS_REFUSED));
        StrBuffer* number = StrBuffer::Acquire();
        number->AppendNumber(paths->Count());
        scratch2_->ReplaceAll(L"%d", number->CStr());
        number->Release();
        setStatus(scratch2_->CStr());
        return false;
    }
    for (uint32_t i = 0; i < paths->Count(); ++i)
    {
        waiting_->Add(*paths->Get(i));
    }
    lastArrivalTick_ = GetTickCount64();
    bool busy;
    {
        s::thread::ObjLocker::Guard guard(frame_.getItemLock());
        busy = frame_.isBusy();
    }
    if (busy && parts_ != nullptr)
    {
        // The run goes on; the tail of the status line tells what comes after it.
        scratch2_->Assign(text(TEXT_ITEMS_WAITING));
        StrBuffer* number = StrBuffer::Acquire();
        number->AppendNumber(waiting_->Count());
        scratch2_->ReplaceAll(L"%d", number->CStr());
        number->Release();
        parts_->setStatusTail(scratch2_->CStr());
    }
    // The gathering is measured from the first path: later ones join until it ends.
    if (!gathering_ && !busy && window_ != nullptr)
    {
        gathering_ = true;
        window_->startTimer(GATHER_TIMER, GATHER_MILLIS);
    }
    return true;
}

void Dialog::dropWaitingPaths()
{
    if (window_ == nullptr)
    {
        return;
    }
    bool busy;
    {
        s::thread::ObjLocker::Guard guard(frame_.getItemLock());
        busy = frame_.isBusy();
    }
    // More starts are on their way with paths for this drop: wait for them.
    if (!busy && !acceptingDrop_ && !waiting_->IsEmpty() && handOverGate_ != nullptr &&
        GetTickCount64() - lastArrivalTick_ < static_cast<uint64_t>(GATHER_STALL_MILLIS) &&
        handOverGate_->countHandOversOnTheWay() > 0)
    {
        window_->startTimer(GATHER_TIMER, GATHER_POLL_MILLIS);
        return;
    }
    window_->stopTimer(GATHER_TIMER);
    gathering_ = false;
    if (waiting_->IsEmpty())
    {
        return;
    }
    if (busy || acceptingDrop_)
    {
        // The end of the run starts the timer again; a drop that shows its message is
        // waited for.
        if (acceptingDrop_)
        {
            gathering_ = true;
            window_->startTimer(GATHER_TIMER, GATHER_MILLIS);
        }
        return;
    }
    // The list is handed on as one drop; new arrivals meanwhile start a new gathering.
    StrArray* drop = waiting_;
    waiting_ = StrArray::Acquire();
    acceptDrop(drop);
    drop->Release();
}

} // namespace s::gui::dialogs::dragndrop
