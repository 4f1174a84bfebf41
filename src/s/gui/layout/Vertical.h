#pragma once
#include "s/base/ClassId.h"
#include "s/gui/ILayoutManager.h"

namespace s::gui::layout
{

// The column: children top to bottom, left and top alignment, no gap. One shared instance
// (Shared()) serves every container for the whole process; it is never released.
class Vertical : public ILayoutManager
{
    S_CLASS_ID(L"s_gui_layout_Vertical")
  public:
    static Vertical* Shared();
    base::IObject* NewInstance() const override { return Shared(); }
    void layout(IComponent* container, int* minWidth = nullptr, int* minHeight = nullptr,
                int* prefWidth = nullptr, int* prefHeight = nullptr) override;
};

} // namespace s::gui::layout
