#pragma once
#include "s/base/ClassId.h"
#include "s/gui/IBox.h"
#include "s/gui/win/PanelContainer.h"
#include "s/gui/win/ListenerList.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

struct HDROP__;

namespace s::gui::win
{

// The general container (see IBox). Its client area is the area inside its insets:
// getClientWidth/Height answer the size less the insets, and every child's origin is
// the (left, top) inset, so children are placed inside the insets.
//
// Gaps, insets, fixed sizes and the minimum-width override are stated in 96-DPI pixels
// and laid out scaled to the window's DPI (Toolkit::scale), again when it changes.
//
// Pooled: Box::Acquire() gives a detached box with the defaults (column mode, left and
// top alignment, no gaps or insets, no fixed or percentage sizes); add it to a container
// (which then owns it) or Release() it. Threads: as every component.
class UrlDropTarget;

class Box : public PanelContainer<IBox>, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_win_Box")
    S_POOLED(Box)

  public:
    Box();
    ~Box() override;

    void Reset() override;

    // --- IComponent / IContainer -------------------------------------------
    int getClientWidth() override { return width_ - insetLeft_ - insetRight_; }
    int getClientHeight() override { return height_ - insetTop_ - insetBottom_; }
    void setClientWidth(int w) override { setWidth(w + insetLeft_ + insetRight_); }
    void setClientHeight(int h) override { setHeight(h + insetTop_ + insetBottom_); }
    int getMinWidth() override;
    int getMinHeight() override;
    int getMinClientWidth() override;
    int getMinClientHeight() override;
    int getMaxWidth() override;
    int getMaxHeight() override;
    int getMaxClientWidth() override;
    int getMaxClientHeight() override;
    void add(IComponent* child) override;
    void doLayout() override;
    HDC__* getBackdrop(int* offsetX, int* offsetY) override;

    // --- IBox ----------------------------------------------------------------
    void setHorizontalGap(int pixels) override;
    void setVerticalGap(int pixels) override;
    void setInsetLeft(int pixels) override;
    void setInsetRight(int pixels) override;
    void setInsetTop(int pixels) override;
    void setInsetBottom(int pixels) override;
    void setInsetsHorizontal(int pixels) override;
    void setInsetsVertical(int pixels) override;
    void setInsets(int pixels) override;
    void alignTop() override { vAlign_ = 0; }
    void alignMiddle() override { vAlign_ = 1; }
    void alignBottom() override { vAlign_ = 2; }
    void alignLeft() override { hAlign_ = 0; }
    void alignCentre() override { hAlign_ = 1; }
    void alignRight() override { hAlign_ = 2; }
    int getMode() override { return mode_; }
    void setRowMode() override { mode_ = MODE_ROW; }
    void setColumnMode() override { mode_ = MODE_COLUMN; }
    void setFlowMode() override { mode_ = MODE_FLOW; }
    void setPileMode() override { mode_ = MODE_PILE; }
    void fillParent() override;
    void setWidthPercent(int percent) override;
    void setHeightPercent(int percent) override;
    void setFixedWidth(int pixels) override;
    void setFixedHeight(int pixels) override;
    void setMinWidthOverride(int pixels) override;
    // Drops (see BoxDrop.cpp). Files arrive as WM_DROPFILES: the whole paths, in the
    // shell's order, replace the last list and event 1 fires. Links arrive through the
    // box's UrlDropTarget, made and registered on the window's thread while the flag is
    // on and the native window exists: the URL replaces the last one and event 7 fires.
    void setAcceptFiles(bool on) override;
    void addDropListener(events::IEventListener* listener) override { dropListeners_.add(listener); }
    str::strarray::StrArray* getDroppedFiles() override { return droppedFiles_; }
    void setDropTarget(bool on) override;
    void addUrlDropListener(events::IEventListener* listener) override { urlDropListeners_.add(listener); }
    str::strarray::StrArray* getDroppedUrls() override { return droppedUrls_; }
    // The registered link drop target (null while none).
    UrlDropTarget* getUrlDropTarget() const { return urlTarget_; }
    // The drop target's report of a link drop (kind 3) is handed to the box's thread.
    void handleEvent(void* source, int kind) override;
    void addWheelListener(events::IEventListener* listener) override { wheelListeners_.add(listener); }
    int getWheelLines() override { return wheelLines_; }
    void setCollapseWidth(bool on) override { collapseWidth_ = on; }
    void setCollapseHeight(bool on) override { collapseHeight_ = on; }
    void setBackgroundImage(HBITMAP__* bitmap) override;
    void addLayoutListener(events::IEventListener* listener) override { layoutListeners_.add(listener); }
    void showOnly(int index) override;
    void showOnlyParked(int index) override;
    void addClickListener(events::IEventListener* listener) override { clickListeners_.add(listener); }
    void setBackgroundOverride(int r, int g, int b) override;

