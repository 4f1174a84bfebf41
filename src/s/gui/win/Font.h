#pragma once
#include <windows.h>

#include <string>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/gui/IFont.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui::events
{
class IEventListener;
}

namespace s::gui::win
{

// The toolkit's font (see IFont): the description and the platform font made from it.
// Defaults: "MS Shell Dlg 2", 9 points, normal weight, black, no decoration, height not
// explicit.
//
// Pooled: Font::Acquire() gives a default font that the caller releases; the platform
// font is deleted when the description changes and when the font goes back to its pool.
// The owner (setOwner, not owned) gets handleEvent(IFont face, EVENT_CHANGED) after
// every change of a property, or once at the end of a batch of changes (beginChanges).
class Font : public base::IObject, public IFont, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_win_Font")
    S_POOLED(Font)

  public:
    static constexpr const wchar_t* DEFAULT_FACE = L"MS Shell Dlg 2";
    static constexpr int DEFAULT_POINTS = 9;
    enum
    {
        EVENT_CHANGED = 1
    };

    Font();
    ~Font() override;
    void Reset() override;

    // Decodes a size code (see IFont); false for a code that changes nothing.
    static bool decodeSizeCode(int code, int* points, int* weight);
    // Pixels of `points` at the system DPI (positive, rounded as the platform does).
    static int pixelsOfPoints(int points);

    // The DPI for which the platform font is made (the system DPI by default; a widget
    // gives its font its window's). A change makes the platform font again and tells the
    // owner; the point size stays.
    int getDpi() const { return dpi_; }
    void setDpi(int dpi);

    void setOwner(events::IEventListener* owner) { owner_ = owner; }

    // --- IFont -----------------------------------------------------------------
    const wchar_t* getFace() override { return face_.c_str(); }
    void setFace(const wchar_t* face) override;
    int getPointSize() override { return points_; }
    void setPointSize(int points) override;
    bool isHeightExplicit() override { return heightExplicit_; }
    bool applySizeCode(int code) override;
    int getWeight() override { return weight_; }
    void setWeight(int weight) override;
    bool isBold() override { return weight_ >= FW_BOLD; }
    void setBold(bool on) override { setWeight(on ? FW_BOLD : FW_NORMAL); }
    bool isItalic() override { return italic_; }
    void setItalic(bool on) override;
    bool isUnderline() override { return underline_; }
    void setUnderline(bool on) override;
    bool isStrikeOut() override { return strikeOut_; }
    void setStrikeOut(bool on) override;
    bool isSmooth() override { return smooth_; }
    void setSmooth(bool on) override;
    uint32_t getTextColour() override { return colour_; }
    void setTextColour(int r, int g, int b) override;
    bool hasShadow() override { return shadow_; }
    uint32_t getShadowColour() override { return shadowColour_; }
    void setShadow(bool on, int r, int g, int b) override;
    bool hasOutline() override { return outline_; }
    uint32_t getOutlineColour() override { return outlineColour_; }
    void setOutline(bool on, int r, int g, int b) override;
    HFONT__* getHandle() override;
    void beginChanges() override { ++batch_; }
    void endChanges() override;
    void measure(const wchar_t* text, int* width, int* height) override;
    void copyFrom(IFont* other) override;

    // Measures as measure does, in `dc`, a memory drawing context the caller owns and
    // may use for many texts (the font is selected for the call and the previous one put
    // back); with a null `dc` only the room for a shadow or an outline is counted.
    void measureIn(HDC dc, const wchar_t* text, int* width, int* height);

    // Sets the colour from a packed value.
    void setTextColourValue(uint32_t colour);

  private:
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    void resetFont();
    // Forgets the platform font and tells the owner.
    void changed();
    void dropHandle();

    std::wstring face_;
    int points_ = DEFAULT_POINTS;
    bool heightExplicit_ = false;
    int weight_ = FW_NORMAL;
    bool italic_ = false, underline_ = false, strikeOut_ = false, smooth_ = false;
    uint32_t colour_ = 0;
    bool shadow_ = false, outline_ = false;
    uint32_t shadowColour_ = 0, outlineColour_ = 0;
    HFONT handle_ = nullptr;
    int dpi_ = 96;
    events::IEventListener* owner_ = nullptr;
    int batch_ = 0;              // open batches (beginChanges)
    bool changedInBatch_ = false; // the owner is told at the end of the batch
};

} // namespace s::gui::win
