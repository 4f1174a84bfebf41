#include "s/gui/dialogs/dragndrop/DialogParts.h"

#include "s/gui/IWindowSettings.h"
#include "s/gui/dialogs/dragndrop/Dialog.h"
#include "s/gui/win/Box.h"
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

    mainArea_ = newBox();
    mainArea_->fillParent();
    mainArea_->setInsetLeft(8);
    mainArea_->setInsetRight(8);

    upperArea_ = newBox();
    upperArea_->setColumnMode();
    spacerAbove_ = newBox();
    spacerBelow_ = newBox();
    dropBox_ = newBox();
    dropContent_ = dropBox_;
    dropBox_->setAcceptFiles(true);
    upperArea_->add(spacerAbove_);
    upperArea_->add(spacerBelow_);
    upperArea_->add(dropBox_);
    optionsPanel_ = dialog_.createOptionsPanel();
    if (optionsPanel_ != nullptr)
    {
        upperArea_->add(optionsPanel_);
    }

    actionRegion_ = newBox();
    actionRegion_->setColumnMode();
    actionRegion_->setVerticalGap(4);
    actionRow_ = newBox();
    actionRow_->setRowMode();
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
    IComponent* area = dialog_.createActionArea();
    if (area != nullptr)
    {
        actionArea_->add(area);
    }
    viewSwitchRow_ = newBox();
    viewSwitchRow_->setRowMode();
    actionRegion_->add(actionRow_);
    actionRegion_->add(actionArea_);
    actionRegion_->add(viewSwitchRow_);

    mainArea_->add(upperArea_);
    mainArea_->add(actionRegion_);

    statusBar_ = newBox();
    statusBar_->setRowMode();
    statusBar_->setFixedHeight(22);
    statusBar_->setWidthPercent(100);
    linkBox_ = newBox();
    progressBox_ = newBox();
    progressBox_->setRowMode();
    statusBar_->add(linkBox_);
    statusBar_->add(progressBox_);
    progressBox_->setVisible(false, false);

    if (window != nullptr)
    {
        window->add(mainArea_);
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
    (void)text;
}

void DialogParts::setKeepOnTopChecked(bool on)
{
    keepOnTop_ = on;
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
    (void)source;
    return false;
}

bool DialogParts::isMakerLink(void* source) const
{
    (void)source;
    return false;
}

bool DialogParts::isViewSwitchButton(void* source) const
{
    (void)source;
    return false;
}

bool DialogParts::isActionChooser(void* source) const
{
    return source != nullptr && source == static_cast<void*>(actionChooser_);
}

bool DialogParts::isCancelButton(void* source) const
{
    (void)source;
    return false;
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
    return nullptr;
}

void DialogParts::StatusTarget::showStatusText(const wchar_t* text)
{
    (void)text;
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
