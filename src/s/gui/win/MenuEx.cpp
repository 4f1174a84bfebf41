#include "s/gui/win/MenuEx.h"

#include "s/gui/win/PopupMenu.h"
#include "s/gui/win/Window.h"
#include "s/lang/Localizer.h"

namespace s::gui::win
{

MenuEx::~MenuEx()
{
    clearBar();
}

void MenuEx::Reset()
{
    resetComponent();
    clearBar();
    lastCommand_ = -1;
    commandListeners_.clear();
}

void MenuEx::clearBar()
{
    if (pack_)
        pack_->removeListener(self());
    pack_ = nullptr;
    shownIn_ = nullptr;
    // The menus are taken out of the bar first, so that each destroys only its own.
    for (size_t i = menus_.size(); i-- > 0;)
    {
        if (bar_)
            RemoveMenu(bar_, static_cast<UINT>(i), MF_BYPOSITION);
        menus_[i]->Release();
    }
    menus_.clear();
    if (bar_)
        DestroyMenu(bar_);
    bar_ = nullptr;
}

HMENU__* MenuEx::getMenuHandle()
{
    if (!bar_)
        bar_ = CreateMenu();
    return bar_;
}

void MenuEx::addMenu(IPopupMenu* menu)
{
    PopupMenu* popup = dynamic_cast<PopupMenu*>(menu);
    if (!popup)
        return;
    menus_.push_back(popup);
    popup->setHeld();
    if (pack_)
        popup->setLanguagePack(pack_);
    AppendMenuW(getMenuHandle(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup->getMenuHandle()),
                popup->getTitle());
    redrawBar();
}

IPopupMenu* MenuEx::getMenu(int index)
{
    if (index < 0 || static_cast<size_t>(index) >= menus_.size())
        return nullptr;
    return menus_[static_cast<size_t>(index)];
}

void MenuEx::setLanguagePack(lang::Localizer* pack)
{
    if (pack_ == pack)
        return;
    if (pack_)
        pack_->removeListener(self());
    pack_ = pack;
    if (pack_)
        pack_->addListener(self()); // a pack already heard through the window is heard once
    for (PopupMenu* menu : menus_)
        menu->setLanguagePack(pack);
    refreshTexts();
}

void MenuEx::handleEvent(void* source, int)
{
    bool windowPack = window_ && window_->hasLocalizer() && source == static_cast<void*>(window_->getLocalizer());
    if ((pack_ && source == static_cast<void*>(pack_)) || windowPack)
        refreshTexts();
}

void MenuEx::refreshTexts()
{
    for (size_t i = 0; i < menus_.size(); ++i)
    {
        menus_[i]->refreshTexts();
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING;
        info.dwTypeData = const_cast<wchar_t*>(menus_[i]->getTitle());
        SetMenuItemInfoW(getMenuHandle(), static_cast<UINT>(i), TRUE, &info);
    }
    redrawBar();
}

bool MenuEx::containsId(int id)
{
    for (PopupMenu* menu : menus_)
    {
        if (menu->containsId(id))
            return true;
    }
    return false;
}

void MenuEx::runCommand(int id)
{
    for (PopupMenu* menu : menus_)
    {
        if (menu->containsId(id))
        {
            menu->runCommand(id);
            break;
        }
    }
    lastCommand_ = id;
    commandListeners_.fire(static_cast<IMenuEx*>(this), 0);
}

void MenuEx::redrawBar()
{
    if (HWND top = Toolkit::handleOf(window_))
    {
        if (GetMenu(top) == bar_)
            DrawMenuBar(top);
    }
}

void MenuEx::nativeCreated()
{
    shownIn_ = dynamic_cast<Window*>(window_);
    if (shownIn_)
        shownIn_->setMenuBar(this);
}

void MenuEx::detached()
{
    // The window must not destroy the bar with itself: the bar belongs to this object.
    if (shownIn_ && shownIn_->getMenuBar() == this)
        shownIn_->setMenuBar(nullptr);
    shownIn_ = nullptr;
}

} // namespace s::gui::win
