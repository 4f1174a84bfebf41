#pragma once
// The shared names of the processing frame's status events and the status channel that
// carries them to the user interface.
//
// An event is recognised by the identity of its name constant, never by its text:
//     if (name == ProcessStatusUpdate) ...

#include <cstdint>

namespace s::gui::dialogs::dragndrop
{

// First thing in every task: total 0, position 0, no text.
extern const wchar_t ProcessStatusStart[];
// During the task: total = number of steps, position = steps done, text = what is handled.
extern const wchar_t ProcessStatusUpdate[];
// Last thing in every task, also after a cancel: total 0, position 0, no text.
extern const wchar_t ProcessStatusEnd[];
// The text of the base task's updates.
extern const wchar_t EntryName[];

// Where the worker's status events go. In the program it is the window's synchronous
// request, which runs the drop dialog's status handler on the user-interface thread; in
// tests it may simply call a handler on the worker.
class IStatusChannel
{
  public:
    virtual ~IStatusChannel() = default;

    // Runs the status handler with the four values and returns only when the handler has
    // finished. name is one of the constants above; text may be null and is valid only
    // during the call. Called on the worker thread, never with the item lock held.
    virtual void sendStatus(const wchar_t* name, int32_t total, int32_t position, const wchar_t* text) = 0;
};

} // namespace s::gui::dialogs::dragndrop
