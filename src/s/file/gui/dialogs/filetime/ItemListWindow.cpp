#include "s/file/gui/dialogs/filetime/ItemListWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "s/lang/Localizer.h"

namespace s::file::gui::dialogs::filetime
{

namespace
{

constexpr int32_t TEXT_PREVIEW_TITLE = 7700100;
constexpr int32_t TEXT_FAILED_TITLE = 7700101;
constexpr int32_t TEXT_PREVIEW_SUMMARY = 7700102;
constexpr int32_t TEXT_FAILED_SUMMARY = 7700103;
constexpr int32_t TEXT_COLUMN_ITEM = 7700110; // item, field, current, new, reason
constexpr int32_t TEXT_COLUMN_REASON = 7700114;
constexpr int32_t TEXT_APPLY = 7700120;
constexpr int32_t TEXT_CANCEL = 7700121;
constexpr int32_t TEXT_CLOSE = 7700122;
constexpr int32_t TEXT_FIELDS = 7700030; // created, modified, accessed

constexpr int BUTTON_WIDTH = 90;
constexpr int BUTTON_HEIGHT = 26;
constexpr int GAP = 8;

// "2026-12-10 14:00:00" in local time; "" for none.
std::wstring LocalText(int64_t ticks)
{
    if (ticks <= 0)
        return std::wstring();
    FILETIME utc = {static_cast<DWORD>(ticks), static_cast<DWORD>(static_cast<uint64_t>(ticks) >> 32)};
    SYSTEMTIME u, local;
    if (!FileTimeToSystemTime(&utc, &u) || !SystemTimeToTzSpecificLocalTime(nullptr, &u, &local))
        return std::wstring();
    wchar_t text[32];
    swprintf(text, 32, L"%04u-%02u-%02u %02u:%02u:%02u", local.wYear, local.wMonth, local.wDay, local.wHour,
             local.wMinute, local.wSecond);
    return text;
}

// The system's reason for an error code, one line, without its final full stop.
std::wstring ReasonText(uint32_t code)
{
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = n > 0 && buffer != nullptr ? std::wstring(buffer, n) : std::wstring();
    if (buffer != nullptr)
        LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    if (text.empty())
        text = L"error " + std::to_wstring(code);
    return text;
}

bool RegisterOnce()
{
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSEXW c = {};
        c.cbSize = sizeof c;
        c.lpfnWndProc = DefWindowProcW;
        c.hInstance = GetModuleHandleW(nullptr);
        c.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        c.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        c.lpszClassName = ItemListWindow::CLASS_NAME;
        return RegisterClassExW(&c) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

} // namespace

ItemListWindow::ItemListWindow(Mode mode, s::lang::Localizer* localizer) : mode_(mode), localizer_(localizer) {}

ItemListWindow::~ItemListWindow()
{
    if (window_ != nullptr)
        DestroyWindow(window_);
    if (font_ != nullptr)
        DeleteObject(font_);
}

const wchar_t* ItemListWindow::text(int32_t id) const
{
    return localizer_ != nullptr ? localizer_->getText(id) : L"";
}

bool ItemListWindow::create(HWND owner)
{
    if (!RegisterOnce())
        return false;
    owner_ = owner;
    order_.resize(rows_.size());
    for (uint32_t i = 0; i < order_.size(); ++i)
        order_[i] = i;
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        font_ = CreateFontIndirectW(&metrics.lfMessageFont);

    RECT area = {0, 0, 900, 560};
    if (owner != nullptr)
    {
        RECT o;
        GetWindowRect(owner, &o);
        area.left = o.left + 20;
        area.top = o.top + 20;
        area.right = area.left + 900;
        area.bottom = area.top + 560;
    }
    window_ = CreateWindowExW(WS_EX_DLGMODALFRAME, CLASS_NAME,
                              text(mode_ == MODE_PREVIEW ? TEXT_PREVIEW_TITLE : TEXT_FAILED_TITLE),
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, area.left, area.top, area.right - area.left,
                              area.bottom - area.top, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window_ == nullptr)
        return false;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ItemListWindow::proc));

    list_ = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, 0, 0,
                            10, 10, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    const int widths[5] = {380, 90, 140, 140, 200};
    for (int c = 0; c < columnCount(); ++c)
    {
        const int textId = mode_ == MODE_PREVIEW ? TEXT_COLUMN_ITEM + c : (c == 0 ? TEXT_COLUMN_ITEM : TEXT_COLUMN_REASON);
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(text(textId));
        column.cx = mode_ == MODE_PREVIEW ? widths[c] : (c == 0 ? 460 : 400);
        column.iSubItem = c;
        ListView_InsertColumn(list_, c, &column);
    }
    ListView_SetItemCountEx(list_, static_cast<int>(rows_.size()), LVSICF_NOINVALIDATEALL);

    std::wstring summary = text(mode_ == MODE_PREVIEW ? TEXT_PREVIEW_SUMMARY : TEXT_FAILED_SUMMARY);
    const size_t at = summary.find(L"%d");
    if (at != std::wstring::npos)
        summary.replace(at, 2, std::to_wstring(rows_.size()));
    summary_ = CreateWindowExW(0, L"STATIC", summary.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE, 0, 0, 10,
                               10, window_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (mode_ == MODE_PREVIEW)
        apply_ = CreateWindowExW(0, L"BUTTON", text(TEXT_APPLY), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
                                 0, 0, 10, 10, window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_APPLY)),
                                 GetModuleHandleW(nullptr), nullptr);
    cancel_ = CreateWindowExW(0, L"BUTTON", text(mode_ == MODE_PREVIEW ? TEXT_CANCEL : TEXT_CLOSE),
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, 0, 10, 10, window_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(ID_CANCEL)), GetModuleHandleW(nullptr),
                              nullptr);
    for (HWND child : {list_, summary_, apply_, cancel_})
    {
        if (child != nullptr && font_ != nullptr)
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
    layout();
    ShowWindow(window_, SW_SHOW);
    SetFocus(list_);
    return true;
}

