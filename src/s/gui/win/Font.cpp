#include "s/gui/win/Font.h"

#include <cstdlib>

#include "s/gui/events/IEventListener.h"
#include "s/gui/win/ComponentBase.h"

namespace s::gui::win
{
namespace
{
// The screen's DPI, fixed for the life of the process.
int systemDpi()
{
    static const int dpi = Toolkit::dpiOf(nullptr);
    return dpi;
}
} // namespace

Font::Font()
{
    resetFont();
}

Font::~Font()
{
    dropHandle();
}

void Font::Reset()
{
    dropHandle();
    resetFont();
}

void Font::resetFont()
{
    face_ = DEFAULT_FACE;
    points_ = DEFAULT_POINTS;
    heightExplicit_ = false;
    weight_ = FW_NORMAL;
    italic_ = underline_ = strikeOut_ = smooth_ = false;
    colour_ = 0;
    shadow_ = outline_ = false;
    shadowColour_ = outlineColour_ = 0;
    dpi_ = systemDpi();
    owner_ = nullptr;
    batch_ = 0;
    changedInBatch_ = false;
}

bool Font::decodeSizeCode(int code, int* points, int* weight)
{
    if (code == 100001)
    {
        *points = 8;
        *weight = FW_NORMAL;
        return true;
    }
    int magnitude = std::abs(code);
    if (magnitude < 100)
    {
        *points = code + 10;
        *weight = FW_NORMAL;
        return true;
    }
    if (magnitude < 1000)
    {
        *points = code % 100 + 14; // C++ keeps the sign of the dividend
        *weight = FW_BOLD;
        return true;
    }
    return false;
}

int Font::pixelsOfPoints(int points)
{
    return MulDiv(points, systemDpi(), 72);
}

void Font::setDpi(int dpi)
{
    if (dpi <= 0 || dpi == dpi_)
        return;
    dpi_ = dpi;
    changed();
}

void Font::dropHandle()
{
    if (handle_)
    {
        DeleteObject(handle_);
        handle_ = nullptr;
    }
}

void Font::changed()
{
    dropHandle();
    if (batch_ > 0)
    {
        changedInBatch_ = true;
        return;
    }
    if (owner_)
        owner_->handleEvent(static_cast<IFont*>(this), EVENT_CHANGED);
}

void Font::endChanges()
{
    if (batch_ <= 0 || --batch_ > 0 || !changedInBatch_)
        return;
    changedInBatch_ = false;
    changed();
}

void Font::setFace(const wchar_t* face)
{
    face_ = (face && *face) ? face : DEFAULT_FACE;
    changed();
}

void Font::setPointSize(int points)
{
    points_ = points;
    heightExplicit_ = true;
    changed();
}

bool Font::applySizeCode(int code)
{
    int points = 0, weight = 0;
    if (!decodeSizeCode(code, &points, &weight))
        return false;
    weight_ = weight;
    if (!heightExplicit_)
        points_ = points;
    changed();
    return true;
}

void Font::setWeight(int weight)
{
    weight_ = weight;
    changed();
}

void Font::setItalic(bool on)
{
    italic_ = on;
    changed();
}

void Font::setUnderline(bool on)
{
    underline_ = on;
    changed();
}

void Font::setStrikeOut(bool on)
{
    strikeOut_ = on;
    changed();
}

void Font::setSmooth(bool on)
{
    smooth_ = on;
    changed();
}

void Font::setTextColour(int r, int g, int b)
{
    setTextColourValue(Colours::pack(r, g, b));
}

void Font::setTextColourValue(uint32_t colour)
{
    colour_ = colour;
    changed();
}

void Font::setShadow(bool on, int r, int g, int b)
{
    shadow_ = on;
    shadowColour_ = Colours::pack(r, g, b);
    changed();
}

void Font::setOutline(bool on, int r, int g, int b)
{
    outline_ = on;
    outlineColour_ = Colours::pack(r, g, b);
    changed();
}

HFONT__* Font::getHandle()
{
    if (!handle_)
    {
        LOGFONTW lf{};
        lf.lfHeight = -MulDiv(points_ > 0 ? points_ : 1, dpi_, 72);
        lf.lfWeight = weight_;
        lf.lfItalic = italic_ ? TRUE : FALSE;
        lf.lfUnderline = underline_ ? TRUE : FALSE;
        lf.lfStrikeOut = strikeOut_ ? TRUE : FALSE;
        lf.lfCharSet = DEFAULT_CHARSET;
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = smooth_ ? ANTIALIASED_QUALITY : DEFAULT_QUALITY;
        lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
        lstrcpynW(lf.lfFaceName, face_.c_str(), LF_FACESIZE);
        handle_ = CreateFontIndirectW(&lf);
    }
    return handle_;
}

void Font::measure(const wchar_t* text, int* width, int* height)
{
    HDC dc = CreateCompatibleDC(nullptr);
    measureIn(dc, text, width, height);
    if (dc)
        DeleteDC(dc);
}

void Font::measureIn(HDC dc, const wchar_t* text, int* width, int* height)
{
    int w = 0, h = 0;
    if (dc)
    {
        HGDIOBJ old = SelectObject(dc, getHandle());
        if (text && *text)
        {
            RECT r{0, 0, 0, 0};
            DrawTextW(dc, text, -1, &r, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
            w = r.right - r.left;
            h = r.bottom - r.top;
        }
        else
        {
            TEXTMETRICW tm{};
            GetTextMetricsW(dc, &tm);
            h = tm.tmHeight;
        }
        SelectObject(dc, old);
    }
    // Room for the shadow and the outline ring.
    if (outline_)
    {
        w += 2;
        h += 2;
    }
    else if (shadow_)
    {
        w += 1;
        h += 1;
    }
    if (width)
        *width = w;
    if (height)
        *height = h;
}

void Font::copyFrom(IFont* other)
{
    if (!other || other == this)
        return;
    face_ = other->getFace();
    points_ = other->getPointSize();
    heightExplicit_ = other->isHeightExplicit();
    weight_ = other->getWeight();
    italic_ = other->isItalic();
    underline_ = other->isUnderline();
    strikeOut_ = other->isStrikeOut();
    smooth_ = other->isSmooth();
    colour_ = other->getTextColour();
    shadow_ = other->hasShadow();
    shadowColour_ = other->getShadowColour();
    outline_ = other->hasOutline();
    outlineColour_ = other->getOutlineColour();
    if (Font* own = dynamic_cast<Font*>(other))
        dpi_ = own->dpi_;
    changed();
}

} // namespace s::gui::win
