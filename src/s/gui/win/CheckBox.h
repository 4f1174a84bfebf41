#pragma once
#include "s/base/ClassId.h"
#include "s/gui/ICheckBox.h"
#include "s/gui/win/CheckableBase.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui::win
{

// A check box on the platform's BUTTON control (BS_AUTOCHECKBOX), see ICheckBox.
// Pooled: CheckBox::Acquire() or newCheckBox. Threads: as every component; the
// events come on the window's thread.
class CheckBox : public CheckableBase<ICheckBox>, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_win_CheckBox")
    S_POOLED(CheckBox)

  public:
    CheckBox() { Reset(); }
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
    void addCheckedListener(events::IEventListener* listener) override { onListeners_.add(listener); }
    void addUncheckedListener(events::IEventListener* listener) override { offListeners_.add(listener); }
    bool isChecked() override { return on_; }
    void setChecked(bool checked) override { setOn(checked, true); }
    void setCheckedSilently(bool checked) override { setOn(checked, false); }
    void linkEnabled(IComponent* target) override
    {
        enableWhenChecked(target);
        disableWhenUnchecked(target);
    }
    void enableWhenChecked(IComponent* target) override { link(ENABLE_ON, target); }
    void disableWhenUnchecked(IComponent* target) override { link(DISABLE_OFF, target); }
    void linkEnabledInverse(IComponent* target) override
    {
        enableWhenUnchecked(target);
        disableWhenChecked(target);
    }
    void enableWhenUnchecked(IComponent* target) override { link(ENABLE_OFF, target); }
    void disableWhenChecked(IComponent* target) override { link(DISABLE_ON, target); }

  protected:
    int onKind() const override { return EVENT_CHECKED; }
    int offKind() const override { return EVENT_UNCHECKED; }
    DWORD controlStyle() const override { return BS_AUTOCHECKBOX; }
};

} // namespace s::gui::win
