#include "s/gui/win/FontSetting.h"

#include "s/gui/IFont.h"
#include "s/gui/win/ComponentBase.h"

namespace s::gui::win
{

void FontSetting::Reset()
{
    face_.clear();
    hasFace_ = false;
    points_ = weight_ = -1;
    italic_ = underline_ = strikeOut_ = false;
    hasColour_ = false;
    colour_ = 0;
    shadow_ = outline_ = false;
    shadowColour_ = outlineColour_ = 0;
}

void FontSetting::setFace(const wchar_t* face)
{
    hasFace_ = face != nullptr;
    face_ = face ? face : L"";
}

void FontSetting::setTextColour(int r, int g, int b)
{
    hasColour_ = true;
    colour_ = Colours::pack(r, g, b);
}

void FontSetting::setShadow(bool on, int r, int g, int b)
{
    shadow_ = on;
    shadowColour_ = Colours::pack(r, g, b);
}

void FontSetting::setOutline(bool on, int r, int g, int b)
{
    outline_ = on;
    outlineColour_ = Colours::pack(r, g, b);
}

void FontSetting::applyTo(IFont* font)
{
    if (!font)
        return;
    font->beginChanges();
    if (hasFace_)
        font->setFace(face_.c_str());
    if (points_ > 0)
        font->setPointSize(points_);
    if (weight_ > 0)
        font->setWeight(weight_);
    font->setItalic(italic_);
    font->setUnderline(underline_);
    font->setStrikeOut(strikeOut_);
    if (hasColour_)
        font->setTextColour(colour_ & 0xFF, (colour_ >> 8) & 0xFF, (colour_ >> 16) & 0xFF);
    font->setShadow(shadow_, shadowColour_ & 0xFF, (shadowColour_ >> 8) & 0xFF, (shadowColour_ >> 16) & 0xFF);
    font->setOutline(outline_, outlineColour_ & 0xFF, (outlineColour_ >> 8) & 0xFF,
                     (outlineColour_ >> 16) & 0xFF);
    font->endChanges();
}

void FontSetting::takeFrom(IFont* font)
{
    if (!font)
        return;
    setFace(font->getFace());
    points_ = font->getPointSize();
    weight_ = font->getWeight();
    italic_ = font->isItalic();
    underline_ = font->isUnderline();
    strikeOut_ = font->isStrikeOut();
    hasColour_ = true;
    colour_ = font->getTextColour();
    shadow_ = font->hasShadow();
    shadowColour_ = font->getShadowColour();
    outline_ = font->hasOutline();
    outlineColour_ = font->getOutlineColour();
}

} // namespace s::gui::win
