#include "s/gui/win/Button.h"

#include <windowsx.h>

#include "s/gui/drawer/IButton.h"
#include "s/gui/drawer/ISkin.h"

namespace s::gui::win
{

Button::Button()
{
    Reset();
}

Button::~Button()
{
    dropStateFonts();
}

void Button::Reset()
{
    if (handle_)
        stopRepeat();
    resetWidget();
    dropStateFonts();
    image_.clear();
    toggle_ = toggled_ = toggleLocked_ = false;
    autoRepeat_ = false;
    default_ = false;
    takesClicks_ = true;
    hover_ = tracking_ = false;
    pressed_ = pointerInside_ = false;
    dragStart_ = POINT{0, 0};
    dragWidth_ = dragHeight_ = 0;
    stateColours_[0] = stateColours_[1] = -1;
    clickListeners_.clear();
    afterClickListeners_.clear();
    pressListeners_.clear();
}

void Button::dropStateFonts()
{
    for (Font*& f : stateFonts_)
    {
        if (f)
            f->Release();
        f = nullptr;
    }
}

Font* Button::getStateFont(int state)
{
    if (state != STATE_HOVER && state != STATE_PRESSED)
        return getFont();
    Font*& f = stateFonts_[state - 1];
    if (!f)
    {
        f = Font::Acquire();
        f->copyFrom(getFont());
        if (stateColours_[state - 1] >= 0)
            f->setTextColourValue(static_cast<uint32_t>(stateColours_[state - 1]));
    }
    return f;
}

void Button::setStateTextColour(int state, int r, int g, int b)
{
    if (state == STATE_NORMAL)
    {
        setTextColour(r, g, b);
        return;
    }
    if (state != STATE_HOVER && state != STATE_PRESSED)
        return;
    stateColours_[state - 1] = Colours::pack(r, g, b);
    if (stateFonts_[state - 1])
        stateFonts_[state - 1]->setTextColourValue(static_cast<uint32_t>(stateColours_[state - 1]));
    redraw();
}

void Button::fontChanged()
{
    dropStateFonts(); // they copy the normal font: made again on next use
    WidgetBase::fontChanged();
}

void Button::setImage(const wchar_t* name)
{
    image_ = name ? name : L"";
    remeasure();
    redraw();
}

void Button::setToggled(bool on)
{
    toggled_ = on;
    if (handle_)
        InvalidateRect(handle_, nullptr, FALSE);
}

void Button::setDefault(bool on)
{
    default_ = on;
    if (handle_)
        Toolkit::sendPrivate(handle_, on ? MSG_SET_DEFAULT : MSG_CLEAR_DEFAULT, 0, 0);
}

int Button::getVisualState() const
{
    bool keyPushed = false;
    if (handle_)
        keyPushed = (SendMessageW(handle_, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    if ((pressed_ && pointerInside_) || keyPushed || (toggle_ && toggled_))
        return STATE_PRESSED;
    return hover_ ? STATE_HOVER : STATE_NORMAL;
}

bool Button::createNative(HWND parentHandle)
{
    DWORD style = WS_CHILD | WS_TABSTOP | (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    handle_ = Toolkit::createControl(this, 0, L"BUTTON", text_.c_str(), style, 0, 0, 0, 0, parentHandle, nullptr);
    return handle_ != nullptr;
}

void Button::nativeCreated()
{
    WidgetBase::nativeCreated();
}

void Button::measureContent(int* width, int* height)
{
    if (!image_.empty())
    {
        *width = scaled(16);
        *height = scaled(16);
        return;
    }
    int w = 0, h = 0;
    getFont()->measure(text_.c_str(), &w, &h);
    *width = w + scaled(16);
    *height = h + scaled(10);
}

void Button::press()
{
    pressed_ = true;
    pointerInside_ = true;
    if (image_ == GLYPH_RESIZER && window_)
    {
        GetCursorPos(&dragStart_);
        dragWidth_ = window_->getWidth();
        dragHeight_ = window_->getHeight();
    }
    if (autoRepeat_)
        SetTimer(handle_, TIMER_REPEAT_DELAY, REPEAT_DELAY_MS, nullptr);
    pressListeners_.fire(self(), EVENT_PRESSED);
}

void Button::stopRepeat()
{
    KillTimer(handle_, TIMER_REPEAT_DELAY);
    KillTimer(handle_, TIMER_REPEAT);
}

void Button::release()
{
    if (!pressed_)
        return;
    pressed_ = false;
    stopRepeat();
    InvalidateRect(handle_, nullptr, FALSE);
}

bool Button::handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_PAINT:
    {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(handle_, &ps);
        RECT r;
        GetClientRect(handle_, &r);
        // Through a buffer: the face and the text appear in one step.
        HDC mem = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateCompatibleBitmap(dc, std::max(1L, r.right), std::max(1L, r.bottom));
        HGDIOBJ old = SelectObject(mem, bitmap);
        paintInto(mem);
        BitBlt(dc, 0, 0, r.right, r.bottom, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteObject(bitmap);
        DeleteDC(mem);
        EndPaint(handle_, &ps);
        *result = 0;
        return true;
    }
    case WM_PRINTCLIENT:
        if (wParam)
            paintInto(reinterpret_cast<HDC>(wParam));
        *result = 0;
        return true;
    case WM_ERASEBKGND:
        *result = 1;
        return true;
    case MSG_REFLECT_CLICKED:
        clickListeners_.fire(self(), EVENT_CLICKED);
        if (toggle_)
        {
            toggled_ = toggleLocked_ ? true : !toggled_;
            InvalidateRect(handle_, nullptr, FALSE);
        }
        afterClickListeners_.fire(self(), EVENT_AFTER_CLICK);
        *result = 0;
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case MSG_REFLECT_DOUBLE_CLICKED:
        if (takesClicks_)
            press();
        if (message == MSG_REFLECT_DOUBLE_CLICKED)
        {
            *result = 0;
            return true;
        }
        return false;
    case WM_LBUTTONUP:
        release();
        return false;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != handle_)
            release();
        return false;
    case WM_TIMER:
        if (wParam == TIMER_REPEAT_DELAY)
        {
            KillTimer(handle_, TIMER_REPEAT_DELAY);
            if (pressed_ && pointerInside_)
                SetTimer(handle_, TIMER_REPEAT, REPEAT_MS, nullptr);
            *result = 0;
            return true;
        }
        if (wParam == TIMER_REPEAT)
        {
            if (!pressed_)
                KillTimer(handle_, TIMER_REPEAT);
            else if (pointerInside_)
                pressListeners_.fire(self(), EVENT_PRESSED);
            *result = 0;
            return true;
        }
        return false;
    case WM_MOUSEMOVE:
    {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        RECT client;
        GetClientRect(handle_, &client);
        bool inside = PtInRect(&client, p) != FALSE;
        if (pressed_)
        {
            pointerInside_ = inside;
            if (image_ == GLYPH_RESIZER && window_)
            {
                POINT now;
                GetCursorPos(&now);
                window_->setSize(dragWidth_ + now.x - dragStart_.x, dragHeight_ + now.y - dragStart_.y);
            }
        }
        if (!tracking_)
        {
            tracking_ = true;
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, handle_, 0};
            TrackMouseEvent(&track);
        }
        if (hover_ != inside)
        {
            hover_ = inside;
            InvalidateRect(handle_, nullptr, FALSE);
        }
        return false;
    }
    case WM_MOUSELEAVE:
        tracking_ = false;
        if (hover_)
        {
            hover_ = false;
            InvalidateRect(handle_, nullptr, FALSE);
        }
        return false;
    case WM_SETCURSOR:
        if (image_ == GLYPH_RESIZER)
        {
            SetCursor(LoadCursorW(nullptr, IDC_SIZENWSE));
            *result = TRUE;
            return true;
        }
        return false;
    case WM_NCHITTEST:
        if (!takesClicks_ || (toggle_ && toggled_ && toggleLocked_))
        {
            *result = HTTRANSPARENT;
            return true;
        }
        return false;
    case WM_KEYDOWN:
        // The parent (and through it the window) sees the keys too; the control still
        // answers the space bar.
        if (HWND parent = Toolkit::hostOf(parent_))
            SendMessageW(parent, WM_KEYDOWN, wParam, lParam);
        return false;
    case WM_MOUSEWHEEL:
    {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        RECT r;
        GetWindowRect(handle_, &r);
        HWND top = Toolkit::handleOf(window_);
        if (!PtInRect(&r, p) && top)
        {
            *result = SendMessageW(top, message, wParam, lParam);
            return true;
        }
        return false;
    }
    case MSG_SET_DEFAULT:
    case MSG_CLEAR_DEFAULT:
    {
        default_ = message == MSG_SET_DEFAULT;
        LONG_PTR style = GetWindowLongPtrW(handle_, GWL_STYLE) & ~static_cast<LONG_PTR>(BS_TYPEMASK);
        SendMessageW(handle_, BM_SETSTYLE, static_cast<WPARAM>(style | (default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)),
                     TRUE);
        *result = 0;
        return true;
    }
    default:
        return WidgetBase::handleMessage(result, message, wParam, lParam);
    }
}

void Button::afterDefault(UINT message, WPARAM, LPARAM, LRESULT)
{
    switch (message)
    {
    // The control draws its own face on these: ours is drawn again over it.
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_UPDATEUISTATE:
    case WM_KEYUP:
        if (handle_)
            InvalidateRect(handle_, nullptr, FALSE);
        break;
    default:
        break;
    }
}

void Button::paintGlyph(HDC dc, const RECT& r, COLORREF colour)
{
    int w = r.right - r.left, h = r.bottom - r.top;
    int size = std::max(4, std::min(w, h) - 8);
    int cx = r.left + w / 2, cy = r.top + h / 2;
    int half = size / 2;
    HPEN pen = CreatePen(PS_SOLID, 2, colour);
    HBRUSH brush = CreateSolidBrush(colour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    const std::wstring& g = image_;
    if (g == GLYPH_RESIZER)
    {
        // Three diagonal ridges in the bottom-right corner.
        for (int i = 0; i < 3; ++i)
        {
            int d = 3 + i * 4;
            MoveToEx(dc, r.right - 2, r.bottom - 2 - d, nullptr);
            LineTo(dc, r.right - 2 - d, r.bottom - 2);
        }
    }
    else if (g == L"#X")
    {
        MoveToEx(dc, cx - half, cy - half, nullptr);
        LineTo(dc, cx + half, cy + half);
        MoveToEx(dc, cx + half, cy - half, nullptr);
        LineTo(dc, cx - half, cy + half);
    }
    else if (g == L"#Check")
    {
        MoveToEx(dc, cx - half, cy, nullptr);
        LineTo(dc, cx - half / 3, cy + half * 2 / 3);
        LineTo(dc, cx + half, cy - half * 2 / 3);
    }
    else if (g == L"#Plus" || g == L"#Minus")
    {
        MoveToEx(dc, cx - half, cy, nullptr);
        LineTo(dc, cx + half, cy);
        if (g == L"#Plus")
        {
            MoveToEx(dc, cx, cy - half, nullptr);
            LineTo(dc, cx, cy + half);
        }
    }
    else
    {
        POINT t[3];
        int q = half * 2 / 3;
        if (g == L"#Down")
        {
            t[0] = {cx - half, cy - q / 2};
            t[1] = {cx + half, cy - q / 2};
            t[2] = {cx, cy + q};
        }
        else if (g == L"#Next")
        {
            t[0] = {cx - q / 2, cy - half};
            t[1] = {cx - q / 2, cy + half};
            t[2] = {cx + q, cy};
        }
        else if (g == L"#Prev")
        {
            t[0] = {cx + q / 2, cy - half};
            t[1] = {cx + q / 2, cy + half};
            t[2] = {cx - q, cy};
        }
        else // "#OnTop" and unknown names: an arrow up under a bar
        {
            t[0] = {cx - half, cy + q};
            t[1] = {cx + half, cy + q};
            t[2] = {cx, cy - q / 2};
            MoveToEx(dc, cx - half, cy - half, nullptr);
            LineTo(dc, cx + half, cy - half);
        }
        Polygon(dc, t, 3);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void Button::paintInto(HDC dc)
{
    RECT r;
    GetClientRect(handle_, &r);
    WidgetBase::paintInto(dc); // background, or the parent's backdrop when transparent
    bool enabled = IsWindowEnabled(handle_) != FALSE;
    int state = getVisualState();
    bool grip = image_ == GLYPH_RESIZER;
    if (skin_)
    {
        drawer::IButton* drawer = grip ? skin_->getStatusBarGripDrawer() : skin_->getButtonDrawer();
        unsigned flags = (enabled ? 0u : drawer::IDrawer::FLAG_DISABLED) |
                         (GetFocus() == handle_ ? drawer::IDrawer::FLAG_FOCUSED : 0u) |
                         (default_ ? drawer::IDrawer::FLAG_DEFAULT : 0u) |
                         (toggled_ ? drawer::IDrawer::FLAG_CHECKED : 0u);
        if (!image_.empty())
            drawer->drawImage(dc, 0, 0, r.right, r.bottom, image_.c_str(), state, flags);
        else
            drawer->draw(dc, 0, 0, r.right, r.bottom, text_.c_str(), getStateFont(state)->getHandle(), state, flags,
                         drawer::IDrawer::DEFAULT_COLOUR);
        return;
    }
    if (!grip)
    {
        RECT face = r;
        if (default_)
        {
            FrameRect(dc, &face, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            InflateRect(&face, -1, -1);
        }
        UINT flags = DFCS_BUTTONPUSH | (state == STATE_PRESSED ? DFCS_PUSHED : 0) | (enabled ? 0 : DFCS_INACTIVE);
        DrawFrameControl(dc, &face, DFC_BUTTON, flags);
        if (state == STATE_HOVER && enabled)
        {
            RECT hot = face;
            InflateRect(&hot, -2, -2);
            HBRUSH hotBrush = CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT));
            FrameRect(dc, &hot, hotBrush);
            DeleteObject(hotBrush);
        }
        if (GetFocus() == handle_)
        {
            RECT focus = face;
            InflateRect(&focus, -4, -4);
            DrawFocusRect(dc, &focus);
        }
    }
    Font* font = getStateFont(state);
    COLORREF colour = enabled ? font->getTextColour() : GetSysColor(COLOR_GRAYTEXT);
    RECT content = r;
    if (state == STATE_PRESSED && !grip)
        OffsetRect(&content, 1, 1);
    if (!image_.empty())
    {
        paintGlyph(dc, content, colour);
        return;
    }
    HGDIOBJ oldFont = SelectObject(dc, font->getHandle());
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = SetTextColor(dc, colour);
    DrawTextW(dc, text_.c_str(), -1, &content, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

} // namespace s::gui::win
