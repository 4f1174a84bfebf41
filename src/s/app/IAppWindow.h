#pragma once
// One top-level window of the program as its settings see it: the window's name, the
// settings sections formed from it, and the window's saved geometry and options. The
// toolkit's window (s::gui::win::Window) takes it as its settings object (IWindowSettings):
// it reads icons, title ids and options from it when attached and reports every change.
//
// Sections: getSectionPath(sub) is the window's name, a backslash and sub ("MainWindow\View").
// The view section holds "X", "Y", "Width", "Height" (32-bit signed), "EasyDrag",
// "Maximized", "KeepOnTop" (Boolean) and "OnMClick" (text); missing values read as the
// window's defaults. Identity values are written to the name's "SoftwareType",
// "SoftwareID" and "Version" sub-sections.
//
// Middle-click actions are the window's constants "Close", "Iconize" and "DoNothing"
// (s::gui::win::Window::ACTION_*); saved texts are matched without regard to case and any
// other text reads as "DoNothing".
//
// Ownership: the application services are shared (not owned); texts answered point into
// the object's own strings, valid until the next call of the same kind. Icons belong to
// the application services.
// Thread affinity: made on the start-up thread; afterwards used by the window's thread.
// No locking.

#include <cstdint>

#include "s/base/IObject.h"
#include "s/gui/IWindowSettings.h"
#include "s/thread/IPoolable.h"

namespace s::gui {
class IWindow;
}
namespace s::gui::drawer {
class Skinner;
}
namespace s::lang {
class Localizer;
}

namespace s::app {

class IAppBase;

class IAppWindow : public s::base::IObject, public s::thread::IPoolable, public s::gui::IWindowSettings
{
public:
    static constexpr wchar_t SECTION_VIEW[] = L"View";
    static constexpr wchar_t VALUE_X[] = L"X";
    static constexpr wchar_t VALUE_Y[] = L"Y";
    static constexpr wchar_t VALUE_WIDTH[] = L"Width";
    static constexpr wchar_t VALUE_HEIGHT[] = L"Height";
    static constexpr wchar_t VALUE_EASY_DRAG[] = L"EasyDrag";
    static constexpr wchar_t VALUE_MAXIMIZED[] = L"Maximized";
    static constexpr wchar_t VALUE_KEEP_ON_TOP[] = L"KeepOnTop";
    static constexpr wchar_t VALUE_ON_MIDDLE_CLICK[] = L"OnMClick";
    /// Smallest width or height that counts as valid.
    static constexpr int32_t MIN_SIDE = 10;

    virtual IAppBase* getAppBase() = 0;
    /// "MainWindow" for the main window.
    virtual const wchar_t* getName() = 0;
    /// The window's name, a backslash and `sub`.
    virtual const wchar_t* getSectionPath(const wchar_t* sub) = 0;
    virtual int32_t getTextBase() = 0;
    /// The window's own language pack, else the application's.
    virtual s::lang::Localizer* getLocalizer() = 0;

    virtual bool hasOwnSkinner() = 0;
    virtual s::gui::drawer::Skinner* getSkinner() = 0;
    /// With an own skin manager the window's "Skin" section, else the application's.
    virtual const wchar_t* getSavedSkin() = 0;
    virtual void setSavedSkin(const wchar_t* name) = 0;
    /// With an own skin manager: selects the saved scheme (the default one when the saved
    /// name is unknown) and attaches the skin manager to `window`, before its components
    /// are added (they take their drawers when attached). Without one nothing happens.
    virtual void attachSkinner(s::gui::IWindow* window) = 0;

    // hasSavedPosition, setBounds and the getters of IWindowSettings, and:
    virtual void setSize(int width, int height) = 0;
    /// Removes X, Y, Width and Height.
    virtual void forgetBounds() = 0;
    virtual bool hasX() = 0;
    virtual void setX(int x) = 0;
    virtual bool hasY() = 0;
    virtual void setY(int y) = 0;
    /// MIN_SIDE ≤ getWidth() ≤ the width of the virtual screen.
    virtual bool isWidthValid() = 0;
    virtual bool hasWidth() = 0;
    virtual void setWidth(int width) = 0;
    /// MIN_SIDE ≤ getHeight() ≤ the height of the virtual screen.
    virtual bool isHeightValid() = 0;
    virtual bool hasHeight() = 0;
    virtual void setHeight(int height) = 0;

    /// Read the saved action (default: the current one) into the current one; true when
    /// it is "Close" / "Iconize".
    virtual bool isMiddleClickClose() = 0;
    virtual bool isMiddleClickIconize() = 0;
};

} // namespace s::app
