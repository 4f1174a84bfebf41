#pragma once
// Reading the records of the system's file-stream query (FileStreamInformation):
// each record holds the offset of the next record (0 for the last), the name length
// in bytes, the stream size, the allocation size and the UTF-16 name
// (":notes:$DATA").
//
// Kept apart from the query itself so that the reading rules can be checked on
// records made by hand.

#include <cstdint>

namespace s::file::win {

/// Called with a stream's short name (":notes", not terminated) and its size.
using StreamRecordVisitor = void (*)(void* context, const wchar_t* name, uint32_t nameChars,
                                     int64_t size);

/// Walks the records in buffer[0, bytes) and reports every named stream: the
/// unnamed data stream "::$DATA" (any case) and names of 3 bytes or fewer are
/// skipped, and a name is cut at its second ":" (":notes:$DATA" gives ":notes").
/// Stops at a record with an empty name, at the last record, and at a record that
/// would reach beyond the buffer. Answers how many streams were reported.
uint32_t ReadStreamRecords(const void* buffer, uint32_t bytes, StreamRecordVisitor visit,
                           void* context);

/// Reads the answer of a stream query that succeeded: `answered` is the byte count the
/// query reported (its status block's information), `bufferBytes` the buffer's size.
/// Only the answered bytes are read, never more than the buffer holds; an answer of 0
/// bytes holds no records (whatever the buffer still holds from an earlier query, or
/// never held, is not read). Answers how many streams were reported.
uint32_t ReadStreamAnswer(const void* buffer, uint32_t bufferBytes, uint64_t answered,
                          StreamRecordVisitor visit, void* context);

} // namespace s::file::win
