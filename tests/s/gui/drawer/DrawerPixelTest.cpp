// Every drawer painted into a memory bitmap and checked pixel by pixel: the window
// drawer's frame and corner styles exactly, the others by the colours of their parts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Canvas.h"
#include "s/gui/drawer/IBorder.h"
#include "s/gui/drawer/IButton.h"
#include "s/gui/drawer/ICheckBox.h"
#include "s/gui/drawer/ICombo.h"
#include "s/gui/drawer/IGroupBox.h"
#include "s/gui/drawer/IImage.h"
#include "s/gui/drawer/IMenu.h"
#include "s/gui/drawer/IRadioButton.h"
#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/IStatusBar.h"
#include "s/gui/drawer/IText.h"
#include "s/gui/drawer/Scheme.h"
#include "s/gui/drawer/Skinner.h"
#include "s/gui/drawer/window/win/Thin.h"
#include "s/gui/win/Font.h"

using s::gui::drawer::IDrawer;
using s::gui::drawer::ISkin;
using s::gui::drawer::Scheme;
using s::gui::drawer::Skinner;
using testdraw::Canvas;
using testdraw::rgb;
using ThinWindowDrawer = s::gui::drawer::window::win::Thin;

namespace
{

const uint32_t PAPER = rgb(0x12AB34); // what lay in the bitmap before
const uint32_t FRAME = rgb(0x111111);
const uint32_t BACK = rgb(0x747474);

// The window drawer's picture of a w × h rectangle drawn at (3, 2) of a larger canvas,
// one string per row ('#' frame, 'o' background, '.' untouched).
std::vector<std::string> windowPicture(int w, int h, int topStyle, int bottomStyle, bool transparent)
{
    ThinWindowDrawer* drawer = ThinWindowDrawer::Acquire();
    drawer->setFrameColour(FRAME);
    if (!transparent)
        drawer->setBackgroundColour(BACK);
    drawer->setTopCornerStyle(topStyle);
    drawer->setBottomCornerStyle(bottomStyle);
    Canvas canvas(w + 6, h + 4, PAPER);
    drawer->draw(canvas.dc(), 3, 2, 3 + w, 2 + h);
    drawer->Release();
    std::vector<std::string> rows;
    for (int y = 0; y < canvas.height(); ++y)
    {
        std::string row;
        for (int x = 0; x < canvas.width(); ++x)
        {
            uint32_t p = canvas.at(x, y);
            bool inside = x >= 3 && x < 3 + w && y >= 2 && y < 2 + h;
            if (!inside)
            {
                EXPECT_EQ(p, PAPER) << "outside at " << x << "," << y;
                continue;
            }
            row += p == FRAME ? '#' : p == BACK ? 'o' : p == PAPER ? '.' : '?';
        }
        if (!row.empty())
            rows.push_back(row);
    }
    return rows;
}

struct HeldSkinner
{
    Skinner* skinner = Skinner::newSkinSet(Skinner::FAMILY_THIN_WINDOW);
    explicit HeldSkinner(const wchar_t* scheme) { skinner->selectScheme(scheme); }
    ~HeldSkinner() { skinner->Release(); }
    ISkin* skin() { return skinner->getCurrentSkin(); }
};

} // namespace

TEST(WindowDrawer, RoundTopCornersKeepTheirStaircaseInTheFirstSixRowsAndTheFrameIntact)
{
    std::vector<std::string> expected = {
        "##########", // the top frame row
        "##########", // runs of 5 from each edge meet on a 10-wide window
        "###oooo###", "##oooooo##", "##oooooo##",
        "#oooooooo#", // a 1-pixel run: only the frame column
        "#oooooooo#", "#oooooooo#", "#oooooooo#",
        "##########", // the bottom frame row: square corners below
    };
    EXPECT_EQ(windowPicture(10, 10, 2, 0, false), expected);
}

