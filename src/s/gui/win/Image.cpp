#include "s/gui/win/Image.h"

#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/image/win/Basic.h"

namespace s::gui::win
{

Image::Image() = default;

Image::~Image()
{
    if (plainDrawer_)
        plainDrawer_->Release();
}

void Image::Reset()
{
    resetWidget();
    bitmap_ = nullptr;
    icon_ = nullptr;
    fit_ = 0;
    pictureWidth_ = pictureHeight_ = 0;
    skinDrawer_ = nullptr;
}

Image* Image::newImage(HBITMAP__* bitmap, int widthPercent)
{
    Image* image = Acquire();
    if (!image)
        return nullptr;
    image->setBitmap(bitmap);
    if (widthPercent >= 0)
        image->setWidthPercent(widthPercent);
    return image;
}

Image* Image::newIcon(HICON__* icon, int width, int height)
{
    Image* image = Acquire();
    if (!image)
        return nullptr;
    image->setIcon(icon);
    image->setFixedWidth(width);
    image->setFixedHeight(height);
    return image;
}

void Image::setFit(int fit)
{
    fit_ = fit;
    redraw();
}

void Image::setBitmap(HBITMAP__* bitmap)
{
    bitmap_ = bitmap;
    icon_ = nullptr;
    pictureWidth_ = pictureHeight_ = 0;
    BITMAP info{};
    if (bitmap_ && GetObjectW(bitmap_, sizeof(info), &info))
    {
        pictureWidth_ = info.bmWidth;
        pictureHeight_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    }
    markMeasureDirty();
    remeasure();
    redraw();
}

void Image::setIcon(HICON__* icon)
{
    icon_ = icon;
    bitmap_ = nullptr;
    pictureWidth_ = pictureHeight_ = icon ? 16 : 0;
    markMeasureDirty();
    remeasure();
    redraw();
}

void Image::measureContent(int* width, int* height)
{
    *width = pictureWidth_;
    *height = pictureHeight_;
}

int Image::aspectHeight()
{
    if (getFixedHeight() >= 0 || getWidthPercent() < 0 || getFixedWidth() >= 0 || pictureWidth_ <= 0)
        return -1;
    int w = getMaxWidth();
    return static_cast<int>((static_cast<long long>(w) * pictureHeight_ + pictureWidth_ / 2) / pictureWidth_);
}

int Image::getMinWidth()
{
    if (getFixedWidth() < 0 && getWidthPercent() >= 0)
        return 0;
    return WidgetBase::getMinWidth();
}

int Image::getMinHeight()
{
    int h = aspectHeight();
    return h >= 0 ? h : WidgetBase::getMinHeight();
}

int Image::getMaxHeight()
{
    int h = aspectHeight();
    return h >= 0 ? h : WidgetBase::getMaxHeight();
}

void Image::skinChanged(drawer::ISkin* skin)
{
    skinDrawer_ = skin ? skin->getImageDrawer() : nullptr;
    redraw();
}

drawer::IImage* Image::drawer()
{
    if (skinDrawer_)
        return skinDrawer_;
    if (!plainDrawer_)
        plainDrawer_ = drawer::image::win::Basic::Acquire();
    return plainDrawer_;
}

void Image::paintInto(HDC dc)
{
    WidgetBase::paintInto(dc); // the background: fill or the parent's backdrop
    RECT client;
    GetClientRect(handle_, &client);
    drawer::IImage* d = drawer();
    if (!d)
        return;
    if (icon_)
        d->drawIcon(dc, 0, 0, client.right, client.bottom, icon_);
    else if (bitmap_)
        d->draw(dc, 0, 0, client.right, client.bottom, bitmap_, fit_);
}

} // namespace s::gui::win
