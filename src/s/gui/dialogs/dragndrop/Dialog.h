#pragma once
// The drop dialog: the main window of the maker's drop-box tools. It builds a window with a
// menu bar, a "Keep on Top" box, a drop box, an action chooser with its action area and a
// status bar with a progress bar and Cancel; it hands dropped paths to its processing frame,
// whose worker runs the dialog's task, and shows the progress the task reports.
//
// What processing means, what the action area holds and which options exist are decided by
// a derived class through the virtual operations below (the file-time dialog derives from
// it); the base task only counts through the dropped items.
//
//     Dialog* dialog = Dialog::Acquire();
//     dialog->bind(appWindow);              // settings object, language pack, store
//     dialog->buildAndRun();                // returns when the window has been closed
//     dialog->Release();                    // stops a worker that still runs
//
// Threads. buildAndRun runs on the calling thread and blocks (10 ms polls) until the window
// has closed; every event handler, acceptDrop, the status handling and the menu commands run
// on the window's user-interface thread. The worker runs run() and reaches the status
// handling only through window requests (sendStatus): the start and the end of a run are
// synchronous requests, so the display never misses them; a progress update is kept as the
// latest one and posted (one request on its way at a time), so the worker never waits for
// the window to paint and the window shows the newest position when it gets to it. The
// frame's item lock guards the path list and busy; the cancel flag is polled without it.
//
// Ownership. The settings object, the store, the language pack and the skin manager are
// shared (bind does not take them; Release forgets them). The window, every component in it,
// the menus, the frame and its worker belong to the dialog. Release (the pool's clear
// operation) first cancels and waits for the worker; release the dialog from a thread that
// is not the window's own (normally the thread that called buildAndRun).
//
// Failures are shown, never swallowed: an output folder that cannot be used shows a message
// and starts nothing (when the first dropped item itself can no longer be found, the message
// says so); a run whose task reports failed items ends with their count, the first of them
// named with the system's reason, instead of "Done!".

#include <atomic>
#include <cstdint>

#include "s/archive/CallBack.h"
#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/gui/dialogs/dragndrop/ProcessStatus.h"
#include "s/gui/dialogs/dragndrop/ProcessingFrame.h"
#include "s/gui/events/IEventListener.h"
#include "s/thread/IPoolable.h"
#include "s/thread/ITask.h"
#include "s/thread/Pooled.h"

namespace s::map
{
class IMappedData;
}
namespace s::app
{
class IAppWindow;
}
namespace s::lang
{
class Localizer;
}
namespace s::gui
{
class IComponent;
class IBox;
class IWindowSettings;
class IPopupMenu;
class ILabel;
namespace drawer
{
class Skinner;
}
namespace win
{
class Window;
}
} // namespace s::gui
namespace s::str::strbuffer
{
class StrBuffer;
}
namespace s::str::strarray
{
class StrArray;
}
namespace s::file::win
{
class PathWin;
}
namespace s::col::_array
{
class ArrayU32;
}
namespace s::app::win
{
class InstanceGate;
class AppWindow;
}
namespace s::gui::dialogs
{
class About3;
}

