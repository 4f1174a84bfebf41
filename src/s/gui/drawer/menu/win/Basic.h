#pragma once
#include "s/base/ClassId.h"
#include "s/gui/drawer/IMenu.h"
#include "s/thread/Pooled.h"

namespace s::gui::drawer::menu::win
{

// Owner-drawn menu items: the background, a hovered item filled with the hover colour
// and marked by a 3-pixel accent bar at its left, a tick or a radio dot in the mark
// column (MARK_WIDTH), the text after it and the key text (after a tab) at the right.
// A separator is a 1-pixel line across the middle of its SEPARATOR_HEIGHT. The sizes are
// stated at 96 DPI; measuring and drawing scale them to the context's DPI (Paint::scaled).
class Basic : public IMenu
{
    S_CLASS_ID(L"s_gui_drawer_menu_win_Basic")
    S_POOLED(Basic)

  public:
    static constexpr int MARK_WIDTH = 20;
    static constexpr int SEPARATOR_HEIGHT = 7;
    static constexpr int ITEM_PADDING_Y = 3;
    static constexpr int KEY_GAP = 24;

    void Reset() override;
    void drawBar(HDC dc, int left, int top, int right, int bottom) override;
    void drawItem(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font, int state,
                  unsigned flags) override;
    void measureItem(HDC dc, const wchar_t* text, HFONT font, unsigned flags, int* width, int* height) override;

    void setBackgroundColour(uint32_t colour) override { background_ = colour; }
    void setTextColour(uint32_t colour) override { text_ = colour; }
    void setHoverColour(uint32_t colour) override { hover_ = colour; }
    void setAccentColour(uint32_t colour) override { accent_ = colour; }
    void setSeparatorColour(uint32_t colour) override { separator_ = colour; }
    void setDisabledColour(uint32_t colour) override { disabled_ = colour; }
    uint32_t getBackgroundColour() override { return background_; }
    uint32_t getTextColour() override { return text_; }
    uint32_t getHoverColour() override { return hover_; }
    uint32_t getAccentColour() override { return accent_; }
    uint32_t getSeparatorColour() override { return separator_; }
    uint32_t getDisabledColour() override { return disabled_; }

  private:
    uint32_t background_ = 0xFFFFFF;
    uint32_t text_ = 0;
    uint32_t hover_ = 0xEEEEEE;
    uint32_t accent_ = 0x00A5FF;
    uint32_t separator_ = 0xC0C0C0;
    uint32_t disabled_ = 0x808080;
};

} // namespace s::gui::drawer::menu::win
