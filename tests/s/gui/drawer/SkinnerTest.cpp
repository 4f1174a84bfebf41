// The schemes of both skin families with their colours, the Skinner's scheme list and
// selection, and who is told of a change.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Canvas.h"
#include "s/gui/drawer/IButton.h"
#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/IWindow.h"
#include "s/gui/drawer/Scheme.h"
#include "s/gui/drawer/Skinner.h"
#include "s/gui/events/IEventListener.h"

using s::gui::drawer::ISkin;
using s::gui::drawer::Scheme;
using s::gui::drawer::Skinner;
using testdraw::rgb;

namespace
{

struct Row
{
    const wchar_t* name;
    uint32_t c[15];
};

// The "ThinWindow" schemes as the product's colour list states them.
const Row THIN_WINDOW[] = {
    {L"Black", {0x333333, 0x555555, 0x555555, 0xB0B0B0, 0xB0B0B0, 0xFFFFFF, 0x333333, 0x999999, 0xCCCCCC, 0x000000,
                0xFFFFFF, 0x000000, 0xEEEEEE, 0xD5EB6B, 0xFFA500}},
    {L"Black II", {0x333333, 0x555555, 0x555555, 0xB0B0B0, 0xB0B0B0, 0xDDDDDD, 0x333333, 0x999999, 0xCCCCCC,
                   0x000000, 0xFFFFFF, 0x000000, 0xEEEEEE, 0xD5EB6B, 0xFFA500}},
    {L"Black Black", {0x000000, 0x333333, 0x333333, 0xB0B0B0, 0xB0B0B0, 0xFFFFFF, 0x333333, 0x999999, 0xCCCCCC,
                      0x000000, 0xFFFFFF, 0x000000, 0xEEEEEE, 0xD5EB6B, 0xFFA500}},
    {L"Black Black II", {0x000000, 0x333333, 0x333333, 0xB0B0B0, 0xB0B0B0, 0xDDDDDD, 0x333333, 0x999999, 0xCCCCCC,
                         0x000000, 0xFFFFFF, 0x000000, 0xEEEEEE, 0xD5EB6B, 0xFFA500}},
    {L"Classic LG", {0x747474, 0x111111, 0x565656, 0x111111, 0x111111, 0xFFFFFF, 0x333333, 0x747474, 0x191919,
                     0xFFFFFF, 0x313131, 0xBFBFBF, 0x383838, 0xC3EA00, 0x191919}},
    {L"White", {0xFFFFFF, 0x444444, 0xCCCCCC, 0x444444, 0x444444, 0x000000, 0xEEEEEE, 0x777777, 0x777777, 0xFFFFFF,
                0xFFFFFF, 0x000000, 0xEEEEEE, 0x777777, 0xFFA500}},
    {L"Ivory", {0xF2F0E6, 0x000000, 0xAAAAAA, 0x000000, 0x000000, 0x000000, 0xEEEEEE, 0xB0B0B0, 0xB0B0B0, 0xF0EEE4,
                0xFFFFFF, 0x000000, 0xEEEEEE, 0xB0B0B0, 0xFFA500}},
    {L"Beige", {0xECE9D8, 0x000000, 0xAAAAAA, 0x000000, 0x000000, 0x000000, 0xEEEEEE, 0xA8A280, 0xA8A280, 0xECE9D8,
                0xFFFFFF, 0x000000, 0xEEEEEE, 0xA8A280, 0xFFA500}},
    {L"Sky Blue", {0xC2DFFF, 0x5785FF, 0x5785FF, 0x5785FF, 0x5785FF, 0x000000, 0xEEEEEE, 0x5785FF, 0x5785FF,
                   0xFFFFFF, 0xFFFFFF, 0x000000, 0xEEEEEE, 0x5785FF, 0xFFA500}},
    {L"Pink", {0xFFC2E6, 0xFF5DA2, 0xFF5DA2, 0xFF5DA2, 0xFF5DA2, 0x000000, 0xEEEEEE, 0xFF5DA2, 0xFF5DA2, 0xFFFFFF,
               0xFFFFFF, 0x000000, 0xEEEEEE, 0xFF305C, 0xFFA500}},
    {L"Salmon Red", {0xFF305C, 0xFFBDCB, 0xFFBDCB, 0xFFBDCB, 0xFFBDCB, 0xFFFFFF, 0x333333, 0xFFBDCB, 0xFFBDCB,
                     0xFF305C, 0xFFFFFF, 0x000000, 0xEEEEEE, 0xFFC2E6, 0xFFA500}},
    {L"Yellow", {0xFCFF5B, 0xE0CE00, 0xE0CE00, 0xE0CE00, 0xE0CE00, 0x000000, 0xEEEEEE, 0xE0CE00, 0xE0CE00, 0xFFFFFF,
                 0xFFFFFF, 0x000000, 0xEEEEEE, 0xA8FF53, 0xFFA500}},
    {L"Green", {0xB8FF3D, 0x81A007, 0x81A007, 0x81A007, 0x81A007, 0x000000, 0xEEEEEE, 0x8FAF11, 0x8FAF11, 0xFFFFFF,
                0xFFFFFF, 0x000000, 0xEEEEEE, 0x8FAF11, 0xFFA500}},
    {L"Orange", {0xFFCF3D, 0xDD8702, 0xDD8702, 0xDD8702, 0xDD8702, 0x000000, 0xEEEEEE, 0xDD8702, 0xDD8702, 0xFFFFFF,
                 0xFFFFFF, 0x000000, 0xEEEEEE, 0xFFFFFF, 0xFFA500}},
    {L"Khaki", {0x3E5C00, 0x92B941, 0x92B941, 0x92B941, 0x92B941, 0xFFFFFF, 0x333333, 0xDD8702, 0xDD8702, 0x3E5C00,
                0xFFFFFF, 0x000000, 0xEEEEEE, 0xD5EB6B, 0xFFA500}},
    {L"Indigo", {0x310082, 0xC07DFF, 0xC07DFF, 0xC07DFF, 0xC07DFF, 0xFFFFFF, 0x333333, 0xC39EFF, 0xC39EFF, 0x310082,
                 0xFFFFFF, 0x000000, 0xEEEEEE, 0xC07DFF, 0xFFA500}},
};

struct ThinRow
{
    const wchar_t* name;
    uint32_t background, frame, text, d1, d2, accent;
};

const ThinRow THIN[] = {
    {L"White", 0xFFFFFF, 0x444444, 0x000000, 0x777777, 0xB0B0B0, 0xFFA500},
    {L"Light Gray", 0xF0EEE4, 0x000000, 0x000000, 0xB0B0B0, 0xB0B0B0, 0xFFA500},
    {L"Black", 0x333333, 0xB0B0B0, 0xFFFFFF, 0xB0B0B0, 0xD5EB6B, 0xFFA500},
    {L"Ivory", 0xECE9D8, 0x000000, 0x000000, 0xA8A280, 0xA8A280, 0xFFA500},
    {L"Sky Blue", 0xFFFFFF, 0x5785FF, 0x000000, 0x5785FF, 0x5785FF, 0xFFA500},
    {L"Pink", 0xFFFFFF, 0xFF5DA2, 0x000000, 0xFF5DA2, 0xFF5DA2, 0xFFA500},
    {L"Green", 0xFFFFFF, 0x8FAF11, 0x003300, 0x8FAF11, 0x8FAF11, 0xFFA500},
    {L"Green2", 0xD5EB6B, 0x000000, 0x000000, 0x000000, 0x000000, 0xFFA500},
    {L"Yellow", 0xFFFFFF, 0xE0CE00, 0x000000, 0xE0CE00, 0xE0CE00, 0xFFA500},
    {L"Orange", 0xFFFFFF, 0xDD8702, 0x000000, 0xDD8702, 0xDD8702, 0xFFA500},
    {L"Khaki", 0x3E5C00, 0x92B941, 0xFFFFFF, 0xDD8702, 0xDD8702, 0xFFA500},
    {L"Indigo", 0x4B0082, 0xC07DFF, 0xFFFFFF, 0xC07DFF, 0xC07DFF, 0xFFA500},
    {L"Salmon Red", 0xFF305C, 0xFFBDCB, 0xFFFFFF, 0xFFBDCB, 0xFFBDCB, 0xFFA500},
};

struct Recorder : s::gui::events::IEventListener
{
    std::vector<void*> sources;
    std::vector<int> kinds;
    Skinner* skinner = nullptr;
    std::wstring schemeSeen;
    void handleEvent(void* source, int kind) override
    {
        sources.push_back(source);
        kinds.push_back(kind);
        if (skinner)
            schemeSeen = skinner->getCurrentSkin()->getSchemeName();
    }
};

struct Held
{
    Skinner* skinner;
    explicit Held(const wchar_t* family) : skinner(Skinner::newSkinSet(family)) {}
    ~Held()
    {
        if (skinner)
            skinner->Release();
    }
    Skinner* operator->() { return skinner; }
};

} // namespace

