#include "s/image/Picture.h"

#include "s/col/_array/ArrayP.h"
#include "s/image/Image.h"
#include "s/image/JpegReader.h"

using s::col::_array::ArrayP;

namespace s::image {

namespace {
// A picture's list and images go back to these pools when the picture pool is destroyed.
const bool g_memberPoolsMadeFirst = (ArrayP::Pool(), Image::Pool(), true);
} // namespace

Picture::Picture() : images_(ArrayP::Acquire(&Image::Pool()))
{
    (void)g_memberPoolsMadeFirst;
}

Picture::~Picture()
{
    if (images_)
        images_->Release();
}

void Picture::Reset()
{
    if (images_)
        images_->FreeAll();
}

Picture* Picture::fromResource(HMODULE module, const wchar_t* type, int32_t number)
{
    if (!module)
        module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(number), type ? type : TYPE_JPEG);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = found ? SizeofResource(module, found) : 0;
    if (!bytes || size == 0)
        return nullptr;
    return fromBytes(static_cast<const uint8_t*>(bytes), size);
}

Picture* Picture::fromBytes(const uint8_t* data, size_t size)
{
    Image* image = JpegReader::decode(data, size);
    if (!image)
        return nullptr;
    Picture* picture = Picture::Acquire();
    if (!picture || !picture->images_)
    {
        image->Release();
        if (picture)
            picture->Release();
        return nullptr;
    }
    picture->addImage(image);
    return picture;
}

void Picture::addImage(Image* image)
{
    if (image && images_)
        images_->Add(image);
}

uint32_t Picture::getImageCount() const
{
    return images_ ? images_->Count() : 0;
}

Image* Picture::getImage(uint32_t index) const
{
    if (!images_ || index >= images_->Count())
        return nullptr;
    return static_cast<Image*>(images_->Get(index));
}

} // namespace s::image
