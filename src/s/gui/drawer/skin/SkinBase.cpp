#include "s/gui/drawer/skin/SkinBase.h"

#include "s/gui/drawer/IGroupBox.h"
#include "s/gui/drawer/IText.h"
#include "s/gui/drawer/IStatusBar.h"
#include "s/gui/drawer/Scheme.h"
#include "s/gui/drawer/border/win/Plain.h"
#include "s/gui/drawer/border/win/Thin.h"
#include "s/gui/drawer/border/win/UnderWindowMenu.h"
#include "s/gui/drawer/button/win/Thin.h"
#include "s/gui/drawer/checkbox/win/Thin.h"
#include "s/gui/drawer/combo/win/Thin.h"
#include "s/gui/drawer/image/win/Basic.h"
#include "s/gui/drawer/menu/win/Basic.h"
#include "s/gui/drawer/radiobutton/win/Thin.h"
#include "s/gui/drawer/statusbar/win/BasicResizer.h"
#include "s/gui/drawer/text/win/Basic.h"
#include "s/gui/drawer/window/win/Thin.h"

namespace s::gui::drawer::skin
{

namespace
{

template <class T> void releaseInto(T*& drawer)
{
    if (drawer)
        drawer->Release();
    drawer = nullptr;
}

} // namespace

const wchar_t* SkinBase::getSchemeName()
{
    return scheme_ ? scheme_->name : L"";
}

uint32_t SkinBase::getColour(int role)
{
    return scheme_ ? scheme_->colour(role) : 0;
}

uint32_t SkinBase::getBackgroundColour()
{
    return getColour(Scheme::BACKGROUND);
}

uint32_t SkinBase::getFrameColour()
{
    return getColour(Scheme::FRAME);
}

uint32_t SkinBase::getTextColour()
{
    return getColour(Scheme::TEXT);
}

uint32_t SkinBase::getAccentColour()
{
    return getColour(Scheme::ACCENT);
}

IWindow* SkinBase::getWindowDrawer()
{
    return window_;
}

IFrameDrawer* SkinBase::getFrameDrawer()
{
    return window_;
}

IText* SkinBase::getTextDrawer()
{
    return text_;
}

void SkinBase::build(const Scheme* scheme, IGroupBox* groupBox, IStatusBar* statusBar)
{
    releaseDrawers();
    scheme_ = scheme;
    window_ = window::win::Thin::Acquire();
    border_ = border::win::Thin::Acquire();
    plainBorder_ = border::win::Plain::Acquire();
    underMenu_ = border::win::UnderWindowMenu::Acquire();
    button_ = button::win::Thin::Acquire();
    checkBox_ = checkbox::win::Thin::Acquire();
    radioButton_ = radiobutton::win::Thin::Acquire();
    combo_ = combo::win::Thin::Acquire();
    groupBox_ = groupBox;
    text_ = text::win::Basic::Acquire();
    menu_ = menu::win::Basic::Acquire();
    statusBar_ = statusBar;
    grip_ = statusbar::win::BasicResizer::Acquire();
    image_ = image::win::Basic::Acquire();
    colourDrawers();
}

void SkinBase::colourDrawers()
{
    if (!scheme_)
        return;
    const Scheme& c = *scheme_;
    uint32_t accent = c.colour(Scheme::ACCENT), text = c.colour(Scheme::TEXT);
    uint32_t disabled = c.colour(Scheme::DISABLED);

    // Square corners at top and bottom: the window drawer as each scheme makes it.
    window_->setBackgroundColour(c.colour(Scheme::BACKGROUND));
    window_->setFrameColour(c.colour(Scheme::FRAME));
    window_->setTopCornerStyle(window::IThin::CORNER_SQUARE);
    window_->setBottomCornerStyle(window::IThin::CORNER_SQUARE);

    for (IBorder* b : {border_, plainBorder_, underMenu_})
    {
        b->setColour(c.colour(Scheme::BORDER));
        b->setHoverColour(accent);
    }

    button_->setFaceColour(c.colour(Scheme::FACE));
    button_->setFrameColour(c.colour(Scheme::BUTTON_FRAME));
    button_->setTextColour(text);
    button_->setHoverColour(accent);
    button_->setPressedColour(c.colour(Scheme::PRESSED));
    button_->setDisabledColour(disabled);

    for (ICheckMark* m : {static_cast<ICheckMark*>(checkBox_), static_cast<ICheckMark*>(radioButton_)})
    {
        m->setFrameColour(c.colour(Scheme::MARK_FRAME));
        m->setInteriorColour(c.colour(Scheme::MENU_BACKGROUND));
        m->setMarkColour(c.colour(Scheme::MENU_TEXT));
        m->setTextColour(text);
        m->setHoverColour(accent);
        m->setDisabledColour(disabled);
    }

    combo_->setFrameColour(c.colour(Scheme::MARK_FRAME));
    combo_->setFaceColour(c.colour(Scheme::FACE));
    combo_->setTextColour(text);
    combo_->setHoverColour(accent);
    combo_->setDisabledColour(disabled);

    groupBox_->setFrameColour(c.colour(Scheme::BORDER));
    groupBox_->setTextColour(text);
    groupBox_->setDisabledColour(disabled);

    menu_->setBackgroundColour(c.colour(Scheme::MENU_BACKGROUND));
    menu_->setTextColour(c.colour(Scheme::MENU_TEXT));
    menu_->setHoverColour(c.colour(Scheme::MENU_HOVER));
    menu_->setAccentColour(accent);
    menu_->setSeparatorColour(c.colour(Scheme::BORDER));
    menu_->setDisabledColour(disabled);

    statusBar_->setBackgroundColour(c.colour(Scheme::BACKGROUND));
    statusBar_->setLineColour(c.colour(Scheme::BORDER));
    statusBar_->setTextColour(text);

    grip_->setTextColour(disabled);
    grip_->setHoverColour(accent);
    grip_->setDisabledColour(disabled);

    image_->setBackgroundColour(c.colour(Scheme::PICTURE));
}

void SkinBase::releaseDrawers()
{
    releaseInto(window_);
    releaseInto(border_);
    releaseInto(plainBorder_);
    releaseInto(underMenu_);
    releaseInto(button_);
    releaseInto(checkBox_);
    releaseInto(radioButton_);
    releaseInto(combo_);
    releaseInto(groupBox_);
    releaseInto(text_);
    releaseInto(menu_);
    releaseInto(statusBar_);
    releaseInto(grip_);
    releaseInto(image_);
    scheme_ = nullptr;
}

} // namespace s::gui::drawer::skin
