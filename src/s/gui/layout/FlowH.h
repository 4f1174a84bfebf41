#pragma once
#include "s/base/ClassId.h"
#include "s/gui/ILayoutManager.h"

namespace s::gui::layout
{

// Wrapping rows: left and top alignment, no gaps. One shared instance
// (Shared()) serves every container for the whole process; it is never released.
class FlowH : public ILayoutManager
{
    S_CLASS_ID(L"s_gui_layout_FlowH")
  public:
    static FlowH* Shared();
    base::IObject* NewInstance() const override { return Shared(); }
    void layout(IComponent* container, int* minWidth = nullptr, int* minHeight = nullptr,
                int* prefWidth = nullptr, int* prefHeight = nullptr) override;
};

} // namespace s::gui::layout
