#pragma once
// A picture read from a file's bytes or from a program's resources: its images in order
// (a JPEG has one). The application services keep the program's two embedded pictures as
// Pictures; components paint their first image.
//
//     Picture* wide = Picture::fromResource(nullptr, L"IDR_JPG", 131);   // null when missing
//     if (wide) wide->getFirstImage()->paint(dc, 0, 0);
//     ...
//     if (wide) wide->Release();
//
// Readers: resources of type "IDR_JPG" (and any other type whose bytes are a JPEG) are
// decoded with JpegReader. A missing resource, an unknown format or damaged data gives null,
// never a partly read picture.
//
// Ownership: the Picture owns its images (getImage lends them); fromResource and fromBytes
// answer new Pictures that the caller releases. Thread affinity: as Image.
// Class identifier "s_image_Picture"; pooled.

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::col::_array {
class ArrayP;
}

namespace s::image {

class Image;

class Picture : public s::base::IObject, public s::thread::IPoolable
{
    S_CLASS_ID(L"s_image_Picture")
    S_POOLED(Picture)

public:
    /// The resource type of the program's embedded JPEG pictures.
    static constexpr const wchar_t* TYPE_JPEG = L"IDR_JPG";

    /// Releases every image.
    void Reset() override;

    /// The picture in resource `number` of `type` in `module` (null: the program file);
    /// null when missing or not readable.
    static Picture* fromResource(HMODULE module, const wchar_t* type, int32_t number);
    /// The picture in `size` bytes (JPEG); null when not readable.
    static Picture* fromBytes(const uint8_t* data, size_t size);

    /// Appends an image; the picture takes it over (null is ignored).
    void addImage(Image* image);
    uint32_t getImageCount() const;
    /// The image at index (lent), or null.
    Image* getImage(uint32_t index) const;
    /// The first image (lent), or null when there is none.
    Image* getFirstImage() const { return getImage(0); }

protected:
    Picture();
    ~Picture() override;

private:
    s::col::_array::ArrayP* images_; // owns its images (Image pool)
};

} // namespace s::image
