#pragma once
#include <cstdint>

struct HFONT__; // the platform's font handle type (HFONT)

namespace s::gui
{

// A font description and the platform font made from it: face, size, weight, italic,
// underline, strike-out, text colour, shadow and outline. Every property change makes
// the platform font again (on next use) and tells the font's owner, which measures its
// widget again.
//
// Size codes (applySizeCode, the widget factories' "font size code"):
//   |n| < 100          normal weight (400) at n + 10 points (0 is 10 points);
//   100 <= |n| < 1000  bold (700) at (n mod 100) + 14 points, the remainder taking the
//                      sign of n (-103 is 11-point bold);
//   100001             normal weight at 8 points;
//   any other code of 1000 or more (or -1000 or less) changes nothing.
// The point size of a code is applied only while the height was not set explicitly
// (setPointSize); the weight always is.
//
// Threads: change a font on the window's thread or before its widget is attached; the
// handle answered by getHandle stays valid until the next property change.
class IFont
{
  public:
    virtual ~IFont() = default;

    virtual const wchar_t* getFace() = 0;
    // Null or "" returns to the default face ("MS Shell Dlg 2").
    virtual void setFace(const wchar_t* face) = 0;
    virtual int getPointSize() = 0;
    // Sets the height explicitly: later size codes leave it alone.
    virtual void setPointSize(int points) = 0;
    virtual bool isHeightExplicit() = 0;
    // Applies a size code (see above); answers false for a code that changes nothing.
    virtual bool applySizeCode(int code) = 0;
    virtual int getWeight() = 0;
    virtual void setWeight(int weight) = 0;
    virtual bool isBold() = 0;
    virtual void setBold(bool on) = 0;
    virtual bool isItalic() = 0;
    virtual void setItalic(bool on) = 0;
    virtual bool isUnderline() = 0;
    virtual void setUnderline(bool on) = 0;
    virtual bool isStrikeOut() = 0;
    virtual void setStrikeOut(bool on) = 0;
    // Anti-aliased glyph edges.
    virtual bool isSmooth() = 0;
    virtual void setSmooth(bool on) = 0;
    // 0x00BBGGRR.
    virtual uint32_t getTextColour() = 0;
    virtual void setTextColour(int r, int g, int b) = 0;
    // A copy of the text one pixel down and right, in the shadow colour.
    virtual bool hasShadow() = 0;
    virtual uint32_t getShadowColour() = 0;
    virtual void setShadow(bool on, int r, int g, int b) = 0;
    // A one-pixel ring around every glyph, in the outline colour.
    virtual bool hasOutline() = 0;
    virtual uint32_t getOutlineColour() = 0;
    virtual void setOutline(bool on, int r, int g, int b) = 0;

    // The platform font, made on first use; owned by the font (never delete it).
    virtual HFONT__* getHandle() = 0;
    // A batch of property changes: between beginChanges and the matching endChanges
    // (batches nest) the owner is not told; the outermost endChanges tells it once when
    // anything changed, so that the platform font is made and the text measured once.
    virtual void beginChanges() = 0;
    virtual void endChanges() = 0;
    // Extent of `text` drawn in this font (line feeds break lines); an empty text is
    // 0 wide and one line high.
    virtual void measure(const wchar_t* text, int* width, int* height) = 0;
    // Takes every property of `other` (its owner is not told twice: once).
    virtual void copyFrom(IFont* other) = 0;
};

} // namespace s::gui
