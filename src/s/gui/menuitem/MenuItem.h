#pragma once
#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::lang
{
class Localizer;
}

namespace s::gui::menuitem
{

// One entry of a popup menu (s::gui::win::PopupMenu): a string item with a command id
// and a text (literal, or by language-pack id so that it follows language changes), or
// a separator. A menu given an item owns it and releases it with itself.
//
// Pooled: made by the three factories (or Acquire for an empty item); the caller owns
// a new item until it hands it to a menu. Not locked: an item belongs to the thread
// that builds and runs its menu.
class MenuItem : public base::IObject, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_menuitem_MenuItem")
    S_POOLED(MenuItem)

  public:
    // An unchecked or checked string item whose text is the pack's text `textId`
    // (taken now and again on every language change).
    static MenuItem* newMenuItem(int textId, lang::Localizer* pack, int commandId, bool checked);
    // An unchecked string item with a literal text (null = empty).
    static MenuItem* newTextMenuItem(const wchar_t* text, int commandId);
    // A separator.
    static MenuItem* newSeparator();

    void Reset() override;

    lang::Localizer* getLanguagePack() const { return pack_; }
    void setLanguagePack(lang::Localizer* pack) { pack_ = pack; }
    // The text as it stands (for an item with a text id, as last read from the pack).
    const wchar_t* getText() const { return text_->CStr(); }
    void setText(const wchar_t* text);
    int getTextId() const { return textId_; }
    // Takes the text of `textId` from the language pack now (−1 = literal text again).
    void setTextId(int textId);
    // Reads the text of the text id again (no change for a literal item or without a pack).
    void refreshText();
    int getCommandId() const { return commandId_; }
    void setCommandId(int id) { commandId_ = id; }
    bool isChecked() const { return checked_; }
    void setChecked(bool on) { checked_ = on; }
    bool isRadioMarked() const { return radioMarked_; }
    void setRadioMarked(bool on) { radioMarked_ = on; }
    bool isSeparator() const { return separator_; }
    void setSeparator(bool on) { separator_ = on; }
    int getKey() const { return key_; }
    void setKey(int key) { key_ = key; }

  protected:
    MenuItem();
    ~MenuItem() override;

  private:
    lang::Localizer* pack_ = nullptr;
    str::strbuffer::StrBuffer* text_;
    int textId_ = -1;
    int commandId_ = -1;
    bool checked_ = false;
    bool radioMarked_ = false;
    bool separator_ = false;
    int key_ = 0;
};

} // namespace s::gui::menuitem
