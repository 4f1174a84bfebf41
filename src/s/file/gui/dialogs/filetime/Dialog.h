#pragma once
// The file-time dialog: the program's main window. A drop dialog whose action area holds
// three panels, one per action of its chooser:
//   0 "View & Copy"     the first dropped item's name, size and times as texts to copy;
//   1 "View & Edit"     the first dropped item's times in selectors, edited and applied;
//   2 "Change Multiple" every dropped item changed at once by the chosen method.
// Its task is the change engine; the capture of a change request from the controls, the
// display of a dropped item and the saved settings (sections "View" and "View\Multiple"
// of the store) are its own.
//
//     Dialog* dialog = Dialog::Acquire();
//     dialog->bind(appWindow);
//     dialog->buildAndRun();
//     dialog->Release();
//
// Threads: as the drop dialog. The event handlers, beforeProcess and the Apply and Refresh
// handlers run on the window's thread; showDroppedItem runs on the worker and reaches the
// widgets through their own carrying-over to the window's thread.
//
// Failures: an impossible date (a day its month does not have) in the "Specific:"
// selectors or in a checked View & Edit row is refused with the invalid-date message
// before anything is written; the drop or Apply then starts nothing. Items the engine
// could not change are counted in the drop dialog's end status.

#include <windows.h>

#include <cstdint>

#include "s/file/gui/dialogs/filetime/ChangeEngine.h"
#include "s/file/gui/dialogs/filetime/DialogPanels.h"
#include "s/gui/dialogs/dragndrop/Dialog.h"

namespace s::gui::win
{
class Box;
class ComboBox;
} // namespace s::gui::win

namespace s::file::gui::dialogs::filetime
{

class Dialog : public s::gui::dialogs::dragndrop::Dialog, public IDroppedItemView
{
    S_CLASS_ID(L"s_file_gui_dialogs_filetime_Dialog")
    S_POOLED(Dialog)

  public:
    using EpochSeconds = s::time::EpochSeconds;

    enum TextId : int32_t
    {
        TEXT_VIEW_COPY = 1102000,
        TEXT_VIEW_COPY_HINT = 1102001,
        TEXT_VIEW_EDIT = 1100000,
        TEXT_VIEW_EDIT_HINT = 1100001,
        TEXT_MULTIPLE = 1101000,
        TEXT_MULTIPLE_HINT = 1101001,
        TEXT_CREATED_ROW = 1202000,
        TEXT_MODIFIED_ROW = 1203000,
        TEXT_ACCESSED_ROW = 1203500,
        TEXT_INVALID_DATE = 3000100,
    };

    // The settings sections.
    static constexpr wchar_t SECTION_EDIT[] = L"View";
    static constexpr wchar_t SECTION_MULTIPLE[] = L"View\\Multiple";

    Dialog();
    ~Dialog() override;

    // The drop dialog's clear operation, then this dialog's state back to its defaults.
    void Reset() override;

    // --- the drop dialog's slots -----------------------------------------------------------
    // 640 x 600, or larger when a panel needs more room (in another language, say).
    int32_t getLargeWidth() override;
    int32_t getLargeHeight() override;
    // Saves the settings, then (unless a run is under way) captures the request of the
    // chosen action. Always true.
    bool beforeProcess() override;
    s::gui::IComponent* createActionChooser() override;
    s::gui::IComponent* createActionArea() override;
    void onBuilt() override;
    bool handleOwnEvent(void* source, int kind) override;
    bool hasViewSwitch() override { return false; }
    bool getDefaultCompactView() override { return false; }
    int32_t getLargeDropAreaWidth() override { return 100; }
    int32_t getCancelButtonWidth() override { return 80; }
    int32_t getCancelGapWidth() override { return 15; }
    uint32_t getFailedItemCount() override { return engine_.getFailureCount(); }
    // The change engine.
    void Run() override;

    // On the worker: fills the View & Copy panel and the View & Edit panel from the first
    // dropped item (or the View & Copy item again when its refresh is pending).
    void showDroppedItem() override;

    // --- View & Copy -------------------------------------------------------------------------
    // Fills the size field from the shown size, the unit and "Comma" (nothing for none).
    void showSize();
    // "1.50 KB", "15.0 KB", "150 KB", "1000 B"; "-" for a negative size, "" for -2. Empties
    // `out` (null: a new pooled string the caller releases) and answers it.
    static s::str::strbuffer::StrBuffer* formatSizeAuto(int64_t size, s::str::strbuffer::StrBuffer* out);
    // "1,234,567"; the size is taken as unsigned. As formatSizeAuto for `out`.
    static s::str::strbuffer::StrBuffer* formatThousands(int64_t size, s::str::strbuffer::StrBuffer* out);
    // Puts `text` on the clipboard as CF_UNICODETEXT; false (clipboard unchanged) when it
    // cannot be opened or the memory cannot be had.
    static bool copyTextToClipboard(const wchar_t* text, HWND owner);