TEST(Skinner, ThinWindowSchemesInOrderWithEveryColourAsListed)
{
    Held skinner(L"ThinWindow");
    ASSERT_NE(skinner.skinner, nullptr);
    EXPECT_EQ(skinner->getFamily(), Skinner::FAMILY_THIN_WINDOW);
    const int n = static_cast<int>(sizeof(THIN_WINDOW) / sizeof(THIN_WINDOW[0]));
    ASSERT_EQ(skinner->getSchemeCount(), n);
    for (int i = 0; i < n; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_STREQ(skinner->getSchemeName(i), THIN_WINDOW[i].name);
        EXPECT_EQ(skinner->getSchemeIndex(THIN_WINDOW[i].name), i);
        ISkin* skin = skinner->getSkin(i);
        ASSERT_NE(skin, nullptr);
        EXPECT_STREQ(skin->getSchemeName(), THIN_WINDOW[i].name);
        for (int role = 1; role <= 15; ++role)
            EXPECT_EQ(skin->getColour(role), rgb(THIN_WINDOW[i].c[role - 1])) << "C" << role;
        EXPECT_EQ(skin->getBackgroundColour(), rgb(THIN_WINDOW[i].c[0]));
        EXPECT_EQ(skin->getFrameColour(), rgb(THIN_WINDOW[i].c[1]));
        EXPECT_EQ(skin->getTextColour(), rgb(THIN_WINDOW[i].c[5]));
        EXPECT_EQ(skin->getAccentColour(), rgb(THIN_WINDOW[i].c[14]));
    }
}

