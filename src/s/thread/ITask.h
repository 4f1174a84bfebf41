#pragma once

namespace s::thread
{

// A unit of work that a worker thread executes. The thread does not own the task:
// whoever hands it to a thread keeps it alive until the thread is idle again.
class ITask
{
  public:
    virtual ~ITask() = default;

    // Called on the worker thread, once per scheduled run. Never called by two
    // threads at once for one scheduling (runs of one job never overlap).
    virtual void Run() = 0;
};

} // namespace s::thread
