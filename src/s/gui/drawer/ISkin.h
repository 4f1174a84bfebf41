#pragma once
#include <cstdint>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"

namespace s::gui::drawer
{

class IWindow;
class IFrameDrawer;
class IBorder;
class IButton;
class ICheckBox;
class IRadioButton;
class ICombo;
class IGroupBox;
class IText;
class IMenu;
class IStatusBar;
class IImage;
struct Scheme;

// One colour scheme's set of drawers. The skin owns them (made when the skin is built,
// released with it): callers borrow them for as long as the skin's Skinner lives and do
// not release them. Getters only read, so any thread may ask.
class ISkin : public base::IObject, public thread::IPoolable
{
  public:
    virtual const wchar_t* getSchemeName() = 0;
    // The scheme's colours; getColour(role) for the roles of Scheme (1 … 15).
    virtual const Scheme* getScheme() = 0;
    virtual uint32_t getColour(int role) = 0;
    virtual uint32_t getBackgroundColour() = 0; // C1
    virtual uint32_t getFrameColour() = 0;      // C2
    virtual uint32_t getTextColour() = 0;       // C6
    virtual uint32_t getAccentColour() = 0;     // C15

    // The window drawer, and the same drawer as a window's frame drawer.
    virtual IWindow* getWindowDrawer() = 0;
    virtual IFrameDrawer* getFrameDrawer() = 0;
    virtual IBorder* getBorderDrawer() = 0;
    virtual IBorder* getPlainBorderDrawer() = 0;
    virtual IBorder* getUnderWindowMenuBorderDrawer() = 0;
    virtual IButton* getButtonDrawer() = 0;
    virtual ICheckBox* getCheckBoxDrawer() = 0;
    virtual IRadioButton* getRadioButtonDrawer() = 0;
    virtual ICombo* getComboDrawer() = 0;
    virtual IGroupBox* getGroupBoxDrawer() = 0;
    virtual IText* getTextDrawer() = 0;
    virtual IMenu* getMenuDrawer() = 0;
    virtual IStatusBar* getStatusBarDrawer() = 0;
    // The status bar's resize grip is a button showing "#Resizer": this is its drawer.
    virtual IButton* getStatusBarGripDrawer() = 0;
    virtual IImage* getImageDrawer() = 0;
};

} // namespace s::gui::drawer
