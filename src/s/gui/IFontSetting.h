#pragma once
#include <cstdint>

namespace s::gui
{

class IFont;

// A font description without a platform font, as a skin keeps it for its drawers:
// face (null = leave), point size (-1 = leave), weight (-1 = leave), italic, underline,
// strike-out, text colour, shadow and outline. applyTo hands it to a font.
class IFontSetting
{
  public:
    virtual ~IFontSetting() = default;
    virtual const wchar_t* getFace() = 0;
    virtual void setFace(const wchar_t* face) = 0;
    virtual int getPointSize() = 0;
    virtual void setPointSize(int points) = 0;
    virtual int getWeight() = 0;
    virtual void setWeight(int weight) = 0;
    virtual bool isItalic() = 0;
    virtual void setItalic(bool on) = 0;
    virtual bool isUnderline() = 0;
    virtual void setUnderline(bool on) = 0;
    virtual bool isStrikeOut() = 0;
    virtual void setStrikeOut(bool on) = 0;
    virtual uint32_t getTextColour() = 0;
    virtual void setTextColour(int r, int g, int b) = 0;
    virtual bool hasShadow() = 0;
    virtual uint32_t getShadowColour() = 0;
    virtual void setShadow(bool on, int r, int g, int b) = 0;
    virtual bool hasOutline() = 0;
    virtual uint32_t getOutlineColour() = 0;
    virtual void setOutline(bool on, int r, int g, int b) = 0;
    // Gives `font` every property this setting holds.
    virtual void applyTo(IFont* font) = 0;
    // Takes every property of `font`.
    virtual void takeFrom(IFont* font) = 0;
};

} // namespace s::gui
