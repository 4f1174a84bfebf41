#pragma once
// The list window of the file-time dialog: the planned change of a preview (item, field,
// current time, new time, reason an item will not be changed) with "Apply" and "Cancel",
// or the failed items of the last run with the system's reason in words and "Close".
//
// A virtual list view (it asks for the rows it shows, so 100,000 rows open at once); a
// click on a column head sorts by that column, a second click reverses the order.
//
//     ItemListWindow list(ItemListWindow::MODE_PREVIEW, localizer);
//     list.rows() = ...;
//     if (list.create(owner) && list.runModal()) ... // true: Apply
//
// Threads: made and run on the owner's window thread; runModal keeps the owner disabled
// and serves that thread's messages until the window closes. Tests may send the controls
// messages from another thread.
// Ownership: the window is the object's; it is destroyed when it closes or with the
// object. The localizer is not owned.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "s/file/gui/dialogs/filetime/PlanRecorder.h"

namespace s::lang
{
class Localizer;
}

namespace s::file::gui::dialogs::filetime
{

class ItemListWindow
{
  public:
    enum Mode
    {
        MODE_PREVIEW = 0,
        MODE_FAILURES,
    };
    using Row = ItemRow;
    // The window class, for finding the window from outside.
    static constexpr wchar_t CLASS_NAME[] = L"KaironItemList";
    // The buttons' ids.
    static constexpr int ID_APPLY = IDOK;
    static constexpr int ID_CANCEL = IDCANCEL;

    ItemListWindow(Mode mode, s::lang::Localizer* localizer);
    ~ItemListWindow();
    ItemListWindow(const ItemListWindow&) = delete;
    ItemListWindow& operator=(const ItemListWindow&) = delete;

    // Filled before create; read while the window is open.
    std::vector<Row>& rows() { return rows_; }

    // Makes the window over `owner` (null: none), shown. False when it cannot be made.
    bool create(HWND owner);
    // Serves messages until the window closes. True when "Apply" closed it.
    bool runModal();
    // Closes the window as "Cancel" does.
    void close();

    // Sorts by column `column` (ascending; again the same column: descending).
    void sortBy(int column);
    // The row shown at position `position`, for tests.
    const Row& shownRow(size_t position) const { return rows_[order_[position]]; }
    // The text shown in a cell (position, column).
    std::wstring cellText(size_t position, int column) const;

    HWND handle() const { return window_; }
    HWND list() const { return list_; }

  private:
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void layout();
    const wchar_t* text(int32_t id) const;
    int columnCount() const { return mode_ == MODE_PREVIEW ? 5 : 2; }

    Mode mode_;
    s::lang::Localizer* localizer_;
    std::vector<Row> rows_;
    std::vector<uint32_t> order_;
    int sortColumn_ = -1;
    bool descending_ = false;
    HWND owner_ = nullptr;
    HWND window_ = nullptr;
    HWND list_ = nullptr;
    HWND apply_ = nullptr;
    HWND cancel_ = nullptr;
    HWND summary_ = nullptr;
    HFONT font_ = nullptr;
    bool applied_ = false;
    bool closed_ = false;
    mutable std::wstring cell_; // the text handed to the list view, valid until the next ask
};

} // namespace s::file::gui::dialogs::filetime
