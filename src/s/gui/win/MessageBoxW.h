#pragma once
#include <windows.h>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/gui/IMessageBox.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui::win
{

// The program's message boxes (see IMessageBox). The static operations take a box
// from the (locked) pool, show it over the calling thread's active window with the
// application's title as caption (or `caption` when given) and give it back; any
// thread may call them. A window's own showMessage/showError/askQuestion run them on
// the window's thread so that the box is modal to the window.
class MessageBoxW : public base::IObject, public IMessageBox, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_win_MessageBoxW")
    S_POOLED(MessageBoxW)

  public:
    static void showMessage(const wchar_t* text, const wchar_t* caption = nullptr);
    static void showWarning(const wchar_t* text, const wchar_t* caption = nullptr);
    static void showError(const wchar_t* text, const wchar_t* caption = nullptr);
    static bool askQuestion(const wchar_t* text, const wchar_t* caption = nullptr);
    static bool askQuestionOrCancel(const wchar_t* text, bool* answer, const wchar_t* caption = nullptr);

    void Reset() override { mode_ = 0; owner_ = nullptr; }

    // The window the next box is modal to (null: the calling thread's active window).
    void setOwner(HWND owner) { owner_ = owner; }

    void message(const wchar_t* text, const wchar_t* caption) override;
    void warning(const wchar_t* text, const wchar_t* caption) override;
    void error(const wchar_t* text, const wchar_t* caption) override;
    bool question(const wchar_t* text, const wchar_t* caption) override;
    bool questionOrCancel(const wchar_t* text, bool* answer, const wchar_t* caption) override;

  private:
    int show(const wchar_t* text, const wchar_t* caption, UINT type);

    int mode_ = 0; // 0 plain, 1 question, 2 question with cancel
    HWND owner_ = nullptr;
};

} // namespace s::gui::win
