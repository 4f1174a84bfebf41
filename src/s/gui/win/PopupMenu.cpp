#include "s/gui/win/PopupMenu.h"

#include "s/gui/menuitem/MenuItem.h"
#include "s/lang/Localizer.h"

namespace s::gui::win
{
using menuitem::MenuItem;

PopupMenu::~PopupMenu()
{
    clearMenu();
}

void PopupMenu::Reset()
{
    clearMenu();
    title_.clear();
    titleTextId_ = -1;
    lastCommand_ = -1;
    lastShowFlags_ = 0;
    commandListeners_.clear();
}

void PopupMenu::clearMenu()
{
    listen(false);
    pack_ = nullptr;
    held_ = false;
    // Submenus are taken out first, so that each destroys only its own platform menu.
    for (size_t i = entries_.size(); i-- > 0;)
    {
        if (entries_[i].submenu && menu_)
            RemoveMenu(menu_, static_cast<UINT>(i), MF_BYPOSITION);
    }
    for (const Entry& e : entries_)
    {
        if (e.item)
            e.item->Release();
        if (e.submenu)
            e.submenu->Release();
    }
    entries_.clear();
    if (menu_)
        DestroyMenu(menu_);
    menu_ = nullptr;
}

HMENU__* PopupMenu::getMenuHandle()
{
    if (!menu_)
        menu_ = CreatePopupMenu();
    return menu_;
}

void PopupMenu::addItem(MenuItem* item)
{
    if (!item)
        return;
    HMENU menu = getMenuHandle();
    entries_.push_back(Entry{item, nullptr});
    if (item->isSeparator())
    {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        return;
    }
    if (pack_ && !item->getLanguagePack())
        item->setLanguagePack(pack_);
    item->refreshText();
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item->getCommandId()), item->getText());
    if (item->isChecked())
        CheckMenuItem(menu, static_cast<UINT>(item->getCommandId()), MF_BYCOMMAND | MF_CHECKED);
}

