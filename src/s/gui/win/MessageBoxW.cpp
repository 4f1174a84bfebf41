#include "s/gui/win/MessageBoxW.h"

#include "mfc/afxwin.h"

namespace s::gui::win
{

int MessageBoxW::show(const wchar_t* text, const wchar_t* caption, UINT type)
{
    HWND owner = owner_ ? owner_ : GetActiveWindow();
    return AfxShowMessageBox(owner, text ? text : L"", caption ? caption : AfxGetAppName(), type);
}

void MessageBoxW::message(const wchar_t* text, const wchar_t* caption)
{
    mode_ = 0;
    show(text, caption, MB_ICONINFORMATION);
}

void MessageBoxW::warning(const wchar_t* text, const wchar_t* caption)
{
    mode_ = 0;
    show(text, caption, MB_ICONWARNING);
}

void MessageBoxW::error(const wchar_t* text, const wchar_t* caption)
{
    mode_ = 0;
    show(text, caption, MB_ICONERROR);
}

bool MessageBoxW::question(const wchar_t* text, const wchar_t* caption)
{
    mode_ = 1;
    return show(text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool MessageBoxW::questionOrCancel(const wchar_t* text, bool* answer, const wchar_t* caption)
{
    mode_ = 2;
    int pressed = show(text, caption, MB_YESNOCANCEL | MB_ICONQUESTION);
    if (pressed != IDYES && pressed != IDNO)
        return false;
    if (answer)
        *answer = pressed == IDYES;
    return true;
}

namespace
{
// A box from the pool for one call, given back afterwards.
struct PooledBox
{
    MessageBoxW* box = MessageBoxW::Acquire();
    ~PooledBox() { box->Release(); }
};
} // namespace

void MessageBoxW::showMessage(const wchar_t* text, const wchar_t* caption)
{
    PooledBox b;
    b.box->message(text, caption);
}

void MessageBoxW::showWarning(const wchar_t* text, const wchar_t* caption)
{
    PooledBox b;
    b.box->warning(text, caption);
}

void MessageBoxW::showError(const wchar_t* text, const wchar_t* caption)
{
    PooledBox b;
    b.box->error(text, caption);
}

bool MessageBoxW::askQuestion(const wchar_t* text, const wchar_t* caption)
{
    PooledBox b;
    return b.box->question(text, caption);
}

bool MessageBoxW::askQuestionOrCancel(const wchar_t* text, bool* answer, const wchar_t* caption)
{
    PooledBox b;
    return b.box->questionOrCancel(text, answer, caption);
}

} // namespace s::gui::win
