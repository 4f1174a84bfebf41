#include "s/gui/menuitem/MenuItem.h"

#include "s/lang/Localizer.h"

namespace s::gui::menuitem
{

MenuItem::MenuItem() : text_(str::strbuffer::StrBuffer::Acquire()) {}

MenuItem::~MenuItem()
{
    text_->Release();
}

void MenuItem::Reset()
{
    pack_ = nullptr;
    text_->Clear();
    textId_ = -1;
    commandId_ = -1;
    checked_ = radioMarked_ = separator_ = false;
    key_ = 0;
}

MenuItem* MenuItem::newMenuItem(int textId, lang::Localizer* pack, int commandId, bool checked)
{
    MenuItem* item = Acquire();
    item->pack_ = pack;
    item->commandId_ = commandId;
    item->checked_ = checked;
    item->setTextId(textId);
    return item;
}

MenuItem* MenuItem::newTextMenuItem(const wchar_t* text, int commandId)
{
    MenuItem* item = Acquire();
    item->setText(text);
    item->commandId_ = commandId;
    return item;
}

MenuItem* MenuItem::newSeparator()
{
    MenuItem* item = Acquire();
    item->separator_ = true;
    return item;
}

void MenuItem::setText(const wchar_t* text)
{
    text_->Clear();
    if (text)
        text_->Append(text);
}

void MenuItem::setTextId(int textId)
{
    textId_ = textId;
    refreshText();
}

void MenuItem::refreshText()
{
    if (textId_ != -1 && pack_)
        setText(pack_->getText(textId_));
}

} // namespace s::gui::menuitem