    // Layout-only: asks for no native window of the box's own (before it joins a window).
    // Its children's windows then live in the nearest ancestor's window, placed at the box's
    // offset, which they follow when the box moves; hiding the box hides them. Under Wine
    // every native window costs its making and a paint at each show, and most boxes only
    // arrange their children. Taken only by a box that draws nothing of its own where its
    // parent would not draw the same (checked when it joins the window): the background
    // colour of its parent (not the window itself, not a transparent parent or one with a
    // picture), no background image, drops, click or wheel listeners, not a pile (whose
    // cards are parked by origin), no fixed or collapsed size (a window clips what does not
    // fit; a size fixed later does not clip either), no radio buttons among its children
    // (the system groups them by their sibling windows); any other box keeps its window.
    // Drops and listeners set later are not served: ask for them before, or leave the box
    // its window. The box's enabled state is not passed on to its children (disable those
    // themselves).
    void setLayoutOnly() { layoutOnly_ = true; }
    // True while the box is attached without a native window of its own.
    bool isWindowless() const { return windowless_; }
    HWND getHostHandle() override;
    bool letsChildrenShow() override;
    bool isVisible() override;
    void setVisible(bool show, bool notify) override;
    int getScreenX() override;
    int getScreenY() override;

    // --- message hook --------------------------------------------------------
    bool handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam) override;

    // True for a box with wheel listeners: the window and boxes offer it the wheel first.
    static bool acceptsWheel(IComponent* component);

    // Alignments (0 start, 1 centre, 2 end), gaps and insets as set.
    int getHorizontalAlignment() const { return hAlign_; }
    int getVerticalAlignment() const { return vAlign_; }
    bool isHovered() const { return hover_; }
    // The content limits of the last layout.
    int getContentMinWidth() const { return contentMinWidth_; }
    int getContentMinHeight() const { return contentMinHeight_; }
    int getContentPrefWidth() const { return contentPrefWidth_; }
    int getContentPrefHeight() const { return contentPrefHeight_; }

    // Box events.
    enum Event
    {
        EVENT_FILES_DROPPED = 1,
        EVENT_WHEEL = 2,
        EVENT_LAID_OUT = 3,
        EVENT_CLICKED = 6,
        EVENT_URLS_DROPPED = 7
    };

    void dpiChanged() override;

  protected:
    bool createNative(HWND parentHandle) override;
    void attached() override;
    void nativeCreated() override;
    void paintInto(HDC dc) override;
    void placeNative(UINT flags) override;
    void detached() override;
    // Within the box's own window, the insets; without one, the box's place in its host's.
    int childOriginX() override { return windowless_ ? originX_ + x_ + insetLeft_ : insetLeft_; }
    int childOriginY() override { return windowless_ ? originY_ + y_ + insetTop_ : insetTop_; }

  private:
    void resetBox();
    // Whether the box may go without a window of its own (see setLayoutOnly).
    bool drawsNothingOfItsOwn();
    // Gives `child` its origin and its native window: in the box's own window, or without
    // one in the host's.
    void attachChild(IComponent* child);
    // Shows or hides the native windows of `component`'s own (through layout-only boxes),
    // each as its own visibility asks when shown.
    static void showNativesOf(IComponent* component, bool show);
    // The pixel values in use, from the stated ones at the window's DPI.
    void applyStated();
    void updateDropTarget();
    void onDropFiles(HDROP__* drop);
    void onUrlDropped();
    void clearDrops();
    void insetsChanged();
    // A flow box tells its parent twice (see Box.cpp).
    void tellParent() override;
    int percentOf(int parentSize, int percent, int less) const;

    // As stated (96 DPI); the members below them hold the scaled values in use.
    struct Stated
    {
        int hGap = 0, vGap = 0;
        int left = 0, right = 0, top = 0, bottom = 0;
        int fixedWidth = -1, fixedHeight = -1;
        int minWidthOverride = -1;
    } stated_;
    int mode_ = MODE_COLUMN;
    int hAlign_ = 0, vAlign_ = 0;
    int hGap_ = 0, vGap_ = 0;
    int insetLeft_ = 0, insetRight_ = 0, insetTop_ = 0, insetBottom_ = 0;
    int fixedWidth_ = -1, fixedHeight_ = -1;
    int widthPercent_ = -1, heightPercent_ = -1;
    int minWidthOverride_ = -1;
    bool collapseWidth_ = false, collapseHeight_ = false;
    int contentMinWidth_ = 0, contentMinHeight_ = 0, contentPrefWidth_ = 0, contentPrefHeight_ = 0;
    bool acceptFiles_ = false, dropTarget_ = false;
    str::strarray::StrArray* droppedFiles_ = nullptr; // owned, made by the first drop
    str::strarray::StrArray* droppedUrls_ = nullptr;  // owned, made by the first link drop
    UrlDropTarget* urlTarget_ = nullptr;    // owned while registered
    bool hover_ = false;
    int wheelLines_ = 0;
    HBITMAP__* image_ = nullptr;
    bool hasOverride_ = false;
    bool layoutOnly_ = false; // asked for by setLayoutOnly
    bool windowless_ = false; // attached without a native window of its own
    uint32_t override_ = 0;
    ListenerList dropListeners_, urlDropListeners_, wheelListeners_, layoutListeners_, clickListeners_;
};

} // namespace s::gui::win