TEST(WindowDrawer, CornerStylesTable)
{
    struct Case
    {
        int top, bottom;
        std::vector<std::string> rows;
    };
    const Case cases[] = {
        {0, 0, {"############", "#oooooooooo#", "#oooooooooo#", "#oooooooooo#", "#oooooooooo#", "#oooooooooo#",
                "#oooooooooo#", "#oooooooooo#", "#oooooooooo#", "#oooooooooo#", "#oooooooooo#", "############"}},
        {1, 1, {"############", "##oooooooo##", "#oooooooooo#", "#oooooooooo#", "#oooooooooo#", "#oooooooooo#",
                "#oooooooooo#", "#oooooooooo#", "#oooooooooo#", "#oooooooooo#", "##oooooooo##", "############"}},
        {0, 2, {"############", "#oooooooooo#", "#oooooooooo#", "#oooooooooo#", "#oooooooooo#", "#oooooooooo#",
                "#oooooooooo#", "##oooooooo##", "##oooooooo##", "###oooooo###", "#####oo#####", "############"}},
        {7, 0, {"############", "#oooooooooo#", "#oooooooooo#", "#oooooooooo#", "#oooooooooo#", "#oooooooooo#",
                "#oooooooooo#", "#oooooooooo#", "#oooooooooo#", "#oooooooooo#", "#oooooooooo#", "############"}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "top " << c.top << " bottom " << c.bottom);
        EXPECT_EQ(windowPicture(12, 12, c.top, c.bottom, false), c.rows);
    }
}

TEST(WindowDrawer, TransparentLeavesTheInsideAndEmptyRectanglesPaintNothing)
{
    std::vector<std::string> expected = {"######", "#....#", "#....#", "######"};
    EXPECT_EQ(windowPicture(6, 4, 0, 0, true), expected);

    ThinWindowDrawer* drawer = ThinWindowDrawer::Acquire();
    EXPECT_TRUE(drawer->isTransparent()); // until a background colour is given
    drawer->setBackgroundColour(BACK);
    Canvas canvas(8, 8, PAPER);
    drawer->draw(canvas.dc(), 4, 4, 4, 7);
    drawer->draw(canvas.dc(), 4, 4, 2, 7);
    drawer->draw(nullptr, 0, 0, 8, 8);
    EXPECT_EQ(canvas.count(0, 0, 8, 8, PAPER), 64);
    // Back from the pool it is fresh again.
    drawer->setTopCornerStyle(2);
    drawer->Release();
    ThinWindowDrawer* again = ThinWindowDrawer::Acquire();
    EXPECT_TRUE(again->isTransparent());
    EXPECT_EQ(again->getTopCornerStyle(), 0);
    again->Release();
}

TEST(WindowDrawer, AsFrameDrawerItPaintsTheWholeWindow)
{
    HeldSkinner held(L"Classic LG");
    auto* frame = dynamic_cast<s::gui::drawer::IFrameDrawer*>(held.skin()->getWindowDrawer());
    ASSERT_NE(frame, nullptr);
    Canvas canvas(20, 12, PAPER);
    frame->paintFrame(nullptr, canvas.dc(), 20, 12);
    EXPECT_EQ(canvas.count(0, 0, 20, 12, PAPER), 0);
    EXPECT_EQ(canvas.at(0, 0), rgb(0x111111));
    EXPECT_EQ(canvas.at(19, 11), rgb(0x111111));
    EXPECT_EQ(canvas.at(10, 6), rgb(0x747474));
}

