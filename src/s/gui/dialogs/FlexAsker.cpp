#include "s/gui/dialogs/FlexAsker.h"

#include <windows.h>

#include <algorithm>

#include "s/app/IAppBase.h"
#include "s/app/win/AppWindow.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/Button.h"
#include "s/gui/win/CheckBox.h"
#include "s/gui/win/Label.h"
#include "s/gui/win/Toolkit.h"
#include "s/gui/win/Window.h"
#include "s/lang/Localizer.h"

namespace s::gui::dialogs
{

using win::Box;
using win::Button;
using win::Window;

namespace
{

constexpr int BUTTON_WIDTH = 80;
constexpr int BUTTON_HEIGHT = 23;

Box* space(int height)
{
    Box* b = Box::Acquire();
    b->setFixedHeight(height);
    b->setTransparent(false);
    return b;
}

} // namespace

FlexAsker::FlexAsker() = default;

FlexAsker::~FlexAsker()
{
    if (window_)
        window_->Release();
}

void FlexAsker::Reset()
{
    if (window_)
        window_->Release();
    window_ = nullptr;
    shown_ = nullptr;
    first_ = second_ = nullptr;
    checkBox_ = nullptr;
    owner_ = nullptr;
    appWindow_ = nullptr;
    localizer_ = nullptr;
    answer_ = dontAskAgain_ = false;
    firstIsDefault_ = true;
}

void FlexAsker::bind(app::win::AppWindow* appWindow)
{
    appWindow_ = appWindow;
    localizer_ = appWindow ? appWindow->getLocalizer() : nullptr;
}

const wchar_t* FlexAsker::text(int32_t id)
{
    return localizer_ ? localizer_->getText(id) : L"";
}

bool FlexAsker::ask(gui::IWindow* owner, const wchar_t* title, const wchar_t* question, bool* dontAskAgain)
{
    if (dontAskAgain)
        *dontAskAgain = false;
    if (!appWindow_)
        return false;
    owner_ = owner;
    answer_ = false;
    dontAskAgain_ = false;
    firstIsDefault_ = true;
    appWindow_->forgetBounds();
    window_ = Window::Acquire();
    if (!window_ || !window_->getHandle())
    {
        if (window_)
            window_->Release();
        window_ = nullptr;
        return false;
    }
    window_->setResizable(true);
    window_->setClientEdge(false);
    window_->setMaximizeBox(false);
    window_->setMinimizeBox(false);
    window_->setLocalizer(localizer_);
    appWindow_->attachSkinner(window_);
    window_->setSettingsObject(appWindow_);
    window_->setTitle(title ? title : text(TEXT_TITLE));
    window_->addListener(IWindow::EVENT_CLOSE, this);
    window_->addListener(IWindow::EVENT_KEY_DOWN, this);
    build(question ? question : text(TEXT_QUESTION));

    // 375 pixels wide, centred over the owner.
    window_->doLayout();
    int w = std::max(WIDTH, window_->getMinWidth());
    int h = std::max(window_->getHeight(), window_->getMinHeight());
    HWND ownerHandle = owner_ ? win::Toolkit::handleOf(owner_) : nullptr;
    RECT over{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (ownerHandle)
        GetWindowRect(ownerHandle, &over);
    int x = over.left + (over.right - over.left - w) / 2, y = over.top + (over.bottom - over.top - h) / 2;
    // Through the settings object too: showing places the window where its settings say.
    appWindow_->setBounds(x, y, w, h);
    window_->setBounds(x, y, w, h);
    window_->doLayout();
    window_->moveIntoScreen();
    window_->setVisible(true, false);
    first_->setDefault(true);
    SetFocus(win::Toolkit::handleOf(first_));
    if (ownerHandle)
        EnableWindow(ownerHandle, FALSE);
    shown_ = window_;

    while (!window_->isClosed())
        Sleep(100);

    if (ownerHandle)
    {
        EnableWindow(ownerHandle, TRUE);
        SetForegroundWindow(ownerHandle);
    }
    bool answer = answer_;
    if (dontAskAgain)
        *dontAskAgain = checkBox_ && checkBox_->isChecked();
    shown_ = nullptr;
    window_->Release();
    window_ = nullptr;
    first_ = second_ = nullptr;
    checkBox_ = nullptr;
    return answer;
}

void FlexAsker::build(const wchar_t* question)
{
    Box* column = Box::Acquire();
    column->setColumnMode();
    column->fillParent();
    column->alignCentre();
    column->setInsetsHorizontal(10);
    column->setInsetsVertical(2);
    column->add(space(10));
    win::Label* asked = win::Label::Acquire();
    asked->setText(question, false);
    asked->setTransparent(false);
    column->add(asked);
    column->add(space(12));

    Box* answers = Box::Acquire();
    answers->setRowMode();
    answers->setWidthPercent(100);
    answers->alignRight();
    answers->setHorizontalGap(7);
    first_ = Button::Acquire();
    first_->setTextId(TEXT_FIRST);
    first_->setText(text(TEXT_FIRST));
    second_ = Button::Acquire();
    second_->setTextId(TEXT_SECOND);
    second_->setText(text(TEXT_SECOND));
    for (Button* b : {first_, second_})
    {
        b->setFixedWidth(BUTTON_WIDTH);
        b->setFixedHeight(BUTTON_HEIGHT);
        b->addClickListener(this);
        answers->add(b);
    }
    column->add(answers);

    Box* checkRow = Box::Acquire();
    checkRow->setRowMode();
    checkRow->setWidthPercent(100);
    checkBox_ = win::CheckBox::Acquire();
    checkBox_->setTextId(TEXT_DONT_ASK);
    checkRow->add(checkBox_);
    column->add(checkRow);
    column->add(space(5));
    window_->add(column);
}

void FlexAsker::moveDefault(bool toFirst)
{
    firstIsDefault_ = toFirst;
    first_->setDefault(toFirst);
    second_->setDefault(!toFirst);
}

void FlexAsker::handleEvent(void* source, int kind)
{
    if (!window_ || !source)
        return;
    if (source == static_cast<void*>(static_cast<gui::IWindow*>(window_)))
    {
        if (kind == IWindow::EVENT_KEY_DOWN)
        {
            int key = window_->getLastKey();
            if (key == VK_TAB)
            {
                moveDefault(!firstIsDefault_);
            }
            else if (key == VK_RETURN)
            {
                answer_ = firstIsDefault_;
                window_->close();
            }
        }
        return;
    }
    if (first_ && source == first_->self())
    {
        answer_ = true;
        window_->close();
    }
    else if (second_ && source == second_->self())
    {
        answer_ = false;
        window_->close();
    }
}

} // namespace s::gui::dialogs
