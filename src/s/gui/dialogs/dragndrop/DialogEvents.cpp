// The drop dialog's building, event dispatch, menu commands and views.
#include "s/gui/dialogs/dragndrop/Dialog.h"

#include <algorithm>

#include "s/app/IAppBase.h"
#include "s/app/IAppWindow.h"
#include "s/app/win/AppWindow.h"
#include "s/gui/IContainer.h"
#include "s/gui/IWindowSettings.h"
#include "s/gui/dialogs/About3.h"
#include "s/gui/drawer/Skinner.h"
#include "s/gui/dialogs/dragndrop/DialogParts.h"
#include "s/gui/win/Factories.h"
#include "s/gui/layout/Tree.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/CopyData.h"
#include "s/gui/win/Window.h"
#include "s/lang/Localizer.h"
#include "s/map/IMappedData.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/sys/StepProfile.h"

namespace s::gui::dialogs::dragndrop
{

using s::gui::win::Window;
using s::sys::StepProfile;

namespace
{
// Menu commands.
constexpr int32_t CMD_TRANSLATE_PAGE = 0;
constexpr int32_t CMD_FIRST_LANGUAGE = 2;
constexpr int32_t CMD_KEEP_ON_TOP = 100;
constexpr int32_t CMD_RIGHT_CLICK_TRANSFORM = 110;
constexpr int32_t CMD_EASY_DRAG = 120;
constexpr int32_t CMD_MIDDLE_CLICK_CLOSE = 125;
constexpr int32_t CMD_ASK_CONFIRMATION = 250;
constexpr int32_t CMD_VERSION_INFORMATION = 10000;
constexpr int32_t CMD_PRODUCT_PAGE = 10100;
constexpr int32_t CMD_FEEDBACK_PAGE = 10200;
constexpr int32_t CMD_MORE_SOFTWARE = 10900;
constexpr int32_t CMD_WORKPLACE = 10950;

} // namespace

s::gui::IComponent* Dialog::createActionArea()
{
    s::gui::win::Box* area = s::gui::win::Box::Acquire();
    return static_cast<s::gui::IBox*>(area);
}

s::gui::IComponent* Dialog::createOptionsPanel()
{
    // No options: a gap of no size, which needs no window.
    return s::gui::win::newSpacer(1, 0);
}

bool Dialog::buildAndShow()
{
    if (window_ != nullptr)
    {
        return false;
    }
    onBuildStarting();
    window_ = Window::Acquire();
    window_->setMaximizeBox(isMaximizable());
    window_->setResizable(true);
    if (localizer_ != nullptr)
    {
        window_->setLocalizer(localizer_);
    }
    if (settings_ != nullptr)
    {
        window_->setSettingsObject(settings_);
    }
    StepProfile::mark(L"window made");
    rightClickTransform_ = store_ != nullptr ? store_->getBool(getViewSection(), L"RightClickTransform", true) : true;
    window_->addListener(s::gui::IWindow::EVENT_REQUEST, this);
    // Without a native window the request is not served: the parts are then built here and
    // only keep their stored state.
    if (window_->sendRequest(BUILD_REQUEST, 0, 0, 0) != BUILD_REQUEST)
    {
        buildOnWindowThread();
    }
    StepProfile::finish();
    if (window_->getHandle() == nullptr)
    {
        return false;
    }
    onShown();
    return true;
}

void Dialog::buildOnWindowThread()
{
    parts_ = new DialogParts(*this);
    parts_->build();
    StepProfile::mark(L"dialog parts built");
    reporter_.setStatusTarget(parts_->getStatusTarget());
    reporter_.setProgressTarget(parts_->getProgressTarget());
    onBuilt();
    StepProfile::mark(L"dialog's own set-up (settings restored)");
    parts_->listen();
    window_->addListener(s::gui::IWindow::EVENT_TIMER, this);

    const int32_t chosen = getSavedActionIndex();
    parts_->selectAction(chosen);
    parts_->showActionPanel(chosen);
    StepProfile::mark(L"saved action chosen");

    const bool compact =
        store_ != nullptr ? store_->getBool(getViewSection(), L"CompactView", getDefaultCompactView()) : getDefaultCompactView();
    applyView(false, compact);
    StepProfile::mark(L"view applied (sizes measured)");

    window_->doLayout();
    window_->moveIntoScreen();
    StepProfile::mark(L"laid out and placed");
    // The keyboard starts where a user starts, at the action chooser: left on the window
    // itself, the focus would reach no control by Tab.
    window_->setFirstFocus(parts_->getActionChooser());
    window_->setVisible(true, false);
    StepProfile::mark(L"shown and painted");
}

const wchar_t* Dialog::getSavedActionName()
{
    return store_ != nullptr ? store_->getString(getViewSection(), L"ConvertTo", L"", nullptr, false) : L"";
}

int32_t Dialog::getSavedActionIndex()
{
    const wchar_t* saved = getSavedActionName();
    const int32_t count = parts_ != nullptr ? parts_->getActionCount() : 0;
    for (int32_t i = 0; i < count && saved[0] != L'\0'; ++i)
    {
        const wchar_t* name = parts_->getActionName(i);
        if (name != nullptr && lstrcmpiW(name, saved) == 0)
        {
            return i;
        }
    }
    return getDefaultActionIndex();
}

void Dialog::buildAndRun()
{
    if (buildAndShow())
    {
        window_->waitUntilClosed();
    }
}

void Dialog::storeWindowSize(bool compact)
{
    if (store_ == nullptr || window_ == nullptr)
    {
        return;
    }
    store_->setS32(getViewSection(), compact ? L"SmallWidth" : L"LargeWidth", window_->getWidth());
    store_->setS32(getViewSection(), compact ? L"SmallHeight" : L"LargeHeight", window_->getHeight());
}

void Dialog::fitWindowToContent(s::gui::IComponent* changed)
{
    s::gui::win::Window* window = window_;
    if (window == nullptr)
    {
        return;
    }
    if (changed == nullptr)
    {
        s::gui::layout::layoutFromInside(window);
    }
    else
    {
        s::gui::layout::layoutFromInside(changed);
        for (s::gui::IComponent* holder = changed->getParent(); holder != nullptr; holder = holder->getParent())
        {
            if (auto* container = dynamic_cast<s::gui::IContainer*>(holder))
                container->doLayout();
        }
    }
    window->doLayout();
    window->doLayout();
    int width = std::max(window->getWidth(), window->getMinWidth());
    int height = std::max(window->getHeight(), window->getMinHeight());
    if (!compactView_)
    {
        const int dpi = window->getDpi();
        width = std::max(width, s::gui::win::Toolkit::scale(getLargeWidth(), dpi));
        height = std::max(height, s::gui::win::Toolkit::scale(getLargeHeight(), dpi));
    }
    window->setSize(width, height);
}

void Dialog::applyView(bool saveOldSize, bool compact)
{
    if (saveOldSize)
    {
        storeWindowSize(compactView_);
    }
    compactView_ = compact;
    if (parts_ != nullptr)
    {
        parts_->arrange(compact);
    }
    if (window_ != nullptr)
    {
        // The view changed sizes deep in the tree (collapsed rows, fixed and percentage
        // sizes): every box learns its new limits before the window is laid out.
        s::gui::layout::layoutFromInside(window_);
        // The view's sizes are stated for 96 DPI; a saved size is the window's own (physical
        // pixels of the screen it was on) and is taken as it stands.
        const int dpi = window_->getDpi();
        int32_t width = s::gui::win::Toolkit::scale(compact ? getCompactWidth() : getLargeWidth(), dpi);
        int32_t height = s::gui::win::Toolkit::scale(compact ? getCompactHeight() : getLargeHeight(), dpi);
        if (store_ != nullptr)
        {
            width = store_->getS32(getViewSection(), compact ? L"SmallWidth" : L"LargeWidth", width);
            height = store_->getS32(getViewSection(), compact ? L"SmallHeight" : L"LargeHeight", height);
        }
        window_->setSize(width, height);
        window_->doLayout();
        window_->doLayout();
        window_->setSize(std::max(window_->getWidth(), window_->getMinWidth()),
                         std::max(window_->getHeight(), window_->getMinHeight()));
        // The view's size replaces the window's own saved size: showing the window takes
        // its geometry from the settings object.
        if (settings_ != nullptr)
        {
            const bool placed = settings_->hasSavedPosition();
            settings_->setBounds(placed ? settings_->getX() : window_->getX(), placed ? settings_->getY() : window_->getY(),
                                 window_->getWidth(), window_->getHeight());
        }
    }
    if (store_ != nullptr)
    {
        store_->setBool(getViewSection(), L"CompactView", compact);
    }
}

void Dialog::handleEvent(void* source, int kind)
{
    s::gui::IWindow* window = window_;
    const bool fromWindow = window != nullptr && source == static_cast<void*>(window);
    if (fromWindow && kind == s::gui::IWindow::EVENT_REQUEST && window_->getRequestValue1() == BUILD_REQUEST)
    {
        if (parts_ == nullptr)
        {
            buildOnWindowThread();
        }
        window_->setRequestResult(BUILD_REQUEST);
        return;
    }

    // 1. A close request stores the size of the view shown.
    if (fromWindow && kind == s::gui::IWindow::EVENT_CLOSE)
    {
        storeWindowSize(compactView_);
    }
    // 2. The derived dialog first.
    if (handleOwnEvent(source, kind))
    {
        return;
    }
    if (parts_ == nullptr)
    {
        return;
    }
    // 3. "Keep on Top": the window, and the View menu's mark with it.
    if (parts_->isKeepOnTopBox(source))
    {
        const bool on = kind == 1;
        parts_->setKeepOnTopChecked(on);
        if (window != nullptr)
        {
            window->setTopmost(on);
        }
        return;
    }
    if (fromWindow)
    {
        switch (kind)
        {
        case s::gui::IWindow::EVENT_RESTORED:
            minimizedByButton_ = false;
            return;
        case s::gui::IWindow::EVENT_CLOSE:
            cancelProcessing(false);
            return;
        case s::gui::IWindow::EVENT_RIGHT_DOWN:
            if (hasViewSwitch() && rightClickTransform_)
            {
                window->setVisible(false, false);
                applyView(true, !compactView_);
                window->setVisible(true, false);
            }
            return;
        case s::gui::IWindow::EVENT_REQUEST:
            if (window_->getRequestValue1() == s::gui::win::REQUEST_COPY_DATA)
            {
                handleCopyData();
            }

            else
            {
                handleStatusRequest();
            }
            return;
        case s::gui::IWindow::EVENT_TIMER:
            if (window_->getLastTimerId() == GATHER_TIMER)
            {
                dropWaitingPaths();
            }
            return;
        default:
            return;
        }
    }
    if (parts_->isMakerLink(source))
    {
        openPageById(TEXT_MAKER_PAGE);
    }
    else if (parts_->isViewSwitchButton(source))
    {
        if (hasViewSwitch() && window != nullptr)
        {
            window->setVisible(false, false);
            applyView(true, !compactView_);
            window->setVisible(true, false);
        }
    }
    else if (parts_->isActionChooser(source))
    {
        const int32_t index = parts_->getSelectedAction();
        parts_->showActionPanel(index);
        const wchar_t* name = parts_->getActionName(index);
        if (store_ != nullptr && name != nullptr)
        {
            store_->setString(getViewSection(), L"ConvertTo", name);
        }
    }
    else if (parts_->isCancelButton(source))
    {
        cancelProcessing(false);
    }
    else if (parts_->isDropSource(source))
    {
        if (kind == 1)
        {
            acceptDrop(parts_->getDroppedPaths(source));
        }
    }
    else if (parts_->isMenuBar(source))
    {
        runMenuCommand(parts_->getLastMenuCommand());
    }
}

void Dialog::runMenuCommand(int32_t command)
{
    s::gui::IWindow* window = window_;
    if (parts_ == nullptr)
    {
        return;
    }
    if (command == CMD_TRANSLATE_PAGE)
    {
        openPageById(108500);
    }
    else if (command >= CMD_FIRST_LANGUAGE && command < CMD_KEEP_ON_TOP)
    {
        if (localizer_ == nullptr || static_cast<uint32_t>(command - CMD_FIRST_LANGUAGE) >= localizer_->getLanguageCount())
        {
            return;
        }
        // Not saved: the next start speaks the saved (or the system's) language again.
        localizer_->selectLanguageIndex(static_cast<uint32_t>(command - CMD_FIRST_LANGUAGE));
        parts_->markLanguage(command - CMD_FIRST_LANGUAGE);
        // Every text may have changed its size: no box keeps the limits of the old texts.
        fitWindowToContent();
    }
    else if (command == CMD_KEEP_ON_TOP)
    {
        const bool on = !parts_->isKeepOnTopChecked();
        parts_->setKeepOnTopChecked(on);
        if (window != nullptr)
        {
            window->setTopmost(on);
        }
    }
    else if (command == CMD_RIGHT_CLICK_TRANSFORM)
    {
        if (!hasViewSwitch())
        {
            return;
        }
        const bool on = !parts_->isRightClickTransformChecked();
        parts_->setRightClickTransformChecked(on);
        rightClickTransform_ = on;
        if (store_ != nullptr)
        {
            store_->setBool(getViewSection(), L"RightClickTransform", on);
        }
    }
    else if (command == CMD_EASY_DRAG)
    {
        const bool on = !parts_->isEasyDragChecked();
        if (window != nullptr)
        {
            window->setDragByClientArea(on);
        }
        parts_->setEasyDragChecked(on);
    }
    else if (command == CMD_MIDDLE_CLICK_CLOSE)
    {
        const bool wasChecked = parts_->isMiddleClickChecked();
        parts_->setMiddleClickChecked(!wasChecked);
        if (window != nullptr)
        {
            window->setMiddleClickAction(wasChecked ? Window::ACTION_DO_NOTHING : Window::ACTION_CLOSE);
        }
    }
    else if (command == CMD_ASK_CONFIRMATION)
    {
        if (!hasAskConfirmation())
        {
            return;
        }
        askConfirmation_ = !askConfirmation_;
        if (store_ != nullptr)
        {
            store_->setBool(getViewSection(), L"AskConfirmation", askConfirmation_);
        }
    }
    else if (command == CMD_VERSION_INFORMATION)
    {
        showVersionWindow();
    }
    else if (command == CMD_PRODUCT_PAGE)
    {
        openPageById(textBase_ + s::app::IAppBase::TEXT_PRODUCT_PAGE);
    }
    else if (command == CMD_FEEDBACK_PAGE)
    {
        openPageById(textBase_ + s::app::IAppBase::TEXT_FEEDBACK_PAGE);
    }
    else if (command == CMD_MORE_SOFTWARE)
    {
        openPageById(108000);
    }
    else if (command == CMD_WORKPLACE)
    {
        openPageById(108200);
    }
    else if (command >= OWN_COMMAND_FIRST)
    {
        runOwnCommand(command);
    }
    else
    {
        runShellCommand(command);
    }
}

void Dialog::showVersionWindow()
{
    if (about_ == nullptr)
    {
        auto* main = dynamic_cast<s::app::IAppWindow*>(settings_);
        s::app::IAppBase* app = main != nullptr ? main->getAppBase() : nullptr;
        if (app == nullptr)
        {
            return;
        }
        // The settings object takes the new skin manager over.
        aboutSettings_ = s::app::win::AppWindow::Acquire();
        aboutSettings_->init(app, L"AboutWindow", app->getSoftwareType(), 340, 285, Window::ACTION_CLOSE,
                             s::gui::drawer::Skinner::newSkinSet(s::gui::drawer::Skinner::FAMILY_THIN_WINDOW),
                             L"Classic LG");
        about_ = s::gui::dialogs::About3::Acquire();
        about_->bind(aboutSettings_);
    }
    about_->show(window_);
}

} // namespace s::gui::dialogs::dragndrop
