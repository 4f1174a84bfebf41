#include "s/gui/win/ComboBox.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include "s/gui/combobox/ComboBoxItem.h"
#include "s/gui/drawer/ICombo.h"
#include "s/gui/drawer/ISkin.h"

namespace s::gui::win
{

namespace
{
enum : UINT
{
    // wParam: index, lParam: notify.
    MSG_COMBO_SELECT = WM_APP + 41,
    // wParam: the language pack.
    MSG_COMBO_RETEXT = WM_APP + 42,
    // To the stand-in: make the platform control.
    MSG_COMBO_MAKE = WM_APP + 43,
};

constexpr DWORD CONTROL_STYLE = WS_CHILD | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;

// The platform control that shows the stand-ins of a thread their face (see the header).
// It is kept at least as wide as the widest stand-in, so that a paint does not move it (a
// drop-down list moves its list's window with it); a narrower face is its left part and its
// right end (the button and the border). It is made in the window `root` of the first
// stand-in that needs it and goes with that window; its font is its own copy.
constexpr int PAINTER_AT = -30000;

// Hands the painter's colour questions (WM_CTLCOLOR..., reflected to it by the toolkit) to
// the combo box whose face it paints, so that it paints in that combo box's colours.
class PainterRelay : public NativeTarget
{
  public:
    HWND getHandle() override { return window_; }
    void bindHandle(HWND handle) override { window_ = handle; }
    bool handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        return message == MSG_REFLECT_CTL_COLOR && painted && painted->handleMessage(result, message, wParam, lParam);
    }
    ComboBox* painted = nullptr; // while a face is painted

  private:
    HWND window_ = nullptr;
};

struct FacePainter
{
    PainterRelay relay;
    HWND window = nullptr;
    HFONT font = nullptr; // owned
    LOGFONTW logFont{};
    int width = 0;
    int height = 0; // as the control shows itself closed in `font`
};

FacePainter* facePainter(HWND root, HFONT font, int width)
{
    static thread_local FacePainter painter;
    if (!painter.window || !IsWindow(painter.window))
    {
        // Hidden, far outside its window (see printFace).
        painter.window = Toolkit::createControl(&painter.relay, 0, L"COMBOBOX", L"", CONTROL_STYLE & ~WS_TABSTOP,
                                                PAINTER_AT, PAINTER_AT, 0, 0, root, nullptr);
        if (!painter.window)
            return nullptr;
        painter.width = 0;
        if (painter.font)
            DeleteObject(painter.font);
        painter.font = nullptr;
    }
    LOGFONTW wanted{};
    GetObjectW(font, sizeof(wanted), &wanted);
    if (!painter.font || std::memcmp(&wanted, &painter.logFont, sizeof(wanted)) != 0)
    {
        HFONT copy = CreateFontIndirectW(&wanted);
        SendMessageW(painter.window, WM_SETFONT, reinterpret_cast<WPARAM>(copy), FALSE);
        if (painter.font)
            DeleteObject(painter.font);
        painter.font = copy;
        painter.logFont = wanted;
        painter.width = 0; // measured again in the new font
    }
    if (width > painter.width || painter.width == 0)
    {
        painter.width = std::max(width, 400);
        SetWindowPos(painter.window, nullptr, 0, 0, painter.width, 200, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
        RECT r{};
        GetWindowRect(painter.window, &r);
        painter.height = r.bottom - r.top;
    }
    return &painter;
}

// Prints the painter into `dc`. A control that cannot be seen leaves its text out of a print,
// so the painter counts as shown for the print only: the style bit alone, which neither
// moves nor paints anything (it stays out of sight and out of every search for shown windows).
void printFace(HWND painter, HDC dc)
{
    const LONG_PTR style = GetWindowLongPtrW(painter, GWL_STYLE);
    SetWindowLongPtrW(painter, GWL_STYLE, style | WS_VISIBLE);
    SendMessageW(painter, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    SetWindowLongPtrW(painter, GWL_STYLE, style);
}

// The extra width of a heading item.
constexpr int HEADER_EXTRA = 10;
} // namespace

ComboBox::ComboBox()
{
    Reset();
}

// The stand-in's window target: paints the combo box's face and makes the control when the
// stand-in takes the focus or a click. Owned by its window: deleted when the window is gone.
class ComboBox::Face : public NativeTarget
{
  public:
    explicit Face(ComboBox* owner) : owner_(owner) {}
    HWND getHandle() override { return window_; }
    void bindHandle(HWND handle) override { window_ = handle; }
    // The combo box no longer uses this stand-in (its control exists, or it is gone).
    void retire() { owner_ = nullptr; }

    bool handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        *result = 0;
        switch (message)
        {
        case WM_NCDESTROY:
            if (owner_ && owner_->face_ == this)
                owner_->face_ = nullptr;
            delete this;
            return false;
        case MSG_DESTROY_NATIVE:
            DestroyWindow(window_);
            return true;
        case WM_ERASEBKGND:
            *result = 1;
            return true;
        case WM_ENABLE:
            InvalidateRect(window_, nullptr, FALSE); // the face shows the state
            return true;
        case WM_PAINT:
        {
            PAINTSTRUCT ps{};
            HDC dc = BeginPaint(window_, &ps);
            if (owner_)
                owner_->paintFace(dc, window_);
            EndPaint(window_, &ps);
            return true;
        }
        case WM_PRINTCLIENT:
            if (owner_ && wParam)
                owner_->paintFace(reinterpret_cast<HDC>(wParam), window_);
            return true;
        case WM_SETFOCUS:
            if (owner_)
                owner_->makeControl(false);
            return true;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (owner_ && owner_->editable_)
                owner_->makeControl(true);
            return true; // read-only: the list does not open
        case MSG_COMBO_MAKE:
            *result = owner_ && owner_->makeControl(false) ? 1 : 0;
            return true;
        case MSG_COMBO_SELECT:
        case MSG_COMBO_RETEXT:
            return owner_ && owner_->handleMessage(result, message, wParam, lParam);
        default:
            return false;
        }
    }

  private:
    ComboBox* owner_;
    HWND window_ = nullptr;
};

ComboBox::~ComboBox()
{
    if (face_)
        face_->retire();
    releaseItems();
    if (boldFont_)
        boldFont_->Release();
}

void ComboBox::Reset()
{
    resetWidget();
    releaseItems();
    selection_ = previous_ = -1;
    topIndex_ = -1;
    visibleItems_ = DEFAULT_VISIBLE_ITEMS;
    editable_ = true;
    listeners_.clear();
    if (boldFont_)
        boldFont_->Release();
    boldFont_ = nullptr;
    control_ = false;
}

void ComboBox::addItem(combobox::ComboBoxItem* item)
{
    if (!item)
        return;
    items_.push_back(item);
    // Measured on next use: lists of a thousand items are filled one by one.
    markMeasureDirty();
    if (handle_ && control_)
        SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item->getText()));
}

