// The progress reporter: counts are kept whatever their size, the bar gets only what it can show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "s/archive/CallBack.h"

namespace
{
struct Bar : s::archive::IProgressTarget, s::archive::IStatusTarget
{
    std::vector<int32_t> ranges, positions;
    std::vector<std::wstring> texts;
    void showProgressRange(int32_t maximum) override { ranges.push_back(maximum); }
    void showProgressPosition(int32_t position) override { positions.push_back(position); }
    void showStatusText(const wchar_t* text) override { texts.push_back(text); }
};
} // namespace

TEST(CallBack, RangesAboveWhatTheBarCanShowAreKeptButNotShown)
{
    Bar bar;
    s::archive::CallBack reporter;
    reporter.setProgressTarget(&bar);
    reporter.setRange(0xFFFFFF);
    reporter.setPosition(0x800000);
    reporter.setRange(0x1000000);
    reporter.setPosition(0x900000);
    EXPECT_EQ(0x1000000, reporter.getRange());
    EXPECT_EQ(0x900000, reporter.getPosition());
    EXPECT_EQ(std::vector<int32_t>({0xFFFFFF}), bar.ranges);
    EXPECT_EQ(std::vector<int32_t>({0x800000}), bar.positions);
}

TEST(CallBack, PositionsOutsideTheRangeAreShownAtItsEnds)
{
    Bar bar;
    s::archive::CallBack reporter;
    reporter.setProgressTarget(&bar);
    reporter.setRange(10);
    reporter.setPosition(11);
    reporter.setPosition(-1);
    EXPECT_EQ(std::vector<int32_t>({10, 0}), bar.positions);
    reporter.setRange(-5);
    EXPECT_EQ(0, reporter.getRange());
}

TEST(CallBack, TextsGoToTheStatusTargetAndClearForgetsBoth)
{
    Bar bar;
    s::archive::CallBack reporter;
    reporter.setStatus(L"nowhere"); // no target: nothing happens
    reporter.setStatusTarget(&bar);
    reporter.setProgressTarget(&bar);
    reporter.setStatus(L"Ready");
    reporter.setStatus(nullptr);
    EXPECT_EQ(std::vector<std::wstring>({L"Ready", L""}), bar.texts);
    reporter.setRange(5);
    reporter.clear();
    EXPECT_EQ(nullptr, reporter.getStatusTarget());
    EXPECT_EQ(nullptr, reporter.getProgressTarget());
    EXPECT_EQ(0, reporter.getRange());
    reporter.setStatus(L"after clear");
    EXPECT_EQ(2u, bar.texts.size());
}
