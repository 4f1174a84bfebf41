// Combo-box entries: fixed texts, texts by id that follow their own language pack only,
// values as numbers or shared keys, and the pool's reset.
#include <gtest/gtest.h>

#include "s/gui/combobox/ComboBoxItem.h"
#include "s/lang/Localizer.h"
#include "s/xml/Node.h"

using s::gui::combobox::ComboBoxItem;

namespace
{

s::lang::Localizer* pack()
{
    s::xml::Node* root = s::xml::Node::Acquire();
    root->parse(L"<p><languages><entry tagName=\"eng\" engName=\"English\" trueName=\"English\"/>"
                L"<entry tagName=\"deu\" engName=\"German\" trueName=\"Deutsch\"/></languages><entries>"
                L"<entry id=\"4003000\"><eng>Hour</eng><deu>Stunde</deu></entry></entries></p>");
    s::lang::Localizer* l = s::lang::Localizer::loadFromDocument(root);
    root->Release();
    l->selectLanguage(L"English");
    return l;
}

constexpr wchar_t HOURS[] = L"Hours";

} // namespace

TEST(ComboBoxItem, TextByIdFollowsItsOwnPackOnly)
{
    s::lang::Localizer* own = pack();
    s::lang::Localizer* other = pack();
    ComboBoxItem* item = ComboBoxItem::newItemById(4003000, own, ComboBoxItem::keyValue(HOURS));
    EXPECT_STREQ(L"Hour", item->getText());
    EXPECT_EQ(HOURS, item->getValueKey());
    own->selectLanguage(L"German"); // the pack does not know the item: the combo box tells it
    EXPECT_STREQ(L"Hour", item->getText());
    item->handleEvent(other, 0);
    EXPECT_STREQ(L"Hour", item->getText());
    item->handleEvent(own, 0);
    EXPECT_STREQ(L"Stunde", item->getText());
    item->Release();
    other->Release();
    own->Release();
}

TEST(ComboBoxItem, FixedTextStaysAndResetClearsEverything)
{
    s::lang::Localizer* own = pack();
    ComboBoxItem* item = ComboBoxItem::newItem(L"1970", 1970);
    item->setWord1(ComboBoxItem::FLAG_BOLD);
    item->handleEvent(own, 0);
    EXPECT_STREQ(L"1970", item->getText());
    EXPECT_EQ(-1, item->getTextId());
    EXPECT_EQ(1970, item->getValue());
    item->Release();
    ComboBoxItem* fresh = ComboBoxItem::Acquire();
    EXPECT_STREQ(L"", fresh->getText());
    EXPECT_EQ(-1, fresh->getTextId());
    EXPECT_EQ(nullptr, fresh->getLocalizer());
    EXPECT_EQ(0, fresh->getValue());
    EXPECT_EQ(0, fresh->getWord1());
    EXPECT_EQ(0, fresh->getWord2());
    fresh->Release();
    ComboBoxItem* noPack = ComboBoxItem::newItemById(5, nullptr, -1);
    EXPECT_STREQ(L"", noPack->getText());
    EXPECT_EQ(-1, noPack->getValue());
    noPack->Release();
    ComboBoxItem* nullText = ComboBoxItem::newItem(nullptr, 0);
    EXPECT_STREQ(L"", nullText->getText());
    nullText->Release();
    own->Release();
}
