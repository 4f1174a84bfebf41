#pragma once
#include "s/base/ClassId.h"
#include "s/gui/ITextField.h"
#include "s/gui/win/ListenerList.h"
#include "s/gui/win/WidgetBase.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui::win
{

// A one-line text field on the platform's EDIT control (see ITextField). Typing is
// processed with redrawing off and the field repainted once afterwards, so it does not
// flicker; the pointer shows the I-beam over it. Colours: the font's text colour; the
// background is the field's own colour when one was set and it is editable, the
// window colour when editable, the button face when read-only.
// Size: at least 40 pixels wide (more with a width percentage), one line of the font high
// plus the frame; the text typed does not change the size.
//
// Pooled: TextField::Acquire() or newTextField. Threads: as every component; selectAll
// and setText from another thread are carried out on the window's thread.
class TextField : public WidgetBase<ITextField>, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_win_TextField")
    S_POOLED(TextField)

  public:
    static constexpr UINT MSG_SELECT_ALL = WM_USER + 1;
    static constexpr int MIN_WIDTH = 40;

    TextField() { Reset(); }
    void Reset() override;

    // --- ITextField ------------------------------------------------------------
    const wchar_t* getText() override { return WidgetBase::getText(); }
    void setText(const wchar_t* text, bool notify) override;
    bool isEditable() override { return editable_; }
    void setEditable(bool on) override;
    void setNumbersOnly(bool on) override;
    void setMaxLength(int characters) override;
    void selectAll() override;
    void addChangeListener(events::IEventListener* listener) override { changeListeners_.add(listener); }
    void addFocusLostListener(events::IEventListener* listener) override { focusListeners_.add(listener); }
    void setTextColour(int r, int g, int b) override { WidgetBase::setTextColour(r, g, b); }
    // An own background colour (used while editable).
    void setBackgroundColour(int r, int g, int b, bool redraw) override;
    void setBackgroundDefault(bool redraw) override;

    bool handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam) override;
    void afterDefault(UINT message, WPARAM wParam, LPARAM lParam, LRESULT result) override;

  protected:
    bool wrapsControl() const override { return true; }
    bool createNative(HWND parentHandle) override;
    void nativeCreated() override;
    void measureContent(int* width, int* height) override;

  private:
    bool editable_ = true;
    bool numbersOnly_ = false;
    int maxLength_ = 0;
    bool notify_ = true;
    bool ownBackground_ = false;
    ListenerList changeListeners_, focusListeners_;
};

} // namespace s::gui::win