void ComboBox::addNumbers(int first, int last, bool twoDigits)
{
    if (last < first)
        return;
    const int start = getItemCount();
    numbers_.push_back(NumberRun{start, first, last - first + 1, twoDigits});
    items_.resize(items_.size() + static_cast<size_t>(last - first + 1), nullptr);
    markMeasureDirty();
    if (handle_ && control_)
    {
        wchar_t buffer[16];
        for (int i = start; i < getItemCount(); ++i)
            SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(textAt(i, buffer)));
    }
}

const ComboBox::NumberRun* ComboBox::runAt(int index) const
{
    for (const NumberRun& run : numbers_)
    {
        if (index >= run.start && index < run.start + run.count)
            return &run;
    }
    return nullptr;
}

const wchar_t* ComboBox::textAt(int index, wchar_t (&buffer)[16])
{
    if (combobox::ComboBoxItem* item = items_[static_cast<size_t>(index)])
        return item->getText();
    buffer[0] = L'\0';
    if (const NumberRun* run = runAt(index))
        std::swprintf(buffer, 16, run->twoDigits ? L"%02d" : L"%d", run->first + index - run->start);
    return buffer;
}

combobox::ComboBoxItem* ComboBox::getItem(int index)
{
    if (index < 0 || index >= getItemCount())
        return nullptr;
    combobox::ComboBoxItem*& item = items_[static_cast<size_t>(index)];
    if (!item)
    {
        wchar_t buffer[16];
        const NumberRun* run = runAt(index);
        item = combobox::ComboBoxItem::newItem(textAt(index, buffer), run ? run->first + index - run->start : 0);
    }
    return item;
}

