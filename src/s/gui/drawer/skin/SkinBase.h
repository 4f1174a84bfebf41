#pragma once
#include "s/gui/drawer/ISkin.h"

namespace s::gui::drawer::text::win
{
class Basic;
}
namespace s::gui::drawer::window::win
{
class Thin;
}

namespace s::gui::drawer::skin
{

// What both skin families share: one drawer of each kind, taken from its pool and given
// the scheme's colours when the skin is built, released when the skin goes back to its
// pool. The families differ only in their group and status-bar drawers.
class SkinBase : public ISkin
{
  public:
    const wchar_t* getSchemeName() override;
    const Scheme* getScheme() override { return scheme_; }
    uint32_t getColour(int role) override;
    uint32_t getBackgroundColour() override;
    uint32_t getFrameColour() override;
    uint32_t getTextColour() override;
    uint32_t getAccentColour() override;

    IWindow* getWindowDrawer() override;
    IFrameDrawer* getFrameDrawer() override;
    IBorder* getBorderDrawer() override { return border_; }
    IBorder* getPlainBorderDrawer() override { return plainBorder_; }
    IBorder* getUnderWindowMenuBorderDrawer() override { return underMenu_; }
    IButton* getButtonDrawer() override { return button_; }
    ICheckBox* getCheckBoxDrawer() override { return checkBox_; }
    IRadioButton* getRadioButtonDrawer() override { return radioButton_; }
    ICombo* getComboDrawer() override { return combo_; }
    IGroupBox* getGroupBoxDrawer() override { return groupBox_; }
    IText* getTextDrawer() override;
    IMenu* getMenuDrawer() override { return menu_; }
    IStatusBar* getStatusBarDrawer() override { return statusBar_; }
    IButton* getStatusBarGripDrawer() override { return grip_; }
    IImage* getImageDrawer() override { return image_; }

  protected:
    // Makes every drawer for `scheme` (kept, not copied: the tables are fixed). The
    // family gives its group and status-bar drawers, fresh from their pools.
    void build(const Scheme* scheme, IGroupBox* groupBox, IStatusBar* statusBar);
    // Gives every drawer back to its pool and forgets the scheme.
    void releaseDrawers();

  private:
    void colourDrawers();

    const Scheme* scheme_ = nullptr;
    window::win::Thin* window_ = nullptr;
    IBorder* border_ = nullptr;
    IBorder* plainBorder_ = nullptr;
    IBorder* underMenu_ = nullptr;
    IButton* button_ = nullptr;
    ICheckBox* checkBox_ = nullptr;
    IRadioButton* radioButton_ = nullptr;
    ICombo* combo_ = nullptr;
    IGroupBox* groupBox_ = nullptr;
    text::win::Basic* text_ = nullptr; // an IText (not an IObject by itself)
    IMenu* menu_ = nullptr;
    IStatusBar* statusBar_ = nullptr;
    IButton* grip_ = nullptr;
    IImage* image_ = nullptr;
};

} // namespace s::gui::drawer::skin
