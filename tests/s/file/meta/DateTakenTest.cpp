// The date a photo was taken: the tags and their order of preference, the offset tags, the
// way the file is read, and damaged or hostile EXIF blocks (which give no date, never a
// crash or a read outside the data).

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "s/file/meta/DateTaken.h"
#include "s/time/CalendarFields.h"
#include "s/time/EpochSeconds.h"
#include "s/file/meta/ExifFixtures.h"
#include "s/file/win/TempTree.h"

using namespace s::file::meta;
using namespace s::file::meta::test;

namespace
{

s::time::EpochSeconds Fields(int y, int mo, int d, int h, int mi, int s)
{
    s::time::EpochSeconds out = -1;
    EXPECT_TRUE(s::time::secondsFromFields(y, mo, d, h, mi, s, out));
    return out;
}

const std::string TAKEN = "2024:04:03 18:40:12";
const std::string DIGITIZED = "2024:04:05 09:10:11";

Bytes Photo(const std::vector<AsciiTag>& tags, bool bigEndian = false)
{
    return WithSegments(SmallJpeg(), {ExifSegment(Tiff(tags, bigEndian))});
}

ItemDate Read(const Bytes& b)
{
    return dateTakenFromBytes(b.data(), b.size());
}

void WriteFile(const std::wstring& path, const Bytes& b)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD written = 0;
    ::WriteFile(h, b.data(), static_cast<DWORD>(b.size()), &written, nullptr);
    CloseHandle(h);
}

} // namespace

TEST(DateTaken, TagsOffsetsAndByteOrders)
{
    struct Case
    {
        const char* what;
        Bytes bytes;
        ItemDate::Kind kind;
        s::time::EpochSeconds value;
    } const cases[] = {
        {"original, no offset: the wall clock", Photo({{TAG_DATE_ORIGINAL, TAKEN}}), ItemDate::Kind::WallClock,
         Fields(2024, 4, 3, 18, 40, 12)},
        {"original with its offset: the instant",
         Photo({{TAG_DATE_ORIGINAL, TAKEN}, {TAG_OFFSET_ORIGINAL, "+09:00"}}), ItemDate::Kind::Instant,
         Fields(2024, 4, 3, 9, 40, 12)},
        {"west of UTC", Photo({{TAG_DATE_ORIGINAL, TAKEN}, {TAG_OFFSET_ORIGINAL, "-05:30"}}),
         ItemDate::Kind::Instant, Fields(2024, 4, 4, 0, 10, 12)},
        {"original wins over digitized",
         Photo({{TAG_DATE_ORIGINAL, TAKEN}, {TAG_DATE_DIGITIZED, DIGITIZED}}), ItemDate::Kind::WallClock,
         Fields(2024, 4, 3, 18, 40, 12)},
        {"digitized only", Photo({{TAG_DATE_DIGITIZED, DIGITIZED}}), ItemDate::Kind::WallClock,
         Fields(2024, 4, 5, 9, 10, 11)},
        {"digitized with its own offset",
         Photo({{TAG_DATE_DIGITIZED, DIGITIZED}, {TAG_OFFSET_DIGITIZED, "+02:00"}}), ItemDate::Kind::Instant,
         Fields(2024, 4, 5, 7, 10, 11)},
        {"the digitized offset does not time the original",
         Photo({{TAG_DATE_ORIGINAL, TAKEN}, {TAG_OFFSET_DIGITIZED, "+02:00"}}), ItemDate::Kind::WallClock,
         Fields(2024, 4, 3, 18, 40, 12)},
        {"blank original falls back to digitized",
         Photo({{TAG_DATE_ORIGINAL, "    :  :     :  :  "}, {TAG_DATE_DIGITIZED, DIGITIZED}}),
         ItemDate::Kind::WallClock, Fields(2024, 4, 5, 9, 10, 11)},
        {"big-endian", Photo({{TAG_DATE_ORIGINAL, TAKEN}, {TAG_OFFSET_ORIGINAL, "+01:00"}}, true),
         ItemDate::Kind::Instant, Fields(2024, 4, 3, 17, 40, 12)},
        {"an offset that is no offset is ignored", Photo({{TAG_DATE_ORIGINAL, TAKEN}, {TAG_OFFSET_ORIGINAL, "+9:00"}}),
         ItemDate::Kind::WallClock, Fields(2024, 4, 3, 18, 40, 12)},
        {"a TIFF file (raw formats)", Tiff({{TAG_DATE_ORIGINAL, TAKEN}}), ItemDate::Kind::WallClock,
         Fields(2024, 4, 3, 18, 40, 12)},
        {"EXIF after other segments",
         WithSegments(SmallJpeg(), {Segment(1000), Segment(300, 0xED), ExifSegment(Tiff({{TAG_DATE_ORIGINAL, TAKEN}}))}),
         ItemDate::Kind::WallClock, Fields(2024, 4, 3, 18, 40, 12)},
    };
    for (const Case& c : cases)
    {
        const ItemDate d = Read(c.bytes);
        EXPECT_EQ(c.kind, d.kind) << c.what;
        EXPECT_EQ(c.value, d.value) << c.what;
    }
}

