#pragma once
#include "s/base/ClassId.h"
#include "s/gui/IBox.h"
#include "s/gui/IGroupBox.h"
#include "s/gui/win/PanelContainer.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/WidgetBase.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui::win
{

// A frame with a caption around one content box (see IGroupBox), on a plain toolkit
// window. The client area is the inside of the frame below the caption; the content is
// laid out there as a column of one (it stretches to the inside, within its limits).
// Sizes: at least the caption's width plus margins and the content's minimum plus the
// frame; at most the content's maximum plus the frame (a width percentage or a fixed
// size of the group box itself wins).
// Pooled: GroupBox::Acquire() or newGroupBox. Threads: as every component.
class GroupBox : public WidgetBase<IGroupBox, PanelContainer<IGroupBox>>, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_win_GroupBox")
    S_POOLED(GroupBox)

  public:
    // The frame's margins around the content, at 96 DPI (side() and bottom() are the
    // window's pixels).
    static constexpr int SIDE = 6;
    static constexpr int BOTTOM = 6;

    GroupBox() { Reset(); }
    void Reset() override;

    // --- IGroupBox -------------------------------------------------------------
    void setTextId(int textId) override { WidgetBase::setTextId(textId); }
    void setText(const wchar_t* text) override { applyText(text); }
    void setContent(IBox* content) override;
    IBox* getContent() override;
    void doLayout() override;
    // The content's limits are the group box's: its parent lays out again too.
    void childChanged() override;

    int getClientWidth() override { return width_ - 2 * side(); }
    int getClientHeight() override { return height_ - captionHeight() - bottom(); }
    int getMinWidth() override;
    int getMinHeight() override;
    int getMaxWidth() override;
    int getMaxHeight() override;
    int getMinClientWidth() override { return getMinWidth() - 2 * side(); }
    int getMinClientHeight() override { return getMinHeight() - captionHeight() - bottom(); }
    int getMaxClientWidth() override { return getMaxWidth() - 2 * side(); }
    int getMaxClientHeight() override { return getMaxHeight() - captionHeight() - bottom(); }

  protected:
    void paintInto(HDC dc) override;
    int childOriginX() override { return side(); }
    int childOriginY() override { return captionHeight(); }

  private:
    int captionHeight();
    int side() { return scaled(SIDE); }
    // The content's origin last given, to move it only when it changes.
    IComponent* contentOriginOf_ = nullptr;
    int contentOriginX_ = 0, contentOriginY_ = 0;
    int bottom() { return scaled(BOTTOM); }
};

} // namespace s::gui::win
