#include "s/gui/dialogs/dragndrop/DialogParts.h"

#include "s/gui/IWindowSettings.h"
#include "s/gui/dialogs/dragndrop/Dialog.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/Button.h"
#include "s/gui/win/CheckBox.h"
#include "s/gui/win/Label.h"
#include "s/gui/win/Window.h"

namespace s::gui::dialogs::dragndrop
{

using s::gui::IBox;
using s::gui::IComponent;
using s::gui::win::Box;

namespace
{
IBox* newBox()
{
    return static_cast<IBox*>(Box::Acquire());
}

// A label taking its text by id (-1: empty).
s::gui::ILabel* newLabel(int32_t textId)
{
    s::gui::win::Label* label = s::gui::win::Label::Acquire();
    label->setTransparent(false);
    if (textId != -1)
    {
        label->setTextId(textId);
    }
    return label;
}

// A push button taking its text by id; fixed width and height when not negative.
s::gui::IButton* newButton(int32_t textId, int32_t width, int32_t height)
{
    s::gui::win::Button* button = s::gui::win::Button::Acquire();
    if (textId != -1)
    {
        button->setTextId(textId);
    }
    if (width >= 0)
    {
        button->setFixedWidth(width);
    }
    if (height >= 0)
    {
        button->setFixedHeight(height);
    }
    return button;
}

s::gui::ICheckBox* newCheckBox(int32_t textId, bool checked)
{
    s::gui::win::CheckBox* box = s::gui::win::CheckBox::Acquire();
    box->setTextId(textId);
    box->setCheckedSilently(checked);
    return box;
}
} // namespace

IComponent* Dialog::createActionChooser()
{
    return nullptr;
}

DialogParts::DialogParts(Dialog& dialog) : dialog_(dialog)
{
    statusTarget_.parts = this;
    progressTarget_.parts = this;
}

DialogParts::~DialogParts() = default;

void DialogParts::build()
{
    s::gui::win::Window* window = dialog_.getWindow();
    s::gui::IWindowSettings* settings = dialog_.getWindowSettings();
    keepOnTop_ = settings != nullptr ? settings->getKeepOnTop() : false;
    easyDrag_ = settings != nullptr ? settings->getEasyDrag() : false;
    middleClickClose_ = settings != nullptr && settings->getMiddleClickAction() == s::gui::win::Window::ACTION_CLOSE;
    rightClickTransform_ = true;

    // The band under the menu.
    IBox* band = newBox();
    band->setWidthPercent(100);
    band->setFixedHeight(2);

    mainArea_ = newBox();
    mainArea_->setWidthPercent(100);
    mainArea_->setHeightPercent(100);
    mainArea_->setInsetLeft(8);
    mainArea_->setInsetRight(8);

    // Upper area: "Keep on Top" between two spacers, the drop box, the options panel.
    upperArea_ = newBox();
    upperArea_->setColumnMode();
    spacerAbove_ = newBox();
    spacerBelow_ = newBox();
    keepOnTopBox_ = newCheckBox(Dialog::TEXT_KEEP_ON_TOP, keepOnTop_);
    dropBox_ = newBox();
    dropBox_->setColumnMode();
    dropBox_->setInsets(8);
    dropBox_->setVerticalGap(2);
    dropBox_->setBackgroundColour(250, 250, 250, false);
    dropContent_ = dropBox_;
    dropBox_->setAcceptFiles(true);
    s::gui::ILabel* caption = newLabel(Dialog::TEXT_DROP_BOX);
    caption->setBold(true);
    dropBox_->add(caption);
    s::gui::ILabel* hint = newLabel(Dialog::TEXT_DROP_HINT);
    hint->setTextColour(119, 119, 119);
    dropBox_->add(hint);
    s::gui::ILabel* hint2 = newLabel(Dialog::TEXT_DROP_HINT_2);
    hint2->setTextColour(119, 119, 119);
    dropBox_->add(hint2);
    for (int i = 0; i < 3; ++i)
    {
        dropBox_->add(newLabel(-1));
    }
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
    actionRegion_ = newBox();
    actionRegion_->setColumnMode();
    actionRegion_->setVerticalGap(4);
    actionRow_ = newBox();
    actionRow_->setRowMode();
    actionRow_->setHorizontalGap(5);
    actionRow_->alignMiddle();
    actionRow_->add(newLabel(Dialog::TEXT_ACTION));
    actionChooser_ = dialog_.createActionChooser();
    if (actionChooser_ != nullptr)
    {
        actionRow_->add(actionChooser_);
    }
    if (!dialog_.showsActionRow())
    {
        actionRow_->setFixedWidth(0);
        actionRow_->setFixedHeight(0);
    }
    actionArea_ = newBox();
    actionArea_->setBackgroundWhite(false);
    actionArea_->setBackgroundOverride(255, 255, 255);
    actionArea_->setInsets(1);
    IComponent* area = dialog_.createActionArea();
    if (area != nullptr)
    {
        actionArea_->add(area);
    }
    viewSwitchRow_ = newBox();
    viewSwitchRow_->setRowMode();
    viewSwitchRow_->alignRight();
    viewSwitchRow_->setWidthPercent(100);
    hiddenButton_ = newButton(-1, 0, 0);
    hiddenButton_->setVisible(false, false);
    viewSwitchButton_ = newButton(Dialog::TEXT_ADVANCED_OPTIONS, -1, 22);
    viewSwitchRow_->add(hiddenButton_);
    viewSwitchRow_->add(viewSwitchButton_);
    actionRegion_->add(actionRow_);
    actionRegion_->add(actionArea_);
    actionRegion_->add(viewSwitchRow_);

    mainArea_->add(upperArea_);
    mainArea_->add(actionRegion_);

    IBox* gap = newBox();
    gap->setFixedHeight(3);

    // Status bar: the status label with an empty one after it, the maker link, and the
    // progress box (hidden while idle) with Cancel.
    statusBar_ = newBox();
    statusBar_->setRowMode();
    statusBar_->alignMiddle();
    statusBar_->setHorizontalGap(6);
    statusBar_->setInsetsHorizontal(6);
    statusBar_->setFixedHeight(24);
    statusBar_->setWidthPercent(100);
    statusLabel_ = newLabel(Dialog::TEXT_READY);
    statusTail_ = newLabel(-1);
    IBox* statusTexts = newBox();
    statusTexts->setRowMode();
    statusTexts->alignMiddle();
    statusTexts->setHorizontalGap(4);
    statusTexts->setWidthPercent(100);
    statusTexts->add(statusLabel_);
    statusTexts->add(statusTail_);
    linkBox_ = newBox();
    linkBox_->setRowMode();
    linkBox_->alignMiddle();
    makerLink_ = newLabel(-1);
    static_cast<s::gui::win::Label*>(makerLink_)->setText(L"vesk", false);
    makerLink_->setTextColour(51, 51, 51);
    makerLink_->setHoverEffect(true);
    linkBox_->add(makerLink_);
    progressBox_ = newBox();
    progressBox_->setRowMode();
    progressBox_->alignMiddle();
    IBox* cancelGap = newBox();
    cancelGap->setFixedWidth(dialog_.getCancelGapWidth());
    progressBox_->add(cancelGap);
    cancelButton_ = newButton(Dialog::TEXT_CANCEL, dialog_.getCancelButtonWidth() > 0 ? dialog_.getCancelButtonWidth() : -1, 18);
    progressBox_->add(cancelButton_);
    statusBar_->add(statusTexts);
    statusBar_->add(linkBox_);
    statusBar_->add(progressBox_);
    progressBox_->setVisible(false, false);

    if (window != nullptr)
    {
        window->add(band);
        window->add(mainArea_);
        window->add(gap);
        window->add(statusBar_);
        window->setStatusBar(statusBar_);
    }
}

void DialogParts::listen()
{
    s::gui::win::Window* window = dialog_.getWindow();
    if (window != nullptr)
    {
        window->addListener(s::gui::IWindow::EVENT_CLOSE, &dialog_);
        window->addListener(s::gui::IWindow::EVENT_REQUEST, &dialog_);
        window->addListener(s::gui::IWindow::EVENT_RIGHT_DOWN, &dialog_);
        window->addListener(s::gui::IWindow::EVENT_RESTORED, &dialog_);
    }
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
    return 0;
}

const wchar_t* DialogParts::getActionName(int32_t index)
{
    (void)index;
    return nullptr;
}

int32_t DialogParts::getSelectedAction()
{
    return 0;
}

void DialogParts::selectAction(int32_t index)
{
    (void)index;
}

void DialogParts::showActionPanel(int32_t index)
{
    if (dialog_.buildsActionPanels())
    {
        IComponent* panel = dialog_.createActionPanel(index, getActionName(index), 0, 0);
        if (panel != nullptr)
        {
            actionArea_->removeAll(true);
            actionArea_->add(panel);
        }
    }
    else if (actionArea_->getChildCount() > 1)
    {
        actionArea_->showOnly(index);
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
        dropBox_->alignCentre();
        actionRegion_->setHeightPercent(-1);
        actionArea_->setFixedWidth(0);
        actionArea_->setFixedHeight(0);
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
        dropBox_->alignLeft();
        actionRegion_->setHeightPercent(100);
        actionRegion_->setWidthPercent(100);
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
}

void DialogParts::setEasyDragChecked(bool on)
{
    easyDrag_ = on;
}

void DialogParts::setMiddleClickChecked(bool on)
{
    middleClickClose_ = on;
}

void DialogParts::setRightClickTransformChecked(bool on)
{
    rightClickTransform_ = on;
}

void DialogParts::markLanguage(int32_t languageIndex)
{
    (void)languageIndex;
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
    (void)source;
    return false;
}

const s::str::strarray::StrArray* DialogParts::getDroppedPaths(void* source) const
{
    (void)source;
    return nullptr;
}

int32_t DialogParts::getLastMenuCommand() const
{
    return -1;
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
        // The status bar gives the label room for its new text.
        parts->statusBar_->doLayout();
    }
}

void DialogParts::ProgressTarget::showProgressRange(int32_t maximum)
{
    (void)maximum;
}

void DialogParts::ProgressTarget::showProgressPosition(int32_t position)
{
    (void)position;
}

} // namespace s::gui::dialogs::dragndrop
