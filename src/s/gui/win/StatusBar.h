#pragma once
#include <vector>

#include "s/base/ClassId.h"
#include "s/gui/IStatusBar.h"
#include "s/gui/win/PanelContainer.h"
#include "s/gui/win/Label.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui::win
{

// The status bar (see IStatusBar) on a plain toolkit window with a separating line
// along its top. Its children (the panes, which are labels, and whatever else was
// added) stand in a row, vertically centred, 8 pixels apart, inside insets of 4 pixels
// at the sides and 3 at the top and bottom. Height: its tallest child plus the insets;
// width: as wide as its window makes it.
// Pooled: StatusBar::Acquire(). Threads: as every component.
class StatusBar : public PanelContainer<IStatusBar>, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_win_StatusBar")
    S_POOLED(StatusBar)

  public:
    static constexpr int INSET_SIDE = 4;
    static constexpr int INSET_TOP = 3;
    static constexpr int INSET_BOTTOM = 3;
    static constexpr int GAP = 8;

    StatusBar() { Reset(); }
    void Reset() override;

    // --- IStatusBar ------------------------------------------------------------
    void setText(int pane, const wchar_t* text) override;
    void setTextId(int pane, int textId) override;
    const wchar_t* getText(int pane) override;
    // The label of a pane (made when missing; null for a negative pane).
    Label* getPane(int pane);

    void doLayout() override;
    void childChanged() override;
    int getClientWidth() override { return width_ - 2 * INSET_SIDE; }
    int getClientHeight() override { return height_ - INSET_TOP - INSET_BOTTOM; }
    int getMinWidth() override { return contentMinWidth_ + 2 * INSET_SIDE; }
    int getMinHeight() override { return contentMinHeight_ + INSET_TOP + INSET_BOTTOM; }
    int getMaxWidth() override;
    int getMaxHeight() override { return std::max(contentMinHeight_, contentPrefHeight_) + INSET_TOP + INSET_BOTTOM; }

  protected:
    void paintInto(HDC dc) override;
    int childOriginX() override { return INSET_SIDE; }
    int childOriginY() override { return INSET_TOP; }

  private:
    std::vector<Label*> panes_; // children of this bar (owned through the child list)
    int contentMinWidth_ = 0, contentMinHeight_ = 0, contentPrefWidth_ = 0, contentPrefHeight_ = 0;
};

} // namespace s::gui::win