    // --- state, for the window's thread and tests ---------------------------------------------
    ChangeEngine& getEngine() { return engine_; }
    const ChangeRequest& getRequest() const { return engine_.getRequest(); }
    bool isAppliedOnce() const { return appliedOnce_; }
    const CopyPanel& getCopyPanel() const { return copy_; }
    const EditPanel& getEditPanel() const { return edit_; }
    const MultiplePanel& getMultiplePanel() const { return multi_; }
    s::gui::win::ComboBox* getActionChooser() const { return chooser_; }
    // The chosen action (0 View & Copy, 1 View & Edit, 2 Change Multiple).
    int32_t getAction();

  private:
    // Building (one function per panel).
    s::gui::IComponent* buildCopyPanel();
    s::gui::IComponent* buildEditPanel();
    s::gui::IComponent* buildMultiplePanel();
    void listenCopyPanel();
    void listenEditPanel();
    void listenMultiplePanel();

    // Shows the panel of action `index` (the user's choice), the window growing to fit it.
    void showPanel(int32_t index);
    // Measures the window with every panel shown (once, after building), then shows only
    // the chosen one.
    void measurePanels();

    // Settings.
    void restoreSettings();
    void restoreMethod();
    void saveSettings();

    // View & Edit.
    void clearEdit();
    void enableEdit();
    void showEditItem(const wchar_t* path);
    bool handleEditEvent(void* source, int kind);
    void editChanged();
    void copyRow(int32_t source);
    void addToRows(int64_t seconds);
    // Shows the invalid-date message of row `kind`.
    void showInvalidDate(int32_t kind);
    // The first checked row whose day does not exist in its month, or -1.
    int32_t firstInvalidRow();
    void applyEdit();
    void restoreEdit();

    // beforeProcess; on a close request (closing) nothing is enabled and no message shown,
    // since no run follows.
    bool saveAndCapture(bool closing);

    // Change Multiple.
    void chooseMethod(int32_t method);
    int32_t getMethod();
    bool handleMultipleEvent(void* source, int kind);
    // False (nothing captured) when the "Specific:" method's date is impossible; with
    // tell, the invalid-date message says so.
    bool captureMultiple(bool tell);
    // "From the item itself:" (its own file): the row, its events, its part of the
    // request, its settings and the end status of its runs.
    s::gui::IComponent* buildFromItemRow(s::lang::Localizer* localizer);
    void listenFromItemRow();
    void enableFromItemRow(bool chosen);
    bool handleFromItemEvent(void* source);
    void captureFromItem(ChangeRequest& request);
    void saveFromItem(s::map::IMappedData* store);
    void restoreFromItem(s::map::IMappedData* store);
    void onProcessingFinished() override;

    // View & Copy.
    void showCopyItem();
    bool handleCopyEvent(void* source, int kind);
    void refreshCopy();
    const wchar_t* selectedSizeUnit();

    // Offset of a number and a unit selector (number x unit seconds).
    static int64_t offsetOf(s::gui::win::ComboBox* digit, s::gui::win::ComboBox* unit);
    void showMessage(const wchar_t* text);

    ChangeEngine engine_;
    s::gui::win::ComboBox* chooser_ = nullptr; // owned by the window
    s::gui::win::Box* pile_ = nullptr;         // owned by the window
    // The window's minimum size with every panel shown, at 96 DPI (0 before building).
    int32_t neededWidth_ = 0;
    int32_t neededHeight_ = 0;
    // The panel to show once the panels have been measured (-1: measured).
    int32_t shownPanel_ = -1;
    CopyPanel copy_;
    EditPanel edit_;
    MultiplePanel multi_;

    bool appliedOnce_ = false;
    EpochSeconds editShownTimes_[TIME_COUNT] = {0, 0, 0};
    s::str::strbuffer::StrBuffer* copyPath_; // owned; written under the item lock
    int64_t copySize_ = -1;
    // A drop refused for its date: the drop dialog queues nothing then.
    bool refused_ = false;
};

} // namespace s::file::gui::dialogs::filetime