void ComboBox::releaseItems()
{
    for (combobox::ComboBoxItem* item : items_)
    {
        if (item)
            item->Release();
    }
    items_.clear();
    numbers_.clear();
}

void ComboBox::clear()
{
    if (handle_ && control_)
        SendMessageW(handle_, CB_RESETCONTENT, 0, 0);
    releaseItems();
    selection_ = previous_ = -1;
    topIndex_ = -1;
    markMeasureDirty();
}

void ComboBox::setSelection(int index, bool notify)
{
    if (index < -1 || index >= getItemCount())
        index = -1;
    if (handle_ && !onOwnThread())
    {
        Toolkit::sendPrivate(handle_, MSG_COMBO_SELECT, static_cast<WPARAM>(index), notify ? 1 : 0);
        return;
    }
    applySelection(index, notify);
}

void ComboBox::applySelection(int index, bool notify)
{
    if (handle_ && control_)
        SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (index == selection_)
        return;
    if (handle_ && !control_)
        InvalidateRect(handle_, nullptr, FALSE);
    previous_ = selection_;
    selection_ = index;
    if (notify)
        listeners_.fire(self(), EVENT_SELECTION_CHANGED);
}

void ComboBox::setVisibleItems(int count)
{
    visibleItems_ = count > 0 ? count : 1;
    placeNative(SWP_NOMOVE);
}

bool ComboBox::createNative(HWND parentHandle)
{
    // The stand-in (see the header): its target belongs to its window from here on.
    face_ = new Face(this);
    handle_ = Toolkit::create(face_, 0, L"", WS_CHILD | WS_TABSTOP, 0, 0, 0, 0, parentHandle, nullptr);
    control_ = false;
    if (!handle_)
    {
        delete face_;
        face_ = nullptr;
        return false;
    }
    return true;
}

void ComboBox::nativeCreated()
{
    WidgetBase::nativeCreated();
    if (control_)
        fillNative();
}

HWND ComboBox::getHandle()
{
    makeControlNow();
    return handle_;
}

void ComboBox::makeControlNow()
{
    if (!handle_ || control_)
        return;
    if (onOwnThread())
        makeControl(false);
    else
        Toolkit::sendPrivate(handle_, MSG_COMBO_MAKE, 0, 0);
}

bool ComboBox::makeControl(bool open)
{
    if (control_ || !handle_)
        return control_;
    HWND stand = handle_;
    const bool hadFocus = GetFocus() == stand;
    HWND made =
        Toolkit::createControl(this, 0, L"COMBOBOX", L"", CONTROL_STYLE, 0, 0, 0, 0, GetParent(stand), nullptr);
    if (!made)
    {
        handle_ = stand;
        return false;
    }
    control_ = true;
    handle_ = made;
    // The stand-in's place in the tab order, then the stand-in goes (posted: this may run
    // inside one of its own messages).
    SetWindowPos(made, stand, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!enabled_)
        EnableWindow(made, FALSE);
    nativeCreated();
    placeNative(0);
    if (face_)
    {
        face_->retire();
        face_ = nullptr;
    }
    ShowWindow(stand, SW_HIDE);
    if (!Toolkit::postPrivate(stand, MSG_DESTROY_NATIVE, 0, 0))
        DestroyWindow(stand);
    if (hadFocus || open)
        SetFocus(made);
    if (open)
        SendMessageW(made, CB_SHOWDROPDOWN, TRUE, 0);
    return true;
}

int ComboBox::closedHeight()
{
    FacePainter* painter = handle_ ? facePainter(GetAncestor(handle_, GA_ROOT), getFont()->getHandle(), 0) : nullptr;
    return painter ? painter->height : height_;
}

void ComboBox::fillNative()
{
    SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(handle_, CB_RESETCONTENT, 0, 0);
    wchar_t buffer[16];
    for (int i = 0; i < getItemCount(); ++i)
        SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(textAt(i, buffer)));
    SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(selection_), 0);
    SendMessageW(handle_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(handle_, nullptr, TRUE);
}

void ComboBox::measureContent(int* width, int* height)
{
    int widest = 0, h = 0;
    Font* font = getFont();
    HDC dc = CreateCompatibleDC(nullptr); // one for the whole pass
    font->measureIn(dc, L"0", nullptr, &h);
    wchar_t buffer[16];
    for (int i = 0; i < getItemCount(); ++i)
    {
        int w = 0;
        font->measureIn(dc, textAt(i, buffer), &w, nullptr);
        widest = std::max(widest, w);
    }
    if (dc)
        DeleteDC(dc);
    // The arrow button and the field's margins.
    *width = widest + Toolkit::metric(SM_CXVSCROLL, dpi()) + scaled(12);
    *height = h + scaled(8);
}

