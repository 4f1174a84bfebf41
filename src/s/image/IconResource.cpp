#include "s/image/IconResource.h"

#include <cstring>

namespace s::image {

namespace {

// The group directory of an RT_GROUP_ICON resource (packed to 2 bytes in the file).
constexpr size_t kDirectorySize = 6;
constexpr size_t kDirectoryEntrySize = 14;

uint16_t ReadU16(const uint8_t* p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

const uint8_t* ResourceBytes(HMODULE module, const wchar_t* name, const wchar_t* type, DWORD* size)
{
    HRSRC found = FindResourceW(module, name, type);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    *size = bytes ? SizeofResource(module, found) : 0;
    return static_cast<const uint8_t*>(bytes);
}

int64_t AreaDistance(const IconResource::Entry& entry, int64_t wantedArea)
{
    const int64_t area = int64_t(entry.width) * int64_t(entry.height);
    return area > wantedArea ? area - wantedArea : wantedArea - area;
}

} // namespace

void IconResource::Reset()
{
    module_ = nullptr;
    number_ = 0;
    entries_.clear();
}

IconResource* IconResource::load(HMODULE module, int32_t number)
{
    if (!module)
        module = GetModuleHandleW(nullptr);
    DWORD size = 0;
    const uint8_t* bytes = ResourceBytes(module, MAKEINTRESOURCEW(number), MAKEINTRESOURCEW(14) /* RT_GROUP_ICON */,
                                         &size);
    if (!bytes || size < kDirectorySize || ReadU16(bytes + 2) != 1 /* icons, not cursors */)
        return nullptr;
    const uint16_t count = ReadU16(bytes + 4);
    if (count == 0 || size < kDirectorySize + size_t(count) * kDirectoryEntrySize)
        return nullptr;
    IconResource* icon = IconResource::Acquire();
    if (!icon)
        return nullptr;
    icon->module_ = module;
    icon->number_ = number;
    for (uint16_t i = 0; i < count; ++i)
    {
        const uint8_t* p = bytes + kDirectorySize + size_t(i) * kDirectoryEntrySize;
        Entry entry;
        // A side of 256 is written as 0.
        entry.width = p[0] ? p[0] : 256;
        entry.height = p[1] ? p[1] : 256;
        entry.bitCount = ReadU16(p + 6);
        entry.resourceId = ReadU16(p + 12);
        icon->entries_.push_back(entry);
    }
    return icon;
}

int32_t IconResource::chooseEntry(const Entry* entries, int32_t count, int32_t width, int32_t height)
{
    if (!entries || count <= 0)
        return -1;
    for (int32_t i = 0; i < count; ++i)
    {
        if (entries[i].width == width && entries[i].height == height && entries[i].bitCount == 32)
            return i;
    }
    const int64_t wantedArea = int64_t(width) * int64_t(height);
    int32_t best = 0;
    for (int32_t i = 1; i < count; ++i)
    {
        const int64_t distance = AreaDistance(entries[i], wantedArea);
        const int64_t bestDistance = AreaDistance(entries[best], wantedArea);
        if (distance < bestDistance || (distance == bestDistance && entries[i].bitCount > entries[best].bitCount))
            best = i;
    }
    return best;
}

const IconResource::Entry* IconResource::getEntry(int32_t index) const
{
    if (index < 0 || index >= int32_t(entries_.size()))
        return nullptr;
    return &entries_[size_t(index)];
}

int32_t IconResource::chooseEntry(int32_t width, int32_t height) const
{
    return chooseEntry(entries_.data(), int32_t(entries_.size()), width, height);
}

HICON IconResource::createIcon(int32_t width, int32_t height) const
{
    return createIconAt(chooseEntry(width, height));
}

HICON IconResource::createIconAt(int32_t index) const
{
    const Entry* entry = getEntry(index);
    if (!entry || !module_)
        return nullptr;
    DWORD size = 0;
    const uint8_t* bytes = ResourceBytes(module_, MAKEINTRESOURCEW(entry->resourceId), MAKEINTRESOURCEW(3) /* RT_ICON */,
                                         &size);
    if (!bytes || size == 0)
        return nullptr;
    return CreateIconFromResourceEx(const_cast<PBYTE>(bytes), size, TRUE, 0x00030000, entry->width, entry->height,
                                    LR_DEFAULTCOLOR);
}

} // namespace s::image
