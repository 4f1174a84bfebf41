#pragma once
// The settings of one top-level window on Windows (see s/app/IAppWindow.h).
//
//     AppWindow* main = AppWindow::Acquire();
//     main->init(app, L"MainWindow", app->getSoftwareType(), 600, 550,
//                Window::ACTION_CLOSE, app->getSkinner(), nullptr);
//     window->setSettingsObject(main);
//     ...
//     main->Release();              // after the window has gone
//
// init records the application services, the name, the type and the text base for that
// type ("Freeware" 500000, "SP" 501000, "Pro" 502000, others 500000), the skin manager
// (its own only when it differs from the application's), the defaults (drag by client
// area and keep on top on, not maximized, the given size and middle-click action), writes
// the identity values under the name with auto-flush off, normalises the saved
// middle-click action and switches auto-flush on.
//
// The title is the text base's product name followed by " v" and the version text
// (text base + 10); setShowVersion(false) leaves the version out.
//
// Reset(): "Freeware", 500000, 500 × 500, "Close", drag on, maximized and keep on top off,
// no application services, its own skin manager released, empty texts.
// Class identifier "s_app_win_AppWindow"; pooled. Thread affinity: see IAppWindow.

#include "s/app/IAppWindow.h"
#include "s/base/ClassId.h"
#include "s/thread/Pooled.h"

namespace s::str::strbuffer {
class StrBuffer;
}
namespace s::map {
class IMappedData;
}

namespace s::app::win {

class AppWindow : public s::app::IAppWindow
{
    S_CLASS_ID(L"s_app_win_AppWindow")
    S_POOLED(AppWindow)

public:
    void Reset() override;

    /// See above. `app` is shared and must outlive this object. `softwareType` is one of
    /// IAppBase's constants; `middleClickAction` one of the window's actions (null:
    /// "Close"). A `skinner` other than the application's becomes the window's own: this
    /// object takes it over (Reset releases it) and selects the saved skin in it, or
    /// `skinName` (may be null) when none is saved or its manager does not know it.
    void init(IAppBase* app, const wchar_t* name, const wchar_t* softwareType, int defaultWidth, int defaultHeight,
              const wchar_t* middleClickAction, s::gui::drawer::Skinner* skinner, const wchar_t* skinName);

    /// Whether the title shows " v" and the version (on by default).
    void setShowVersion(bool on) { showVersion_ = on; }
    const wchar_t* getSoftwareType() const { return softwareType_; }
    int getDefaultWidth() const { return defaultWidth_; }
    int getDefaultHeight() const { return defaultHeight_; }

    // --- IAppWindow -----------------------------------------------------------------
    IAppBase* getAppBase() override { return app_; }
    const wchar_t* getName() override;
    const wchar_t* getSectionPath(const wchar_t* sub) override;
    int32_t getTextBase() override { return textBase_; }
    s::lang::Localizer* getLocalizer() override;
    bool hasOwnSkinner() override { return ownSkinner_; }
    s::gui::drawer::Skinner* getSkinner() override;
    const wchar_t* getSavedSkin() override;
    void setSavedSkin(const wchar_t* name) override;
    void attachSkinner(s::gui::IWindow* window) override;
    void setSize(int width, int height) override;
    void forgetBounds() override;
    bool hasX() override;
    void setX(int x) override;
    bool hasY() override;
    void setY(int y) override;
    bool isWidthValid() override;
    bool hasWidth() override;
    void setWidth(int width) override;
    bool isHeightValid() override;
    bool hasHeight() override;
    void setHeight(int height) override;
    bool isMiddleClickClose() override;
    bool isMiddleClickIconize() override;

    // --- IWindowSettings ------------------------------------------------------------
    bool hasSavedPosition() override;
    int getX() override;
    int getY() override;
    int getWidth() override;
    int getHeight() override;
    void setBounds(int x, int y, int width, int height) override;
    bool getEasyDrag() override;
    void setEasyDrag(bool on) override;
    bool getMaximized() override;
    void setMaximized(bool on) override;
    bool getKeepOnTop() override;
    void setKeepOnTop(bool on) override;
    const wchar_t* getMiddleClickAction() override;
    void setMiddleClickAction(const wchar_t* action) override;
    int getTitleTextId() override { return textBase_; }
    int getVersionTextId() override;
    HICON__* getSmallIcon() override;
    HICON__* getLargeIcon() override;

    /// The action constant for a text ("Close", "Iconize" without regard to case; anything
    /// else, null included, "DoNothing").
    static const wchar_t* actionOf(const wchar_t* text);
    /// The text base of a software type.
    static int32_t textBaseOf(const wchar_t* softwareType);

protected:
    AppWindow();
    ~AppWindow() override;

private:
    s::map::IMappedData* store();
    const wchar_t* viewSection();

    s::str::strbuffer::StrBuffer* scratch_;
    s::str::strbuffer::StrBuffer* section_;   // the view section, formed once per name
    IAppBase* app_ = nullptr;
    s::str::strbuffer::StrBuffer* name_;
    const wchar_t* softwareType_;
    int32_t textBase_;
    s::lang::Localizer* localizer_ = nullptr;  // own language pack (none in this program)
    s::gui::drawer::Skinner* skinner_ = nullptr;
    bool ownSkinner_ = false;
    s::str::strbuffer::StrBuffer* defaultSkin_;
    int defaultWidth_ = 500;
    int defaultHeight_ = 500;
    bool easyDrag_ = true;
    bool maximized_ = false;
    bool keepOnTop_ = false;
    const wchar_t* middleClickAction_;
    bool showVersion_ = true;
};

} // namespace s::app::win
