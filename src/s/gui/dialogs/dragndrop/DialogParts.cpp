#include "s/gui/dialogs/dragndrop/DialogParts.h"

#include "s/gui/IWindowSettings.h"
#include "s/gui/dialogs/dragndrop/Dialog.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/Button.h"
#include "s/gui/IComboBox.h"
#include "s/gui/combobox/ComboBoxItem.h"
#include "s/gui/menuitem/MenuItem.h"
#include "s/gui/win/CheckBox.h"
#include "s/gui/win/ComboBox.h"
#include "s/gui/win/Factories.h"
#include "s/gui/win/GroupBox.h"
#include "s/gui/win/MenuEx.h"
#include "s/gui/win/PopupMenu.h"
#include "s/gui/win/ProgressBar.h"
#include "s/gui/win/Spacer.h"
#include "s/gui/win/StatusBar.h"
#include "s/lang/LangPack.h"
#include "s/lang/Localizer.h"
#include "s/gui/win/Label.h"
#include "s/gui/win/Window.h"

namespace s::gui::dialogs::dragndrop
{

using s::gui::IBox;
using s::gui::IComponent;
using s::gui::win::Box;

namespace
{
// Menu commands and the menus' text ids.
constexpr int CMD_TRANSLATE_PAGE = 0;
constexpr int CMD_FIRST_LANGUAGE = 2;
constexpr int CMD_KEEP_ON_TOP = 100;
constexpr int CMD_RIGHT_CLICK_TRANSFORM = 110;
constexpr int CMD_EASY_DRAG = 120;
constexpr int CMD_MIDDLE_CLICK_CLOSE = 125;
constexpr int CMD_ASK_CONFIRMATION = 250;
constexpr int CMD_VERSION_INFORMATION = 10000;
constexpr int CMD_PRODUCT_PAGE = 10100;
constexpr int CMD_FEEDBACK_PAGE = 10200;
constexpr int CMD_MORE_SOFTWARE = 10900;
constexpr int CMD_WORKPLACE = 10950;

IBox* plainBox()
{
    return static_cast<IBox*>(Box::Acquire());
}

// A box that only arranges its children (Box::setLayoutOnly): no window of its own.
IBox* layoutBox()
{
    Box* box = Box::Acquire();
    box->setLayoutOnly();
    return static_cast<IBox*>(box);
}

// A label taking its text by id (-1: empty).
s::gui::ILabel* labelById(int32_t textId)
{
    if (textId == -1)
    {
        return s::gui::win::newLabel(L"", false, false, 1000);
    }
    return s::gui::win::newLabelById(textId, false, false, 1000);
}

// The same drawn in its host, for a caption beside a control: texts that tell the state or
// what to do keep their windows, whose texts outside drivers and screen readers read.
s::gui::ILabel* captionById(int32_t textId)
{
    s::gui::ILabel* label = labelById(textId);
    static_cast<s::gui::win::Label*>(label)->setDrawnInHost();
    return label;
}

s::gui::ISpacer* vSpacer(int pixels)
{
    return s::gui::win::newSpacer(1, pixels);
}
} // namespace

IComponent* Dialog::createActionChooser()
{
    s::gui::win::ComboBox* chooser = s::gui::win::newComboBox(150);
    return chooser;
}

DialogParts::DialogParts(Dialog& dialog) : dialog_(dialog)
{
    statusTarget_.parts = this;
    progressTarget_.parts = this;
}

DialogParts::~DialogParts() = default;

void DialogParts::buildMenus()
{
    using s::gui::menuitem::MenuItem;
    s::lang::Localizer* pack = dialog_.getLocalizer();
    s::gui::win::MenuEx* bar = s::gui::win::MenuEx::Acquire();
    bar->setLanguagePack(pack);
    menuBar_ = bar;

    view_ = s::gui::win::PopupMenu::Acquire();
    view_->setLanguagePack(pack);
    view_->setTitleId(609000);
    view_->addItem(MenuItem::newMenuItem(609100, pack, CMD_KEEP_ON_TOP, keepOnTop_));
    if (dialog_.hasViewSwitch())
    {
        view_->addItem(MenuItem::newMenuItem(609200, pack, CMD_RIGHT_CLICK_TRANSFORM, rightClickTransform_));
    }
    view_->addItem(MenuItem::newMenuItem(609300, pack, CMD_EASY_DRAG, easyDrag_));
    view_->addItem(MenuItem::newMenuItem(609350, pack, CMD_MIDDLE_CLICK_CLOSE, middleClickClose_));
    if (dialog_.hasShellEntries())
    {
        view_->addItem(MenuItem::newSeparator());
        for (int32_t command : {Dialog::CMD_SEND_TO, Dialog::CMD_CONTEXT_MENU})
        {
            view_->addItem(MenuItem::newMenuItem(Dialog::textOfShellCommand(command), pack, command,
                                                 dialog_.isShellEntryPresent(command)));
        }
    }
    if (dialog_.hasAskConfirmation())
    {
        view_->addItem(MenuItem::newSeparator());
        view_->addItem(MenuItem::newMenuItem(903100, pack, CMD_ASK_CONFIRMATION, false));
    }

    languages_ = s::gui::win::PopupMenu::Acquire();
    languages_->setLanguagePack(pack);
    languages_->setTitleId(700000);
    languages_->addItem(MenuItem::newMenuItem(700001, pack, CMD_TRANSLATE_PAGE, false));
    languages_->addItem(MenuItem::newSeparator());
    const uint32_t count = pack != nullptr ? pack->getLanguageCount() : 0;
    int32_t current = -1;
    for (uint32_t i = 0; i < count; ++i)
    {
        s::lang::LangPack* language = pack->getLanguage(i);
        languages_->addItem(MenuItem::newTextMenuItem(language->getTrueName(), CMD_FIRST_LANGUAGE + static_cast<int>(i)));
        if (language == pack->getCurrentLanguage())
        {
            current = static_cast<int32_t>(i);
        }
    }

    about_ = s::gui::win::PopupMenu::Acquire();
    about_->setLanguagePack(pack);
    about_->setTitleId(701000);
    about_->addItem(MenuItem::newMenuItem(701100, pack, CMD_VERSION_INFORMATION, false));
    about_->addItem(MenuItem::newSeparator());
    about_->addItem(MenuItem::newMenuItem(701200, pack, CMD_PRODUCT_PAGE, false));
    about_->addItem(MenuItem::newMenuItem(701300, pack, CMD_FEEDBACK_PAGE, false));
    about_->addItem(MenuItem::newSeparator());
    about_->addItem(MenuItem::newMenuItem(107000, pack, CMD_MORE_SOFTWARE, false));
    about_->addItem(MenuItem::newSeparator());
    about_->addItem(MenuItem::newMenuItem(108100, pack, CMD_WORKPLACE, false));

    if (s::gui::IPopupMenu* own = dialog_.createOwnMenu())
    {
        own->setLanguagePack(pack);
        bar->addMenu(own);
    }
    bar->addMenu(view_);
    bar->addMenu(languages_);
    bar->addMenu(about_);
    if (current >= 0)
    {
        markLanguage(current);
    }
}

void DialogParts::build()
{
    s::gui::win::Window* window = dialog_.getWindow();
    s::gui::IWindowSettings* settings = dialog_.getWindowSettings();
    keepOnTop_ = settings != nullptr ? settings->getKeepOnTop() : false;
    easyDrag_ = settings != nullptr ? settings->getEasyDrag() : false;
    middleClickClose_ = settings != nullptr && settings->getMiddleClickAction() == s::gui::win::Window::ACTION_CLOSE;
    rightClickTransform_ = dialog_.isRightClickTransformOn();
    buildMenus();

    // The band under the menu: a gap, which needs no window.
    s::gui::win::Spacer* band = s::gui::win::newSpacer(1, 2);
    band->setWidthPercent(100);

    mainArea_ = plainBox();
    mainArea_->setWidthPercent(100);
    mainArea_->setHeightPercent(100);
    mainArea_->setInsetLeft(8);
    mainArea_->setInsetRight(8);

    // Upper area: "Keep on Top" between two spacers, the drop box, the options panel.
    upperArea_ = layoutBox();
    upperArea_->setColumnMode();
    spacerAbove_ = vSpacer(0);
    spacerBelow_ = vSpacer(0);
    keepOnTopBox_ = s::gui::win::newCheckBox(Dialog::TEXT_KEEP_ON_TOP, keepOnTop_);
    s::gui::win::GroupBox* group = s::gui::win::newGroupBox(Dialog::TEXT_DROP_BOX, 0, 2, 6, 4, 100, IBox::MODE_ROW);
    dropBox_ = group;
    dropContent_ = group->getContent();
    dropContent_->setAcceptFiles(true);
    dropColumn_ = layoutBox();
    dropColumn_->setColumnMode();
    dropColumn_->setVerticalGap(2);
    s::gui::ILabel* hint = labelById(Dialog::TEXT_DROP_HINT);
    hint->setTextColour(119, 119, 119);
    dropColumn_->add(hint);
    s::gui::ILabel* hint2 = labelById(Dialog::TEXT_DROP_HINT_2);
    hint2->setTextColour(119, 119, 119);
    dropColumn_->add(hint2);
    for (int i = 0; i < 3; ++i)
    {
        dropColumn_->add(labelById(-1));
    }
    dropContent_->add(dropColumn_);
    upperArea_->add(spacerAbove_);
    upperArea_->add(keepOnTopBox_);
    upperArea_->add(spacerBelow_);
    upperArea_->add(dropBox_);
    optionsPanel_ = dialog_.createOptionsPanel();
    if (optionsPanel_ != nullptr)
    {
        upperArea_->add(optionsPanel_);
    }

    // Action region: the chooser row, the action area, the view-switch row.
    actionRegion_ = layoutBox();
    actionRegion_->setColumnMode();
    actionRegion_->setVerticalGap(4);
    actionRow_ = layoutBox();
    actionRow_->setRowMode();
    actionRow_->setHorizontalGap(5);
    actionRow_->alignMiddle();
    actionRow_->add(captionById(Dialog::TEXT_ACTION));
    actionChooser_ = dialog_.createActionChooser();
    if (actionChooser_ != nullptr)
    {
        chooser_ = dynamic_cast<s::gui::IComboBox*>(actionChooser_);
        actionRow_->add(actionChooser_);
    }
    if (!dialog_.showsActionRow())
    {
        actionRow_->setFixedWidth(0);
        actionRow_->setFixedHeight(0);
    }
    // The action area: a frame of colour (145, 155, 156) around a white panel.
    actionArea_ = plainBox();
    actionArea_->setBackgroundColour(145, 155, 156, false);
    actionArea_->setInsets(1);
    actionPanel_ = plainBox();
    actionPanel_->fillParent();
    actionPanel_->setBackgroundWhite(false);
    IComponent* area = dialog_.createActionArea();
    if (area != nullptr)
    {
        actionPanel_->add(area);
    }
    actionArea_->add(actionPanel_);
    // Its own window: a dialog without the switch holds it at no size, which clips the buttons.
    viewSwitchRow_ = plainBox();
    viewSwitchRow_->setRowMode();
    viewSwitchRow_->alignRight();
    viewSwitchRow_->setWidthPercent(100);
    hiddenButton_ = s::gui::win::newButtonSized(L"", 0, 0);
    hiddenButton_->setVisible(false, false);
    viewSwitchButton_ = s::gui::win::newButtonById(Dialog::TEXT_ADVANCED_OPTIONS, -1, 22);
    viewSwitchRow_->add(hiddenButton_);
    viewSwitchRow_->add(viewSwitchButton_);
    actionRegion_->add(actionRow_);
    actionRegion_->add(actionArea_);
    actionRegion_->add(viewSwitchRow_);

    mainArea_->add(upperArea_);
    mainArea_->add(actionRegion_);

    // Status bar: the status label with an empty one after it, the maker link, and the
    // progress box (hidden while idle) with the progress bar and Cancel.
    s::gui::win::StatusBar* statusBar = s::gui::win::StatusBar::Acquire();
    statusBar_ = statusBar;
    statusLabel_ = labelById(Dialog::TEXT_READY);
    statusTail_ = labelById(-1);
    IBox* statusTexts = layoutBox();
    statusTexts->setRowMode();
    statusTexts->alignMiddle();
    statusTexts->setHorizontalGap(4);
    statusTexts->setWidthPercent(100);
    statusTexts->add(statusLabel_);
    statusTexts->add(statusTail_);
    linkBox_ = layoutBox();
    linkBox_->setRowMode();
    linkBox_->alignMiddle();
    makerLink_ = s::gui::win::newLabel(L"vesk", false, false, 1000);
    makerLink_->setTextColour(51, 51, 51);
    makerLink_->setHoverEffect(true);
    linkBox_->add(makerLink_);
    progressBox_ = layoutBox();
    progressBox_->setRowMode();
    progressBox_->alignMiddle();
    s::gui::win::ProgressBar* bar = s::gui::win::ProgressBar::Acquire();
    bar->setFixedWidth(100);
    bar->setFixedHeight(14);
    progressBar_ = bar;
    progressBox_->add(progressBar_);
    progressBox_->add(s::gui::win::newSpacer(0, dialog_.getCancelGapWidth()));
    cancelButton_ = s::gui::win::newButtonByIdSized(dialog_.getCancelButtonWidth() > 0 ? dialog_.getCancelButtonWidth() : -1,
                                                    Dialog::TEXT_CANCEL, 18);
    progressBox_->add(cancelButton_);
    statusBar_->add(statusTexts);
    statusBar_->add(linkBox_);
    statusBar_->add(progressBox_);
    progressBox_->setVisible(false, false);

    if (window != nullptr)
    {
        window->add(menuBar_);
        window->add(band);
        window->add(mainArea_);
        window->add(s::gui::win::newSpacer(1, 3));
        window->add(statusBar_);
        window->setStatusBar(statusBar_);
    }
    // The other combo boxes get their control when first used; the action chooser is where
    // a user starts, and where programs that drive the window look for the actions.
    if (auto* chooser = dynamic_cast<s::gui::win::ComboBox*>(actionChooser_))
    {
        chooser->makeControlNow();
    }
}

void DialogParts::listen()
{
    s::gui::win::Window* window = dialog_.getWindow();
    if (window != nullptr)
    {
        window->addListener(s::gui::IWindow::EVENT_CLOSE, &dialog_);
        window->addListener(s::gui::IWindow::EVENT_RIGHT_DOWN, &dialog_);
        window->addListener(s::gui::IWindow::EVENT_RESTORED, &dialog_);
    }
    if (chooser_ != nullptr)
    {
        chooser_->addSelectionListener(&dialog_);
    }
    menuBar_->addCommandListener(&dialog_);
    keepOnTopBox_->addCheckedListener(&dialog_);
    keepOnTopBox_->addUncheckedListener(&dialog_);
    makerLink_->addClickListener(&dialog_);
    hiddenButton_->addClickListener(&dialog_);
    viewSwitchButton_->addClickListener(&dialog_);
    cancelButton_->addClickListener(&dialog_);
    if (dialog_.dropsOnWholeArea())
    {
        mainArea_->setAcceptFiles(true);
        mainArea_->addDropListener(&dialog_);
    }
    else
    {
        dropContent_->addDropListener(&dialog_);
    }
}

int32_t DialogParts::getActionCount()
{
    return chooser_ != nullptr ? chooser_->getItemCount() : 0;
}

const wchar_t* DialogParts::getActionName(int32_t index)
{
    s::gui::combobox::ComboBoxItem* item = chooser_ != nullptr ? chooser_->getItem(index) : nullptr;
    return item != nullptr ? item->getText() : nullptr;
}

int32_t DialogParts::getSelectedAction()
{
    return chooser_ != nullptr ? chooser_->getSelection() : 0;
}

void DialogParts::selectAction(int32_t index)
{
    if (chooser_ != nullptr && index >= 0 && index < chooser_->getItemCount())
    {
        chooser_->setSelection(index, false);
    }
}

void DialogParts::showActionPanel(int32_t index)
{
    if (dialog_.buildsActionPanels())
    {
        IComponent* panel = dialog_.createActionPanel(index, getActionName(index), 0, 0);
        if (panel != nullptr)
        {
            actionPanel_->removeAll(true);
            actionPanel_->add(panel);
        }
    }
    else if (actionPanel_->getChildCount() > 1)
    {
        actionPanel_->showOnly(index);
    }
    if (dialog_.getWindow() != nullptr)
    {
        dialog_.getWindow()->doLayout();
    }
}

void DialogParts::arrange(bool compact)
{
    if (compact)
    {
        mainArea_->setColumnMode();
        mainArea_->setVerticalGap(7);
        mainArea_->setHorizontalGap(0);
        if (dialog_.showsDropArea())
        {
            upperArea_->setWidthPercent(100);
            upperArea_->setMinWidthOverride(-1);
            upperArea_->alignRight();
        }
        spacerAbove_->setFixedHeight(0);
        spacerBelow_->setFixedHeight(0);
        dropContent_->alignCentre();
        dropColumn_->setFixedWidth(-1);
        dropColumn_->setFixedHeight(-1);
        dropColumn_->setWidthPercent(100);
        if (dialog_.hasViewSwitch())
        {
            // The panels are one click away, on the view-switch button.
            actionRegion_->setHeightPercent(-1);
            actionArea_->setInsets(0);
            actionArea_->setFixedWidth(0);
            actionArea_->setFixedHeight(0);
        }
        else
        {
            // Without a view switch the chosen panel is the only way to see and set what a
            // drop does: it stays, under the drop box.
            actionRegion_->setHeightPercent(100);
            actionRegion_->setWidthPercent(100);
            actionArea_->setInsets(1);
            actionArea_->fillParent();
        }
    }
    else
    {
        mainArea_->setRowMode();
        mainArea_->setHorizontalGap(10);
        mainArea_->setVerticalGap(0);
        if (dialog_.showsDropArea())
        {
            upperArea_->setWidthPercent(-1);
            upperArea_->setMinWidthOverride(dialog_.getLargeDropAreaWidth());
            upperArea_->alignCentre();
        }
        spacerAbove_->setFixedHeight(5);
        spacerBelow_->setFixedHeight(9);
        dropContent_->alignLeft();
        // The drop box keeps its hint, as it is shown when the window opens in this view.
        dropColumn_->setWidthPercent(-1);
        actionRegion_->setHeightPercent(100);
        actionRegion_->setWidthPercent(100);
        actionArea_->setInsets(1);
        actionArea_->fillParent();
    }
    if (!dialog_.hasViewSwitch())
    {
        viewSwitchRow_->setFixedWidth(0);
        viewSwitchRow_->setFixedHeight(0);
    }
}

void DialogParts::showProgressBox(bool running)
{
    linkBox_->setVisible(!running, false);
    progressBox_->setVisible(running, false);
    statusBar_->doLayout();
}

void DialogParts::setStatusTail(const wchar_t* text)
{
    if (statusTail_ != nullptr)
    {
        statusTail_->setText(text, true);
    }
}

void DialogParts::setKeepOnTopChecked(bool on)
{
    keepOnTop_ = on;
    // Both ways of switching the option show the same state: the box and the menu's mark.
    if (keepOnTopBox_ != nullptr && keepOnTopBox_->isChecked() != on)
    {
        keepOnTopBox_->setCheckedSilently(on);
    }
    if (view_ != nullptr)
    {
        view_->setItemChecked(CMD_KEEP_ON_TOP, on);
    }
}

void DialogParts::setEasyDragChecked(bool on)
{
    easyDrag_ = on;
    if (view_ != nullptr)
    {
        view_->setItemChecked(CMD_EASY_DRAG, on);
    }
}

void DialogParts::setMiddleClickChecked(bool on)
{
    middleClickClose_ = on;
    if (view_ != nullptr)
    {
        view_->setItemChecked(CMD_MIDDLE_CLICK_CLOSE, on);
    }
}

void DialogParts::setRightClickTransformChecked(bool on)
{
    rightClickTransform_ = on;
    if (view_ != nullptr && view_->containsId(CMD_RIGHT_CLICK_TRANSFORM))
    {
        view_->setItemChecked(CMD_RIGHT_CLICK_TRANSFORM, on);
    }
}

void DialogParts::markLanguage(int32_t languageIndex)
{
    if (languages_ != nullptr)
    {
        languages_->checkRadioItemOnly(CMD_FIRST_LANGUAGE + languageIndex);
    }
}

bool DialogParts::isKeepOnTopBox(void* source) const
{
    return source != nullptr && source == static_cast<void*>(static_cast<IComponent*>(keepOnTopBox_));
}

bool DialogParts::isMakerLink(void* source) const
{
    return source != nullptr && source == static_cast<void*>(static_cast<IComponent*>(makerLink_));
}

bool DialogParts::isViewSwitchButton(void* source) const
{
    return source != nullptr && source == static_cast<void*>(static_cast<IComponent*>(viewSwitchButton_));
}

bool DialogParts::isActionChooser(void* source) const
{
    return source != nullptr && source == static_cast<void*>(actionChooser_);
}

bool DialogParts::isCancelButton(void* source) const
{
    return source != nullptr && source == static_cast<void*>(static_cast<IComponent*>(cancelButton_));
}

bool DialogParts::isDropSource(void* source) const
{
    return source != nullptr &&
           (source == static_cast<void*>(dropContent_) || (dialog_.dropsOnWholeArea() && source == mainArea_));
}

bool DialogParts::isMenuBar(void* source) const
{
    return source != nullptr && source == static_cast<void*>(menuBar_);
}

const s::str::strarray::StrArray* DialogParts::getDroppedPaths(void* source) const
{
    if (source == static_cast<void*>(dropContent_))
    {
        return dropContent_->getDroppedFiles();
    }
    if (source == static_cast<void*>(mainArea_))
    {
        return mainArea_->getDroppedFiles();
    }
    return nullptr;
}

int32_t DialogParts::getLastMenuCommand() const
{
    return menuBar_ != nullptr ? menuBar_->getLastCommand() : -1;
}

void* DialogParts::getDropBoxHandle() const
{
    return s::gui::win::Toolkit::handleOf(dropContent_);
}

void* DialogParts::getCancelButtonHandle() const
{
    return s::gui::win::Toolkit::handleOf(cancelButton_);
}

const wchar_t* DialogParts::getStatusText() const
{
    return statusLabel_ != nullptr ? statusLabel_->getText() : L"";
}

void DialogParts::StatusTarget::showStatusText(const wchar_t* text)
{
    if (parts->statusLabel_ != nullptr)
    {
        parts->statusLabel_->setText(text, true);
        // The status bar gives the label room for a text that does not fit; a text that fits
        // (most item names of a run) needs no new layout, which would cost every update.
        if (parts->statusLabel_->getMinWidth() > parts->statusLabel_->getWidth())
        {
            parts->statusBar_->doLayout();
        }
    }
}

void DialogParts::ProgressTarget::showProgressRange(int32_t maximum)
{
    if (parts->progressBar_ != nullptr)
    {
        parts->progressBar_->setRange(0, maximum);
    }
}

void DialogParts::ProgressTarget::showProgressPosition(int32_t position)
{
    if (parts->progressBar_ != nullptr)
    {
        parts->progressBar_->setPosition(position);
    }
}

} // namespace s::gui::dialogs::dragndrop