TEST(ButtonDrawer, FaceFrameAndTextFollowTheStateInClassicLg)
{
    HeldSkinner held(L"Classic LG");
    auto* button = held.skin()->getButtonDrawer();
    struct Case
    {
        int state;
        unsigned flags;
        uint32_t face, frame;
    };
    const Case cases[] = {
        {IDrawer::STATE_NORMAL, 0, rgb(0x333333), rgb(0x111111)},
        {IDrawer::STATE_HOVER, 0, rgb(0x333333), rgb(0x191919)},               // accent
        {IDrawer::STATE_PRESSED, 0, rgb(0x747474), rgb(0x191919)},             // C8 face
        {IDrawer::STATE_NORMAL, IDrawer::FLAG_CHECKED, rgb(0x747474), rgb(0x111111)},
        {IDrawer::STATE_HOVER, IDrawer::FLAG_DISABLED, rgb(0x333333), rgb(0x111111)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(testing::Message() << "state " << c.state << " flags " << c.flags);
        Canvas canvas(80, 24, PAPER);
        button->draw(canvas.dc(), 0, 0, 80, 24, L"Close", nullptr, c.state, c.flags, IDrawer::DEFAULT_COLOUR);
        EXPECT_EQ(canvas.at(0, 0), c.frame);
        EXPECT_EQ(canvas.at(79, 23), c.frame);
        EXPECT_EQ(canvas.at(2, 2), c.face);
        uint32_t ink = (c.flags & IDrawer::FLAG_DISABLED) ? rgb(0x191919) : rgb(0xFFFFFF);
        EXPECT_GT(canvas.count(20, 2, 60, 22, ink), 10) << "the text";
    }
    // A caller's text colour wins, except when disabled.
    Canvas canvas(80, 24, PAPER);
    button->draw(canvas.dc(), 0, 0, 80, 24, L"Close", nullptr, 0, 0, rgb(0x00AA00));
    EXPECT_GT(canvas.count(20, 2, 60, 22, rgb(0x00AA00)), 10);
    int w = 0, h = 0;
    button->measure(canvas.dc(), L"Close", nullptr, &w, &h);
    EXPECT_GT(w, 30);
    EXPECT_GT(h, 12);
}

TEST(ButtonDrawer, GlyphsFillTheButtonInTheTextColour)
{
    HeldSkinner held(L"White");
    auto* button = held.skin()->getButtonDrawer();
    const wchar_t* names[] = {L"#X", L"#Check", L"#Down", L"#Plus", L"#Minus", L"#Next", L"#Prev", L"#OnTop"};
    for (const wchar_t* name : names)
    {
        SCOPED_TRACE(testing::Message() << static_cast<const void*>(name));
        Canvas canvas(50, 14, PAPER);
        button->drawImage(canvas.dc(), 0, 0, 50, 14, name, 0, 0);
        EXPECT_EQ(canvas.at(0, 0), rgb(0x444444));
        EXPECT_GT(canvas.count(1, 1, 49, 13, rgb(0x000000)), 4);
        EXPECT_EQ(canvas.count(0, 0, 50, 14, PAPER), 0);
    }
    Canvas unknown(50, 14, PAPER);
    button->drawImage(unknown.dc(), 0, 0, 50, 14, L"#Nothing", 0, 0);
    EXPECT_EQ(unknown.count(1, 1, 49, 13, rgb(0x000000)), 0);
    EXPECT_EQ(unknown.at(5, 5), rgb(0xEEEEEE));
}

TEST(CheckMarkDrawers, TheMarkShowsOnlyWhenCheckedAndTheTextBesideIt)
{
    HeldSkinner held(L"Classic LG");
    s::gui::drawer::ICheckMark* drawers[] = {held.skin()->getCheckBoxDrawer(), held.skin()->getRadioButtonDrawer()};
    for (auto* drawer : drawers)
    {
        const int g = drawer->getGlyphSize();
        Canvas off(120, 20, BACK), on(120, 20, BACK);
        drawer->draw(off.dc(), 0, 0, 120, 20, L"Keep on Top", nullptr, 0, 0, IDrawer::DEFAULT_COLOUR);
        drawer->draw(on.dc(), 0, 0, 120, 20, L"Keep on Top", nullptr, 0, IDrawer::FLAG_CHECKED,
                     IDrawer::DEFAULT_COLOUR);
        int top = (20 - g) / 2;
        uint32_t mark = rgb(0xBFBFBF), inside = rgb(0x313131);
        EXPECT_EQ(off.count(3, top + 3, g - 3, top + g - 3, mark), 0);
        EXPECT_GT(on.count(3, top + 3, g - 3, top + g - 3, mark), 4);
        EXPECT_GT(off.count(0, top, g, top + g, inside), 20);
        EXPECT_GT(off.count(g, 0, 120, 20, rgb(0xFFFFFF)), 10) << "text in C6";
        EXPECT_EQ(off.at(119, 0), BACK) << "the background is the caller's";
        Canvas hover(120, 20, BACK);
        drawer->draw(hover.dc(), 0, 0, 120, 20, L"", nullptr, IDrawer::STATE_HOVER, 0, IDrawer::DEFAULT_COLOUR);
        EXPECT_GT(hover.count(0, top, g, top + g, rgb(0x191919)), 8) << "hover ring in the accent";
    }
}

TEST(OtherDrawers, ComboGroupBordersStatusBarAndGripUseTheirRoles)
{
    HeldSkinner held(L"White");
    ISkin* skin = held.skin();

    Canvas combo(100, 23, PAPER);
    skin->getComboDrawer()->draw(combo.dc(), 0, 0, 100, 23, L"Hours", nullptr, 0, 0, IDrawer::DEFAULT_COLOUR);
    EXPECT_EQ(combo.at(0, 0), rgb(0x444444));
    EXPECT_EQ(combo.at(3, 3), rgb(0xEEEEEE));
    EXPECT_GT(combo.count(100 - 17, 1, 99, 22, rgb(0x000000)), 5) << "the arrow";

    Canvas group(100, 60, BACK);
    skin->getGroupBoxDrawer()->draw(group.dc(), 0, 0, 100, 60, L"Options", nullptr, 0, IDrawer::DEFAULT_COLOUR);
    EXPECT_EQ(group.at(0, 59), rgb(0xCCCCCC));
    EXPECT_EQ(group.at(99, 40), rgb(0xCCCCCC));
    EXPECT_EQ(group.at(50, 40), BACK);
    EXPECT_GT(group.count(8, 0, 90, 16, rgb(0x000000)), 10) << "the caption";

    Canvas border(30, 20, PAPER);
    skin->getBorderDrawer()->draw(border.dc(), 0, 0, 30, 20, IDrawer::STATE_HOVER);
    EXPECT_EQ(border.at(0, 0), rgb(0xFFA500));
    EXPECT_EQ(border.at(15, 10), PAPER);
    skin->getPlainBorderDrawer()->draw(border.dc(), 0, 0, 30, 20, IDrawer::STATE_HOVER);
    EXPECT_EQ(border.at(0, 0), rgb(0xCCCCCC));
    Canvas under(30, 20, PAPER);
    skin->getUnderWindowMenuBorderDrawer()->draw(under.dc(), 0, 0, 30, 20, 0);
    EXPECT_EQ(under.row(0, rgb(0xCCCCCC)), std::string(30, '#'));
    EXPECT_EQ(under.count(0, 1, 30, 20, PAPER), 30 * 19);

    Canvas bar(200, 22, PAPER);
    skin->getStatusBarDrawer()->draw(bar.dc(), 0, 0, 200, 22);
    skin->getStatusBarDrawer()->drawPane(bar.dc(), 0, 0, 150, 22, L"Ready", nullptr, IDrawer::DEFAULT_COLOUR);
    skin->getStatusBarGripDrawer()->drawImage(bar.dc(), 186, 8, 200, 22, L"#Resizer", 0, 0);
    EXPECT_EQ(bar.row(0, rgb(0xCCCCCC)), std::string(200, '#'));
    EXPECT_EQ(bar.at(100, 10), rgb(0xFFFFFF));
    EXPECT_GT(bar.count(0, 1, 60, 22, rgb(0x000000)), 10) << "the pane's text";
    EXPECT_EQ(bar.count(186, 8, 200, 22, rgb(0x777777)), 6 * 4) << "six 2 x 2 grip dots";
}

TEST(OtherDrawers, MenuItemsHoverSeparatorAndMarks)
{
    HeldSkinner held(L"Classic LG");
    auto* menu = held.skin()->getMenuDrawer();
    Canvas canvas(150, 60, PAPER);
    menu->drawItem(canvas.dc(), 0, 0, 150, 20, L"Keep on Top", nullptr, IDrawer::STATE_NORMAL,
                   IDrawer::FLAG_CHECKED);
    menu->drawItem(canvas.dc(), 0, 20, 150, 40, L"Easy Drag\tCtrl+E", nullptr, IDrawer::STATE_HOVER, 0);
    menu->drawItem(canvas.dc(), 0, 40, 150, 47, nullptr, nullptr, 0, IDrawer::FLAG_SEPARATOR);
    EXPECT_EQ(canvas.at(140, 2), rgb(0x313131));
    EXPECT_GT(canvas.count(0, 0, 20, 20, rgb(0xBFBFBF)), 5) << "the tick";
    EXPECT_EQ(canvas.at(1, 30), rgb(0x191919)) << "accent bar";
    EXPECT_EQ(canvas.at(10, 22), rgb(0x383838)) << "hover fill";
    EXPECT_GT(canvas.count(100, 20, 150, 40, rgb(0xBFBFBF)), 5) << "the key text at the right";
    EXPECT_EQ(canvas.row(43, rgb(0x565656)).substr(2, 146), std::string(146, '#'));
    int w = 0, h = 0;
    menu->measureItem(canvas.dc(), L"Easy Drag\tCtrl+E", nullptr, 0, &w, &h);
    int wPlain = 0;
    menu->measureItem(canvas.dc(), L"Easy Drag", nullptr, 0, &wPlain, nullptr);
    EXPECT_GT(w, wPlain + 20);
    menu->measureItem(canvas.dc(), nullptr, nullptr, IDrawer::FLAG_SEPARATOR, &w, &h);
    EXPECT_EQ(h, 7);
}

TEST(OtherDrawers, TextTakesTheFontsColourAndTheLabelsAlignment)
{
    HeldSkinner held(L"Black");
    auto* text = held.skin()->getTextDrawer();
    s::gui::win::Font* font = s::gui::win::Font::Acquire();
    font->setTextColour(0, 0xAA, 0);
    Canvas canvas(100, 40, BACK);
    text->drawText(canvas.dc(), 0, 0, 100, 20, L"Version:", font, s::gui::drawer::IText::ALIGN_LEFT);
    text->drawText(canvas.dc(), 0, 20, 100, 40, L"Version:", font, s::gui::drawer::IText::ALIGN_RIGHT);
    font->Release();
    EXPECT_GT(canvas.count(0, 0, 50, 20, rgb(0x00AA00)), 10);
    EXPECT_GT(canvas.count(50, 20, 100, 40, rgb(0x00AA00)), 10);
    EXPECT_EQ(canvas.count(0, 20, 40, 40, rgb(0x00AA00)), 0) << "right-aligned";
}

TEST(OtherDrawers, ImagesStretchKeepTheirAspectOrStayNatural)
{
    // A 4 × 2 picture: left half red, right half blue.
    Canvas picture(4, 2, rgb(0xFF0000));
    for (int y = 0; y < 2; ++y)
        for (int x = 2; x < 4; ++x)
            SetPixel(picture.dc(), x, y, rgb(0x0000FF));
    HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(picture.dc(), OBJ_BITMAP));

    HeldSkinner held(L"White");
    auto* image = held.skin()->getImageDrawer();
    Canvas stretched(40, 40, PAPER), kept(40, 40, PAPER), natural(40, 40, PAPER);
    // The bitmap cannot be selected into two contexts: draw from a copy.
    HDC screen = GetDC(nullptr);
    HBITMAP copy = CreateCompatibleBitmap(screen, 4, 2);
    ReleaseDC(nullptr, screen);
    HDC copyDc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(copyDc, copy);
    BitBlt(copyDc, 0, 0, 4, 2, picture.dc(), 0, 0, SRCCOPY);
    SelectObject(copyDc, old);
    DeleteDC(copyDc);
    (void)bitmap;

    image->draw(stretched.dc(), 0, 0, 40, 40, copy, s::gui::drawer::IImage::FIT_STRETCH);
    image->draw(kept.dc(), 0, 0, 40, 40, copy, s::gui::drawer::IImage::FIT_KEEP_ASPECT);
    image->draw(natural.dc(), 0, 0, 40, 40, copy, s::gui::drawer::IImage::FIT_NATURAL);
    DeleteObject(copy);

    EXPECT_EQ(stretched.at(5, 5), rgb(0xFF0000));
    EXPECT_EQ(stretched.at(35, 35), rgb(0x0000FF));
    EXPECT_EQ(kept.at(5, 20), rgb(0xFF0000));
    EXPECT_EQ(kept.at(35, 20), rgb(0x0000FF));
    EXPECT_EQ(kept.at(20, 3), rgb(0xFFFFFF)) << "C10 above a picture twice as wide as high";
    EXPECT_EQ(natural.at(18, 19), rgb(0xFF0000));
    EXPECT_EQ(natural.at(21, 20), rgb(0x0000FF));
    EXPECT_EQ(natural.at(10, 10), rgb(0xFFFFFF));
    EXPECT_EQ(natural.at(17, 19), rgb(0xFFFFFF));

    Canvas none(10, 10, PAPER);
    image->draw(none.dc(), 0, 0, 10, 10, nullptr, 0);
    EXPECT_EQ(none.count(0, 0, 10, 10, rgb(0xFFFFFF)), 100);
}

