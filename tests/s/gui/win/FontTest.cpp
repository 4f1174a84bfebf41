// Font size codes, explicit heights and the font setting.
#include <gtest/gtest.h>

#include "s/gui/win/Font.h"
#include "s/gui/win/FontSetting.h"
#include "s/gui/GuiTestSupport.h"

using s::gui::win::Font;
using s::gui::win::FontSetting;

TEST(Font, SizeCodes)
{
    struct Case
    {
        int code;
        bool applies;
        int points;
        int weight;
    } cases[] = {
        {0, true, 10, 400},     {1, true, 11, 400},     {-1, true, 9, 400},     {99, true, 109, 400},
        {-99, true, -89, 400},  {100, true, 14, 700},   {103, true, 17, 700},   {-103, true, 11, 700},
        {-100, true, 14, 700},  {999, true, 113, 700},  {100001, true, 8, 400}, {1000, false, 0, 0},
        {-1000, false, 0, 0},   {100002, false, 0, 0},  {5000, false, 0, 0},
    };
    for (const Case& c : cases)
    {
        int points = 0, weight = 0;
        EXPECT_EQ(c.applies, Font::decodeSizeCode(c.code, &points, &weight)) << c.code;
        if (c.applies)
        {
            EXPECT_EQ(c.points, points) << c.code;
            EXPECT_EQ(c.weight, weight) << c.code;
        }
    }
}

TEST(Font, CodeLeavesAnExplicitHeightAndIgnoresLargeCodes)
{
    Font* f = Font::Acquire();
    EXPECT_TRUE(f->applySizeCode(-103));
    EXPECT_EQ(11, f->getPointSize());
    EXPECT_TRUE(f->isBold());
    EXPECT_FALSE(f->applySizeCode(1000));
    EXPECT_EQ(11, f->getPointSize());
    EXPECT_TRUE(f->isBold());
    f->setPointSize(20);
    EXPECT_TRUE(f->applySizeCode(0)); // weight applies, the size does not
    EXPECT_EQ(20, f->getPointSize());
    EXPECT_FALSE(f->isBold());
    f->Release();
    Font* fresh = Font::Acquire(); // the pool gives it back reset
    EXPECT_EQ(Font::DEFAULT_POINTS, fresh->getPointSize());
    EXPECT_FALSE(fresh->isHeightExplicit());
    fresh->Release();
}

TEST(Font, MeasureGrowsWithSizeAndBold)
{
    Font* f = Font::Acquire();
    int w1 = 0, h1 = 0, w2 = 0, h2 = 0, we = 0, he = 0;
    f->measure(L"Measure me", &w1, &h1);
    f->applySizeCode(105);
    f->measure(L"Measure me", &w2, &h2);
    EXPECT_GT(w1, 20);
    EXPECT_GT(w2, w1);
    EXPECT_GT(h2, h1);
    f->measure(L"", &we, &he);
    EXPECT_EQ(0, we);
    EXPECT_GT(he, 0); // one line high
    int wl = 0, hl = 0;
    f->measure(L"a\nb", &wl, &hl);
    EXPECT_GE(hl, 2 * he - 2);
    f->Release();
}

TEST(Font, SettingHandsOnOnlyWhatItHolds)
{
    Font* f = Font::Acquire();
    f->setTextColour(1, 2, 3);
    FontSetting* empty = FontSetting::Acquire();
    empty->applyTo(f);
    EXPECT_EQ(0x030201u, f->getTextColour());
    EXPECT_STREQ(Font::DEFAULT_FACE, f->getFace());
    FontSetting* s = FontSetting::Acquire();
    s->setFace(L"Arial");
    s->setPointSize(12);
    s->setWeight(700);
    s->setUnderline(true);
    s->setShadow(true, 10, 20, 30);
    s->applyTo(f);
    EXPECT_STREQ(L"Arial", f->getFace());
    EXPECT_EQ(12, f->getPointSize());
    EXPECT_TRUE(f->isBold());
    EXPECT_TRUE(f->isUnderline());
    EXPECT_TRUE(f->hasShadow());
    EXPECT_EQ(0x1E140Au, f->getShadowColour());
    Font* copy = Font::Acquire();
    copy->copyFrom(f);
    EXPECT_STREQ(L"Arial", copy->getFace());
    EXPECT_TRUE(copy->isHeightExplicit());
    copy->Release();
    empty->Release();
    s->Release();
    f->Release();
}

TEST(Font, ABatchOfChangesTellsTheOwnerOnce)
{
    Font* f = Font::Acquire();
    testgui::Recorder owner;
    f->setOwner(&owner);
    FontSetting* s = FontSetting::Acquire();
    s->setFace(L"Arial");
    s->setPointSize(12);
    s->setWeight(700);
    s->setUnderline(true);
    s->setTextColour(1, 2, 3);
    s->applyTo(f);
    EXPECT_EQ(1u, owner.kinds.size()); // one new platform font, one measuring
    EXPECT_STREQ(L"Arial", f->getFace());
    EXPECT_TRUE(f->isBold());
    // Nested batches tell at the outermost end; a batch that changed nothing tells nothing.
    f->beginChanges();
    f->beginChanges();
    f->setItalic(true);
    f->endChanges();
    EXPECT_EQ(1u, owner.kinds.size());
    f->setStrikeOut(true);
    f->endChanges();
    EXPECT_EQ(2u, owner.kinds.size());
    f->beginChanges();
    f->endChanges();
    f->endChanges(); // one end too many changes nothing
    EXPECT_EQ(2u, owner.kinds.size());
    f->setBold(false); // outside a batch every change tells at once
    EXPECT_EQ(3u, owner.kinds.size());
    EXPECT_TRUE(f->isItalic());
    EXPECT_TRUE(f->isStrikeOut());
    s->Release();
    f->setOwner(nullptr);
    f->Release();
}
