#include "s/app/win/AppWindow.h"

#include <windows.h>

#include "s/app/IAppBase.h"
#include "s/app/win/AppBase.h"
#include "s/gui/drawer/Skinner.h"
#include "s/gui/win/Window.h"
#include "s/lang/Localizer.h"
#include "s/map/IMappedData.h"
#include "s/str/strbuffer/StrBuffer.h"

using s::gui::win::Window;
using s::lang::Localizer;
using s::map::IMappedData;
using s::str::strbuffer::StrBuffer;

namespace s::app::win {

namespace {
const bool g_memberPoolsMadeFirst = (StrBuffer::Pool(), true);
} // namespace

AppWindow::AppWindow()
    : scratch_(StrBuffer::Acquire()), section_(StrBuffer::Acquire()), name_(StrBuffer::Acquire()),
      softwareType_(IAppBase::SOFTWARE_FREEWARE), textBase_(IAppBase::TEXT_BASE_FREEWARE),
      defaultSkin_(StrBuffer::Acquire()), middleClickAction_(Window::ACTION_CLOSE)
{
    (void)g_memberPoolsMadeFirst;
}

AppWindow::~AppWindow()
{
    Reset();
    for (StrBuffer* text : {scratch_, section_, name_, defaultSkin_})
    {
        if (text)
            text->Release();
    }
}

void AppWindow::Reset()
{
    app_ = nullptr;
    softwareType_ = IAppBase::SOFTWARE_FREEWARE;
    textBase_ = IAppBase::TEXT_BASE_FREEWARE;
    // An own language pack would be released here; this program never gives a window one.
    localizer_ = nullptr;
    if (ownSkinner_ && skinner_)
        skinner_->Release();
    skinner_ = nullptr;
    ownSkinner_ = false;
    defaultWidth_ = 500;
    defaultHeight_ = 500;
    easyDrag_ = true;
    maximized_ = false;
    keepOnTop_ = false;
    middleClickAction_ = Window::ACTION_CLOSE;
    showVersion_ = true;
    for (StrBuffer* text : {scratch_, section_, name_, defaultSkin_})
    {
        if (text)
            text->Clear();
    }
}

const wchar_t* AppWindow::actionOf(const wchar_t* text)
{
    if (text == Window::ACTION_CLOSE || text == Window::ACTION_ICONIZE || text == Window::ACTION_DO_NOTHING)
        return text;
    if (text && lstrcmpiW(text, Window::ACTION_CLOSE) == 0)
        return Window::ACTION_CLOSE;
    if (text && lstrcmpiW(text, Window::ACTION_ICONIZE) == 0)
        return Window::ACTION_ICONIZE;
    return Window::ACTION_DO_NOTHING;
}

int32_t AppWindow::textBaseOf(const wchar_t* softwareType)
{
    if (softwareType == IAppBase::SOFTWARE_SP || (softwareType && lstrcmpiW(softwareType, IAppBase::SOFTWARE_SP) == 0))
        return IAppBase::TEXT_BASE_SP;
    if (softwareType == IAppBase::SOFTWARE_PRO ||
        (softwareType && lstrcmpiW(softwareType, IAppBase::SOFTWARE_PRO) == 0))
        return IAppBase::TEXT_BASE_PRO;
    return IAppBase::TEXT_BASE_FREEWARE;
}

void AppWindow::init(IAppBase* app, const wchar_t* name, const wchar_t* softwareType, int defaultWidth,
                     int defaultHeight, const wchar_t* middleClickAction, s::gui::drawer::Skinner* skinner,
                     const wchar_t* skinName)
{
    Reset();
    // 1.
    app_ = app;
    name_->Assign(name ? name : L"");
    section_->Assign(name_->CStr());
    section_->AppendChar(L'\\');
    section_->Append(SECTION_VIEW);
    softwareType_ = softwareType ? softwareType : IAppBase::SOFTWARE_FREEWARE;
    textBase_ = textBaseOf(softwareType_);

    // 2. A skin manager of its own only when it is not the application's; else the default
    // skin is the application manager's current scheme.
    s::gui::drawer::Skinner* shared = app ? app->getSkinner() : nullptr;
    ownSkinner_ = skinner != shared;
    skinner_ = ownSkinner_ ? skinner : nullptr;
    if (ownSkinner_ && skinName)
        defaultSkin_->Assign(skinName);
    else if (!ownSkinner_ && shared)
        defaultSkin_->Assign(shared->getCurrentSchemeName());

    // 3.
    easyDrag_ = true;
    keepOnTop_ = true;
    maximized_ = false;
    defaultWidth_ = defaultWidth;
    defaultHeight_ = defaultHeight;
    middleClickAction_ = actionOf(middleClickAction ? middleClickAction : Window::ACTION_CLOSE);

    // 4. Identity under the window's name, in one batch.
    IMappedData* settings = store();
    if (settings)
    {
        settings->setAutoFlush(false);
        AppBase::writeIdentity(settings, name_->CStr(), softwareType_, textBase_, getLocalizer());
    }

    if (ownSkinner_)
        skinner_->selectScheme(getSavedSkin());

    // 5. The saved action, as one of the constants.
    middleClickAction_ = getMiddleClickAction();

    // 6.
    if (settings)
        settings->setAutoFlush(true);
}

IMappedData* AppWindow::store()
{
    return app_ ? app_->getSettings() : nullptr;
}

const wchar_t* AppWindow::viewSection()
{
    return section_->CStr();
}

const wchar_t* AppWindow::getName()
{
    return name_->CStr();
}

const wchar_t* AppWindow::getSectionPath(const wchar_t* sub)
{
    scratch_->Assign(name_->CStr());
    scratch_->AppendChar(L'\\');
    scratch_->Append(sub ? sub : L"");
    return scratch_->CStr();
}

Localizer* AppWindow::getLocalizer()
{
    if (localizer_)
        return localizer_;
    return app_ ? app_->getLocalizer() : nullptr;
}

s::gui::drawer::Skinner* AppWindow::getSkinner()
{
    if (ownSkinner_)
        return skinner_;
    return app_ ? app_->getSkinner() : nullptr;
}

const wchar_t* AppWindow::getSavedSkin()
{
    if (!ownSkinner_)
        return app_ ? app_->getSavedSkin() : L"";
    IMappedData* settings = store();
    if (!settings)
        return defaultSkin_->CStr();
    const wchar_t* saved =
        settings->getString(getSectionPath(IAppBase::SECTION_SKIN), L"", defaultSkin_->CStr(), nullptr, false);
    scratch_->Assign(saved);
    // A scheme its manager does not know gives the window's default skin.
    if (skinner_ && skinner_->getSchemeIndex(scratch_->CStr()) < 0)
        return defaultSkin_->CStr();
    return scratch_->CStr();
}

void AppWindow::setSavedSkin(const wchar_t* name)
{
    if (!ownSkinner_)
    {
        if (app_)
            app_->setSavedSkin(name);
        return;
    }
    if (IMappedData* settings = store())
        settings->setString(getSectionPath(IAppBase::SECTION_SKIN), L"", name);
}

void AppWindow::attachSkinner(s::gui::IWindow* window)
{
    if (!ownSkinner_ || !skinner_ || !window)
        return;
    if (!skinner_->selectScheme(getSavedSkin()))
        skinner_->selectScheme(defaultSkin_->CStr());
    window->setSkinner(skinner_);
}

// --- geometry -----------------------------------------------------------------------------

bool AppWindow::hasSavedPosition()
{
    return hasX() && hasY();
}

void AppWindow::setBounds(int x, int y, int width, int height)
{
    IMappedData* settings = store();
    if (!settings)
        return;
    // One batch: the file store would otherwise save four times.
    const bool autoFlush = settings->getAutoFlush();
    settings->setAutoFlush(false);
    settings->setS32(viewSection(), VALUE_X, x);
    settings->setS32(viewSection(), VALUE_Y, y);
    settings->setS32(viewSection(), VALUE_WIDTH, width);
    settings->setS32(viewSection(), VALUE_HEIGHT, height);
    settings->setAutoFlush(autoFlush);
    if (autoFlush)
        settings->flush();
}

void AppWindow::setSize(int width, int height)
{
    IMappedData* settings = store();
    if (!settings)
        return;
    const bool autoFlush = settings->getAutoFlush();
    settings->setAutoFlush(false);
    settings->setS32(viewSection(), VALUE_WIDTH, width);
    settings->setS32(viewSection(), VALUE_HEIGHT, height);
    settings->setAutoFlush(autoFlush);
    if (autoFlush)
        settings->flush();
}

void AppWindow::forgetBounds()
{
    IMappedData* settings = store();
    if (!settings)
        return;
    for (const wchar_t* value : {VALUE_X, VALUE_Y, VALUE_WIDTH, VALUE_HEIGHT})
        settings->removeValue(viewSection(), value);
}

bool AppWindow::hasX()
{
    IMappedData* settings = store();
    return settings && settings->hasValue(viewSection(), VALUE_X);
}

int AppWindow::getX()
{
    IMappedData* settings = store();
    return settings ? settings->getS32(viewSection(), VALUE_X, 0) : 0;
}

void AppWindow::setX(int x)
{
    if (IMappedData* settings = store())
        settings->setS32(viewSection(), VALUE_X, x);
}

bool AppWindow::hasY()
{
    IMappedData* settings = store();
    return settings && settings->hasValue(viewSection(), VALUE_Y);
}

int AppWindow::getY()
{
    IMappedData* settings = store();
    return settings ? settings->getS32(viewSection(), VALUE_Y, 0) : 0;
}

void AppWindow::setY(int y)
{
    if (IMappedData* settings = store())
        settings->setS32(viewSection(), VALUE_Y, y);
}

bool AppWindow::isWidthValid()
{
    const int width = getWidth();
    return width >= MIN_SIDE && width <= GetSystemMetrics(SM_CXVIRTUALSCREEN);
}

bool AppWindow::hasWidth()
{
    IMappedData* settings = store();
    return settings && settings->hasValue(viewSection(), VALUE_WIDTH);
}

int AppWindow::getWidth()
{
    IMappedData* settings = store();
    return settings ? settings->getS32(viewSection(), VALUE_WIDTH, defaultWidth_) : defaultWidth_;
}

void AppWindow::setWidth(int width)
{
    if (IMappedData* settings = store())
        settings->setS32(viewSection(), VALUE_WIDTH, width);
}

bool AppWindow::isHeightValid()
{
    const int height = getHeight();
    return height >= MIN_SIDE && height <= GetSystemMetrics(SM_CYVIRTUALSCREEN);
}

bool AppWindow::hasHeight()
{
    IMappedData* settings = store();
    return settings && settings->hasValue(viewSection(), VALUE_HEIGHT);
}

int AppWindow::getHeight()
{
    IMappedData* settings = store();
    return settings ? settings->getS32(viewSection(), VALUE_HEIGHT, defaultHeight_) : defaultHeight_;
}

void AppWindow::setHeight(int height)
{
    if (IMappedData* settings = store())
        settings->setS32(viewSection(), VALUE_HEIGHT, height);
}

// --- options ------------------------------------------------------------------------------

bool AppWindow::getEasyDrag()
{
    IMappedData* settings = store();
    return settings ? settings->getBool(viewSection(), VALUE_EASY_DRAG, easyDrag_) : easyDrag_;
}

void AppWindow::setEasyDrag(bool on)
{
    if (IMappedData* settings = store())
        settings->setBool(viewSection(), VALUE_EASY_DRAG, on);
}

bool AppWindow::getMaximized()
{
    IMappedData* settings = store();
    return settings ? settings->getBool(viewSection(), VALUE_MAXIMIZED, maximized_) : maximized_;
}

void AppWindow::setMaximized(bool on)
{
    if (IMappedData* settings = store())
        settings->setBool(viewSection(), VALUE_MAXIMIZED, on);
}

bool AppWindow::getKeepOnTop()
{
    IMappedData* settings = store();
    return settings ? settings->getBool(viewSection(), VALUE_KEEP_ON_TOP, keepOnTop_) : keepOnTop_;
}

void AppWindow::setKeepOnTop(bool on)
{
    if (IMappedData* settings = store())
        settings->setBool(viewSection(), VALUE_KEEP_ON_TOP, on);
}

const wchar_t* AppWindow::getMiddleClickAction()
{
    IMappedData* settings = store();
    if (!settings)
        return middleClickAction_;
    return actionOf(settings->getString(viewSection(), VALUE_ON_MIDDLE_CLICK, middleClickAction_, nullptr, false));
}

bool AppWindow::isMiddleClickClose()
{
    middleClickAction_ = getMiddleClickAction();
    return middleClickAction_ == Window::ACTION_CLOSE;
}

bool AppWindow::isMiddleClickIconize()
{
    middleClickAction_ = getMiddleClickAction();
    return middleClickAction_ == Window::ACTION_ICONIZE;
}

void AppWindow::setMiddleClickAction(const wchar_t* action)
{
    const wchar_t* constant = actionOf(action);
    if (constant == middleClickAction_)
        return;
    middleClickAction_ = constant;
    if (IMappedData* settings = store())
        settings->setString(viewSection(), VALUE_ON_MIDDLE_CLICK, constant);
}

// --- window identity ----------------------------------------------------------------------

int AppWindow::getVersionTextId()
{
    return showVersion_ ? textBase_ + IAppBase::TEXT_VERSION : -1;
}

HICON__* AppWindow::getSmallIcon()
{
    return app_ ? app_->getSmallIcon() : nullptr;
}

HICON__* AppWindow::getLargeIcon()
{
    return app_ ? app_->getLargeIcon() : nullptr;
}

} // namespace s::app::win
