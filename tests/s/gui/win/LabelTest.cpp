// Labels: texts by id across a language change, text from another thread, size rules,
// clicks and hover states on the native window; captions drawn in their host.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "WidgetTestSupport.h"
#include "s/gui/win/Button.h"
#include "s/gui/win/CheckBox.h"
#include "s/gui/win/Factories.h"
#include "s/gui/win/GroupBox.h"
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
    l->setFixedWidth(w + 30);
    EXPECT_EQ(w + 30, l->getMinWidth());
    EXPECT_EQ(w + 30, l->getMaxWidth());
    l->setFixedWidth(7); // too narrow for the text: the text's width
    EXPECT_EQ(w, l->getMinWidth());
    EXPECT_EQ(w, l->getMaxWidth());
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

// A drawn text is the label's window text too, so that screen readers, UI automation and
// outside drivers read what the label shows, after a change from any thread or of language.
TEST(Label, TheShownTextIsTheWindowTextAssistiveToolsRead)
{
    Panel& p = Panel::get();
    Label* byId = Label::Acquire();
    byId->setTextId(100);
    Label* literal = Label::Acquire();
    literal->setText(L"Modified:", false);
    p.add(byId);
    p.add(literal);
    auto shown = [](Label* l) {
        wchar_t text[64] = {};
        GetWindowTextW(testwidgets::handleOf(l), text, 64);
        return std::wstring(text);
    };
    EXPECT_EQ(L"Hello", shown(byId));
    EXPECT_EQ(L"Modified:", shown(literal));
    p.pack->selectLanguage(L"German");
    p.settle();
    EXPECT_EQ(L"Hallo", shown(byId));
    std::thread worker([&] { literal->setText(L"Ready", true); });
    worker.join();
    EXPECT_EQ(L"Ready", shown(literal));
    literal->setText(L"", true);
    EXPECT_EQ(L"", shown(literal));
}

// A stated width is the least width of a text-bearing widget: a text that needs more (a
// longer word of another language) widens it; a collapsed widget (0) stays collapsed.
TEST(Widgets, AStatedWidthGrowsToATextThatNeedsMore)
{
    Panel& p = Panel::get();
    const wchar_t* longText = L"Wiederherstellen und noch viel mehr";
    s::gui::win::Button* button = s::gui::win::Button::Acquire();
    s::gui::win::CheckBox* check = s::gui::win::CheckBox::Acquire();
    Label* label = Label::Acquire();
    button->setText(L"OK");
    check->setText(L"On");
    label->setText(L"Hi", false);
    struct Case
    {
        s::gui::IComponent* widget;
        std::function<void(const wchar_t*)> setText;
        std::function<void(int)> setFixedWidth;
    } cases[] = {
        {button, [&](const wchar_t* t) { button->setText(t); }, [&](int w) { button->setFixedWidth(w); }},
        {check, [&](const wchar_t* t) { check->setText(t); }, [&](int w) { check->setFixedWidth(w); }},
        {label, [&](const wchar_t* t) { label->setText(t, true); }, [&](int w) { label->setFixedWidth(w); }},
    };
    for (Case& c : cases)
    {
        p.add(c.widget);
        const int stated = 95;
        c.setFixedWidth(stated);
        p.settle();
        const int statedPixels = s::gui::win::Toolkit::scale(stated, p.window->getDpi());
        EXPECT_EQ(statedPixels, c.widget->getWidth()) << "a short text keeps the stated width";
        c.setText(longText);
        p.settle();
        EXPECT_GT(c.widget->getWidth(), statedPixels + 40);
        EXPECT_EQ(c.widget->getMinWidth(), c.widget->getWidth());
        RECT r;
        GetWindowRect(testwidgets::handleOf(c.widget), &r);
        EXPECT_EQ(c.widget->getWidth(), r.right - r.left) << "the native control too";
        c.setFixedWidth(0);
        EXPECT_EQ(0, c.widget->getMinWidth()) << "collapsed";
        EXPECT_EQ(0, c.widget->getMaxWidth());
    }
}

