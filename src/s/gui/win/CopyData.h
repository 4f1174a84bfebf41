#pragma once
// Data that another program sends a toolkit window with WM_COPYDATA.
//
// The window offers it to its request listeners (event 2) with request value 1 =
// REQUEST_COPY_DATA; while that event is handled, on the window's thread, copyDataInFlight()
// answers the sender's block (null at any other time and on any other thread). The block
// belongs to the sender and lives only for the event: copy what is kept, and check it as
// untrusted input. The answer sent back is the request result (setRequestResult; 0 unless a
// listener took the data). The system filters WM_COPYDATA from processes of another user
// or a higher integrity level; the toolkit does not lift that filter.

#include <windows.h>

namespace s::gui::win
{

constexpr int REQUEST_COPY_DATA = 0x434F5059;

const COPYDATASTRUCT* copyDataInFlight();

} // namespace s::gui::win
