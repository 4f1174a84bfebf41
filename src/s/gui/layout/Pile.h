#pragma once
#include "s/base/ClassId.h"
#include "s/gui/ILayoutManager.h"

namespace s::gui::layout
{

// Visible children on top of each other, left and top alignment. One shared instance
// (Shared()) serves every container for the whole process; it is never released.
class Pile : public ILayoutManager
{
    S_CLASS_ID(L"s_gui_layout_Pile")
  public:
    static Pile* Shared();
    base::IObject* NewInstance() const override { return Shared(); }
    void layout(IComponent* container, int* minWidth = nullptr, int* minHeight = nullptr,
                int* prefWidth = nullptr, int* prefHeight = nullptr) override;
};

} // namespace s::gui::layout