int ComboBox::measureDropWidth()
{
    Font* font = getFont();
    if (!boldFont_)
    {
        boldFont_ = Font::Acquire();
        boldFont_->copyFrom(font);
        boldFont_->setBold(true);
    }
    int widest = 0;
    HDC dc = CreateCompatibleDC(nullptr); // one for the whole pass
    wchar_t buffer[16];
    for (int i = 0; i < getItemCount(); ++i)
    {
        combobox::ComboBoxItem* item = items_[static_cast<size_t>(i)]; // a number not made is plain
        int flags = item ? item->getWord1() : 0;
        bool header = (flags & combobox::ComboBoxItem::FLAG_HEADER) != 0;
        bool bold = header || (flags & combobox::ComboBoxItem::FLAG_BOLD) != 0;
        int w = 0;
        (bold ? boldFont_ : font)->measureIn(dc, textAt(i, buffer), &w, nullptr);
        if (header)
            w += scaled(HEADER_EXTRA);
        widest = std::max(widest, w);
    }
    int zero = 0;
    font->measureIn(dc, L"0", &zero, nullptr);
    if (dc)
        DeleteDC(dc);
    widest += zero;
    if (getItemCount() > SCROLL_BAR_ABOVE)
        widest += Toolkit::metric(SM_CXVSCROLL, dpi());
    return widest;
}

void ComboBox::fontChanged()
{
    if (boldFont_)
        boldFont_->Release();
    boldFont_ = nullptr;
    WidgetBase::fontChanged();
}

int ComboBox::dropHeight()
{
    int itemHeight = 0;
    if (handle_ && control_)
        itemHeight = static_cast<int>(SendMessageW(handle_, CB_GETITEMHEIGHT, 0, 0));
    if (itemHeight <= 0)
        getFont()->measure(L"0", nullptr, &itemHeight);
    int rows = std::max(1, std::min(visibleItems_, std::max(1, getItemCount())));
    return rows * itemHeight + 2;
}

void ComboBox::placeNative(UINT flags)
{
    // The control's window height includes its open list; the stand-in is as high as the
    // control shows itself closed.
    if (handle_ && control_)
        setNativeBounds(x_ + originX_, y_ + originY_, width_, height_ + dropHeight(), flags);
    else if (handle_)
        setNativeBounds(x_ + originX_, y_ + originY_, width_, closedHeight(), flags);
}

void ComboBox::languageChanged(lang::Localizer* pack)
{
    if (handle_ && !onOwnThread())
    {
        Toolkit::sendPrivate(handle_, MSG_COMBO_RETEXT, reinterpret_cast<WPARAM>(pack), 0);
        return;
    }
    retextItems(pack);
}

void ComboBox::retextItems(lang::Localizer* pack)
{
    for (combobox::ComboBoxItem* item : items_)
    {
        if (item)
            item->handleEvent(pack, 0);
    }
    markMeasureDirty();
    if (handle_ && control_)
        fillNative();
    else if (handle_)
        InvalidateRect(handle_, nullptr, FALSE);
    remeasure();
}

