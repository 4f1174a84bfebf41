#pragma once
#include "s/gui/win/ContainerBase.h"

namespace s::gui::win
{

// A container on a plain toolkit window (a box, a group box, the status bar): its native
// window holds its children's (WS_CLIPCHILDREN, WS_EX_CONTROLPARENT); once it exists, the
// children are attached in list order without laying out in between, then the container
// lays out once, tells its parent (tellParent) and shows itself.
// doLayout implementations start with carryLayout (asked from another thread, the layout
// runs on the window's), skip while `creating_` is set and run at most two levels deep
// (`depth_`).
template <class I> class PanelContainer : public ContainerBase<I>
{
  protected:
    void resetPanel()
    {
        creating_ = false;
        depth_ = 0;
    }
    bool createNative(HWND parentHandle) override
    {
        this->handle_ = Toolkit::create(this, WS_EX_CONTROLPARENT, L"", WS_CHILD | WS_CLIPCHILDREN, 0, 0, 0, 0,
                                        parentHandle, nullptr);
        return this->handle_ != nullptr;
    }
    void nativeCreated() override
    {
        creating_ = true;
        this->attachChildren();
        creating_ = false;
        this->doLayout();
        tellParent();
        if (this->visible_ && this->parentLetsShow())
            ShowWindow(this->handle_, SW_SHOW);
    }
    // Tells the parent that this container's size rules may have changed.
    virtual void tellParent()
    {
        if (this->parent_)
            this->parent_->childChanged();
    }
    bool layoutAllowed() const { return !creating_ && depth_ < 2; }

    bool creating_ = false;
    int depth_ = 0;
};

} // namespace s::gui::win
