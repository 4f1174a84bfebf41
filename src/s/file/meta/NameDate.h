#pragma once
// The date and time stated in a file or folder name: "IMG_20240403_184012.jpg",
// "2024-04-03 18.40.12.jpg", "Screenshot 2024-04-03 at 18.40.12.png".
//
//     ItemDate d = dateFromName(L"IMG_20240403_184012.jpg");   // wall clock 2024-04-03 18:40:12
//     EpochSeconds utc = d.toUtc(&zone);                       // read in the chosen zone
//
// The forms are the rows of one table (NAME_PATTERNS). A row is a template:
//     Y   four digits, a year 1970..2099          M D   two digits, month and day
//     h m s   two digits, hour 0..23, minute and second 0..59
//     ~   the date's separator: '-', '_', '.' or none, the same at both places
//     :   the time's separator: '.', '-', '_' or none, the same at both places
//     *   (last) more digits may follow the seconds (fractions: "PXL_20240403_184012345")
//     any other character stands for itself, letters in either case.
// A match starts where no digit stands before it and ends where no digit follows it (but
// see *). The leftmost place where any row matches wins; at one place the rows are tried
// in table order, so a date with its time wins over the date alone. Digits that are no
// real date (month 13, 31 February, year 1066) or time (hour 24) do not match. A name with
// only a date states its midnight (ItemDate::dateOnly).
//
// Names state wall-clock time: the result is ItemDate::Kind::WallClock (or None).
// Plain functions, no state, any thread.

#include <cstdint>

#include "s/file/meta/ItemDate.h"

namespace s::file::meta
{

struct NamePattern
{
    const wchar_t* form;    // the template (above)
    const wchar_t* example; // a name it matches, as shown to users
};

// The table, in the order the rows are tried.
extern const NamePattern NAME_PATTERNS[];
extern const uint32_t NAME_PATTERN_COUNT;

// The date in `name` (a name, or a path: only the text after the last '\' or '/' is read;
// the extension takes part like any text). None when no row matches; null reads as "".
// `row`, when given, receives the index in NAME_PATTERNS of the row that matched.
ItemDate dateFromName(const wchar_t* name, uint32_t* row = nullptr);

// Whether `form` (one template) matches `name` at its very start, and the date it reads.
// For tests and for showing which row matched.
bool matchNamePattern(const wchar_t* form, const wchar_t* name, ItemDate& out);

} // namespace s::file::meta
