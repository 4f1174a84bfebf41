#pragma once
#include "s/gui/events/IEventListener.h"

struct HMENU__;
struct HWND__;

namespace s::lang
{
class Localizer;
}
namespace s::gui::menuitem
{
class MenuItem;
}

namespace s::gui
{

// A popup menu: string items, separators and submenus in the order they were added
// (a position counts items and submenus alike). Texts given by language-pack id follow
// language changes. Choosing an item runs its command: the id becomes the last command
// and every command listener is called with (this menu, 0), in order.
//
// The menu owns the items and submenus it is given. Threads: built on any one thread;
// shown and run on the thread of the window that owns it (the window dispatches the
// WM_COMMAND of a chosen item).
class IPopupMenu : public events::IEventListener
{
  public:
    // Appends a string item or separator (owned from now on).
    virtual void addItem(menuitem::MenuItem* item) = 0;
    // Appends a submenu (owned from now on) under its title.
    virtual void addSubmenu(IPopupMenu* submenu) = 0;
    // The item with command id `id` in this menu or its submenus, or null.
    virtual menuitem::MenuItem* findItem(int id) = 0;
    virtual bool containsId(int id) = 0;
    // Position of the item with `id` (or with `key`) in this menu, −1 when none.
    virtual int indexOfId(int id) = 0;
    virtual int indexOfKey(int key) = 0;
    virtual void setSubmenuEnabled(IPopupMenu* submenu, bool on) = 0;
    virtual void setItemEnabled(int id, bool on) = 0;
    virtual bool isItemEnabled(int id) = 0;
    // Attaches the language pack (not owned) to this menu and its submenus; the menu
    // listens to it and re-texts itself on a change of language.
    virtual void setLanguagePack(lang::Localizer* pack) = 0;
    virtual bool isItemChecked(int id) = 0;
    virtual void setItemChecked(int id, bool on) = 0;
    virtual void setItemText(int id, const wchar_t* text) = 0;
    virtual void setItemTextId(int id, int textId) = 0;
    // Reads every text that has an id again (title, items, submenus).
    virtual void refreshTexts() = 0;
    virtual const wchar_t* getTitle() = 0;
    virtual void setTitleId(int textId) = 0;
    virtual void setTitle(const wchar_t* title) = 0;
    // Radio mark on position `chosen` among positions first … last (by position).
    virtual void checkRadioItem(int chosen, int first, int last) = 0;
    // Radio mark on `position` among all positions.
    virtual void checkRadioItemOnly(int position) = 0;
    virtual void checkRadioItemById(int id) = 0;
    virtual bool isItemRadioMarked(int id) = 0;
    // The command id last run (−1 before any).
    virtual int getLastCommand() = 0;
    virtual void addCommandListener(events::IEventListener* listener) = 0;
    // Runs the command of `id`: stores it as the last command and tells the command
    // listeners, first of the submenu that holds the item, then of each menu above it up
    // to this one.
    virtual void runCommand(int id) = 0;
    // Opens the menu at screen (x, y) for `owner`, which receives the chosen command;
    // returns when the menu has closed. The tray form grows upwards (TPM_BOTTOMALIGN).
    virtual void showAt(int x, int y, HWND__* owner) = 0;
    virtual void showForTray(int x, int y, HWND__* owner) = 0;
    // Items plus submenus.
    virtual int getItemCount() = 0;
    // The platform menu (made on first use).
    virtual HMENU__* getMenuHandle() = 0;
};

} // namespace s::gui
