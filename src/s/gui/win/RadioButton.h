#pragma once
#include "s/base/ClassId.h"
#include "s/gui/IRadioButton.h"
#include "s/gui/win/CheckableBase.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui::win
{

// A radio button on the platform's BUTTON control (BS_AUTORADIOBUTTON), see
// IRadioButton. Pooled: RadioButton::Acquire() or newRadioButton. Threads: as every
// component; the events come on the window's thread.
class RadioButton : public CheckableBase<IRadioButton>, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_win_RadioButton")
    S_POOLED(RadioButton)

  public:
    RadioButton() { Reset(); }
    void Reset() override { resetCheckable(); }

    void setText(const wchar_t* text) override { applyText(text); }
    const wchar_t* getText() override { return WidgetBase::getText(); }
    void setTextId(int textId) override { WidgetBase::setTextId(textId); }
    int getTextId() override { return WidgetBase::getTextId(); }
    void setFontSize(int code) override { WidgetBase::setFontSize(code); }
    void setBold(bool on) override { WidgetBase::setBold(on); }
    void setItalic(bool on) override { WidgetBase::setItalic(on); }
    void setUnderline(bool on) override { WidgetBase::setUnderline(on); }
    void setTextColour(int r, int g, int b) override { WidgetBase::setTextColour(r, g, b); }
    void addSelectedListener(events::IEventListener* listener) override { onListeners_.add(listener); }
    void addDeselectedListener(events::IEventListener* listener) override { offListeners_.add(listener); }
    bool isSelected() override
    {
        if (handle_)
            return SendMessageW(handle_, BM_GETCHECK, 0, 0) == BST_CHECKED;
        return on_;
    }
    void setSelected(bool selected, bool notify) override { setOn(selected, notify); }
    void linkEnabled(IComponent* target) override
    {
        enableWhenSelected(target);
        disableWhenDeselected(target);
    }
    void enableWhenSelected(IComponent* target) override { link(ENABLE_ON, target); }
    void disableWhenDeselected(IComponent* target) override { link(DISABLE_OFF, target); }
    void linkEnabledInverse(IComponent* target) override
    {
        enableWhenDeselected(target);
        disableWhenSelected(target);
    }
    void enableWhenDeselected(IComponent* target) override { link(ENABLE_OFF, target); }
    void disableWhenSelected(IComponent* target) override { link(DISABLE_ON, target); }
    void linkEditable(IComponent* target) override
    {
        editableWhenSelected(target);
        uneditableWhenDeselected(target);
    }
    void editableWhenSelected(IComponent* target) override { link(EDITABLE_ON, target); }
    void uneditableWhenDeselected(IComponent* target) override { link(UNEDITABLE_OFF, target); }
    void setGroupStart(bool on) override
    {
        groupStart_ = on;
        if (handle_)
        {
            LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
            SetWindowLongPtrW(handle_, GWL_STYLE, on ? (style | WS_GROUP) : (style & ~static_cast<LONG_PTR>(WS_GROUP)));
        }
    }

  protected:
    int onKind() const override { return EVENT_SELECTED; }
    int offKind() const override { return EVENT_DESELECTED; }
    DWORD controlStyle() const override { return BS_AUTORADIOBUTTON; }
};

} // namespace s::gui::win
