#pragma once

#include <cstdint>

#include "s/base/IObject.h"
#include "s/thread/ITask.h"

namespace s::thread
{

// A reusable worker: one operating-system thread that stays parked until it is given a
// task to run once, a number of times or endlessly, optionally paced.
//
// Every operation may be called from any thread except the worker itself, unless said
// otherwise. A task must never call Stop, WaitExit, Finish or WaitIdle on the thread that
// runs it (it would wait for itself). The task passed to a Run form is not owned; it must
// stay alive until the thread is idle again (WaitIdle, Finish).
class IThread : public s::base::IObject
{
  public:
    // Signature of the function that the thread's own task face runs (SetFunction); it
    // receives that task face.
    using Function = void (*)(ITask* self);

    // The operating-system id of the worker (0 when it could not be created).
    virtual uint32_t GetThreadId() = 0;

    // Each Run form replaces the current job: task, run count and pacing are taken over
    // for the next iteration; a run that is executing is not interrupted. A null task
    // makes the runs empty. n == -1 means endless, n == 0 no run at all. A thread whose
    // routine has ended (Stop) runs nothing any more until it has been reset by its pool.
    virtual void Run(ITask* task) = 0;
    virtual void RunTimes(ITask* task, int32_t n) = 0;
    // Sleeps ms after each run that is followed by another one.
    virtual void RunTimesPaced(ITask* task, int32_t n, uint32_t ms) = 0;
    // Starts each run ms after the previous one started; no wait when a run took longer.
    virtual void RunTimesPeriodic(ITask* task, int32_t n, uint32_t ms) = 0;
    virtual void RunForever(ITask* task) = 0;
    virtual void RunForeverPaced(ITask* task, uint32_t ms) = 0;
    virtual void RunForeverPeriodic(ITask* task, uint32_t ms) = 0;

    // True when no work is pending and the worker has parked itself.
    virtual bool IsIdle() = 0;
    // Blocks (20 ms steps) until the worker is idle.
    virtual void WaitIdle() = 0;
    // Blocks at most ms (20 ms steps). Answers true when the worker became idle; false
    // when it did not, in which case the worker was killed and replaced by a fresh parked
    // one that has the priority last set with SetPriority. Killing a thread leaves
    // whatever the task held (locks, memory) as it was: a last resort.
    virtual bool WaitIdle(uint32_t ms) = 0;
    // Lets the current run finish but schedules no further run.
    virtual void StopRepeating() = 0;
    // StopRepeating, then WaitIdle.
    virtual void Finish() = 0;
    // Blocks until the worker routine has ended (after RequestStop).
    virtual void WaitExit() = 0;
    // Asks the worker routine to end after the current run; returns at once.
    virtual void RequestStop() = 0;
    // RequestStop, then WaitExit. The thread cannot run anything afterwards.
    virtual void Stop() = 0;
    // One sleep of ms that the worker takes before its next work.
    virtual void Pause(uint32_t ms) = 0;
    // Wakes the worker: undoes Suspend and ends its parking wait.
    virtual void Resume() = 0;
    // Suspends the operating-system thread (SuspendThread) until Resume. Meant for a
    // worker that is known to be parked: one suspended while it waits for a lock keeps
    // that lock from everyone else until it is resumed.
    virtual void Suspend() = 0;
    // The platform priority (THREAD_PRIORITY_*).
    virtual int32_t GetPriority() = 0;
    // Sets and remembers the priority; a replacement thread gets it too. False when the
    // platform refused it (it is remembered all the same).
    virtual bool SetPriority(int32_t priority) = 0;
    // What the thread's own task face runs (null: nothing).
    virtual void SetFunction(Function fn) = 0;
};

} // namespace s::thread
