#pragma once
// A plain component for tests: its size limits are set directly, it counts the moves of
// its native window (made or not) and, without a native window, it answers its visible
// flag as its visibility so that layouts can be checked without a display.
#include "s/base/ClassId.h"
#include "s/gui/win/ComponentBase.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace testgui
{

class FakeWidget : public s::gui::win::ComponentBase<s::gui::IComponent>, public s::thread::IPoolable
{
    S_CLASS_ID(L"testgui_FakeWidget")
    S_POOLED(FakeWidget)

  public:
    void Reset() override
    {
        resetComponent();
        moves = 0;
    }
    bool isVisible() override { return visible_; }

    // A widget whose limits are min w × h and max w × h (−1 = none).
    static FakeWidget* Make(int minW, int minH, int maxW = -1, int maxH = -1)
    {
        FakeWidget* w = Acquire();
        w->setSizeLimits(minW, minH, maxW, maxH);
        return w;
    }

    int moves = 0; // native placements (applied geometry calls)

  protected:
    void placeNative(UINT flags) override
    {
        ++moves;
        ComponentBase::placeNative(flags);
    }
};

} // namespace testgui