namespace s::gui::dialogs::dragndrop
{

class DialogParts;

class Dialog : public s::base::IObject,
               public s::thread::IPoolable,
               public s::gui::events::IEventListener,
               public s::thread::ITask,
               public IStatusChannel
{
    S_CLASS_ID(L"s_gui_dialogs_dragndrop_Dialog")
    S_POOLED(Dialog)

  public:
    // Texts of the language pack used here.
    enum TextId : int32_t
    {
        TEXT_KEEP_ON_TOP = 1000000,
        TEXT_DROP_BOX = 1001000,
        TEXT_DROP_HINT = 1002000,
        TEXT_DROP_HINT_2 = 1003000,
        TEXT_ACTION = 1004000,
        TEXT_ADVANCED_OPTIONS = 1005000,
        TEXT_MINIMIZE_VIEW = 1006000,
        TEXT_CANCEL = 1006050,
        TEXT_OUTPUT_FOLDER_FAILED = 608299,
        TEXT_READY = 609450,
        TEXT_DONE = 609460,
        // "Done, but %d item(s) could not be changed." (%d: the number).
        TEXT_DONE_WITH_FAILURES = 609470,
        // "and %d more": ends the named failures when more failed than are named.
        TEXT_MORE_FAILURES = 7100001,
        // The first dropped item (and the folder it was in) can no longer be found.
        TEXT_DROPPED_ITEM_GONE = 7100003,
        TEXT_MAKER_PAGE = 101000,
        // The Explorer entries' verb text ("Change times with Kairon") and shortcut tip.
        TEXT_SHELL_VERB = 7600003,
    };

    // The output-folder modes.
    enum OutputFolderMode : int32_t
    {
        OUTPUT_CUSTOM = 0,
        OUTPUT_ITEM_FOLDER = 11,
        OUTPUT_SUB_FOLDER = 12,
        OUTPUT_DESKTOP = 13,
    };

    // First value of the window requests that carry status events (the others: the event,
    // the total, the position; the text rides with the dialog for the time of the request).
    static constexpr int STATUS_REQUEST = 0x53544154;
    // The window request that builds and shows the dialog's parts on the window's thread.
    static constexpr int BUILD_REQUEST = 0x4255494C;
    // Updates are scaled down (halved) while their total is above this (the native progress
    // control counts in 16 bits).
    static constexpr int32_t MAX_UPDATE_TOTAL = 0x7FFF;
    // Shown in the status label while a cancelled run winds down.
    static constexpr wchar_t CANCELING_TEXT[] = L"Canceling..";
    // Failed items named in the status text at the end of a run (the rest are counted).
    static constexpr uint32_t NAMED_FAILURES = 3;
    // The output-folder message when the language lacks text 608299.
    static constexpr wchar_t OUTPUT_FOLDER_FAILED_TEXT[] = L"The output folder is inaccessible or write-protected.";
    // The message when the language lacks text 7100003.
    static constexpr wchar_t DROPPED_ITEM_GONE_TEXT[] =
        L"The dropped item can no longer be found: it was moved, renamed or deleted after the drop. Nothing was changed.";

    Dialog();
    ~Dialog() override;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // The clear operation: stops the worker (cancel and wait), forgets the shared objects,
    // releases the window and everything in it, and returns every value to its default.
    void Reset() override;

    // --- binding (before buildAndRun) ----------------------------------------------------
    // The main-window object: the settings object, its sections, its language pack (its own
    // or the application's), the application's store and the window's skin manager.
    void bind(s::app::IAppWindow* appWindow);
    // The window's settings object (normally the AppWindow "MainWindow"), the name that
    // forms its sections ("MainWindow" gives "MainWindow\View"), the language pack, the
    // settings store and the skin manager (may be null). None is owned.
    void bind(s::gui::IWindowSettings* settings, const wchar_t* windowName, s::lang::Localizer* localizer,
              s::map::IMappedData* store, s::gui::drawer::Skinner* skinner);

    s::gui::IWindowSettings* getWindowSettings() const { return settings_; }
    s::app::IAppWindow* getAppWindow() const { return appWindow_; }
    // The first id of the product's own texts (product page +3, feedback page +4).
    int32_t getTextBase() const { return textBase_; }
    s::lang::Localizer* getLocalizer() const { return localizer_; }
    s::map::IMappedData* getStore() const { return store_; }
    s::gui::drawer::Skinner* getSkinner() const { return skinner_; }
    // "<window name>\View": where the dialog's and the window's values live.
    const wchar_t* getViewSection() const;
    // The chooser's entry of the saved action ("ConvertTo", by name, ignoring case), else
    // the default one (getDefaultActionIndex). Valid once the chooser is filled.
    int32_t getSavedActionIndex();
    // The saved action's name ("ConvertTo"), "" when none; readable before the parts exist.
    const wchar_t* getSavedActionName();

    // Builds the window, shows it and returns when it has been closed. Not on a window's
    // user-interface thread.
    void buildAndRun();
    // The first half of buildAndRun: builds, lays out and shows the window, then returns
    // (the program calls buildAndRun; tests drive the shown window and close it).
    bool buildAndShow();

    s::gui::win::Window* getWindow() const { return window_; }
    ProcessingFrame& getFrame() { return frame_; }
    s::archive::CallBack& getReporter() { return reporter_; }
    // Native windows of the drop box and the Cancel button (0 before building); for tests
    // that drive the window as a user does.
    void* getDropBoxHandle() const;
    void* getCancelButtonHandle() const;
    // The text the status label shows ("" before building).
    const wchar_t* getStatusText() const;
    // The status label (owned by the window; null before building), for a derived dialog
    // that listens to clicks on it.
    s::gui::ILabel* getStatusLabel() const;

    // --- the slots of derived dialogs ------------------------------------------------------
    void handleEvent(void* source, int kind) override;
    virtual int32_t getCompactWidth() { return 250; }
    virtual int32_t getCompactHeight() { return 250; }
    virtual int32_t getLargeWidth() { return 450; }
    virtual int32_t getLargeHeight() { return 450; }
    // Called on the window's thread with the item lock held, before a drop is queued;
    // false refuses the drop.
    virtual bool beforeProcess() { return true; }
    // The component that chooses the action (owned by the window once added). The base
    // makes a combo box.
    virtual s::gui::IComponent* createActionChooser();
    // The action area (the base: an empty box).
    virtual s::gui::IComponent* createActionArea();
    // Called once every component is in the window, before the saved action is selected.
    virtual void onBuilt() {}
    // Called first in buildAndShow, before the window is made: work the chosen panel will
    // wait for (a slow system read) can start here, beside the window's making.
    virtual void onBuildStarting() {}
    // Called on the thread that called buildAndShow once the window is shown and painted:
    // work a user does not wait for at the start can begin here.
    virtual void onShown() {}
    // Offered every event first (after a close request has stored the size); true consumes it.
    virtual bool handleOwnEvent(void* source, int kind)
    {
        (void)source, (void)kind;
        return false;
    }
    virtual bool buildsActionPanels() { return false; }
    virtual s::gui::IComponent* createActionPanel(int32_t index, const wchar_t* name, int32_t value1,
                                                  int32_t value2)
    {
        (void)index, (void)name, (void)value1, (void)value2;
        return nullptr;
    }
    virtual bool isMaximizable() { return false; }
    virtual bool dropsOnWholeArea() { return false; }
    virtual s::gui::IComponent* createOptionsPanel();
    virtual bool hasRunOptions() { return false; }
    virtual void onProcessingFinished() {}
    virtual int32_t getWorkerPriority() { return ProcessingFrame::DEFAULT_WORKER_PRIORITY; }
    virtual void updateWorkerPriority(bool force);
    virtual bool hasViewSwitch() { return true; }
    virtual bool getDefaultCompactView() { return true; }
    virtual int32_t getLargeDropAreaWidth() { return 125; }
    virtual int32_t getCancelButtonWidth() { return 0; }
    virtual int32_t getCancelGapWidth() { return 0; }
    virtual bool showsDropArea() { return true; }
    virtual bool showsActionRow() { return true; }
    virtual int32_t getDefaultActionIndex() { return 0; }
    virtual bool hasAskConfirmation() { return false; }
    virtual int32_t getConfirmationTitleId() { return 0; }
    virtual int32_t getConfirmationTextId() { return 0; }
    virtual bool hasOutputFolderMenu() { return false; }
    virtual bool outputItemsInFileMenu() { return true; }
    virtual int32_t getDefaultOutputFolderMode() { return OUTPUT_ITEM_FOLDER; }
    virtual bool createsOutputFolder() { return false; }
    // Items of the run that has just ended that could not be processed (read when
    // ProcessStatusEnd is handled). The base task fails nothing.
    virtual uint32_t getFailedItemCount() { return 0; }
    // The full paths of (the first of) those items and the system's error code of each, in
    // the same order; the status text names the first NAMED_FAILURES with their reason.
    // Null: none kept. Owned by the derived dialog, read when ProcessStatusEnd is handled.
    virtual const s::str::strarray::StrArray* getFailedItemPaths() { return nullptr; }
    virtual const s::col::_array::ArrayU32* getFailedItemErrors() { return nullptr; }
    // The text that counts them ("%d" is the number): TEXT_DONE_WITH_FAILURES unless the
    // run only read items.
    virtual int32_t getFailedItemsTextId() { return TEXT_DONE_WITH_FAILURES; }
    // A menu of the derived dialog, put first in the menu bar (owned by the bar from then
    // on); null: none. Its commands, numbered from OWN_COMMAND_FIRST, go to runOwnCommand.
    virtual s::gui::IPopupMenu* createOwnMenu() { return nullptr; }
    virtual void runOwnCommand(int32_t command) { (void)command; }
    static constexpr int32_t OWN_COMMAND_FIRST = 20000;

    // The worker's task (the base counts through the dropped items).
    void Run() override;

    // --- processing ------------------------------------------------------------------------
    // The drop of `paths` (on the window's thread): ignored when empty or while a run is
    // under way; otherwise beforeProcess, the output-folder check of the first path, and,
    // when both pass, the paths are queued and a run starts. A failed check queues nothing.
    void acceptDrop(const s::str::strarray::StrArray* paths);
    // Finds and tests the folder that results would go to; shows the message and answers
    // false when it cannot be used. On the window's thread.
    bool checkOutputFolder(const wchar_t* firstPath);
    // The folder found by the last successful check (owned by the dialog), or null.
    s::file::win::PathWin* getOutputFolder() const { return outputFolder_; }
    // Asks the worker to stop; without wait "Canceling.." is shown. With wait: never on
    // the window's thread while a run is under way.
    void cancelProcessing(bool wait);
    // Shows text in the status label.
    void setStatus(const wchar_t* text);

    // --- paths handed over by other starts of the program (see s/app/win/HandOver.h) ----------
    // Paths that arrive within GATHER_MILLIS of the first form one drop, in arrival order;
    // while a run is under way they wait and form the next drop when it ends. The window
    // takes a WM_COPYDATA hand-over on its own and answers 1 when it took the paths.
    // With a gate set, the gathering goes on past GATHER_MILLIS while the gate names other
    // starts whose paths are on their way, checked every GATHER_POLL_MILLIS, until none is
    // left or none has arrived for GATHER_STALL_MILLIS (a start that hangs holds it no longer).
    static constexpr int GATHER_MILLIS = 300;
    static constexpr int GATHER_POLL_MILLIS = 50;
    static constexpr int GATHER_STALL_MILLIS = 5000;
    // The gate of the program's starts (not owned, null for none). Set before the window is
    // built and cleared after it closed: the window's thread reads it.
    void setHandOverGate(const s::app::win::InstanceGate* gate) { handOverGate_ = gate; }
    // Paths that may wait at once; a hand-over that would pass it is refused whole (and the
    // status says so).
    static constexpr uint32_t MAX_WAITING_PATHS = 65536;
    // Window timer of the gathering.
    static constexpr int GATHER_TIMER = 0x4B48;
    // Takes handed-over paths (window's thread); false, and nothing taken, past the cap.
    bool takeHandedPaths(const s::str::strarray::StrArray* paths);
    // Paths waiting for their drop (window's thread).
    uint32_t getWaitingPathCount() const;

    // The status channel of the frame (worker thread): start and end go to the window's
    // thread through a synchronous request, an update through a posted one that shows the
    // latest update when it is served. Without a window it is handled on the calling thread.
    void sendStatus(const wchar_t* name, int32_t total, int32_t position, const wchar_t* text) override;
    // The status handling (window's thread).
    void handleStatus(const wchar_t* name, int32_t total, int32_t position, const wchar_t* text);

    // Scales an update down for the progress control: halves both while total is above
    // MAX_UPDATE_TOTAL.
    static void scaleUpdate(int32_t* total, int32_t* position);

    // --- views and options ---------------------------------------------------------------
    // Switches between the compact and the large view; with saveOldSize the current size is
    // stored for the view being left first. Stores "CompactView".
    void applyView(bool saveOldSize, bool compact);
    bool isCompactView() const { return compactView_; }
    // After the content changed sizes (texts, a part made or shown): lays the tree out as
    // building it does, from the innermost parts outwards, then grows the window as the
    // view's sizing at a start makes it: to its minimum and, in the large view, to what the
    // view needs (getLargeWidth, getLargeHeight). Never shrinks it. With `changed`, only
    // that part changed: it is laid out from the inside, then the boxes holding it, which
    // spares laying out the rest of the tree. Window's thread.
    void fitWindowToContent(s::gui::IComponent* changed = nullptr);
    bool isRightClickTransformOn() const { return rightClickTransform_; }
    // The menus (for tests that check their marks); null before building.
    s::gui::IPopupMenu* getViewMenu() const;
    s::gui::IPopupMenu* getLanguageMenu() const;
    // Runs a menu command (the menu bar's commands; see the menu tables).
    void runMenuCommand(int32_t command);
    // Command 10000: the version-information window ("AboutWindow", skin family
    // "ThinWindow", default scheme "Classic LG"), made on first use and kept until the
    // dialog is released; every showing builds a new window. Nothing without a bound
    // AppWindow (the settings object must be an s::app::IAppWindow).
    void showVersionWindow();
    s::gui::dialogs::About3* getVersionDialog() const { return about_; }

    // --- Explorer entries (the View menu's "Send To" and context-menu commands) ---------------
    static constexpr int32_t CMD_SEND_TO = 130;
    static constexpr int32_t CMD_CONTEXT_MENU = 131;
    // The menu text of either command.
    static int32_t textOfShellCommand(int32_t command);
    // The program file the entries point at (copied); bind takes it from the application.
    // Without one (empty) the View menu offers no entries.
    void setProgramPath(const wchar_t* path);
    bool hasShellEntries() const;
    // Whether the entry of menu command `command` is present for this program file.
    bool isShellEntryPresent(int32_t command);
    // The name of the entries (the key under "shell", the shortcut's title): the product
    // name in the pack's first language, so that it stays when the language changes.
    const wchar_t* getShellEntryName();

    // Opens the page whose address is the text `textId`; nothing for an empty text. Pages
    // go to the shell with the verb "open" through the application's one seam
    // (AppBase::openAddress, which tests replace so that no browser starts).
    void openPageById(int32_t textId);

  protected:
    // Texts by id from the bound language pack ("" without one).
    const wchar_t* text(int32_t id);
    s::str::strbuffer::StrBuffer* scratch() { return scratch_; }

  private:
    friend class DialogParts;
    void resetDialog();
    void finishStatusEnd();
    // The status text of a run with failed items: the count and the first items named.
    void composeFailureStatus(uint32_t failed, s::str::strbuffer::StrBuffer* out);
    // The output-folder check failed: when the folder came from the first dropped item and
    // that item itself can no longer be found, the message says so (with its path and the
    // system's reason) and the answer is true; otherwise nothing is shown (false).
    bool tellDroppedItemGone(int32_t mode, const wchar_t* firstPath);
    // A window request (event 2): a status event of this dialog's worker is handled.
    void handleStatusRequest();
    // The part of buildAndShow after the window exists: parts built, settings restored,
    // laid out, shown. Runs on the window's thread (BUILD_REQUEST), where every call to a
    // native window is a direct one and not a message from another thread.
    void buildOnWindowThread();
    // Forgets the update not yet shown.
    void dropUpdate();
    // The information box over the window (or the desktop without one).
    void showInformation(const wchar_t* message);
    void storeWindowSize(bool compact);
    // The hand-over: a WM_COPYDATA offered by the window, the gathering's timer.
    void handleCopyData();
    void dropWaitingPaths();
    // The Explorer integration commands of the View menu (see DialogShell.cpp).
    void runShellCommand(int32_t command);

    // Pending status event while its request is served (worker writes, the window's thread
    // reads inside the synchronous request).
    struct PendingStatus
    {
        const wchar_t* name = nullptr;
        int32_t total = 0;
        int32_t position = 0;
        const wchar_t* text = nullptr;
    };

    s::str::strbuffer::StrBuffer* scratch_;     // owned
    s::str::strbuffer::StrBuffer* scratch2_;    // owned
    s::str::strbuffer::StrBuffer* viewSection_; // owned

    s::gui::IWindowSettings* settings_ = nullptr; // shared
    s::app::IAppWindow* appWindow_ = nullptr;     // shared
    int32_t textBase_ = 500000;
    s::map::IMappedData* store_ = nullptr;        // shared
    s::lang::Localizer* localizer_ = nullptr;     // shared
    s::gui::drawer::Skinner* skinner_ = nullptr;  // shared

    s::gui::win::Window* window_ = nullptr; // owned
    DialogParts* parts_ = nullptr;          // owned: the components and menus

    ProcessingFrame frame_;
    s::archive::CallBack reporter_;
    PendingStatus pending_;
    // The latest update not yet shown (under updateLock_): written by the worker, taken by
    // the posted request on the window's thread; a start or an end drops it.
    s::thread::ObjLocker updateLock_;
    bool updatePosted_ = false;  // a request is on its way
    bool updatePending_ = false; // the values below are still to be shown
    int32_t updateTotal_ = 0;
    int32_t updatePosition_ = 0;
    bool updateHasText_ = false;
    s::str::strbuffer::StrBuffer* updateText_; // owned
    s::thread::ObjLocker statusLock_; // one status request at a time

    int64_t runStartMillis_ = 0;
    bool compactView_ = true;
    bool rightClickTransform_ = true;
    bool askConfirmation_ = false;
    bool notifyWhenFinished_ = true;
    bool lowerPriority_ = false;
    bool minimizedByButton_ = false;
    bool priorityLowered_ = false;

    int32_t outputFolderMode_ = OUTPUT_ITEM_FOLDER;
    s::str::strbuffer::StrBuffer* customFolder_; // owned
    s::file::win::PathWin* outputFolder_ = nullptr;

    s::str::strbuffer::StrBuffer* programPath_;  // owned
    s::str::strarray::StrArray* waiting_;  // owned: handed-over paths not yet dropped
    bool gathering_ = false;               // the gathering's timer runs
    uint64_t lastArrivalTick_ = 0;         // GetTickCount64 of the latest hand-over taken
    const s::app::win::InstanceGate* handOverGate_ = nullptr; // not owned
    bool acceptingDrop_ = false;           // acceptDrop is under way (it may show a message)

    s::gui::dialogs::About3* about_ = nullptr;         // owned, made on first use
    s::app::win::AppWindow* aboutSettings_ = nullptr;  // owned, "AboutWindow" (owns its skin manager)
};

} // namespace s::gui::dialogs::dragndrop
