#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/gui/IPopupMenu.h"
#include "s/gui/win/ListenerList.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui::win
{

// A platform popup menu (see IPopupMenu), made on first use with CreatePopupMenu.
//
// Pooled: PopupMenu::Acquire() gives an empty menu; the caller owns it until it hands
// it to a menu bar or a parent menu, and releases it otherwise (which releases its
// items and submenus and destroys the platform menu). Threads: as IPopupMenu.
class PopupMenu : public base::IObject, public IPopupMenu, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_win_PopupMenu")
    S_POOLED(PopupMenu)

  public:
    // The flags of the two ways of opening the menu.
    static constexpr UINT SHOW_FLAGS = TPM_RIGHTBUTTON | TPM_NOANIMATION;
    static constexpr UINT TRAY_FLAGS = SHOW_FLAGS | TPM_BOTTOMALIGN;

    void Reset() override;

    void addItem(menuitem::MenuItem* item) override;
    void addSubmenu(IPopupMenu* submenu) override;
    menuitem::MenuItem* findItem(int id) override;
    bool containsId(int id) override;
    int indexOfId(int id) override;
    int indexOfKey(int key) override;
    void setSubmenuEnabled(IPopupMenu* submenu, bool on) override;
    void setItemEnabled(int id, bool on) override;
    bool isItemEnabled(int id) override;
    void setLanguagePack(lang::Localizer* pack) override;
    bool isItemChecked(int id) override;
    void setItemChecked(int id, bool on) override;
    void setItemText(int id, const wchar_t* text) override;
    void setItemTextId(int id, int textId) override;
    void refreshTexts() override;
    const wchar_t* getTitle() override { return title_.c_str(); }
    void setTitleId(int textId) override;
    void setTitle(const wchar_t* title) override;
    void checkRadioItem(int chosen, int first, int last) override;
    void checkRadioItemOnly(int position) override;
    void checkRadioItemById(int id) override;
    bool isItemRadioMarked(int id) override;
    int getLastCommand() override { return lastCommand_; }
    void addCommandListener(events::IEventListener* listener) override { commandListeners_.add(listener); }
    void runCommand(int id) override;
    void showAt(int x, int y, HWND__* owner) override;
    void showForTray(int x, int y, HWND__* owner) override;
    int getItemCount() override { return static_cast<int>(entries_.size()); }
    HMENU__* getMenuHandle() override;

    // A change of language from the attached pack re-texts the menu, unless it is held
    // by a menu bar or another menu: the holder re-texts it with its own texts, so that a
    // change of language re-texts each menu once.
    void handleEvent(void* source, int kind) override;
    // Called by the menu bar or menu that takes this menu: from then on the holder
    // re-texts it and the menu no longer listens to its pack itself.
    void setHeld();

    // Names the window that draws the items of an owner-drawn menu: the toolkit's
    // window procedure forwards WM_INITMENUPOPUP of this menu to it (menu data).
    void setDrawingWindow(HWND window);
    // The flags of the last showAt/showForTray (for tests and the tray's callers).
    UINT getLastShowFlags() const { return lastShowFlags_; }

  protected:
    PopupMenu() = default;
    ~PopupMenu() override;

  private:
    struct Entry
    {
        menuitem::MenuItem* item;
        PopupMenu* submenu;
    };
    // The owning menu (this or a submenu) and position of the item with `id`.
    PopupMenu* ownerOf(int id, int* position);
    void show(int x, int y, HWND owner, UINT flags);
    void clearMenu();
    // Listens to the pack while it has one and no holder re-texts it.
    void listen(bool on);

    HMENU menu_ = nullptr;
    std::vector<Entry> entries_;
    std::wstring title_;
    int titleTextId_ = -1;
    lang::Localizer* pack_ = nullptr;
    bool held_ = false;
    int lastCommand_ = -1;
    UINT lastShowFlags_ = 0;
    ListenerList commandListeners_;
};

} // namespace s::gui::win
