#include "s/thread/win/Thread.h"

#include <windows.h>

namespace s::thread::win
{

namespace
{

constexpr DWORD IDLE_POLL_MS = 20;
constexpr DWORD EXIT_POLL_MS = 100;

// Milliseconds from a steady clock; GetTickCount64 moves in steps that are too coarse for
// short periods.
ULONGLONG NowMs()
{
    static const LONGLONG frequency = []
    {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    LARGE_INTEGER c;
    QueryPerformanceCounter(&c);
    return static_cast<ULONGLONG>(c.QuadPart / frequency * 1000 + c.QuadPart % frequency * 1000 / frequency);
}

} // namespace

Thread::Thread()
{
    control_.lock = &lock_;
    control_.wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    MakeWorker();
}

Thread::~Thread()
{
    if (handle_ != nullptr)
    {
        Stop();
        CloseHandle(static_cast<HANDLE>(handle_));
        handle_ = nullptr;
    }
    if (control_.wake != nullptr)
    {
        CloseHandle(static_cast<HANDLE>(control_.wake));
        control_.wake = nullptr;
    }
}

void Thread::MakeWorker()
{
    // The caller guarantees that no routine uses the control block any more.
    control_.handle = nullptr;
    control_.pause = 0;
    control_.task = nullptr;
    control_.runsLeft = 0;
    control_.pacing = PACING_NONE;
    control_.interval = 0;
    control_.entered = false;
    control_.idle = true;
    control_.stop = false;
    control_.finished = false;
    if (control_.wake != nullptr)
    {
        ResetEvent(static_cast<HANDLE>(control_.wake));
    }
    DWORD id = 0;
    HANDLE h = CreateThread(nullptr, 0, &Thread::Routine, &control_, CREATE_SUSPENDED, &id);
    handle_ = h;
    threadId_ = h != nullptr ? id : 0;
    control_.handle = h;
    if (h == nullptr)
    {
        // No worker: behave as a thread that has ended, so that waits return.
        control_.finished = true;
        return;
    }
    if (control_.priority != PRIORITY_NORMAL)
    {
        SetThreadPriority(h, control_.priority);
    }
}

unsigned long __stdcall Thread::Routine(void* argument)
{
    ControlBlock* c = static_cast<ControlBlock*>(argument);
    c->lock->Enter();
    c->entered = true;
    while (!c->stop)
    {
        bool park = false;
        if (c->pause != 0)
        {
            const DWORD ms = c->pause;
            c->pause = 0;
            c->lock->Leave();
            Sleep(ms);
        }
        else if (c->runsLeft != 0)
        {
            if (c->runsLeft != -1)
            {
                --c->runsLeft;
            }
            const int32_t left = c->runsLeft;
            const int32_t pacing = c->pacing;
            const DWORD interval = c->interval;
            s::thread::ITask* task = c->task;
            c->lock->Leave();
            const ULONGLONG started = NowMs();
            if (task != nullptr)
            {
                task->Run();
                if (pacing != PACING_NONE && left != 0)
                {
                    if (pacing == PACING_PAUSE)
                    {
                        Sleep(interval);
                    }
                    else
                    {
                        const ULONGLONG elapsed = NowMs() - started;
                        if (elapsed < interval)
                        {
                            Sleep(static_cast<DWORD>(interval - elapsed));
                        }
                    }
                }
            }
        }
        else
        {
            c->idle = true;
            c->lock->Leave();
            park = true;
        }
        if (park)
        {
            // Every Run form signals the event after it has set up the work, and the event
            // keeps a signal given before this wait: a job handed over between leaving the
            // lock and this line is found at the next turn.
            WaitForSingleObject(static_cast<HANDLE>(c->wake), INFINITE);
        }
        c->lock->Enter();
        c->entered = true;
    }
    c->lock->Leave();
    c->finished = true;
    return 0;
}

void Thread::Run()
{
    Function fn = function_;
    if (fn != nullptr)
    {
        fn(this);
    }
}

uint32_t Thread::GetThreadId()
{
    return threadId_;
}

void Thread::Schedule(s::thread::ITask* task, int32_t runs, int32_t pacing, uint32_t interval)
{
    {
        s::thread::ObjLocker::Guard guard(lock_);
        control_.task = task;
        // Without a task there is nothing to repeat; an endless empty job would only spin.
        control_.runsLeft = task != nullptr ? runs : 0;
        control_.pause = 0;
        control_.pacing = pacing;
        control_.interval = interval;
        control_.entered = false;
        control_.idle = false;
        // finished is left alone: a routine that has ended cannot run again (see Reset).
    }
    Resume();
}

void Thread::Run(s::thread::ITask* task)
{
    Schedule(task, 1, PACING_NONE, 0);
}

void Thread::RunTimes(s::thread::ITask* task, int32_t n)
{
    Schedule(task, n, PACING_NONE, 0);
}

void Thread::RunTimesPaced(s::thread::ITask* task, int32_t n, uint32_t ms)
{
    Schedule(task, n, PACING_PAUSE, ms);
}

void Thread::RunTimesPeriodic(s::thread::ITask* task, int32_t n, uint32_t ms)
{
    Schedule(task, n, PACING_PERIODIC, ms);
}

void Thread::RunForever(s::thread::ITask* task)
{
    Schedule(task, -1, PACING_NONE, 0);
}

void Thread::RunForeverPaced(s::thread::ITask* task, uint32_t ms)
{
    Schedule(task, -1, PACING_PAUSE, ms);
}

void Thread::RunForeverPeriodic(s::thread::ITask* task, uint32_t ms)
{
    Schedule(task, -1, PACING_PERIODIC, ms);
}

bool Thread::IsIdle()
{
    return control_.idle;
}

bool Thread::IsFinished() const
{
    return control_.finished;
}

void Thread::WaitIdle()
{
    while (!control_.idle && !control_.finished)
    {
        Sleep(IDLE_POLL_MS);
    }
}

bool Thread::WaitIdle(uint32_t ms)
{
    uint32_t waited = 0;
    while (!control_.idle && !control_.finished)
    {
        if (waited >= ms)
        {
            // Hung: kill the worker and put a fresh parked one in its place. The control lock
            // is taken first, so the worker is not inside it when it dies (a lock owned by a
            // dead thread would block every later caller), and a worker that became idle in
            // the meantime is spared.
            s::thread::ObjLocker::Guard guard(lock_);
            if (control_.idle || control_.finished)
            {
                return true;
            }
            HANDLE old = static_cast<HANDLE>(handle_);
            if (old != nullptr)
            {
                TerminateThread(old, 1);
                WaitForSingleObject(old, 1000);
                CloseHandle(old);
            }
            handle_ = nullptr;
            MakeWorker();
            return false;
        }
        Sleep(IDLE_POLL_MS);
        waited += IDLE_POLL_MS;
    }
    return true;
}

void Thread::StopRepeating()
{
    {
        s::thread::ObjLocker::Guard guard(lock_);
        control_.runsLeft = 0;
    }
    Resume();
}

void Thread::Finish()
{
    StopRepeating();
    WaitIdle();
}

void Thread::WaitExit()
{
    while (!control_.finished)
    {
        Resume();
        if (handle_ == nullptr)
        {
            break;
        }
        WaitForSingleObject(static_cast<HANDLE>(handle_), EXIT_POLL_MS);
    }
}

void Thread::RequestStop()
{
    {
        s::thread::ObjLocker::Guard guard(lock_);
        control_.stop = true;
    }
    Resume();
}

void Thread::Stop()
{
    RequestStop();
    WaitExit();
}

void Thread::Pause(uint32_t ms)
{
    s::thread::ObjLocker::Guard guard(lock_);
    control_.pause = ms;
}

void Thread::Resume()
{
    HANDLE h = static_cast<HANDLE>(handle_);
    if (h == nullptr)
    {
        return;
    }
    for (;;)
    {
        const DWORD previous = ResumeThread(h);
        if (previous == static_cast<DWORD>(-1) || previous <= 1)
        {
            break;
        }
    }
    SetEvent(static_cast<HANDLE>(control_.wake));
}

void Thread::Suspend()
{
    s::thread::ObjLocker::Guard guard(lock_);
    if (handle_ != nullptr)
    {
        SuspendThread(static_cast<HANDLE>(handle_));
    }
}

int32_t Thread::GetPriority()
{
    if (handle_ == nullptr)
    {
        return PRIORITY_NORMAL;
    }
    const int p = GetThreadPriority(static_cast<HANDLE>(handle_));
    return p == THREAD_PRIORITY_ERROR_RETURN ? PRIORITY_NORMAL : p;
}

bool Thread::SetPriority(int32_t priority)
{
    s::thread::ObjLocker::Guard guard(lock_);
    control_.priority = priority;
    return handle_ != nullptr && SetThreadPriority(static_cast<HANDLE>(handle_), priority) != 0;
}

void Thread::SetFunction(Function fn)
{
    function_ = fn;
}

void Thread::Reset()
{
    if (control_.finished)
    {
        // Stopped by its last user: the next one gets a working thread again.
        if (handle_ != nullptr)
        {
            CloseHandle(static_cast<HANDLE>(handle_));
            handle_ = nullptr;
        }
        s::thread::ObjLocker::Guard guard(lock_);
        control_.priority = PRIORITY_NORMAL;
        MakeWorker();
    }
    else if (!control_.idle)
    {
        Finish();
    }
    SetPriority(PRIORITY_NORMAL);
    function_ = nullptr;
    s::thread::ObjLocker::Guard guard(lock_);
    control_.task = nullptr;
    control_.pause = 0;
    control_.idle = true;
}

} // namespace s::thread::win
