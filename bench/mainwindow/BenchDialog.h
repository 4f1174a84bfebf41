#pragma once
// What the main-window benchmarks share: a drop dialog whose end of a run is signalled, and
// the clock and median of their measurements.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "s/gui/dialogs/dragndrop/Dialog.h"

namespace kairon::bench
{

// The drop dialog whose worker runs the change engine; the end of a run sets `done`.
class BenchDialog : public s::gui::dialogs::dragndrop::Dialog
{
    S_CLASS_ID(L"bench_BenchDialog")
    S_POOLED(BenchDialog)

  public:
    HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    ~BenchDialog() override { CloseHandle(done); }
    void Reset() override { Dialog::Reset(); }
    bool getDefaultCompactView() override { return false; }
    void onProcessingFinished() override { SetEvent(done); }
};

inline double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace kairon::bench