TEST(Skinner, ThinSchemesInOrderWithTheirSixColours)
{
    Held skinner(Skinner::FAMILY_THIN);
    ASSERT_NE(skinner.skinner, nullptr);
    const int n = static_cast<int>(sizeof(THIN) / sizeof(THIN[0]));
    ASSERT_EQ(skinner->getSchemeCount(), n);
    for (int i = 0; i < n; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_STREQ(skinner->getSchemeName(i), THIN[i].name);
        ISkin* skin = skinner->getSkin(i);
        ASSERT_NE(skin, nullptr);
        EXPECT_EQ(skin->getBackgroundColour(), rgb(THIN[i].background));
        EXPECT_EQ(skin->getFrameColour(), rgb(THIN[i].frame));
        EXPECT_EQ(skin->getTextColour(), rgb(THIN[i].text));
        EXPECT_EQ(skin->getColour(Scheme::BUTTON_FRAME), rgb(THIN[i].d1));
        EXPECT_EQ(skin->getColour(Scheme::PRESSED), rgb(THIN[i].d2));
        EXPECT_EQ(skin->getAccentColour(), rgb(THIN[i].accent));
    }
}

TEST(Skinner, UnknownFamilyGivesNoSkinner)
{
    EXPECT_EQ(Skinner::newSkinSet(L"Thick"), nullptr);
    EXPECT_EQ(Skinner::newSkinSet(nullptr), nullptr);
    Held lower(L"thinwindow");
    ASSERT_NE(lower.skinner, nullptr);
    EXPECT_EQ(lower->getFamily(), Skinner::FAMILY_THIN_WINDOW);
}

TEST(Skinner, ClassicLgHasTheDarkAccentInsteadOfOrange)
{
    Held skinner(Skinner::FAMILY_THIN_WINDOW);
    EXPECT_EQ(skinner->getCurrentSkin()->getAccentColour(), rgb(0xFFA500)); // "Black", the first
    ASSERT_TRUE(skinner->selectScheme(L"Classic LG"));
    ISkin* skin = skinner->getCurrentSkin();
    EXPECT_STREQ(skin->getSchemeName(), L"Classic LG");
    EXPECT_EQ(skin->getAccentColour(), rgb(0x191919));
    // The drawers carry it: a hovered button is framed in the accent.
    EXPECT_EQ(skin->getButtonDrawer()->getHoverColour(), rgb(0x191919));
    EXPECT_EQ(skin->getWindowDrawer()->getBackgroundColour(), rgb(0x747474));
    EXPECT_EQ(skin->getWindowDrawer()->getFrameColour(), rgb(0x111111));
}

