#pragma once
#include "s/base/ClassId.h"
#include "s/gui/ILabel.h"
#include "s/gui/drawer/IText.h"
#include "s/gui/win/ListenerList.h"
#include "s/gui/win/WidgetBase.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui::win
{

// A text on a plain toolkit window (see ILabel), painted through a buffer so that it
// never flickers: the background (the parent's backdrop when transparent, else the
// background colour), the icon, then the text through the label's text drawer (its own
// when set, else the plain GDI one) in the font of its state.
//
// A label asked to (setDrawnInHost) goes without a native window when it only shows a text:
// its host, the nearest ancestor with a window, paints it after its own background, the
// same pixels a window of its own would show. It then takes no clicks (they reach the
// host), and assistive tools read no window text of it: meant for the captions beside the
// controls, not for texts a user acts on. A label with an icon, the hover effect or click
// listeners at the time it joins a window, or a transparent one over a picture, keeps its
// window; listeners or an icon set later are not served.
//
// Pooled: Label::Acquire() (or the factories newLabel / newLabelById) gives a detached
// label; add it to a container, which then owns it. Threads: as every component.
class Label : public WidgetBase<ILabel>, public thread::IPoolable, private DrawnPart
{
    S_CLASS_ID(L"s_gui_win_Label")
    S_POOLED(Label)

  public:
    // Hover states.
    enum State
    {
        STATE_NORMAL = 0,
        STATE_HOVER = 1,
        STATE_PRESSED = 2
    };

    Label();
    ~Label() override;
    void Reset() override;

    // --- ILabel ----------------------------------------------------------------
    void setText(const wchar_t* text, bool redraw) override;
    const wchar_t* getText() override { return WidgetBase::getText(); }
    void setTextId(int textId) override { WidgetBase::setTextId(textId); }
    int getTextId() override { return WidgetBase::getTextId(); }
    void setFontSize(int code) override { WidgetBase::setFontSize(code); }
    void setBold(bool on) override { WidgetBase::setBold(on); }
    void setItalic(bool on) override { WidgetBase::setItalic(on); }
    void setUnderline(bool on) override { WidgetBase::setUnderline(on); }
    void setTextColour(int r, int g, int b) override { WidgetBase::setTextColour(r, g, b); }
    void setIcon(HICON__* icon, bool owned) override;
    void setHoverEffect(bool on) override;
    // The text colour while hovered (with the hover effect); by default the main font's.
    void setHoverTextColour(int r, int g, int b);
    void addClickListener(events::IEventListener* listener) override { clickListeners_.add(listener); }
    Font* getFont() override { return WidgetBase::getFont(); }

    // 0 left, 1 centre, 2 right (drawer::IText alignments).
    void setAlignment(int alignment);
    int getAlignment() const { return alignment_; }
    // A drawer of the caller's (not owned; null returns to the plain one).
    void setTextDrawer(drawer::IText* drawer);
    // The font used in the current state (a variant made on first use).
    Font* getStateFont();
    int getHoverState() const { return hoverState_; }

    bool handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam) override;

    // Asks for no native window (see the class comment); before the label joins a window.
    void setDrawnInHost() { drawnAsked_ = true; }
    // Whether the label is painted by its host (it has no window of its own).
    bool isDrawnInHost() const { return drawnHost_ != nullptr; }

    // --- drawn in the host: what a window would have done ---------------------------
    bool isVisible() override { return drawnHost_ ? visible_ : WidgetBase::isVisible(); }
    void setVisible(bool show, bool notify) override;
    void setEnabled(bool on) override;
    void redraw() override;
    int getScreenX() override;
    int getScreenY() override;

  protected:
    bool createNative(HWND parentHandle) override;
    void nativeCreated() override;
    void placeNative(UINT flags) override;
    void detached() override;
    void textChanged() override;
    bool passTextToOwnThread(const wchar_t* text) override;
    bool hasPlaceInWindow() override { return handle_ != nullptr || drawnHost_ != nullptr; }
    void paintInto(HDC dc) override;
    // Takes the skin's text drawer (used unless the label was given its own).
    void skinChanged(drawer::ISkin* skin) override;
    void measureContent(int* width, int* height) override;
    void fontChanged() override;
    bool fitsText() const override { return true; }

  private:
    enum Variant
    {
        VARIANT_DISABLED = 0,
        VARIANT_NORMAL,
        VARIANT_HOVER,
        VARIANT_PRESSED,
        VARIANT_COUNT
    };
    // DrawnPart
    void drawInHost(HDC dc) override;
    void takeText(const wchar_t* text) override { applyText(text); }
    // Where the label is in its host's client area.
    RECT placeInHost() const;
    // Asks the host to paint `r` (host coordinates) again.
    void invalidateInHost(const RECT& r);
    // Whether nothing but the text (and a plain background) is shown: the condition for
    // going without a window.
    bool showsOnlyText();

    Font* variant(int which);
    void dropVariants();
    void setHoverState(int state);
    void iconSize(int* width, int* height) const;

    Font* variants_[VARIANT_COUNT] = {}; // owned, made on first use
    HICON icon_ = nullptr;
    int iconWidth_ = 0, iconHeight_ = 0; // of icon_, taken when it is set
    bool iconOwned_ = false;
    bool hoverEffect_ = false;
    int hoverState_ = STATE_NORMAL;
    bool tracking_ = false;
    int alignment_ = drawer::IText::ALIGN_LEFT;
    drawer::IText* drawer_ = nullptr;
    drawer::IText* skinDrawer_ = nullptr; // the window's skin's, not owned
    int64_t hoverColour_ = -1;            // -1: the main font's
    ListenerList clickListeners_;
    bool drawnAsked_ = false;
    NativeTarget* drawnHost_ = nullptr; // the host painting the label, while it does
    RECT drawnAt_{}; // the place last painted in the host
};

} // namespace s::gui::win
