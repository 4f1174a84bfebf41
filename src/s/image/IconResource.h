#pragma once
// An icon resource of a program file (a group of images of several sizes and colour depths)
// from which icons of a wanted size are made.
//
//     IconResource* icon = IconResource::load(nullptr, 128);       // null when missing
//     HICON small = icon->createIcon(16, 16);                      // caller destroys it
//     icon->Release();
//
// Choosing an image for a wanted size: the image of exactly that size in 32-bit colour;
// otherwise the one whose area is nearest (between equally near ones the deeper colour,
// then the first). The icon made has the chosen image's own size.
//
// Ownership: createIcon answers a new HICON that the caller destroys (DestroyIcon); load
// answers a new IconResource that the caller releases. The module must stay loaded while
// the resource is used. Thread affinity: none after loading (only read).
// Class identifier "s_image_IconResource"; pooled.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::image {

class IconResource : public s::base::IObject, public s::thread::IPoolable
{
    S_CLASS_ID(L"s_image_IconResource")
    S_POOLED(IconResource)

public:
    /// One image of the group as its directory lists it.
    struct Entry
    {
        int32_t width;
        int32_t height;
        int32_t bitCount;
        uint16_t resourceId; // its RT_ICON resource
    };

    /// Forgets the module and the entries.
    void Reset() override;

    /// The icon group `number` of `module` (null: the program file); null when it is
    /// missing or its directory is damaged.
    static IconResource* load(HMODULE module, int32_t number);

    /// The index of the image chosen for width × height (see above) among `count` entries;
    /// -1 when there are none.
    static int32_t chooseEntry(const Entry* entries, int32_t count, int32_t width, int32_t height);

    int32_t getNumber() const { return number_; }
    int32_t getEntryCount() const { return int32_t(entries_.size()); }
    /// The entry at index (lent), or null.
    const Entry* getEntry(int32_t index) const;
    /// chooseEntry over this group.
    int32_t chooseEntry(int32_t width, int32_t height) const;

    /// A new icon from the image chosen for width × height, in that image's own size; null
    /// when none can be made.
    HICON createIcon(int32_t width, int32_t height) const;
    /// A new icon from the entry at index; null when none can be made.
    HICON createIconAt(int32_t index) const;

protected:
    IconResource() = default;
    ~IconResource() override = default;

private:
    HMODULE module_ = nullptr;
    int32_t number_ = 0;
    std::vector<Entry> entries_;
};

} // namespace s::image
