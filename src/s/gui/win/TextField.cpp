#include "s/gui/win/TextField.h"

#include <vector>

namespace s::gui::win
{

void TextField::Reset()
{
    resetWidget();
    editable_ = true;
    numbersOnly_ = false;
    maxLength_ = 0;
    notify_ = true;
    ownBackground_ = false;
    changeListeners_.clear();
    focusListeners_.clear();
}

void TextField::setText(const wchar_t* text, bool notify)
{
    if (handle_ && !onOwnThread())
    {
        // The flag below is the window thread's alone: a change from here is made there.
        Toolkit::sendPrivate(handle_, MSG_WIDGET_SET_QUIETLY, reinterpret_cast<WPARAM>(text), notify ? 1 : 0);
        return;
    }
    if (!handle_)
    {
        applyText(text); // no control, no notification to hold back
        return;
    }
    bool saved = notify_;
    notify_ = notify && saved;
    applyText(text); // the control's change notification comes back during this call
    notify_ = saved;
}

void TextField::setEditable(bool on)
{
    editable_ = on;
    if (handle_)
    {
        SendMessageW(handle_, EM_SETREADONLY, on ? FALSE : TRUE, 0);
        InvalidateRect(handle_, nullptr, TRUE);
    }
}

void TextField::setNumbersOnly(bool on)
{
    numbersOnly_ = on;
    if (handle_)
    {
        LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE);
        SetWindowLongPtrW(handle_, GWL_STYLE, on ? (style | ES_NUMBER) : (style & ~static_cast<LONG_PTR>(ES_NUMBER)));
    }
}

void TextField::setMaxLength(int characters)
{
    maxLength_ = characters > 0 ? characters : 0;
    if (handle_)
        SendMessageW(handle_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TextField::selectAll()
{
    if (handle_)
        Toolkit::sendPrivate(handle_, MSG_SELECT_ALL, 0, 0);
}

void TextField::setBackgroundColour(int r, int g, int b, bool redraw)
{
    ownBackground_ = true;
    WidgetBase::setBackgroundColour(r, g, b, redraw);
}

void TextField::setBackgroundDefault(bool redraw)
{
    ownBackground_ = false;
    WidgetBase::setBackgroundDefault(redraw);
}

bool TextField::createNative(HWND parentHandle)
{
    DWORD style = WS_CHILD | WS_TABSTOP | ES_AUTOHSCROLL | (numbersOnly_ ? ES_NUMBER : 0) | (editable_ ? 0 : ES_READONLY);
    handle_ = Toolkit::createControl(this, WS_EX_CLIENTEDGE, L"EDIT", text_.c_str(), style, 0, 0, 0, 0, parentHandle,
                                     nullptr);
    return handle_ != nullptr;
}

void TextField::nativeCreated()
{
    WidgetBase::nativeCreated();
    if (maxLength_ > 0)
        SendMessageW(handle_, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TextField::measureContent(int* width, int* height)
{
    int h = 0;
    getFont()->measure(L"", nullptr, &h);
    *width = scaled(MIN_WIDTH);
    *height = h + 2 * Toolkit::metric(SM_CYEDGE, dpi()) + scaled(4);
}

bool TextField::handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case MSG_REFLECT_CHANGE:
    {
        // Typing changes the control first: keep the stored text with it.
        int length = GetWindowTextLengthW(handle_);
        std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
        GetWindowTextW(handle_, buffer.data(), length + 1);
        text_.assign(buffer.data());
        if (notify_)
            changeListeners_.fire(self(), EVENT_CHANGED);
        *result = 0;
        return true;
    }
    case MSG_REFLECT_KILL_FOCUS:
        focusListeners_.fire(self(), EVENT_FOCUS_LOST);
        *result = 0;
        return true;
    case MSG_REFLECT_CTL_COLOR:
    {
        HDC dc = reinterpret_cast<HDC>(wParam);
        uint32_t colour = !editable_ ? GetSysColor(COLOR_BTNFACE)
                          : ownBackground_ ? background_
                                           : GetSysColor(COLOR_WINDOW);
        *result = colourAnswer(dc, colour, false);
        return true;
    }
    case MSG_WIDGET_SET_QUIETLY:
        setText(reinterpret_cast<const wchar_t*>(wParam), lParam != 0);
        *result = 0;
        return true;
    case MSG_SELECT_ALL:
        SetFocus(handle_);
        SendMessageW(handle_, EM_SETSEL, 0, -1);
        SendMessageW(handle_, EM_SCROLLCARET, 0, 0);
        *result = 0;
        return true;
    case WM_CHAR:
        SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
        return false; // typed by the control; shown once in afterDefault
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
        *result = TRUE;
        return true;
    default:
        return WidgetBase::handleMessage(result, message, wParam, lParam);
    }
}

void TextField::afterDefault(UINT message, WPARAM, LPARAM, LRESULT)
{
    if (message == WM_CHAR && handle_)
    {
        SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    }
}

} // namespace s::gui::win
