#include "s/gui/win/ComboBox.h"

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
};
// The extra width of a heading item.
constexpr int HEADER_EXTRA = 10;
} // namespace

ComboBox::ComboBox()
{
    Reset();
}

ComboBox::~ComboBox()
{
    for (combobox::ComboBoxItem* item : items_)
        item->Release();
    if (boldFont_)
        boldFont_->Release();
}

void ComboBox::Reset()
{
    resetWidget();
    for (combobox::ComboBoxItem* item : items_)
        item->Release();
    items_.clear();
    selection_ = previous_ = -1;
    topIndex_ = -1;
    visibleItems_ = DEFAULT_VISIBLE_ITEMS;
    editable_ = true;
    listeners_.clear();
    if (boldFont_)
        boldFont_->Release();
    boldFont_ = nullptr;
}

void ComboBox::addItem(combobox::ComboBoxItem* item)
{
    if (!item)
        return;
    items_.push_back(item);
    // Measured on next use: lists of a thousand items are filled one by one.
    markMeasureDirty();
    if (handle_)
        SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item->getText()));
}

combobox::ComboBoxItem* ComboBox::getItem(int index)
{
    return index >= 0 && index < getItemCount() ? items_[static_cast<size_t>(index)] : nullptr;
}

void ComboBox::clear()
{
    if (handle_)
        SendMessageW(handle_, CB_RESETCONTENT, 0, 0);
    for (combobox::ComboBoxItem* item : items_)
        item->Release();
    items_.clear();
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
    if (handle_)
        SendMessageW(handle_, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (index == selection_)
        return;
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
    DWORD style = WS_CHILD | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
    handle_ = Toolkit::createControl(this, 0, L"COMBOBOX", L"", style, 0, 0, 0, 0, parentHandle, nullptr);
    return handle_ != nullptr;
}

void ComboBox::nativeCreated()
{
    WidgetBase::nativeCreated();
    fillNative();
}

void ComboBox::fillNative()
{
    SendMessageW(handle_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(handle_, CB_RESETCONTENT, 0, 0);
    for (combobox::ComboBoxItem* item : items_)
        SendMessageW(handle_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item->getText()));
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
    for (combobox::ComboBoxItem* item : items_)
    {
        int w = 0;
        font->measureIn(dc, item->getText(), &w, nullptr);
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
    for (combobox::ComboBoxItem* item : items_)
    {
        int flags = item->getWord1();
        bool header = (flags & combobox::ComboBoxItem::FLAG_HEADER) != 0;
        bool bold = header || (flags & combobox::ComboBoxItem::FLAG_BOLD) != 0;
        int w = 0;
        (bold ? boldFont_ : font)->measureIn(dc, item->getText(), &w, nullptr);
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
    if (handle_)
        itemHeight = static_cast<int>(SendMessageW(handle_, CB_GETITEMHEIGHT, 0, 0));
    if (itemHeight <= 0)
        getFont()->measure(L"0", nullptr, &itemHeight);
    int rows = std::max(1, std::min(visibleItems_, std::max(1, getItemCount())));
    return rows * itemHeight + 2;
}

void ComboBox::placeNative(UINT flags)
{
    // The control's window height includes its open list.
    if (!handle_)
        return;
    UINT f = SWP_NOZORDER | SWP_NOACTIVATE | flags;
    if (visible_)
        f |= SWP_SHOWWINDOW;
    SetWindowPos(handle_, nullptr, x_ + originX_, y_ + originY_, width_, height_ + dropHeight(), f);
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
        item->handleEvent(pack, 0);
    markMeasureDirty();
    if (handle_)
        fillNative();
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

void ComboBox::paintSkinned(HDC target)
{
    PAINTSTRUCT ps{};
    HDC dc = target ? target : BeginPaint(handle_, &ps);
    RECT r;
    GetClientRect(handle_, &r);
    int at = static_cast<int>(SendMessageW(handle_, CB_GETCURSEL, 0, 0));
    const wchar_t* shown = at >= 0 && at < static_cast<int>(items_.size()) ? items_[at]->getText() : L"";
    unsigned flags = (IsWindowEnabled(handle_) ? 0u : drawer::IDrawer::FLAG_DISABLED) |
                     (GetFocus() == handle_ ? drawer::IDrawer::FLAG_FOCUSED : 0u);
    skin_->getComboDrawer()->draw(dc, 0, 0, r.right, r.bottom, shown, getFont()->getHandle(),
                                  drawer::IDrawer::STATE_NORMAL, flags, drawer::IDrawer::DEFAULT_COLOUR);
    if (!target)
        EndPaint(handle_, &ps);
}

} // namespace s::gui::win
