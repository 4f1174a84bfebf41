#pragma once
// A pooled, reusable worker thread.
//
//     Thread* worker = Thread::Acquire();       // parked, priority normal
//     worker->Run(&task);                       // task->Run() on the worker, once
//     worker->WaitIdle();
//     worker->Release();                        // lets a run under way end; back to the pool
//
// One operating-system thread per Thread object, made suspended when the object is made
// and reused for every job it is given. Between jobs the worker is parked on a wake event;
// every Run form, Resume, StopRepeating and RequestStop signal it, so a job handed over
// while the worker is on its way to park is never lost (a signal given before the worker
// waits is kept by the event).
//
// Thread affinity: all operations may be called from any thread except the worker itself
// (see IThread). The control block is guarded by the Thread's own lock; the entered, idle
// and finished flags are read without it. The lock is never held while the task runs,
// while sleeping or while parked.

#include <atomic>
#include <cstdint>

#include "s/base/ClassId.h"
#include "s/thread/IPoolable.h"
#include "s/thread/IThread.h"
#include "s/thread/ITask.h"
#include "s/thread/ObjLocker.h"
#include "s/thread/Pooled.h"

namespace s::thread::win
{

class Thread : public s::thread::IThread, public s::thread::IPoolable, public s::thread::ITask
{
    S_CLASS_ID(L"s_thread_win_Thread")
    S_POOLED(Thread)

  public:
    // Pacing of a job.
    static constexpr int32_t PACING_NONE = 0;
    static constexpr int32_t PACING_PAUSE = 1;    // sleep the interval after each run
    static constexpr int32_t PACING_PERIODIC = 2; // runs start one interval apart

    // Priority given by WaitIdle(ms)'s replacement and after Reset: normal.
    static constexpr int32_t PRIORITY_NORMAL = 0;

    // Pool behaviour: if the worker is not idle, Finish (the run under way ends, runs not
    // yet started are dropped); a worker whose routine was stopped gets a new one;
    // priority back to normal, no function; the worker stays parked on its wake event. (It is not
    // suspended: a worker suspended while it waits for the control lock would be handed
    // that lock and keep it, and the next user of the Thread would block for ever.)
    void Reset() override;

    // The thread's own task face: calls the function given to SetFunction with this task.
    void Run() override;

    uint32_t GetThreadId() override;
    void Run(s::thread::ITask* task) override;
    void RunTimes(s::thread::ITask* task, int32_t n) override;
    void RunTimesPaced(s::thread::ITask* task, int32_t n, uint32_t ms) override;
    void RunTimesPeriodic(s::thread::ITask* task, int32_t n, uint32_t ms) override;
    void RunForever(s::thread::ITask* task) override;
    void RunForeverPaced(s::thread::ITask* task, uint32_t ms) override;
    void RunForeverPeriodic(s::thread::ITask* task, uint32_t ms) override;
    bool IsIdle() override;
    void WaitIdle() override;
    bool WaitIdle(uint32_t ms) override;
    void StopRepeating() override;
    void Finish() override;
    void WaitExit() override;
    void RequestStop() override;
    void Stop() override;
    void Pause(uint32_t ms) override;
    void Resume() override;
    void Suspend() override;
    int32_t GetPriority() override;
    bool SetPriority(int32_t priority) override;
    void SetFunction(Function fn) override;

    // True once the worker routine has ended (after RequestStop or Stop).
    bool IsFinished() const;

  protected:
    Thread();
    ~Thread() override;

  private:
    // What the worker routine sees. Everything but the three polled flags is read and
    // written under *lock only.
    struct ControlBlock
    {
        const s::thread::ObjLocker* lock = nullptr;
        void* handle = nullptr; // the worker thread
        void* wake = nullptr;   // auto-reset event the parked worker waits on
        uint32_t pause = 0;
        s::thread::ITask* task = nullptr;
        int32_t runsLeft = 0;
        int32_t pacing = PACING_NONE;
        uint32_t interval = 0;
        std::atomic<bool> entered{false};
        std::atomic<bool> idle{true};
        bool stop = false;
        std::atomic<bool> finished{false};
        int32_t priority = PRIORITY_NORMAL;
    };

    static unsigned long __stdcall Routine(void* control);
    void MakeWorker();
    void Schedule(s::thread::ITask* task, int32_t runs, int32_t pacing, uint32_t interval);

    void* handle_ = nullptr;
    uint32_t threadId_ = 0;
    s::thread::ObjLocker lock_;
    // Shared with the worker routine, which gets its address.
    ControlBlock control_;
    Function function_ = nullptr;
};

} // namespace s::thread::win