void ItemListWindow::layout()
{
    RECT r;
    GetClientRect(window_, &r);
    const int bottom = r.bottom - GAP - BUTTON_HEIGHT;
    MoveWindow(list_, GAP, GAP, std::max<int>(0, r.right - 2 * GAP), std::max<int>(0, bottom - 2 * GAP), TRUE);
    int x = r.right - GAP - BUTTON_WIDTH;
    MoveWindow(cancel_, x, bottom, BUTTON_WIDTH, BUTTON_HEIGHT, TRUE);
    if (apply_ != nullptr)
    {
        x -= GAP + BUTTON_WIDTH;
        MoveWindow(apply_, x, bottom, BUTTON_WIDTH, BUTTON_HEIGHT, TRUE);
    }
    MoveWindow(summary_, GAP, bottom, std::max<int>(0, x - 2 * GAP), BUTTON_HEIGHT, TRUE);
}

bool ItemListWindow::runModal()
{
    if (window_ == nullptr)
        return false;
    if (owner_ != nullptr)
        EnableWindow(owner_, FALSE);
    MSG message;
    while (!closed_)
    {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0)
        {
            // The thread is asked to end: the list closes and the request goes on.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (got < 0)
            break;
        if (!IsDialogMessageW(window_, &message))
        {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (owner_ != nullptr)
    {
        EnableWindow(owner_, TRUE);
        SetActiveWindow(owner_);
    }
    return applied_;
}

void ItemListWindow::close()
{
    if (window_ != nullptr && !closed_)
        PostMessageW(window_, WM_COMMAND, MAKEWPARAM(ID_CANCEL, BN_CLICKED), 0);
}

std::wstring ItemListWindow::cellText(size_t position, int column) const
{
    if (position >= order_.size())
        return std::wstring();
    const Row& row = rows_[order_[position]];
    if (column == 0)
    {
        // A drive as its root ("C:\\"), as everywhere else it is shown.
        if (row.path.size() == 2 && row.path[1] == L':')
            return row.path + L"\\";
        return row.path;
    }
    if (mode_ == MODE_FAILURES || column == 4)
        return row.error != 0 ? ReasonText(row.error) : std::wstring();
    if (row.field < 0)
        return std::wstring();
    if (column == 1)
        return text(TEXT_FIELDS + row.field);
    return LocalText(column == 2 ? row.current : row.planned);
}

void ItemListWindow::sortBy(int column)
{
    if (column < 0 || column >= columnCount())
        return;
    descending_ = column == sortColumn_ ? !descending_ : false;
    sortColumn_ = column;
    const bool reason = mode_ == MODE_FAILURES ? column == 1 : column == 4;
    const std::vector<Row>& rows = rows_;
    const auto less = [&](uint32_t a, uint32_t b) {
        const Row& x = rows[a];
        const Row& y = rows[b];
        if (column == 0)
            return x.path < y.path;
        if (reason)
            return x.error < y.error;
        if (column == 1)
            return x.field < y.field;
        return column == 2 ? x.current < y.current : x.planned < y.planned;
    };
    std::stable_sort(order_.begin(), order_.end(), [&](uint32_t a, uint32_t b) {
        return descending_ ? less(b, a) : less(a, b);
    });
    if (list_ != nullptr)
        InvalidateRect(list_, nullptr, FALSE);
}

LRESULT CALLBACK ItemListWindow::proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<ItemListWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr)
        return DefWindowProcW(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT ItemListWindow::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_SIZE:
        layout();
        return 0;
    case WM_GETMINMAXINFO:
    {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize.x = 420;
        info->ptMinTrackSize.y = 240;
        return 0;
    }
    case WM_NOTIFY:
    {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->hwndFrom != list_)
            break;
        if (header->code == LVN_GETDISPINFOW)
        {
            // The list asks for the cells it shows: the rows are formatted only then.
            auto* info = reinterpret_cast<NMLVDISPINFOW*>(lParam);
            if (info->item.mask & LVIF_TEXT)
            {
                cell_ = cellText(static_cast<size_t>(info->item.iItem), info->item.iSubItem);
                info->item.pszText = const_cast<wchar_t*>(cell_.c_str());
            }
            return 0;
        }
        if (header->code == LVN_COLUMNCLICK)
        {
            sortBy(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem);
            return 0;
        }
        break;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == ID_APPLY || LOWORD(wParam) == ID_CANCEL)
        {
            applied_ = LOWORD(wParam) == ID_APPLY && apply_ != nullptr;
            closed_ = true;
            if (owner_ != nullptr)
                EnableWindow(owner_, TRUE);
            ShowWindow(window_, SW_HIDE);
            // A command sent from another thread is served inside GetMessage: wake the loop.
            PostMessageW(window_, WM_NULL, 0, 0);
            return 0;
        }
        break;
    case WM_CLOSE:
        applied_ = false;
        closed_ = true;
        if (owner_ != nullptr)
            EnableWindow(owner_, TRUE);
        ShowWindow(window_, SW_HIDE);
        PostMessageW(window_, WM_NULL, 0, 0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

} // namespace s::file::gui::dialogs::filetime
