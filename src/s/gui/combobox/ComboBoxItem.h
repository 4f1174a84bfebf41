#pragma once
#include <cstdint>
#include <string>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/gui/events/IEventListener.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::lang
{
class Localizer;
}
namespace s::str::strbuffer
{
class StrBuffer;
}

namespace s::gui::combobox
{

// One entry of a combo box: its shown text, either fixed or taken from a language pack
// by id (fetched again when that pack tells of a change of language), a value (a number,
// or a shared text key such as "Hours" compared by identity), and two further words for
// the combo box's drawing (word 1: FLAG_BOLD, FLAG_HEADER).
//
// Pooled: the factories answer a new item that the caller owns until it hands it to a
// combo box (addItem), which then releases it. The language pack is shared, not owned.
// Threads: the combo box changes and reads its items on its window's thread.
class ComboBoxItem : public base::IObject, public events::IEventListener, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_combobox_ComboBoxItem")
    S_POOLED(ComboBoxItem)

  public:
    enum Flags
    {
        FLAG_BOLD = 1,  // shown and measured bold
        FLAG_HEADER = 2 // a heading: measured bold and 10 pixels wider
    };

    ComboBoxItem();
    ~ComboBoxItem() override;
    // Empties the text, id -1, no pack, value and words 0.
    void Reset() override;

    // An item with a fixed text (null counts as "").
    static ComboBoxItem* newItem(const wchar_t* text, intptr_t value);
    // An item whose text is `textId` of `localizer` (fetched at once; "" without a pack).
    static ComboBoxItem* newItemById(int32_t textId, lang::Localizer* localizer, intptr_t value);
    // As newItemById, with the fixed `suffix` (null counts as "") after the text in every
    // language ("Current System Time Zone" + " - " + the zone's name).
    static ComboBoxItem* newItemByIdWithSuffix(int32_t textId, lang::Localizer* localizer, const wchar_t* suffix,
                                               intptr_t value);
    // A shared text key as a value (compare getValueKey() with the key's pointer).
    static intptr_t keyValue(const wchar_t* key) { return reinterpret_cast<intptr_t>(key); }

    // Never null.
    const wchar_t* getText() const;
    // Sets a fixed text (the id and the suffix are forgotten).
    void setText(const wchar_t* text);
    int32_t getTextId() const { return textId_; }
    lang::Localizer* getLocalizer() const { return localizer_; }
    intptr_t getValue() const { return value_; }
    void setValue(intptr_t value) { value_ = value; }
    const wchar_t* getValueKey() const { return reinterpret_cast<const wchar_t*>(value_); }
    int32_t getWord1() const { return word1_; }
    void setWord1(int32_t word) { word1_ = word; }
    int32_t getWord2() const { return word2_; }
    void setWord2(int32_t word) { word2_ = word; }

    // From its own pack with an id: fetches the text again.
    void handleEvent(void* source, int kind) override;

  private:
    // The text of the id (and the suffix) from the pack; nothing without a pack or id.
    void fetchText();
    ComboBoxItem(const ComboBoxItem&) = delete;
    ComboBoxItem& operator=(const ComboBoxItem&) = delete;

    str::strbuffer::StrBuffer* text_ = nullptr; // owned
    int32_t textId_ = -1;
    std::wstring suffix_; // after the text of the id
    lang::Localizer* localizer_ = nullptr; // shared
    intptr_t value_ = 0;
    int32_t word1_ = 0, word2_ = 0;
};

} // namespace s::gui::combobox
