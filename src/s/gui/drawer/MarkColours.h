#pragma once
#include "s/gui/drawer/ICheckMark.h"
#include "s/gui/drawer/Paint.h"

namespace s::gui::drawer
{

// The colours and layout that check box and radio button drawers share, on top of their
// interface I: the glyph box at the left edge, vertically centred, the text GAP pixels to
// its right (both stated at 96 DPI and drawn at the context's, see Paint::scaled).
// Defaults: black frame, text and mark on a white box.
template <class I> class MarkColours : public I
{
  public:
    static constexpr int GLYPH = 13;
    static constexpr int GAP = 5;

    // At 96 DPI.
    int getGlyphSize() override { return GLYPH; }
    void measure(HDC dc, const wchar_t* text, HFONT font, int* width, int* height) override
    {
        int w = 0, h = 0;
        Paint::measure(dc, text, font, &w, &h);
        const int glyph = Paint::scaled(dc, GLYPH);
        if (width)
            *width = glyph + Paint::scaled(dc, GAP) + w + 1;
        if (height)
            *height = h > glyph ? h : glyph;
    }

    void setFrameColour(uint32_t colour) override { frame_ = colour; }
    void setInteriorColour(uint32_t colour) override { interior_ = colour; }
    void setMarkColour(uint32_t colour) override { mark_ = colour; }
    void setTextColour(uint32_t colour) override { text_ = colour; }
    void setHoverColour(uint32_t colour) override { hover_ = colour; }
    void setDisabledColour(uint32_t colour) override { disabled_ = colour; }
    uint32_t getFrameColour() override { return frame_; }
    uint32_t getInteriorColour() override { return interior_; }
    uint32_t getMarkColour() override { return mark_; }
    uint32_t getTextColour() override { return text_; }
    uint32_t getHoverColour() override { return hover_; }
    uint32_t getDisabledColour() override { return disabled_; }

  protected:
    void resetColours()
    {
        frame_ = 0;
        interior_ = 0xFFFFFF;
        mark_ = 0;
        text_ = 0;
        hover_ = 0x00A5FF;
        disabled_ = 0x808080;
    }
    // The glyph's frame colour for a state.
    uint32_t frameFor(int state, unsigned flags) const
    {
        if (flags & IDrawer::FLAG_DISABLED)
            return disabled_;
        return state != IDrawer::STATE_NORMAL || (flags & IDrawer::FLAG_FOCUSED) ? hover_ : frame_;
    }
    // The text to the right of a glyph whose box starts at `left`.
    void drawText(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font,
                  unsigned flags, uint32_t textColour) const
    {
        uint32_t colour = (flags & IDrawer::FLAG_DISABLED)   ? disabled_
                          : textColour == IDrawer::DEFAULT_COLOUR ? text_
                                                                  : textColour;
        Paint::text(dc, left + Paint::scaled(dc, GLYPH) + Paint::scaled(dc, GAP), top, right, bottom, text, font, colour,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }

    uint32_t frame_ = 0;
    uint32_t interior_ = 0xFFFFFF;
    uint32_t mark_ = 0;
    uint32_t text_ = 0;
    uint32_t hover_ = 0x00A5FF;
    uint32_t disabled_ = 0x808080;
};

} // namespace s::gui::drawer
