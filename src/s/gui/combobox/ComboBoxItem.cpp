#include "s/gui/combobox/ComboBoxItem.h"

#include "s/lang/Localizer.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::gui::combobox
{

ComboBoxItem::ComboBoxItem()
{
    text_ = str::strbuffer::StrBuffer::Acquire();
}

ComboBoxItem::~ComboBoxItem()
{
    if (text_)
        text_->Release();
}

void ComboBoxItem::Reset()
{
    text_->Clear();
    textId_ = -1;
    suffix_.clear();
    localizer_ = nullptr;
    value_ = 0;
    word1_ = word2_ = 0;
}

ComboBoxItem* ComboBoxItem::newItem(const wchar_t* text, intptr_t value)
{
    ComboBoxItem* item = Acquire();
    item->setText(text);
    item->value_ = value;
    return item;
}

ComboBoxItem* ComboBoxItem::newItemById(int32_t textId, lang::Localizer* localizer, intptr_t value)
{
    ComboBoxItem* item = Acquire();
    item->textId_ = textId;
    item->localizer_ = localizer;
    item->value_ = value;
    item->fetchText();
    return item;
}

ComboBoxItem* ComboBoxItem::newItemByIdWithSuffix(int32_t textId, lang::Localizer* localizer, const wchar_t* suffix,
                                                  intptr_t value)
{
    ComboBoxItem* item = Acquire();
    item->textId_ = textId;
    item->localizer_ = localizer;
    item->suffix_ = suffix ? suffix : L"";
    item->value_ = value;
    item->fetchText();
    return item;
}

void ComboBoxItem::fetchText()
{
    if (!localizer_ || textId_ == -1)
        return;
    text_->Assign(localizer_->getText(textId_));
    if (!suffix_.empty())
        text_->Append(suffix_.c_str());
}

const wchar_t* ComboBoxItem::getText() const
{
    return text_->CStr();
}

void ComboBoxItem::setText(const wchar_t* text)
{
    text_->Assign(text ? text : L"");
    textId_ = -1;
    suffix_.clear();
}

void ComboBoxItem::handleEvent(void* source, int)
{
    if (source && source == static_cast<void*>(localizer_))
        fetchText();
}

} // namespace s::gui::combobox
