#include "s/gui/dialogs/dragndrop/ProcessingFrame.h"

#include <chrono>

#include "s/str/strbuffer/StrBuffer.h"

namespace s::gui::dialogs::dragndrop
{

using s::thread::ObjLocker;

namespace
{

int64_t SteadyMillis()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The position as the display shows it: thousandths of the total.
int32_t VisibleStep(int32_t total, int32_t position)
{
    if (total <= 0)
    {
        return 0;
    }
    return static_cast<int32_t>(static_cast<int64_t>(position) * 1000 / total);
}

} // namespace

ProcessingFrame::ProcessingFrame()
    : paths_(s::str::strarray::StrArray::Acquire()), worker_(s::thread::win::Thread::Acquire()),
      heldText_(s::str::strbuffer::StrBuffer::Acquire())
{
    setWorkerPriority(DEFAULT_WORKER_PRIORITY);
}

ProcessingFrame::~ProcessingFrame()
{
    clear();
    if (worker_ != nullptr)
    {
        worker_->Release();
        worker_ = nullptr;
    }
    if (paths_ != nullptr)
    {
        paths_->Release();
        paths_ = nullptr;
    }
    if (heldText_ != nullptr)
    {
        heldText_->Release();
        heldText_ = nullptr;
    }
}

void ProcessingFrame::setWorkerPriority(int32_t priority)
{
    if (worker_ != nullptr)
    {
        worker_->SetPriority(priority);
    }
}

uint32_t ProcessingFrame::getPathCount() const
{
    ObjLocker::Guard guard(itemLock_);
    return paths_ != nullptr ? paths_->Count() : 0;
}

const wchar_t* ProcessingFrame::getPath(uint32_t index) const
{
    ObjLocker::Guard guard(itemLock_);
    if (paths_ == nullptr || index >= paths_->Count())
    {
        return nullptr;
    }
    return paths_->Get(index)->CStr();
}

void ProcessingFrame::appendPath(const wchar_t* text)
{
    if (text == nullptr || text[0] == L'\0' || paths_ == nullptr)
    {
        return;
    }
    ObjLocker::Guard guard(itemLock_);
    paths_->Add(text);
}

bool ProcessingFrame::startRun()
{
    ObjLocker::Guard guard(itemLock_);
    if (busy_ || worker_ == nullptr)
    {
        return false;
    }
    busy_ = true;
    // A cancel that arrived after the last run had ended (its End already handled) is not
    // meant for this run: left set, it would end the new run before its first item and the
    // user would see "Done!" for a drop that changed nothing.
    cancel_ = false;
    worker_->Run(task_ != nullptr ? task_ : static_cast<s::thread::ITask*>(this));
    return true;
}

void ProcessingFrame::sendStatus(const wchar_t* name, int32_t total, int32_t position, const wchar_t* text)
{
    if (name == ProcessStatusUpdate)
    {
        const int32_t step = VisibleStep(total, position);
        const int64_t now = SteadyMillis();
        if (step == lastStep_ && now - lastSentAt_ < UPDATE_INTERVAL_MS)
        {
            // The display would show the same position: kept, in case it is the run's last.
            held_ = true;
            heldTotal_ = total;
            heldPosition_ = position;
            heldHasText_ = text != nullptr;
            heldText_->Clear();
            if (text != nullptr)
            {
                heldText_->Append(text);
            }
            return;
        }
        held_ = false;
        lastStep_ = step;
        lastSentAt_ = now;
    }
    else
    {
        if (name == ProcessStatusEnd && held_)
        {
            deliver(ProcessStatusUpdate, heldTotal_, heldPosition_, heldHasText_ ? heldText_->CStr() : nullptr);
        }
        held_ = false;
        lastStep_ = -1;
        lastSentAt_ = 0;
    }
    deliver(name, total, position, text);
}

void ProcessingFrame::deliver(const wchar_t* name, int32_t total, int32_t position, const wchar_t* text)
{
    IStatusChannel* channel = channel_;
    if (channel != nullptr)
    {
        channel->sendStatus(name, total, position, text);
    }
    else if (name == ProcessStatusEnd)
    {
        // No handler will see the end: the frame goes back to idle itself.
        finishRun();
    }
}

void ProcessingFrame::waitForEnd()
{
    if (worker_ != nullptr)
    {
        worker_->WaitIdle();
    }
    finishRun();
}

void ProcessingFrame::finishRun()
{
    ObjLocker::Guard guard(itemLock_);
    if (paths_ != nullptr && !paths_->IsEmpty())
    {
        paths_->RemoveAll();
    }
    currentIndex_ = 0;
    busy_ = false;
    cancel_ = false;
}

void ProcessingFrame::cancelProcessing(bool wait)
{
    cancel_ = true;
    if (wait)
    {
        if (worker_ != nullptr)
        {
            worker_->WaitIdle();
        }
        cancel_ = false;
    }
}

void ProcessingFrame::clear()
{
    cancelProcessing(true);
    finishRun();
}

void ProcessingFrame::runBaseTask()
{
    sendStatus(ProcessStatusStart, 0, 0, nullptr);
    itemLock_.Enter();
    for (uint32_t i = 0; !cancel_ && i < paths_->Count(); ++i)
    {
        currentIndex_ = static_cast<int32_t>(i) + 1;
        const int32_t total = static_cast<int32_t>(paths_->Count());
        itemLock_.Leave();
        sendStatus(ProcessStatusUpdate, total, static_cast<int32_t>(i), EntryName);
        itemLock_.Enter();
    }
    itemLock_.Leave();
    sendStatus(ProcessStatusEnd, 0, 0, nullptr);
}

void ProcessingFrame::Run()
{
    runBaseTask();
}

} // namespace s::gui::dialogs::dragndrop
