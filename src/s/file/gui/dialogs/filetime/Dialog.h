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
#include <string>

#include "s/file/gui/dialogs/filetime/ChangeEngine.h"
#include "s/file/gui/dialogs/filetime/Journal.h"
#include "s/file/gui/dialogs/filetime/JournalUndo.h"
#include "s/file/gui/dialogs/filetime/PlanRecorder.h"
#include "s/file/gui/dialogs/filetime/DialogPanels.h"
#include "s/gui/dialogs/dragndrop/Dialog.h"
#include "s/thread/ITask.h"
#include "s/thread/win/Thread.h"

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
        // "Done, but %d item(s) could not be read.": the end of a run that showed an item.
        TEXT_DONE_WITH_UNREAD = 7100000,
        // Shown in place of a time that could not be read.
        TEXT_UNKNOWN_TIME = 7100002,
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
    // Reads the system's zone list on a worker if no panel has read it yet, so that the first
    // switch to a panel with zone selectors does not wait for it.
    void onBuildStarting() override;
    void onShown() override;
    bool handleOwnEvent(void* source, int kind) override;
    bool hasViewSwitch() override { return false; }
    bool getDefaultCompactView() override { return false; }
    int32_t getLargeDropAreaWidth() override { return 100; }
    int32_t getCancelButtonWidth() override { return 80; }
    int32_t getCancelGapWidth() override { return 15; }
    // The engine's failures, or after an undo the items it could not put back.
    uint32_t getFailedItemCount() override;
    // The engine's failed paths and errors for the status text; after an undo none are named
    // there (its list opens from the Edit menu).
    const s::str::strarray::StrArray* getFailedItemPaths() override
    {
        return undoing_ ? nullptr : &engine_.getFailedPaths();
    }
    const s::col::_array::ArrayU32* getFailedItemErrors() override
    {
        return undoing_ ? nullptr : &engine_.getFailedErrors();
    }
    int32_t getFailedItemsTextId() override
    {
        return undoing_ || engine_.didLastRunWrite() ? int32_t(TEXT_DONE_WITH_FAILURES) : int32_t(TEXT_DONE_WITH_UNREAD);
    }
    // The Edit menu: "Undo Last Change".
    s::gui::IPopupMenu* createOwnMenu() override;
    void runOwnCommand(int32_t command) override;
    // Closes the run's journal, tells the end of an undo and updates the Edit menu.
    void onProcessingFinished() override;
    // The change engine.
    void Run() override;

    // On the worker: fills the View & Copy panel and the View & Edit panel from the first
    // dropped item (or the View & Copy item again when its refresh is pending). An item that
    // cannot be found, or whose times cannot be read, shows "unknown" for its times (View &
    // Edit stays disabled, so that nothing is computed from them) and is counted as a
    // failure of the run, with the system's reason.
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
    // Only the panel of the chosen action is made with the window; another one is made the
    // first time it is chosen (or, hidden, when the window closes, for its settings) and
    // then kept. makePanel makes the panel of action `index` when it is not made yet,
    // hidden: its controls, their listeners, its saved settings and the item dropped before
    // it was made. Call it on the window's thread (or the building thread before the window
    // is shown). False for an unknown action or before the window is built.
    bool makePanel(int32_t index);
    bool isPanelMade(int32_t index);

    // --- journal and undo ------------------------------------------------------------------
    // The Edit menu's command ids.
    static constexpr int32_t CMD_UNDO_LAST = OWN_COMMAND_FIRST;
    static constexpr int32_t CMD_SHOW_FAILED = OWN_COMMAND_FIRST + 1;
    // The window request that opens the list window after a run (value 2: LIST_PREVIEW or
    // LIST_FAILED), posted so that the run has ended when the list opens.
    static constexpr int LIST_REQUEST = 0x4C495354;
    static constexpr int LIST_PREVIEW = 0;
    static constexpr int LIST_FAILED = 1;
    // Opens the list window: the planned change (Apply runs it, journalled) or the items
    // the last run could not change with the system's reasons. Modal on the window's thread.
    void openList(int list);
    // "Undo Last Change": undoes the newest run not yet undone (whichever front end made it)
    // on the worker, with progress and Cancel. Nothing while a run is under way or when
    // there is nothing to undo.
    void undoLastChange();
    // Finds the newest run to undo and sets the Edit menu's item: enabled and naming it,
    // or disabled. Answers whether there is one.
    // `ending`: called while the run that has just ended winds down (the frame is idle
    // right after).
    bool refreshUndo(bool ending = false);
    // The Edit menu (null before building; owned by the menu bar).
    s::gui::IPopupMenu* getEditMenu() const { return editMenu_; }
    // What the window journals for the request captured for its next run, in words
    // ("%n" stands for the dropped items).
    std::wstring describeRequest(bool edit);

  private:
    // Reads the system's zone list (a no-op once read) on zoneWorker_.
    struct ZoneListReader : s::thread::ITask
    {
        void Run() override;
    };
    ZoneListReader zoneListReader_;
    s::thread::win::Thread* zoneWorker_ = nullptr; // owned; idle and released by Reset and the destructor
    // Starts the zone list's reading on zoneWorker_ unless it was started before.
    void readZoneListBehind();
    void releaseZoneWorker();

    // Building (one function per panel).
    s::gui::IComponent* buildCopyPanel();
    s::gui::IComponent* buildEditPanel();
    s::gui::IComponent* buildMultiplePanel();
    void listenCopyPanel();
    void listenEditPanel();
    void listenMultiplePanel();
    // The panel of action `index`, detached, for the pile.
    s::gui::IComponent* buildPanel(int32_t index);
    // Listeners, links, saved settings and the item already dropped, for a panel just made.
    void setUpPanel(int32_t index);

    // Shows the panel of action `index` (the user's choice), the window growing to fit it.
    void showPanel(int32_t index);
    // Measures the window in the view now arranged with the chosen panel shown, once per
    // panel (when the large view asks for its size), the sizes kept being the largest.
    void measurePanels();
    // Other texts, other sizes: every panel is measured again when shown.
    void forgetPanelSizes();

    // Settings (each panel its own section). closing: a panel never made is made first, so
    // that its section is written as when it was shown; otherwise only made panels write.
    void restoreEditSettings();
    void restoreMultipleSettings();
    void restoreMethod();
    void saveSettings(bool closing);
    void saveMultipleSettings(s::map::IMappedData* store);

    // View & Edit.
    void clearEdit();
    void enableEdit();
    // Answers the system's error code when the item or its times could not be read (0
    // when shown).
    uint32_t showEditItem(const wchar_t* path);
    bool handleEditEvent(void* source, int kind);
    void editChanged();
    void copyRow(int32_t source);
    void addToRows(int64_t seconds);
    // Shows the invalid-date message of row `kind`.
    void showInvalidDate(int32_t kind);
    // Shows the invalid-date message after the label of the text id `labelTextId`, with
    // a space between them unless the label ends in one.
    void showInvalidDateAfter(int32_t labelTextId);
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
    // The end status of a From the item itself run: changed, without a date, failed.
    void showFromItemEnd();

    // View & Copy.
    // Answers the system's error code when the item or its times could not be read (0
    // when shown); path gets the item's full path.
    // A panel not made yet only takes the item's path, for fillCopyPanel when it is made.
    uint32_t showCopyItem(std::wstring& path);
    // Fills the View & Copy panel from the item of copyPath_; as showCopyItem.
    uint32_t fillCopyPanel(std::wstring& path);
    bool handleCopyEvent(void* source, int kind);
    void refreshCopy();
    const wchar_t* selectedSizeUnit();

    // Offset of a number and a unit selector (number x unit seconds).
    static int64_t offsetOf(s::gui::win::ComboBox* digit, s::gui::win::ComboBox* unit);
    void showMessage(const wchar_t* text);

    ChangeEngine engine_;
    s::gui::win::ComboBox* chooser_ = nullptr; // owned by the window
    s::gui::win::Box* pile_ = nullptr;         // owned by the window
    // The largest of the window's minimum sizes with each panel measured shown, at 96 DPI
    // (0 until measured); which panels are measured.
    int32_t neededWidth_ = 0;
    int32_t neededHeight_ = 0;
    bool panelMeasured_[3] = {false, false, false};
    // Each action's panel as a child index of the pile (-1: not made); set under the item
    // lock, so that the worker either fills a made panel or leaves the item for it.
    int32_t panelChild_[3] = {-1, -1, -1};
    // The first dropped item, for the View & Edit panel when it is made later; under the
    // item lock.
    std::wstring editItem_;
    CopyPanel copy_;
    EditPanel edit_;
    MultiplePanel multi_;

    bool appliedOnce_ = false;
    EpochSeconds editShownTimes_[TIME_COUNT] = {0, 0, 0};
    s::str::strbuffer::StrBuffer* copyPath_; // owned; written under the item lock
    int64_t copySize_ = -1;
    // A drop refused for its date: the drop dialog queues nothing then.
    bool refused_ = false;

    // Prepares the run about to start (window's thread, frame idle): a plan for the preview,
    // or a real run that is journalled.
    void beginRun(bool plan, bool edit = false);
    // Enables "Show Failed Items" when the last run left failures.
    void refreshFailed();
    // Ctrl+Z anywhere in the window runs "Undo Last Change": a message hook of the window's
    // thread (installed on the window's thread, removed with the dialog).
    void hookUndoKey();
    void unhookUndoKey();
    static LRESULT CALLBACK undoKeyHook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK undoHook_ = nullptr;
    // The run's command for its journal (on the worker, when the journal is made).
    std::wstring journalCommand();

    JournalListener journal_;
    JournalUndo undo_;
    bool undoing_ = false;          // the run under way (or just ended) is an undo
    bool undoneLast_ = false;       // the last run was an undo (its failures are listed)
    PlanRecorder plan_;
    bool planning_ = false;         // the run under way plans a preview
    std::vector<std::wstring> plannedPaths_; // the dropped paths of the plan, for Apply
    std::wstring runCommand_;       // the next run's command, "%n" for the item count
    std::wstring oneItem_, manyItems_; // "1 item dropped", "%d items dropped"
    std::wstring undoFile_;         // the journal the Edit menu would undo
    s::gui::IPopupMenu* editMenu_ = nullptr; // owned by the menu bar
};

} // namespace s::file::gui::dialogs::filetime
