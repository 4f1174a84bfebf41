#pragma once
// Whole-file reads and crash-safe whole-file writes for the XML model's files.
//
// ReplaceWithBytes writes to "<path>.tmp" beside the file, flushes it to disk
// and then moves it over the file in one step (MoveFileExW with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH): a crash or a full disk
// during the write leaves the old file whole. Missing folders of the path are
// created first. Both answer false on any failure (the temporary file is
// removed then). Thread-safe (no shared state).

#include <cstdint>

namespace s::col::_array {
class ArrayU08;
}

namespace s::xml::disk {

/// Replaces the content of `bytes` with the whole file.
bool ReadAllBytes(const wchar_t* path, s::col::_array::ArrayU08* bytes);

bool ReplaceWithBytes(const wchar_t* path, const uint8_t* data, uint32_t count);

/// Creates the folder that contains `path` and its missing parents; true when it exists.
bool EnsureParentFolder(const wchar_t* path);

} // namespace s::xml::disk
