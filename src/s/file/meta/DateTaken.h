#pragma once
// The date a photo was taken, from its EXIF block (read with libexif): DateTimeOriginal,
// else DateTimeDigitized. With the matching offset tag (OffsetTimeOriginal,
// OffsetTimeDigitized) the result is the exact instant; without it, the wall-clock time the
// camera's clock showed, to be read in a zone the user chooses (ItemDate::toUtc).
//
//     ItemDate d = readDateTaken(path->GetApiPath());
//
// Files: JPEG (the APP1 "Exif" segment) and TIFF-based raw formats (the file is itself the
// TIFF structure the EXIF block is made of). Only the head of the file is read (64 KiB,
// more only for an EXIF segment that reaches beyond it; 256 KiB of a TIFF file), never the
// picture itself, and the file's access time is kept where the file system allows.
//
// Damaged or hostile data (a truncated block, offsets pointing outside it, IFD loops, huge
// counts, a date that is no date) gives Kind::None: every read stays inside the bytes read.
// Plain functions, no state, any thread.

#include <cstddef>
#include <cstdint>

#include "s/file/meta/ItemDate.h"

namespace s::file::meta
{

// How much of a file readDateTaken reads at first, and at most for a TIFF file.
inline constexpr uint32_t DATE_TAKEN_HEAD = 64 * 1024;
inline constexpr uint32_t DATE_TAKEN_TIFF_HEAD = 256 * 1024;

// The date taken of the file at `path` (the API form, "\\?\C:\..." or a plain path).
// None when it cannot be opened or read, is no JPEG or TIFF, or holds no usable date.
ItemDate readDateTaken(const wchar_t* path);

// The same for the first `size` bytes of a file held in memory (a JPEG or TIFF head).
ItemDate dateTakenFromBytes(const uint8_t* data, size_t size);

// The date of an EXIF date text ("2024:04:03 18:40:12") and its optional offset text
// ("+09:00", null when absent). None for anything else (blank, partial, impossible).
ItemDate dateFromExifTexts(const char* dateTime, size_t dateSize, const char* offset, size_t offsetSize);

} // namespace s::file::meta
