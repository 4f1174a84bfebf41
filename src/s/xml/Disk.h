#pragma once
// Whole-file reads and crash-safe whole-file writes for the XML model's files,
// on top of the library's paths and file streams.
//
// ReplaceWithBytes writes to "<path>.tmp" beside the file (creating missing
// folders), flushes it to disk and then moves it over the file in one step
// (MoveFileExW with MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH): a crash
// or a full disk during the write leaves the old file whole. Both answer false on
// any failure (the temporary file is removed then). The paths stay with the
// caller. Thread-safe (no shared state).

#include <cstdint>

namespace s::col::_array {
class ArrayU08;
}
namespace s::file::win {
class PathWin;
}

namespace s::xml::disk {

/// Replaces the content of `bytes` with the whole file.
bool ReadAllBytes(s::file::win::PathWin* path, s::col::_array::ArrayU08* bytes);
bool ReadAllBytes(const wchar_t* path, s::col::_array::ArrayU08* bytes);

bool ReplaceWithBytes(s::file::win::PathWin* path, const uint8_t* data, uint32_t count);
bool ReplaceWithBytes(const wchar_t* path, const uint8_t* data, uint32_t count);

} // namespace s::xml::disk