TEST(Skinner, SelectionTellsEveryRegisteredComponentOnceWithTheNewSkinCurrent)
{
    Held skinner(Skinner::FAMILY_THIN_WINDOW);
    Recorder a, b, gone;
    a.skinner = skinner.skinner;
    skinner->registerComponent(&a);
    skinner->registerComponent(&b);
    skinner->registerComponent(&a); // already there
    skinner->registerComponent(&gone);
    skinner->registerComponent(nullptr);
    skinner->unregisterComponent(&gone);
    EXPECT_EQ(skinner->getRegisteredCount(), 2);

    ASSERT_TRUE(skinner->selectScheme(L"white")); // names without regard to case
    EXPECT_EQ(skinner->getCurrentSchemeIndex(), 5);
    ASSERT_EQ(a.kinds.size(), 1u);
    EXPECT_EQ(a.sources[0], skinner.skinner);
    EXPECT_EQ(a.schemeSeen, L"White");
    EXPECT_EQ(b.kinds.size(), 1u);
    EXPECT_TRUE(gone.kinds.empty());

    // The current scheme again, an unknown name, an index out of range: nobody is told.
    EXPECT_TRUE(skinner->selectScheme(5));
    EXPECT_FALSE(skinner->selectScheme(L"Mauve"));
    EXPECT_FALSE(skinner->selectScheme(16));
    EXPECT_FALSE(skinner->selectScheme(-1));
    EXPECT_EQ(a.kinds.size(), 1u);
    EXPECT_STREQ(skinner->getCurrentSchemeName(), L"White");

    EXPECT_TRUE(skinner->selectScheme(0));
    EXPECT_EQ(a.kinds.size(), 2u);
    EXPECT_EQ(b.kinds.size(), 2u);
}

TEST(Skinner, LookupsOutOfRangeAnswerEmpty)
{
    Held skinner(Skinner::FAMILY_THIN_WINDOW);
    EXPECT_STREQ(skinner->getSchemeName(-1), L"");
    EXPECT_STREQ(skinner->getSchemeName(16), L"");
    EXPECT_EQ(skinner->getSchemeIndex(nullptr), -1);
    EXPECT_EQ(skinner->getSchemeIndex(L""), -1);
    EXPECT_EQ(skinner->getSkin(16), nullptr);
}

TEST(Skinner, EachSchemeHasOneSkinWithEveryDrawer)
{
    Held skinner(Skinner::FAMILY_THIN_WINDOW);
    ISkin* skin = skinner->getSkin(4);
    EXPECT_EQ(skinner->getSkin(4), skin); // built once
    EXPECT_NE(skinner->getSkin(5), skin);
    EXPECT_NE(skin->getWindowDrawer(), nullptr);
    EXPECT_NE(skin->getBorderDrawer(), nullptr);
    EXPECT_NE(skin->getPlainBorderDrawer(), nullptr);
    EXPECT_NE(skin->getUnderWindowMenuBorderDrawer(), nullptr);
    EXPECT_NE(skin->getButtonDrawer(), nullptr);
    EXPECT_NE(skin->getCheckBoxDrawer(), nullptr);
    EXPECT_NE(skin->getRadioButtonDrawer(), nullptr);
    EXPECT_NE(skin->getComboDrawer(), nullptr);
    EXPECT_NE(skin->getGroupBoxDrawer(), nullptr);
    EXPECT_NE(skin->getTextDrawer(), nullptr);
    EXPECT_NE(skin->getMenuDrawer(), nullptr);
    EXPECT_NE(skin->getStatusBarDrawer(), nullptr);
    EXPECT_NE(skin->getStatusBarGripDrawer(), nullptr);
    EXPECT_NE(skin->getImageDrawer(), nullptr);
}

TEST(Skinner, AReleasedSkinnerComesBackEmpty)
{
    Skinner* skinner = Skinner::newSkinSet(Skinner::FAMILY_THIN);
    Recorder r;
    skinner->registerComponent(&r);
    skinner->selectScheme(3);
    skinner->Release();
    Skinner* again = Skinner::Acquire();
    EXPECT_EQ(again->getSchemeCount(), 0);
    EXPECT_EQ(again->getRegisteredCount(), 0);
    EXPECT_EQ(again->getCurrentSkin(), nullptr);
    EXPECT_FALSE(again->selectScheme(0));
    again->Release();
}
