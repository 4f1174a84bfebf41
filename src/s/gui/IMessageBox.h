#pragma once

namespace s::gui
{

// Telling and asking the user. Every box goes through the application framework's one
// message-box path (AfxShowMessageBox), whose hook tests use so that no box waits for a
// person. The caption is the application's title unless one is given. Runs on the
// calling thread and returns when the box has closed.
class IMessageBox
{
  public:
    virtual ~IMessageBox() = default;
    virtual void message(const wchar_t* text, const wchar_t* caption) = 0;
    virtual void warning(const wchar_t* text, const wchar_t* caption) = 0;
    virtual void error(const wchar_t* text, const wchar_t* caption) = 0;
    // True for Yes.
    virtual bool question(const wchar_t* text, const wchar_t* caption) = 0;
    // True with *answer set for Yes (true) or No (false); false for Cancel.
    virtual bool questionOrCancel(const wchar_t* text, bool* answer, const wchar_t* caption) = 0;
};

} // namespace s::gui