// A label that a growing window moves to the right (the maker link at the end of the status
// bar) shows its text at its new place, on screen, without waiting for the pointer.
TEST(Label, MovedByAGrowingWindowIsDrawnAtItsNewPlace)
{
    Panel& p = Panel::get();
    s::gui::win::Box* row = s::gui::win::Box::Acquire();
    row->setRowMode();
    row->alignMiddle();
    row->setWidthPercent(100);
    s::gui::win::Box* filler = s::gui::win::Box::Acquire();
    filler->setWidthPercent(100);
    filler->setFixedHeight(14);
    row->add(filler);
    s::gui::win::Box* end = s::gui::win::Box::Acquire();
    end->setRowMode();
    Label* link = Label::Acquire();
    link->setText(L"MMMM", false);
    link->setTextColour(0, 0, 0);
    end->add(link);
    row->add(end);
    p.add(row);
    const auto inkNow = [&] {
        RECT r;
        GetWindowRect(testwidgets::handleOf(link), &r);
        const int w = r.right - r.left, h = r.bottom - r.top;
        HDC screen = GetDC(nullptr);
        HDC mem = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
        HGDIOBJ old = SelectObject(mem, bitmap);
        BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
        int dark = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
            {
                const COLORREF c = GetPixel(mem, x, y);
                dark += GetRValue(c) + GetGValue(c) + GetBValue(c) < 200 ? 1 : 0;
            }
        SelectObject(mem, old);
        DeleteObject(bitmap);
        DeleteDC(mem);
        ReleaseDC(nullptr, screen);
        return dark;
    };
    // The ink once what waits to be painted is painted (the window's thread paints when it is
    // idle; nothing is marked invalid here: pixels the system took as valid stay as they are).
    const auto inkAtLink = [&] {
        int dark = 0;
        for (int waited = 0; waited < 2000 && dark <= 5; waited += 50)
        {
            RedrawWindow(p.handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
            dark = inkNow();
            if (dark <= 5)
                Sleep(50);
        }
        return dark;
    };
    RECT before;
    GetWindowRect(testwidgets::handleOf(link), &before);
    EXPECT_GT(inkAtLink(), 5);
    for (int width : {460, 620})
    {
        p.window->setBounds(120, 120, width, 300);
        p.settle();
        RECT now;
        GetWindowRect(testwidgets::handleOf(link), &now);
        EXPECT_GT(now.left, before.left);
        EXPECT_GT(inkAtLink(), 5) << "at window width " << width;
    }
}

namespace
{
// The pixels of the host's window on the screen, once it is uncovered and painted.
std::vector<unsigned char> shotOf(Panel& p)
{
    RECT r;
    GetWindowRect(testwidgets::handleOf(p.box), &r);
    if (!testgui::waitUncovered(p.handle(), r))
        return {};
    BITMAPINFOHEADER header{};
    std::vector<unsigned char> bits;
    testgui::grabScreen(r, &header, &bits);
    return bits;
}
} // namespace

// Captions drawn in their host show the same pixels as labels with windows of their own: in
// a layout-only row, in a group box, cut by a fixed width, with a colour of their own,
// disabled, centred and in a larger bold font.
TEST(Label, ACaptionDrawnInItsHostLooksAsWithAWindowOfItsOwn)
{
    std::vector<Label*> labels;
    const auto caption = [&](const wchar_t* text, bool drawn) {
        Label* label = s::gui::win::newLabel(text, false, false, 1000);
        if (drawn)
            label->setDrawnInHost();
        labels.push_back(label);
        return label;
    };
    std::vector<unsigned char> shots[2];
    for (int drawn = 0; drawn < 2; ++drawn)
    {
        labels.clear();
        Panel& p = Panel::get();
        s::gui::win::Box* row = s::gui::win::newLayoutBox(100, -1, 0, 1, 5, -1, 3, 3, s::gui::IBox::MODE_ROW);
        row->add(caption(L"Name:", drawn));
        row->add(s::gui::win::newTextField(100));
        Label* cut = caption(L"A text wider than its place", drawn);
        cut->setFixedWidth(60);
        row->add(cut);
        p.add(row);
        s::gui::win::GroupBox* group = s::gui::win::newGroupBox(-1, 0, 2, 6, 4, 100, s::gui::IBox::MODE_COLUMN);
        group->setText(L"Group");
        Label* coloured = caption(L"Coloured", drawn);
        coloured->setBackgroundColour(250, 220, 120, false);
        group->getContent()->add(coloured);
        Label* disabled = caption(L"Disabled", drawn);
        disabled->setEnabled(false);
        group->getContent()->add(disabled);
        p.add(group);
        Label* title = caption(L"Title", drawn);
        title->setFontSize(-103);
        title->setAlignment(1);
        title->setWidthPercent(100);
        p.add(title);
        for (Label* label : labels)
        {
            EXPECT_EQ(drawn == 1, label->isDrawnInHost()) << label->getText();
            EXPECT_EQ(drawn == 1, testwidgets::handleOf(label) == nullptr) << label->getText();
        }
        shots[drawn] = shotOf(p);
        if (drawn == 1)
        {
            RECT r;
            GetWindowRect(testwidgets::handleOf(p.box), &r);
            testgui::saveScreen(r, "labels-drawn-in-host.bmp");
        }
    }
    ASSERT_FALSE(shots[0].empty());
    EXPECT_TRUE(shots[0] == shots[1]) << "a caption drawn in its host looks different";
}

// A drawn caption follows what a window would: a text set on another thread (measured, laid
// out and painted on the window's thread), hiding and showing, a move by the layout, and
// leaving the window.
TEST(Label, ACaptionDrawnInItsHostFollowsItsTextPlaceAndVisibility)
{
    Panel& p = Panel::get();
    Label* lead = p.add(s::gui::win::newLabel(L"", false, false, 1000));
    lead->setFixedHeight(0);
    Label* label = p.add(s::gui::win::newCaption(L"a", false, false, 1000));
    ASSERT_TRUE(label->isDrawnInHost());
    const std::vector<unsigned char> empty = [&] {
        label->setVisible(false, true);
        p.settle();
        return shotOf(p);
    }();
    label->setVisible(true, true);
    p.settle();
    const std::vector<unsigned char> shortText = shotOf(p);
    EXPECT_FALSE(shortText == empty) << "the shown caption is not painted";

    const int narrow = label->getWidth();
    std::thread worker([&] { label->setText(L"a much longer text than before", true); });
    worker.join();
    p.settle();
    EXPECT_STREQ(L"a much longer text than before", label->getText());
    EXPECT_GT(label->getWidth(), narrow + 50);
    const std::vector<unsigned char> longText = shotOf(p);
    EXPECT_FALSE(longText == shortText) << "the new text is not painted";

    // Moved down by a line above it: painted at the new place, gone from the old.
    const int screenY = label->getScreenY();
    lead->setFixedHeight(30);
    p.settle();
    EXPECT_GT(label->getScreenY(), screenY);
    lead->setFixedHeight(0);
    p.settle();
    EXPECT_TRUE(shotOf(p) == longText) << "the move left pixels behind";

    label->setVisible(false, true);
    p.settle();
    EXPECT_TRUE(shotOf(p) == empty) << "the hidden caption is still painted";
    label->setVisible(true, true);
    p.box->remove(label, true);
    p.settle();
    EXPECT_TRUE(shotOf(p) == empty) << "the removed caption is still painted";
}

// A label that takes clicks, has the hover effect or an icon keeps its window when asked to
// be drawn, as does one that was not asked.
TEST(Label, ALabelThatTakesOrShowsMoreThanATextKeepsItsWindow)
{
    struct Clicks : s::gui::events::IEventListener
    {
        void handleEvent(void*, int) override {}
    } clicks;
    struct Case
    {
        const char* name;
        std::function<void(Label*)> setUp;
        bool drawn;
    };
    const std::vector<Case> cases = {
        {"asked", [](Label* l) { l->setDrawnInHost(); }, true},
        {"not asked", [](Label*) {}, false},
        {"click listener", [&](Label* l) { l->setDrawnInHost(), l->addClickListener(&clicks); }, false},
        {"hover effect", [](Label* l) { l->setDrawnInHost(), l->setHoverEffect(true); }, false},
        {"icon", [](Label* l) { l->setDrawnInHost(), l->setIcon(LoadIconW(nullptr, IDI_APPLICATION), false); }, false},
    };
    for (const Case& c : cases)
    {
        Panel& p = Panel::get();
        Label* label = s::gui::win::newLabel(L"text", false, false, 1000);
        c.setUp(label);
        p.add(label);
        EXPECT_EQ(c.drawn, label->isDrawnInHost()) << c.name;
        EXPECT_EQ(c.drawn, testwidgets::handleOf(label) == nullptr) << c.name;
    }
}
