#include "s/file/meta/DateTaken.h"
#include "s/time/CalendarFields.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include <libexif/exif-data.h>

namespace s::file::meta
{

namespace
{

const uint8_t EXIF_HEADER[6] = {'E', 'x', 'i', 'f', 0, 0};

bool IsTiff(const uint8_t* d, size_t n)
{
    return n >= 8 && ((d[0] == 'I' && d[1] == 'I' && d[2] == 42 && d[3] == 0) ||
                      (d[0] == 'M' && d[1] == 'M' && d[2] == 0 && d[3] == 42));
}

bool IsJpeg(const uint8_t* d, size_t n)
{
    return n >= 4 && d[0] == 0xFF && d[1] == 0xD8;
}

// Where a JPEG's EXIF segment lies: the offset of its "Exif\0\0" payload and the payload's
// length, from the markers in `d` (the head of the file). Answers false when the markers
// end (start of scan, end of image, damage) without one. `needed` tells, when the head is
// too short to decide, how many bytes would be (0: no more help possible).
bool FindExifSegment(const uint8_t* d, size_t n, size_t& start, size_t& length, size_t& needed)
{
    needed = 0;
    size_t p = 2; // after SOI
    for (;;)
    {
        // Fill bytes (0xFF) may stand before a marker.
        while (p < n && d[p] == 0xFF && p + 1 < n && d[p + 1] == 0xFF)
            ++p;
        if (p + 4 > n)
        {
            needed = p + 4;
            return false;
        }
        if (d[p] != 0xFF)
            return false;
        const uint8_t marker = d[p + 1];
        if (marker == 0xDA || marker == 0xD9 || marker == 0xD8)
            return false; // the picture (or its end) begins: no EXIF before it
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
        {
            p += 2; // markers without a length
            continue;
        }
        const size_t segment = (static_cast<size_t>(d[p + 2]) << 8) | d[p + 3];
        if (segment < 2)
            return false;
        const size_t payload = p + 4;
        const size_t end = p + 2 + segment;
        if (marker == 0xE1 && segment >= 2 + sizeof(EXIF_HEADER))
        {
            if (payload + sizeof(EXIF_HEADER) > n)
            {
                needed = payload + sizeof(EXIF_HEADER);
                return false;
            }
            if (std::memcmp(d + payload, EXIF_HEADER, sizeof(EXIF_HEADER)) == 0)
            {
                if (end > n)
                {
                    needed = end;
                    return false;
                }
                start = payload;
                length = segment - 2;
                return true;
            }
        }
        p = end;
    }
}

// libexif reports through this log; the reader wants no output at all.
void QuietLog(ExifLog*, ExifLogCode, const char*, const char*, va_list, void*) {}

// The date of one tag pair in the EXIF IFD; None when the date tag is missing or unusable.
ItemDate DateOf(ExifContent* exif, ExifTag dateTag, ExifTag offsetTag)
{
    ExifEntry* date = exif_content_get_entry(exif, dateTag);
    if (date == nullptr || date->format != EXIF_FORMAT_ASCII || date->data == nullptr)
        return ItemDate();
    ExifEntry* offset = exif_content_get_entry(exif, offsetTag);
    const bool offsetUsable = offset != nullptr && offset->format == EXIF_FORMAT_ASCII && offset->data != nullptr;
    return dateFromExifTexts(reinterpret_cast<const char*>(date->data), date->size,
                             offsetUsable ? reinterpret_cast<const char*>(offset->data) : nullptr,
                             offsetUsable ? offset->size : 0);
}

// Reads the EXIF block `d` (starting with "Exif\0\0").
ItemDate FromExifBlock(const uint8_t* d, size_t n)
{
    if (n > 0xFFFFFFFFu)
        return ItemDate();
    ExifData* data = exif_data_new();
    if (data == nullptr)
        return ItemDate();
    ExifLog* log = exif_log_new();
    if (log != nullptr)
    {
        exif_log_set_func(log, QuietLog, nullptr);
        exif_data_log(data, log);
    }
    // Read what is there, as it is: every option of the library off, then the maker note left
    // alone. Its default set would drop the tags it does not know and "repair" the block by
    // adding the tags it deems mandatory (a DateTime of today among them). The options are
    // bits, the maker-note one the highest.
    constexpr ExifDataOption EVERY_OPTION =
        static_cast<ExifDataOption>((EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE << 1) - 1);
    exif_data_unset_option(data, EVERY_OPTION);
    exif_data_set_option(data, EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
    exif_data_load_data(data, d, static_cast<unsigned int>(n));
    ExifContent* exif = data->ifd[EXIF_IFD_EXIF];
    ItemDate found;
    if (exif != nullptr)
    {
        found = DateOf(exif, EXIF_TAG_DATE_TIME_ORIGINAL, EXIF_TAG_OFFSET_TIME_ORIGINAL);
        if (!found.isFound())
            found = DateOf(exif, EXIF_TAG_DATE_TIME_DIGITIZED, EXIF_TAG_OFFSET_TIME_DIGITIZED);
    }
    exif_data_unref(data);
    if (log != nullptr)
        exif_log_unref(log);
    return found;
}

bool Number(const char* p, int count, int32_t& value)
{
    value = 0;
    for (int i = 0; i < count; ++i)
    {
        if (p[i] < '0' || p[i] > '9')
            return false;
        value = value * 10 + (p[i] - '0');
    }
    return true;
}

// Reads up to `want` bytes of the file into `head` from where it ends now.
bool ReadMore(HANDLE file, std::vector<uint8_t>& head, size_t want)
{
    const size_t have = head.size();
    if (want <= have)
        return true;
    head.resize(want);
    DWORD got = 0;
    const BOOL ok = ReadFile(file, head.data() + have, static_cast<DWORD>(want - have), &got, nullptr);
    head.resize(have + (ok ? got : 0));
    return ok != FALSE;
}

} // namespace

ItemDate dateFromExifTexts(const char* dateTime, size_t dateSize, const char* offset, size_t offsetSize)
{
    // "YYYY:MM:DD HH:MM:SS": 19 characters (the count includes the closing zero).
    if (dateTime == nullptr || dateSize < 19)
        return ItemDate();
    const char* t = dateTime;
    int32_t year, month, day, hour, minute, second;
    if (!Number(t, 4, year) || t[4] != ':' || !Number(t + 5, 2, month) || t[7] != ':' || !Number(t + 8, 2, day) ||
        (t[10] != ' ' && t[10] != 'T') || !Number(t + 11, 2, hour) || t[13] != ':' || !Number(t + 14, 2, minute) ||
        t[16] != ':' || !Number(t + 17, 2, second))
    {
        return ItemDate();
    }
    s::time::EpochSeconds fields = 0;
    if (!s::time::secondsFromFields(year, month, day, hour, minute, second, fields))
        return ItemDate();
    // "+09:00" / "-05:00": the offset from UTC the clock was set to.
    int32_t offsetHours, offsetMinutes;
    if (offset != nullptr && offsetSize >= 6 && (offset[0] == '+' || offset[0] == '-') &&
        Number(offset + 1, 2, offsetHours) && offset[3] == ':' && Number(offset + 4, 2, offsetMinutes) &&
        offsetHours <= 14 && offsetMinutes < 60)
    {
        const int64_t shift = (offsetHours * 3600 + offsetMinutes * 60) * (offset[0] == '-' ? -1 : 1);
        return ItemDate::instant(fields - shift);
    }
    return ItemDate::wallClock(fields);
}

ItemDate dateTakenFromBytes(const uint8_t* data, size_t size)
{
    if (data == nullptr)
        return ItemDate();
    if (IsTiff(data, size))
    {
        // The whole file is the TIFF structure: give it the header the library expects.
        std::vector<uint8_t> block(EXIF_HEADER, EXIF_HEADER + sizeof(EXIF_HEADER));
        block.insert(block.end(), data, data + size);
        return FromExifBlock(block.data(), block.size());
    }
    if (!IsJpeg(data, size))
        return ItemDate();
    size_t start = 0, length = 0, needed = 0;
    if (!FindExifSegment(data, size, start, length, needed))
        return ItemDate();
    return FromExifBlock(data + start, length);
}

ItemDate readDateTaken(const wchar_t* path)
{
    if (path == nullptr || *path == 0)
        return ItemDate();
    // Opened with the right to write attributes where that is granted, so that the read can
    // keep the access time: a time of -1 tells the system to leave it alone for this handle,
    // and where a file system stamps it all the same, the time read at the start is put
    // back at the end. A read-only file or share is read all the same.
    FILETIME accessBefore = {};
    bool keepAccess = false;
    HANDLE file = CreateFileW(path, GENERIC_READ | FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return ItemDate();
    }
    else if (GetFileTime(file, nullptr, &accessBefore, nullptr))
    {
        const FILETIME leaveAlone = {0xFFFFFFFFu, 0xFFFFFFFFu};
        SetFileTime(file, nullptr, &leaveAlone, nullptr);
        keepAccess = true;
    }
    std::vector<uint8_t> head;
    head.reserve(DATE_TAKEN_HEAD);
    ItemDate found;
    if (ReadMore(file, head, DATE_TAKEN_HEAD))
    {
        if (IsTiff(head.data(), head.size()))
        {
            ReadMore(file, head, DATE_TAKEN_TIFF_HEAD);
            found = dateTakenFromBytes(head.data(), head.size());
        }
        else if (IsJpeg(head.data(), head.size()))
        {
            size_t start = 0, length = 0, needed = 0;
            // Segments before the EXIF one (each at most 64 KiB) may reach past the head:
            // read on as far as the markers ask, within the limit a damaged head cannot pass.
            bool segment = FindExifSegment(head.data(), head.size(), start, length, needed);
            while (!segment && needed > head.size() && needed <= DATE_TAKEN_TIFF_HEAD)
            {
                const size_t before = head.size();
                if (!ReadMore(file, head, needed) || head.size() == before)
                    break;
                segment = FindExifSegment(head.data(), head.size(), start, length, needed);
            }
            if (segment)
                found = FromExifBlock(head.data() + start, length);
        }
    }
    if (keepAccess)
    {
        FILETIME accessAfter = {};
        if (GetFileTime(file, nullptr, &accessAfter, nullptr) && CompareFileTime(&accessAfter, &accessBefore) != 0)
            SetFileTime(file, nullptr, &accessBefore, nullptr);
    }
    CloseHandle(file);
    return found;
}

} // namespace s::file::meta