void PopupMenu::addSubmenu(IPopupMenu* submenu)
{
    PopupMenu* sub = dynamic_cast<PopupMenu*>(submenu);
    if (!sub)
        return;
    entries_.push_back(Entry{nullptr, sub});
    sub->setHeld();
    if (pack_)
        sub->setLanguagePack(pack_);
    AppendMenuW(getMenuHandle(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(sub->getMenuHandle()),
                sub->getTitle());
}

PopupMenu* PopupMenu::ownerOf(int id, int* position)
{
    for (size_t i = 0; i < entries_.size(); ++i)
    {
        const Entry& e = entries_[i];
        if (e.item && !e.item->isSeparator() && e.item->getCommandId() == id)
        {
            *position = static_cast<int>(i);
            return this;
        }
        if (e.submenu)
        {
            if (PopupMenu* owner = e.submenu->ownerOf(id, position))
                return owner;
        }
    }
    return nullptr;
}

MenuItem* PopupMenu::findItem(int id)
{
    int position = -1;
    PopupMenu* owner = ownerOf(id, &position);
    return owner ? owner->entries_[static_cast<size_t>(position)].item : nullptr;
}

bool PopupMenu::containsId(int id)
{
    return findItem(id) != nullptr;
}

int PopupMenu::indexOfId(int id)
{
    for (size_t i = 0; i < entries_.size(); ++i)
    {
        const Entry& e = entries_[i];
        if (e.item && !e.item->isSeparator() && e.item->getCommandId() == id)
            return static_cast<int>(i);
    }
    return -1;
}

int PopupMenu::indexOfKey(int key)
{
    for (size_t i = 0; i < entries_.size(); ++i)
    {
        if (entries_[i].item && entries_[i].item->getKey() == key)
            return static_cast<int>(i);
    }
    return -1;
}

void PopupMenu::setSubmenuEnabled(IPopupMenu* submenu, bool on)
{
    for (size_t i = 0; i < entries_.size(); ++i)
    {
        PopupMenu* sub = entries_[i].submenu;
        if (!sub || static_cast<IPopupMenu*>(sub) != submenu)
            continue;
        UINT flags = MF_BYPOSITION | MF_POPUP | MF_STRING | (on ? 0 : MF_GRAYED | MF_DISABLED);
        ModifyMenuW(menu_, static_cast<UINT>(i), flags, reinterpret_cast<UINT_PTR>(sub->getMenuHandle()),
                    sub->getTitle());
        return;
    }
}

void PopupMenu::setItemEnabled(int id, bool on)
{
    int position = -1;
    if (PopupMenu* owner = ownerOf(id, &position))
        EnableMenuItem(owner->menu_, static_cast<UINT>(position),
                       MF_BYPOSITION | (on ? MF_ENABLED : MF_GRAYED | MF_DISABLED));
}

bool PopupMenu::isItemEnabled(int id)
{
    int position = -1;
    PopupMenu* owner = ownerOf(id, &position);
    return owner && !(GetMenuState(owner->menu_, static_cast<UINT>(position), MF_BYPOSITION) &
                      (MF_GRAYED | MF_DISABLED));
}

void PopupMenu::setLanguagePack(lang::Localizer* pack)
{
    if (pack_ == pack)
        return;
    listen(false);
    pack_ = pack;
    listen(true);
    for (const Entry& e : entries_)
    {
        if (e.item)
            e.item->setLanguagePack(pack);
        if (e.submenu)
            e.submenu->setLanguagePack(pack);
    }
    refreshTexts();
}

void PopupMenu::handleEvent(void* source, int)
{
    if (pack_ && !held_ && source == static_cast<void*>(pack_))
        refreshTexts();
}

void PopupMenu::setHeld()
{
    listen(false);
    held_ = true;
}

void PopupMenu::listen(bool on)
{
    if (!pack_ || held_)
        return;
    if (on)
        pack_->addListener(this);
    else
        pack_->removeListener(this);
}

bool PopupMenu::isItemChecked(int id)
{
    MenuItem* item = findItem(id);
    return item && item->isChecked();
}

void PopupMenu::setItemChecked(int id, bool on)
{
    int position = -1;
    PopupMenu* owner = ownerOf(id, &position);
    if (!owner)
        return;
    owner->entries_[static_cast<size_t>(position)].item->setChecked(on);
    CheckMenuItem(owner->menu_, static_cast<UINT>(position), MF_BYPOSITION | (on ? MF_CHECKED : MF_UNCHECKED));
}

void PopupMenu::setItemText(int id, const wchar_t* text)
{
    int position = -1;
    PopupMenu* owner = ownerOf(id, &position);
    if (!owner)
        return;
    MenuItem* item = owner->entries_[static_cast<size_t>(position)].item;
    item->setTextId(-1);
    item->setText(text);
    owner->refreshTexts();
}

void PopupMenu::setItemTextId(int id, int textId)
{
    int position = -1;
    PopupMenu* owner = ownerOf(id, &position);
    if (!owner)
        return;
    owner->entries_[static_cast<size_t>(position)].item->setTextId(textId);
    owner->refreshTexts();
}

void PopupMenu::refreshTexts()
{
    if (titleTextId_ != -1 && pack_)
        title_ = pack_->getText(titleTextId_);
    for (size_t i = 0; i < entries_.size(); ++i)
    {
        const Entry& e = entries_[i];
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING;
        if (e.item && !e.item->isSeparator())
        {
            e.item->refreshText();
            info.dwTypeData = const_cast<wchar_t*>(e.item->getText());
        }
        else if (e.submenu)
        {
            e.submenu->refreshTexts();
            info.dwTypeData = const_cast<wchar_t*>(e.submenu->getTitle());
        }
        else
        {
            continue;
        }
        if (menu_)
            SetMenuItemInfoW(menu_, static_cast<UINT>(i), TRUE, &info);
    }
}

void PopupMenu::setTitleId(int textId)
{
    titleTextId_ = textId;
    if (textId != -1 && pack_)
        title_ = pack_->getText(textId);
}

void PopupMenu::setTitle(const wchar_t* title)
{
    titleTextId_ = -1;
    title_ = title ? title : L"";
}

void PopupMenu::checkRadioItem(int chosen, int first, int last)
{
    if (entries_.empty() || first > last)
        return;
    first = std::max(0, first);
    last = std::min(static_cast<int>(entries_.size()) - 1, last);
    CheckMenuRadioItem(getMenuHandle(), static_cast<UINT>(first), static_cast<UINT>(last),
                       static_cast<UINT>(chosen), MF_BYPOSITION);
    for (int i = first; i <= last; ++i)
    {
        if (MenuItem* item = entries_[static_cast<size_t>(i)].item)
            item->setRadioMarked(i == chosen);
    }
}

void PopupMenu::checkRadioItemOnly(int position)
{
    checkRadioItem(position, 0, static_cast<int>(entries_.size()) - 1);
}

void PopupMenu::checkRadioItemById(int id)
{
    int position = indexOfId(id);
    if (position >= 0)
        checkRadioItemOnly(position);
}

bool PopupMenu::isItemRadioMarked(int id)
{
    MenuItem* item = findItem(id);
    return item && item->isRadioMarked();
}

void PopupMenu::runCommand(int id)
{
    // A submenu's item runs in the submenu first (its own listeners), then in every menu
    // above it up to the one asked: the window asks the menu it shows, and that menu's
    // listeners must hear the commands of all its items, nested ones included.
    if (indexOfId(id) < 0) // not an item of this menu itself
    {
        for (Entry& e : entries_)
        {
            if (e.submenu && e.submenu->containsId(id))
            {
                e.submenu->runCommand(id);
                break;
            }
        }
    }
    lastCommand_ = id;
    commandListeners_.fire(static_cast<IPopupMenu*>(this), 0);
}

void PopupMenu::show(int x, int y, HWND owner, UINT flags)
{
    lastShowFlags_ = flags;
    // The owner is brought to the front first, or the menu would not close when the
    // user clicks elsewhere.
    if (owner)
        SetForegroundWindow(owner);
    TrackPopupMenu(getMenuHandle(), flags, x, y, 0, owner, nullptr);
    if (owner)
        PostMessageW(owner, WM_NULL, 0, 0);
}

void PopupMenu::showAt(int x, int y, HWND__* owner)
{
    show(x, y, owner, SHOW_FLAGS);
}

void PopupMenu::showForTray(int x, int y, HWND__* owner)
{
    show(x, y, owner, TRAY_FLAGS);
}

void PopupMenu::setDrawingWindow(HWND window)
{
    MENUINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = MIM_MENUDATA;
    info.dwMenuData = reinterpret_cast<ULONG_PTR>(window);
    SetMenuInfo(getMenuHandle(), &info);
}

} // namespace s::gui::win
