#pragma once
#include "s/gui/IComponent.h"

struct HMENU__;

namespace s::lang
{
class Localizer;
}

namespace s::gui
{

class IPopupMenu;

// The menu bar of a window: popup menus side by side. Added to a window as a child
// (it takes no room in the layout), it becomes the window's menu bar; removed, it
// leaves it. A command chosen in any of its menus runs in that menu (its listeners)
// and then here: the id becomes the last command and every command listener is called
// with (this menu bar, 0). Owns its popup menus.
class IMenuEx : public IComponent
{
  public:
    virtual void addMenu(IPopupMenu* menu) = 0;
    virtual int getMenuCount() = 0;
    virtual IPopupMenu* getMenu(int index) = 0;
    virtual void setLanguagePack(lang::Localizer* pack) = 0;
    virtual void refreshTexts() = 0;
    virtual bool containsId(int id) = 0;
    virtual void runCommand(int id) = 0;
    virtual int getLastCommand() = 0;
    virtual void addCommandListener(events::IEventListener* listener) = 0;
    // Redraws the bar of the window that shows it (after a change of its menus).
    virtual void redrawBar() = 0;
    // The platform menu bar (made on first use).
    virtual HMENU__* getMenuHandle() = 0;
};

} // namespace s::gui