bool ComboBox::handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case MSG_REFLECT_SEL_CHANGE:
    {
        int current = static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
        if (current != selection_)
        {
            previous_ = selection_;
            selection_ = current;
            listeners_.fire(self(), EVENT_SELECTION_CHANGED);
            InvalidateRect(handle_, nullptr, FALSE);
        }
        *result = 0;
        return true;
    }
    case MSG_REFLECT_DROP_DOWN:
        SendMessageW(handle_, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(measureDropWidth()), 0);
        if (topIndex_ >= 0)
            SendMessageW(handle_, CB_SETTOPINDEX, static_cast<WPARAM>(topIndex_), 0);
        *result = 0;
        return true;
    case MSG_REFLECT_CLOSE_UP:
        topIndex_ = static_cast<int>(SendMessageW(handle_, CB_GETTOPINDEX, 0, 0));
        InvalidateRect(handle_, nullptr, FALSE);
        *result = 0;
        return true;
    case MSG_REFLECT_CTL_COLOR:
    {
        HDC dc = reinterpret_cast<HDC>(wParam);
        if (transparent_ || !IsWindowEnabled(handle_))
            *result = defaultColourAnswer(dc);
        else
            *result = colourAnswer(dc, GetSysColor(COLOR_WINDOW), false);
        return true;
    }
    case WM_PAINT:
    case WM_PRINTCLIENT:
        if (!skin_)
            return WidgetBase::handleMessage(result, message, wParam, lParam);
        paintSkinned(message == WM_PRINTCLIENT ? reinterpret_cast<HDC>(wParam) : nullptr);
        *result = 0;
        return true;
    case MSG_COMBO_SELECT:
    case MSG_COMBO_RETEXT:
        if (message == MSG_COMBO_RETEXT)
        {
            retextItems(reinterpret_cast<lang::Localizer*>(wParam));
            *result = 0;
            return true;
        }
        applySelection(static_cast<int>(wParam), lParam != 0);
        *result = 0;
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_CHAR:
    case WM_MOUSEWHEEL:
        if (!editable_)
        {
            *result = 0;
            return true; // read-only: the list neither opens nor moves
        }
        return false;
    default:
        return WidgetBase::handleMessage(result, message, wParam, lParam);
    }
}

void ComboBox::skinChanged(drawer::ISkin* skin)
{
    skin_ = skin;
    if (handle_)
        InvalidateRect(handle_, nullptr, TRUE);
}

void ComboBox::drawSkinnedFace(HDC dc, HWND window, int index)
{
    RECT r;
    GetClientRect(window, &r);
    wchar_t buffer[16];
    const wchar_t* shown = index >= 0 && index < getItemCount() ? textAt(index, buffer) : L"";
    unsigned flags = (IsWindowEnabled(window) ? 0u : drawer::IDrawer::FLAG_DISABLED) |
                     (GetFocus() == window ? drawer::IDrawer::FLAG_FOCUSED : 0u);
    skin_->getComboDrawer()->draw(dc, 0, 0, r.right, r.bottom, shown, getFont()->getHandle(),
                                  drawer::IDrawer::STATE_NORMAL, flags, drawer::IDrawer::DEFAULT_COLOUR);
}

void ComboBox::paintFace(HDC dc, HWND window)
{
    if (skin_)
    {
        drawSkinnedFace(dc, window, selection_);
        return;
    }
    RECT r;
    GetClientRect(window, &r);
    wchar_t buffer[16];
    const wchar_t* shown = selection_ >= 0 && selection_ < getItemCount() ? textAt(selection_, buffer) : L"";
    const bool enabled = IsWindowEnabled(window) != FALSE;
    FacePainter* painter = facePainter(GetAncestor(window, GA_ROOT), getFont()->getHandle(), r.right);
    if (!painter)
        return;
    HWND control = painter->window;
    if ((IsWindowEnabled(control) != FALSE) != enabled)
        EnableWindow(control, enabled ? TRUE : FALSE);
    SendMessageW(control, CB_RESETCONTENT, 0, 0);
    if (shown[0] != L'\0')
    {
        SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown));
        SendMessageW(control, CB_SETCURSEL, 0, 0);
    }
    painter->relay.painted = this;
    if (painter->width == r.right)
    {
        printFace(control, dc);
        painter->relay.painted = nullptr;
        return;
    }
    // The left part as far as the control clips its text, then the painter's own right end:
    // the button, the border and the gap before them.
    const int end =
        std::min<int>(r.right, Toolkit::metric(SM_CXVSCROLL, dpi()) + Toolkit::metric(SM_CXEDGE, dpi()) + 1);
    HDC mem = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, painter->width, r.bottom);
    HGDIOBJ old = SelectObject(mem, bitmap);
    printFace(control, mem);
    painter->relay.painted = nullptr;
    BitBlt(dc, 0, 0, r.right - end, r.bottom, mem, 0, 0, SRCCOPY);
    BitBlt(dc, r.right - end, 0, end, r.bottom, mem, painter->width - end, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
}

void ComboBox::paintSkinned(HDC target)
{
    PAINTSTRUCT ps{};
    HDC dc = target ? target : BeginPaint(handle_, &ps);
    drawSkinnedFace(dc, handle_, static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0)));
    if (!target)
        EndPaint(handle_, &ps);
}

} // namespace s::gui::win
