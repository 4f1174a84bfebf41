#pragma once
#include <windows.h>

#include <vector>

#include "s/base/ClassId.h"
#include "s/gui/IMenuEx.h"
#include "s/gui/win/ComponentBase.h"
#include "s/gui/win/ListenerList.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui::win
{

class PopupMenu;
class Window;

// The menu bar of a window (see IMenuEx): a platform menu bar (CreateMenu) holding
// PopupMenus. As a component it has a plain native window of no size; once made (on
// the window's thread) it attaches its bar to the window (Window::setMenuBar), and it
// takes it away again when detached.
//
// Pooled: MenuEx::Acquire() gives an empty bar; add it to the window, which then owns
// it. Threads: as every component; commands run on the window's thread.
class MenuEx : public ComponentBase<IMenuEx>, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_win_MenuEx")
    S_POOLED(MenuEx)

  public:
    void Reset() override;

    void addMenu(IPopupMenu* menu) override;
    int getMenuCount() override { return static_cast<int>(menus_.size()); }
    IPopupMenu* getMenu(int index) override;
    void setLanguagePack(lang::Localizer* pack) override;
    void refreshTexts() override;
    bool containsId(int id) override;
    void runCommand(int id) override;
    int getLastCommand() override { return lastCommand_; }
    void addCommandListener(events::IEventListener* listener) override { commandListeners_.add(listener); }
    void redrawBar() override;
    HMENU__* getMenuHandle() override;

    // A change of language from the bar's pack (setLanguagePack: the bar listens to it)
    // or from the window's re-texts the menus and their titles, once each: the menus
    // held by the bar do not listen themselves.
    void handleEvent(void* source, int kind) override;

  protected:
    MenuEx() = default;
    ~MenuEx() override;
    void nativeCreated() override;
    void detached() override;

  private:
    void clearBar();

    HMENU bar_ = nullptr;
    Window* shownIn_ = nullptr; // the window whose bar this is
    std::vector<PopupMenu*> menus_;
    lang::Localizer* pack_ = nullptr;
    int lastCommand_ = -1;
    ListenerList commandListeners_;
};

} // namespace s::gui::win
