#pragma once
// The progress reporter of long jobs: one status text and one progress bar, fed with 64-bit
// counts. The counts are kept whatever their size; they reach the progress bar only while
// the range is at most MAX_SHOWN_RANGE (the platform's progress control cannot show more),
// so a caller with larger counts scales them down first.
//
//     CallBack reporter;
//     reporter.setStatusTarget(&label);      // not owned
//     reporter.setProgressTarget(&bar);      // not owned
//     reporter.setRange(1000);
//     reporter.setPosition(250);             // the bar shows a quarter
//
// Threads: no lock; call it from the thread that owns the targets (the user-interface
// thread of their window). Targets are not owned and must outlive their use here; clear()
// forgets them.

#include <cstdint>

namespace s::archive
{

// Where the reporter shows its text (the status label of a window).
class IStatusTarget
{
  public:
    virtual ~IStatusTarget() = default;
    // text is never null; it is valid only during the call.
    virtual void showStatusText(const wchar_t* text) = 0;
};

// Where the reporter shows its progress (a progress bar).
class IProgressTarget
{
  public:
    virtual ~IProgressTarget() = default;
    virtual void showProgressRange(int32_t maximum) = 0;
    virtual void showProgressPosition(int32_t position) = 0;
};

class CallBack
{
  public:
    // The largest range the progress bar is given (0xFFFFFF).
    static constexpr int64_t MAX_SHOWN_RANGE = 0xFFFFFF;

    void setStatusTarget(IStatusTarget* target) { status_ = target; }
    IStatusTarget* getStatusTarget() const { return status_; }
    void setProgressTarget(IProgressTarget* target)
    {
        progress_ = target;
        rangeShown_ = false;
    }
    IProgressTarget* getProgressTarget() const { return progress_; }

    // Shows text in the status target (null shows the empty text).
    void setStatus(const wchar_t* text);

    // Keeps the range; the bar gets it (and the kept position) when it is at most
    // MAX_SHOWN_RANGE. A negative range counts as 0.
    void setRange(int64_t maximum);
    int64_t getRange() const { return range_; }
    // Keeps the position; the bar gets it while the range is at most MAX_SHOWN_RANGE.
    void setPosition(int64_t position);
    int64_t getPosition() const { return position_; }

    // Forgets both targets; range and position back to 0.
    void clear();

  private:
    IStatusTarget* status_ = nullptr;     // not owned
    IProgressTarget* progress_ = nullptr; // not owned
    int64_t range_ = 0;
    // The target shows range_ already: a bar repaints on every range it is given, and most
    // updates of a run keep the range, so an unchanged one is not given again.
    bool rangeShown_ = false;
    int64_t position_ = 0;
};

} // namespace s::archive
