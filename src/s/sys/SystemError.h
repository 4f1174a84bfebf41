#pragma once
// The system's own words for one of its error codes ("The system cannot find the file
// specified"), in the language the system shows its messages in. Used wherever a failure
// is told to the user with its reason: the window's status text, the command line.

#include <cstdint>

namespace s::str::strbuffer
{
class StrBuffer;
}

namespace s::sys
{

// Appends the text of `code` to out, without the trailing full stop and line break the
// system adds; "error <code>" when the system has no text for it. Answers out.
s::str::strbuffer::StrBuffer* AppendSystemErrorText(uint32_t code, s::str::strbuffer::StrBuffer* out);

} // namespace s::sys
