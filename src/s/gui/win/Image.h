#pragma once
#include "s/base/ClassId.h"
#include "s/gui/IImage.h"
#include "s/gui/win/WidgetBase.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui::drawer
{
class IImage;
}
namespace s::gui::drawer::image::win
{
class Basic;
}

namespace s::gui::win
{

// The picture component (see IImage): its background (colour, or the parent's backdrop
// when transparent), then the picture through the image drawer of its window's skin, or
// through a plain drawer of its own in a window without a skin.
//
// Size rules: as every widget (WidgetBase), with the picture's own size as the measured
// size (16 × 16 for an icon). With a width percentage and no fixed width the picture may
// shrink to nothing (minimum width 0), and without a fixed height its height is the
// width it gets times the picture's height / width.
//
// Pooled: Image::Acquire() or newImage; Threads: as every component (set the bitmap
// before attaching it, or on the window's thread).
class Image : public WidgetBase<IImage>, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_win_Image")
    S_POOLED(Image)

  public:
    // A new detached image showing `bitmap` (not owned) at `widthPercent` of its parent's
    // width (negative: its own size).
    static Image* newImage(HBITMAP__* bitmap, int widthPercent);
    // A new detached image showing `icon` (not owned) in a fixed width × height place.
    static Image* newIcon(HICON__* icon, int width, int height);

    Image();
    ~Image() override;
    void Reset() override;

    void setFit(int fit) override;
    void setBitmap(HBITMAP__* bitmap) override;
    void setIcon(HICON__* icon) override;
    int getFit() const { return fit_; }

    int getMinWidth() override;
    int getMinHeight() override;
    int getMaxHeight() override;

  protected:
    void paintInto(HDC dc) override;
    void measureContent(int* width, int* height) override;
    void skinChanged(drawer::ISkin* skin) override;

  private:
    // The height for the width the layout gives, keeping the picture's aspect; -1 when
    // the height does not follow the width.
    int aspectHeight();
    drawer::IImage* drawer();

    HBITMAP bitmap_ = nullptr;
    HICON icon_ = nullptr;
    int fit_ = 0;
    int pictureWidth_ = 0, pictureHeight_ = 0;
    drawer::IImage* skinDrawer_ = nullptr;              // the window's skin's, not owned
    drawer::image::win::Basic* plainDrawer_ = nullptr; // owned, made on first use
};

} // namespace s::gui::win
