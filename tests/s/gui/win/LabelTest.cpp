// Labels: texts by id across a language change, text from another thread, size rules,
// clicks and hover states on the native window.
#include <gtest/gtest.h>

#include <thread>

#include "WidgetTestSupport.h"
#include "s/gui/win/Label.h"

using s::gui::win::Label;
using testgui::Recorder;
using testwidgets::Panel;

TEST(Label, LanguageChangeRetextsIdsAndLeavesLiteralTexts)
{
    Panel& p = Panel::get();
    Label* byId = Label::Acquire();
    byId->setTextId(100);
    Label* literal = Label::Acquire();
    literal->setText(L"Fixed", false);
    p.add(byId);
    p.add(literal);
    EXPECT_STREQ(L"Hello", byId->getText());
    p.pack->selectLanguage(L"German"); // from this thread, not the window's
    p.settle();
    EXPECT_STREQ(L"Hallo", byId->getText());
    EXPECT_STREQ(L"Fixed", literal->getText());
    EXPECT_EQ(byId->getMinWidth(), byId->getWidth());
    p.pack->selectLanguage(L"English");
    EXPECT_STREQ(L"Hello", byId->getText());
}

TEST(Label, TextFromAnotherThreadIsMeasuredAndLaidOut)
{
    Panel& p = Panel::get();
    Label* label = p.add(Label::Acquire());
    label->setText(L"a", true);
    int narrow = label->getWidth();
    std::thread worker([&] { label->setText(L"a much longer text than before", true); });
    worker.join();
    p.settle();
    EXPECT_STREQ(L"a much longer text than before", label->getText());
    EXPECT_GT(label->getWidth(), narrow + 50);
    EXPECT_EQ(label->getMinWidth(), label->getWidth());
}

TEST(Label, SizeRules)
{
    Label* l = Label::Acquire();
    l->setText(L"Some text", false);
    int w = l->getMinWidth(), h = l->getMinHeight();
    EXPECT_GT(w, 20);
    EXPECT_GT(h, 5);
    EXPECT_EQ(w, l->getMaxWidth()); // no maximum setting: the measured size
    l->setMaximumSize(w + 40, -1);
    EXPECT_EQ(w + 40, l->getMaxWidth());
    l->setMinimumSize(w + 10, -1);
    EXPECT_EQ(w + 10, l->getMinWidth());
    l->setFixedWidth(7);
    EXPECT_EQ(7, l->getMinWidth());
    EXPECT_EQ(7, l->getMaxWidth());
    l->setWidthPercent(50); // clears the fixed width; no parent: the maximum setting
    EXPECT_EQ(-1, l->getFixedWidth());
    EXPECT_EQ(w + 40, l->getMaxWidth());
    l->setFontSize(110); // 24-point bold measures larger
    EXPECT_GT(l->getMinHeight(), h);
    l->Release();
}

TEST(Label, PercentOfParentWidth)
{
    Panel& p = Panel::get();
    Label* l = Label::Acquire();
    l->setText(L"x", false);
    l->setWidthPercent(50);
    p.add(l);
    EXPECT_EQ(Label::percentOf(p.box->getClientWidth(), 50), l->getMaxWidth());
    EXPECT_EQ(l->getMaxWidth(), l->getWidth());
}

TEST(Label, ClickFiresOnlyWithListenersAndHoverSwitchesFonts)
{
    Panel& p = Panel::get();
    Label* l = Label::Acquire();
    l->setText(L"Click me", false);
    p.add(l);
    HWND h = testwidgets::handleOf(l);
    testwidgets::clickMiddle(h); // no listeners: nothing to fire
    Recorder rec;
    l->addClickListener(&rec);
    l->setHoverEffect(true);
    SendMessageW(h, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(Label::STATE_HOVER, l->getHoverState());
    EXPECT_TRUE(l->getStateFont()->isUnderline());
    EXPECT_FALSE(l->getFont()->isUnderline());
    testwidgets::clickMiddle(h);
    ASSERT_EQ(1u, rec.kinds.size());
    EXPECT_EQ(Label::EVENT_CLICKED, rec.kinds[0]);
    EXPECT_EQ(static_cast<s::gui::IComponent*>(l), rec.lastSource);
    l->setEnabled(false);
    EXPECT_EQ(GetSysColor(COLOR_GRAYTEXT), l->getStateFont()->getTextColour());
}