TEST(DateTaken, NoDateInDamagedOrHostileData)
{
    const Bytes good = Tiff({{TAG_DATE_ORIGINAL, TAKEN}});
    auto patched = [&](size_t at, std::initializer_list<uint8_t> bytes) {
        Bytes t = good;
        size_t i = at;
        for (uint8_t v : bytes)
            t[i++] = v;
        return WithSegments(SmallJpeg(), {ExifSegment(t)});
    };
    // IFD0 at 8: its entry's value (the EXIF IFD's place) at 8 + 2 + 8 = 18. The EXIF IFD at
    // 26: its first entry's count at 26 + 2 + 4 = 32, its value's place at 36.
    Bytes truncatedSegment = ExifSegment(good);
    truncatedSegment.resize(30);
    Bytes segmentPastTheEnd = SmallJpeg();
    segmentPastTheEnd.resize(20);
    Bytes longSegment = ExifSegment(good);
    longSegment[2] = 0xFF; // says 65 KiB; the data ends long before
    Bytes withHeader = {0xFF, 0xD8};
    withHeader.insert(withHeader.end(), longSegment.begin(), longSegment.end());
    struct Case
    {
        const char* what;
        Bytes bytes;
    } const cases[] = {
        {"no EXIF at all", SmallJpeg()},
        {"not a picture", Bytes{'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}},
        {"nothing", Bytes{}},
        {"a JPEG start only", Bytes{0xFF, 0xD8}},
        {"the EXIF IFD's place outside the block", patched(18, {0xF0, 0xFF, 0xFF, 0x7F})},
        {"the date's place outside the block", patched(36, {0x00, 0xFF, 0xFF, 0xFF})},
        {"a huge count", patched(32, {0xF0, 0xFF, 0xFF, 0x3F})},
        {"a count too short for a date", patched(32, {0x05, 0x00, 0x00, 0x00})},
        {"the EXIF IFD is IFD0 again (a loop)", patched(18, {0x08, 0x00, 0x00, 0x00})},
        {"a truncated block", WithSegments(SmallJpeg(), {truncatedSegment})},
        {"a segment longer than the file", withHeader},
        {"the picture cut inside its first segment", segmentPastTheEnd},
        {"an impossible date", Photo({{TAG_DATE_ORIGINAL, "2024:02:31 10:00:00"}})},
        {"a date without its time", Photo({{TAG_DATE_ORIGINAL, "2024:04:03"}})},
        {"a time of 24 hours", Photo({{TAG_DATE_ORIGINAL, "2024:04:03 24:00:00"}})},
        {"blank dates", Photo({{TAG_DATE_ORIGINAL, "    :  :     :  :  "}, {TAG_DATE_DIGITIZED, ""}})},
        {"a TIFF header alone", Bytes{'I', 'I', 42, 0, 0xFF, 0xFF, 0xFF, 0xFF}},
    };
    for (const Case& c : cases)
    {
        EXPECT_FALSE(Read(c.bytes).isFound()) << c.what;
    }
    // Every cut inside the EXIF segment of a good photo: no date, and no read past the cut
    // (each copy is exactly as long as the cut).
    const Bytes segment = ExifSegment(Tiff({{TAG_DATE_ORIGINAL, TAKEN}, {TAG_OFFSET_ORIGINAL, "+09:00"}}));
    const Bytes photo = WithSegments(SmallJpeg(), {segment});
    const size_t segmentEnd = 20 + segment.size(); // SOI and APP0 come first
    ASSERT_TRUE(Read(Bytes(photo.begin(), photo.begin() + static_cast<std::ptrdiff_t>(segmentEnd))).isFound());
    for (size_t n = 0; n < segmentEnd; ++n)
    {
        const Bytes cut(photo.begin(), photo.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_FALSE(Read(cut).isFound()) << n;
    }
    // Every cut of a TIFF file: whatever it yields, it is read safely; the whole one is found.
    const Bytes tiff = Tiff({{TAG_DATE_ORIGINAL, TAKEN}}, true);
    for (size_t n = 0; n < tiff.size(); ++n)
    {
        const Bytes cut(tiff.begin(), tiff.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_FALSE(Read(cut).isFound()) << n;
    }
    EXPECT_TRUE(Read(tiff).isFound());
}

TEST(DateTaken, ReadsFilesByTheirHead)
{
    s::file::win::test::TempTree tree;
    const std::wstring plain = tree.Path(L"plain.jpg");
    WriteFile(plain, Photo({{TAG_DATE_ORIGINAL, TAKEN}, {TAG_OFFSET_ORIGINAL, "+09:00"}}));
    ItemDate d = readDateTaken(plain.c_str());
    EXPECT_EQ(ItemDate::Kind::Instant, d.kind);
    EXPECT_EQ(Fields(2024, 4, 3, 9, 40, 12), d.value);

    // The EXIF segment beyond the first 64 KiB (behind two large segments): read on.
    const std::wstring distant = tree.Path(L"distant.jpg");
    WriteFile(distant, WithSegments(SmallJpeg(), {Segment(60000), Segment(60000),
                                              ExifSegment(Tiff({{TAG_DATE_DIGITIZED, DIGITIZED}}))}));
    d = readDateTaken(distant.c_str());
    EXPECT_EQ(ItemDate::Kind::WallClock, d.kind);
    EXPECT_EQ(Fields(2024, 4, 5, 9, 10, 11), d.value);

    // Segments that would have the reader go on for ever: it stops at its limit.
    Bytes endless = {0xFF, 0xD8};
    for (int i = 0; i < 10; ++i)
    {
        const Bytes s = Segment(65000);
        endless.insert(endless.end(), s.begin(), s.end());
    }
    const Bytes exif = ExifSegment(Tiff({{TAG_DATE_ORIGINAL, TAKEN}}));
    endless.insert(endless.end(), exif.begin(), exif.end());
    const std::wstring deep = tree.Path(L"deep.jpg");
    WriteFile(deep, endless);
    EXPECT_FALSE(readDateTaken(deep.c_str()).isFound());

    const std::wstring raw = tree.Path(L"raw.dng");
    WriteFile(raw, Tiff({{TAG_DATE_ORIGINAL, TAKEN}}, true));
    EXPECT_EQ(Fields(2024, 4, 3, 18, 40, 12), readDateTaken(raw.c_str()).value);

    EXPECT_FALSE(readDateTaken(tree.Path(L"missing.jpg").c_str()).isFound());
    EXPECT_FALSE(readDateTaken(tree.Root().c_str()).isFound());
    EXPECT_FALSE(readDateTaken(nullptr).isFound());
}

TEST(DateTaken, ReadingKeepsTheFileAsItWas)
{
    s::file::win::test::TempTree tree;
    const std::wstring path = tree.Path(L"photo.jpg");
    const Bytes photo = Photo({{TAG_DATE_ORIGINAL, TAKEN}});
    WriteFile(path, photo);
    HANDLE h = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    const FILETIME old = {0x12345678u, 0x01D00000u}; // an access time long past
    SetFileTime(h, nullptr, &old, &old);
    CloseHandle(h);
    ASSERT_TRUE(readDateTaken(path.c_str()).isFound());
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    ASSERT_TRUE(GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(old.dwHighDateTime, data.ftLastWriteTime.dwHighDateTime);
    EXPECT_EQ(old.dwLowDateTime, data.ftLastWriteTime.dwLowDateTime);
    EXPECT_EQ(old.dwHighDateTime, data.ftLastAccessTime.dwHighDateTime);
    EXPECT_EQ(old.dwLowDateTime, data.ftLastAccessTime.dwLowDateTime);
    EXPECT_EQ(photo.size(), data.nFileSizeLow);
}
