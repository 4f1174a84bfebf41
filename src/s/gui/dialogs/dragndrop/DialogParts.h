#pragma once
// The components and menus of a drop dialog's window, and how they are put together.
// Private to the drop dialog: every pointer here is owned by the window's component tree
// (or, for the menus, by the parts) and lives until the dialog releases its window.
// Built on the thread that calls Dialog::buildAndShow; used on the window's thread.

#include <cstdint>

#include "s/archive/CallBack.h"

namespace s::gui
{
class IComponent;
class IBox;
class IContainer;
class ILabel;
class IButton;
class ICheckBox;
class IComboBox;
class IGroupBox;
class IMenuEx;
class IPopupMenu;
class IProgressBar;
class IStatusBar;
class ISpacer;
} // namespace s::gui

namespace s::str::strarray
{
class StrArray;
}

namespace s::gui::dialogs::dragndrop
{

class Dialog;

class DialogParts
{
  public:
    explicit DialogParts(Dialog& dialog);
    ~DialogParts();
    DialogParts(const DialogParts&) = delete;
    DialogParts& operator=(const DialogParts&) = delete;

    // Makes the menus and every component and adds them to the dialog's window (building
    // steps 2 to 5).
    void build();
    // Registers the dialog as listener of the components it answers (building step 7).
    void listen();

    // The chooser's entries: count, name of entry i, selection.
    int32_t getActionCount();
    const wchar_t* getActionName(int32_t index);
    int32_t getSelectedAction();
    void selectAction(int32_t index);
    // Shows the panel of action `index` in the action area and lays the window out.
    void showActionPanel(int32_t index);

    // The two arrangements of the main area (the layout half of Dialog::applyView).
    void arrange(bool compact);

    // Status bar: the progress box (with Cancel) replaces the maker link while a run is
    // under way.
    void showProgressBox(bool running);
    void setStatusTail(const wchar_t* text);

    // Check marks and boxes of the window options.
    bool isKeepOnTopChecked() const { return keepOnTop_; }
    void setKeepOnTopChecked(bool on);
    bool isEasyDragChecked() const { return easyDrag_; }
    void setEasyDragChecked(bool on);
    bool isMiddleClickChecked() const { return middleClickClose_; }
    void setMiddleClickChecked(bool on);
    bool isRightClickTransformChecked() const { return rightClickTransform_; }
    void setRightClickTransformChecked(bool on);
    // Radio mark of the Language menu at the language's index.
    void markLanguage(int32_t languageIndex);

    // Sources of the events the dialog answers (compared by identity).
    bool isKeepOnTopBox(void* source) const;
    bool isMakerLink(void* source) const;
    bool isViewSwitchButton(void* source) const;
    bool isActionChooser(void* source) const;
    // The action chooser (owned by the window's tree), or null when there are no actions.
    s::gui::IComponent* getActionChooser() const { return actionChooser_; }
    bool isCancelButton(void* source) const;
    bool isDropSource(void* source) const;
    bool isMenuBar(void* source) const;
    // The paths of the drop that the source reported (owned by the source).
    const s::str::strarray::StrArray* getDroppedPaths(void* source) const;
    // The command the menu bar ran last.
    int32_t getLastMenuCommand() const;

    s::archive::IStatusTarget* getStatusTarget() { return &statusTarget_; }
    s::archive::IProgressTarget* getProgressTarget() { return &progressTarget_; }

    // Native handles for tests and screenshots (0 when absent).
    void* getDropBoxHandle() const;
    void* getCancelButtonHandle() const;
    const wchar_t* getStatusText() const;

    // The menus (owned by the window through the menu bar), for tests.
    s::gui::IMenuEx* getMenuBar() const { return menuBar_; }
    s::gui::IPopupMenu* getViewMenu() const { return view_; }
    s::gui::ILabel* getStatusLabel() const { return statusLabel_; }
    s::gui::IPopupMenu* getLanguageMenu() const { return languages_; }

  private:
    void buildMenus();

    struct StatusTarget : s::archive::IStatusTarget
    {
        DialogParts* parts = nullptr;
        void showStatusText(const wchar_t* text) override;
    };
    struct ProgressTarget : s::archive::IProgressTarget
    {
        DialogParts* parts = nullptr;
        void showProgressRange(int32_t maximum) override;
        void showProgressPosition(int32_t position) override;
    };

    Dialog& dialog_;
    StatusTarget statusTarget_;
    ProgressTarget progressTarget_;

    // Window options as the menu shows them.
    bool keepOnTop_ = false;
    bool easyDrag_ = false;
    bool middleClickClose_ = false;
    bool rightClickTransform_ = false;

    s::gui::IBox* mainArea_ = nullptr;
    s::gui::IBox* upperArea_ = nullptr;
    s::gui::IBox* actionRegion_ = nullptr;
    s::gui::IBox* actionRow_ = nullptr;
    s::gui::IBox* actionArea_ = nullptr;
    s::gui::IBox* viewSwitchRow_ = nullptr;
    s::gui::IComponent* dropBox_ = nullptr; // the group box
    s::gui::IBox* dropContent_ = nullptr;   // its content: where files are dropped
    s::gui::IBox* dropColumn_ = nullptr;
    s::gui::IBox* actionPanel_ = nullptr;   // the white panel inside the action area's frame
    s::gui::IBox* linkBox_ = nullptr;
    s::gui::IBox* progressBox_ = nullptr;
    s::gui::IContainer* statusBar_ = nullptr;
    s::gui::IProgressBar* progressBar_ = nullptr;
    s::gui::IMenuEx* menuBar_ = nullptr;
    s::gui::IPopupMenu* view_ = nullptr;
    s::gui::IPopupMenu* languages_ = nullptr;
    s::gui::IPopupMenu* about_ = nullptr;
    s::gui::IComponent* actionChooser_ = nullptr;
    s::gui::IComboBox* chooser_ = nullptr; // the chooser when it is a combo box
    s::gui::IComponent* optionsPanel_ = nullptr;
    s::gui::ISpacer* spacerAbove_ = nullptr;
    s::gui::ISpacer* spacerBelow_ = nullptr;
    s::gui::ICheckBox* keepOnTopBox_ = nullptr;
    s::gui::ILabel* statusLabel_ = nullptr;
    s::gui::ILabel* statusTail_ = nullptr;
    s::gui::ILabel* makerLink_ = nullptr;
    s::gui::IButton* cancelButton_ = nullptr;
    s::gui::IButton* hiddenButton_ = nullptr;
    s::gui::IButton* viewSwitchButton_ = nullptr;
};

} // namespace s::gui::dialogs::dragndrop
