#pragma once
#include <string>

#include "s/base/ClassId.h"
#include "s/gui/IButton.h"
#include "s/gui/win/ListenerList.h"
#include "s/gui/win/WidgetBase.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui::win
{

// A push button on the platform's BUTTON control (see IButton). The control keeps the
// keyboard, focus and click behaviour; the button paints itself (its face in the state
// of hover and press, its text in the state's font, or a named glyph) after every
// message on which the control would paint.
//
// Visual states: 0 normal, 1 hover, 2 pressed, each with its own font (the hover and
// pressed fonts copy the normal one and keep their own colours).
// Messages: WM_USER+1 / WM_USER+2 set / clear the default style; WM_KEYDOWN is also
// passed to the parent's window; a wheel turned outside the button goes to the top
// window; WM_NCHITTEST answers HTTRANSPARENT while the button takes no clicks or is a
// toggled-on toggle that may not be released.
//
// Pooled: Button::Acquire() or the factories (newButton...). Threads: as every
// component; listeners run on the window's thread.
class Button : public WidgetBase<IButton>, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_win_Button")
    S_POOLED(Button)

  public:
    static constexpr UINT_PTR TIMER_REPEAT_DELAY = 20001; // 500 ms after the press
    static constexpr UINT_PTR TIMER_REPEAT = 20002;       // every 100 ms while held
    static constexpr int REPEAT_DELAY_MS = 500;
    static constexpr int REPEAT_MS = 100;
    static constexpr UINT MSG_SET_DEFAULT = WM_USER + 1;
    static constexpr UINT MSG_CLEAR_DEFAULT = WM_USER + 2;
    static constexpr const wchar_t* GLYPH_RESIZER = L"#Resizer";

    enum State
    {
        STATE_NORMAL = 0,
        STATE_HOVER = 1,
        STATE_PRESSED = 2
    };

    Button();
    ~Button() override;
    void Reset() override;

    // --- IButton ---------------------------------------------------------------
    void setText(const wchar_t* text) override { applyText(text); }
    const wchar_t* getText() override { return WidgetBase::getText(); }
    void setTextId(int textId) override { WidgetBase::setTextId(textId); }
    int getTextId() override { return WidgetBase::getTextId(); }
    void setFontSize(int code) override { WidgetBase::setFontSize(code); }
    void setBold(bool on) override { WidgetBase::setBold(on); }
    void setItalic(bool on) override { WidgetBase::setItalic(on); }
    void setUnderline(bool on) override { WidgetBase::setUnderline(on); }
    void setTextColour(int r, int g, int b) override { WidgetBase::setTextColour(r, g, b); }
    void setImage(const wchar_t* name) override;
    void setToggle(bool on) override { toggle_ = on; }
    bool isToggled() override { return toggled_; }
    void setToggled(bool on) override;
    void setAutoRepeat(bool on) override { autoRepeat_ = on; }
    void setDefault(bool on) override;
    void addClickListener(events::IEventListener* listener) override { clickListeners_.add(listener); }
    void addAfterClickListener(events::IEventListener* listener) override { afterClickListeners_.add(listener); }
    void addPressListener(events::IEventListener* listener) override { pressListeners_.add(listener); }

    // A toggled-on toggle that may not be released stays on when clicked again.
    void setToggleLocked(bool on) { toggleLocked_ = on; }
    // False: clicks pass through to what lies below.
    void setTakesClicks(bool on) { takesClicks_ = on; }
    // The text colour of the hover or pressed state.
    void setStateTextColour(int state, int r, int g, int b);
    const wchar_t* getImage() const { return image_.c_str(); }
    bool isDefault() const { return default_; }
    int getVisualState() const;
    // The font of a visual state (made on first use, owned by the button).
    Font* getStateFont(int state);

    bool handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam) override;
    void afterDefault(UINT message, WPARAM wParam, LPARAM lParam, LRESULT result) override;

  protected:
    bool wrapsControl() const override { return true; }
    bool fitsText() const override { return true; }
    bool createNative(HWND parentHandle) override;
    void nativeCreated() override;
    void measureContent(int* width, int* height) override;
    void fontChanged() override;
    // In a skinned window through the skin's button drawer (the grip drawer for "#Resizer").
    void paintInto(HDC dc) override;

  private:
    void press();
    void release();
    void stopRepeat();
    void paintGlyph(HDC dc, const RECT& r, COLORREF colour);
    void dropStateFonts();

    std::wstring image_;
    bool toggle_ = false, toggled_ = false, toggleLocked_ = false;
    bool autoRepeat_ = false;
    bool default_ = false;
    bool takesClicks_ = true;
    bool hover_ = false, tracking_ = false;
    bool pressed_ = false, pointerInside_ = false;
    POINT dragStart_{0, 0};
    int dragWidth_ = 0, dragHeight_ = 0;
    Font* stateFonts_[2] = {}; // hover, pressed; owned
    int64_t stateColours_[2] = {-1, -1};
    ListenerList clickListeners_, afterClickListeners_, pressListeners_;
};

} // namespace s::gui::win