TEST(Drawers, ASkinnerWritesAPictureOfEveryDrawerForAPersonToLookAt)
{
    const wchar_t* schemes[] = {L"Classic LG", L"White", L"Khaki"};
    Canvas canvas(3 * 230, 200, rgb(0xFFFFFF));
    HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    for (int i = 0; i < 3; ++i)
    {
        HeldSkinner held(schemes[i]);
        ISkin* skin = held.skin();
        HDC dc = canvas.dc();
        int x = i * 230;
        auto* window = dynamic_cast<s::gui::drawer::window::IThin*>(skin->getWindowDrawer());
        window->setTopCornerStyle(2);
        window->draw(dc, x + 2, 2, x + 226, 196);
        window->setTopCornerStyle(0);
        skin->getButtonDrawer()->draw(dc, x + 10, 10, x + 100, 32, L"Close", font, 0, 0, IDrawer::DEFAULT_COLOUR);
        skin->getButtonDrawer()->draw(dc, x + 110, 10, x + 200, 32, L"Hover", font, 1, 0, IDrawer::DEFAULT_COLOUR);
        skin->getButtonDrawer()->drawImage(dc, x + 170, 40, x + 220, 54, L"#X", 0, 0);
        skin->getCheckBoxDrawer()->draw(dc, x + 10, 40, x + 160, 58, L"Keep on Top", font, 0, IDrawer::FLAG_CHECKED,
                                         IDrawer::DEFAULT_COLOUR);
        skin->getRadioButtonDrawer()->draw(dc, x + 10, 60, x + 160, 78, L"Specific", font, 0,
                                           IDrawer::FLAG_CHECKED, IDrawer::DEFAULT_COLOUR);
        skin->getComboDrawer()->draw(dc, x + 10, 82, x + 160, 104, L"Hours", font, 0, 0, IDrawer::DEFAULT_COLOUR);
        skin->getGroupBoxDrawer()->draw(dc, x + 10, 108, x + 216, 150, L"Options", font, 0, IDrawer::DEFAULT_COLOUR);
        s::gui::win::Font* label = s::gui::win::Font::Acquire();
        uint32_t ink = skin->getTextColour();
        label->setTextColour(ink & 0xFF, (ink >> 8) & 0xFF, (ink >> 16) & 0xFF);
        skin->getTextDrawer()->drawText(dc, x + 20, 126, x + 200, 144, L"Version: 1.16", label,
                                        s::gui::drawer::IText::ALIGN_LEFT);
        label->Release();
        skin->getStatusBarDrawer()->draw(dc, x + 3, 172, x + 225, 195);
        skin->getStatusBarDrawer()->drawPane(dc, x + 3, 172, x + 200, 195, L"Ready", font, IDrawer::DEFAULT_COLOUR);
        skin->getStatusBarGripDrawer()->drawImage(dc, x + 211, 181, x + 225, 195, L"#Resizer", 0, 0);
        skin->getMenuDrawer()->drawItem(dc, x + 10, 152, x + 216, 170, L"Version Information", font, 1, 0);
    }
    DeleteObject(font);
    EXPECT_TRUE(canvas.save("drawers.bmp"));
}
