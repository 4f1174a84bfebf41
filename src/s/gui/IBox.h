#pragma once
#include "s/gui/IContainer.h"

namespace s::str::strarray
{
class StrArray;
}

namespace s::gui
{

// The general container: insets, gaps, alignment, fixed or percentage sizes, and one
// of four arrangements chosen by its mode (0 row, 1 column, 2 flow, 3 pile) unless a
// layout manager is set. Events (kinds passed to handleEvent): 1 files dropped, 2 wheel
// turned (getWheelLines), 3 laid out, 6 clicked, 7 links dropped.
// Threads: as IComponent; listeners are called on the top window's thread.
class IBox : public IContainer
{
  public:
    enum Mode
    {
        MODE_ROW = 0,
        MODE_COLUMN = 1,
        MODE_FLOW = 2,
        MODE_PILE = 3
    };

    virtual void setHorizontalGap(int pixels) = 0;
    virtual void setVerticalGap(int pixels) = 0;
    // Changing an inset moves every child's origin and lays out again.
    virtual void setInsetLeft(int pixels) = 0;
    virtual void setInsetRight(int pixels) = 0;
    virtual void setInsetTop(int pixels) = 0;
    virtual void setInsetBottom(int pixels) = 0;
    virtual void setInsetsHorizontal(int pixels) = 0;
    virtual void setInsetsVertical(int pixels) = 0;
    virtual void setInsets(int pixels) = 0;
    virtual void alignTop() = 0;
    virtual void alignMiddle() = 0;
    virtual void alignBottom() = 0;
    virtual void alignLeft() = 0;
    virtual void alignCentre() = 0;
    virtual void alignRight() = 0;
    virtual int getMode() = 0;
    virtual void setRowMode() = 0;
    virtual void setColumnMode() = 0;
    virtual void setFlowMode() = 0;
    virtual void setPileMode() = 0;
    // Width and height percent := 100.
    virtual void fillParent() = 0;
    // Each clears the fixed size of its axis; −1 = none.
    virtual void setWidthPercent(int percent) = 0;
    virtual void setHeightPercent(int percent) = 0;
    // Each clears the percentage of its axis; −1 = none.
    virtual void setFixedWidth(int pixels) = 0;
    virtual void setFixedHeight(int pixels) = 0;
    // Raises the minimum width to at least this (−1 = none).
    virtual void setMinWidthOverride(int pixels) = 0;
    // Drops: kept as flags until the drop target arrives.
    virtual void setAcceptFiles(bool on) = 0;
    virtual void addDropListener(events::IEventListener* listener) = 0;
    // The paths of the last drop; the list stays owned by the box (null when none).
    virtual str::strarray::StrArray* getDroppedFiles() = 0;
    virtual void setDropTarget(bool on) = 0;
    virtual void addUrlDropListener(events::IEventListener* listener) = 0;
    // The URL of the last link drop (one string; null before any).
    virtual str::strarray::StrArray* getDroppedUrls() = 0;
    virtual void addWheelListener(events::IEventListener* listener) = 0;
    // Lines of the last wheel turn, negative towards the user.
    virtual int getWheelLines() = 0;
    // Report a minimum of 0 on that axis.
    virtual void setCollapseWidth(bool on) = 0;
    virtual void setCollapseHeight(bool on) = 0;
    // A bitmap painted instead of the background colour; not owned (0 = none).
    virtual void setBackgroundImage(HBITMAP__* bitmap) = 0;
    virtual void addLayoutListener(events::IEventListener* listener) = 0;
    // Hides every child but the one at index (out of range: hides all).
    virtual void showOnly(int index) = 0;
    // As showOnly, also parking the hidden children's origins at (0, 3000).
    virtual void showOnlyParked(int index) = 0;
    virtual void addClickListener(events::IEventListener* listener) = 0;
    // A colour that wins over the background colour when painting.
    virtual void setBackgroundOverride(int r, int g, int b) = 0;
};

} // namespace s::gui
