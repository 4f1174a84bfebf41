#pragma once
// The version-information window: a skinned window of its own ("AboutWindow") with a title
// row and its "#X" close button, the program's wide picture, the program icon and name,
// the version, the date of the last update and the maker's address as a link, a framed
// donation box for freeware, and "Close".
//
//     About3* about = About3::Acquire();
//     about->bind(aboutWindowSettings);   // the AppWindow "AboutWindow"
//     about->show(mainWindow);            // a new window each time; returns at once
//     ...
//     about->Release();                   // releases the window it shows
//
// While the window is shown its owner is disabled (EnableWindow); closing the window (its
// close box, "Close", "#X" or a middle click) enables the owner again. Links open their
// page through the application's page seam (s::app::win::AppBase::openAddress).
//
// Ownership: the AppWindow, its store, language pack and skin manager and the owner window
// are shared (not owned); the window shown belongs to the About3 and is released by the
// next show and by Release.
// Threads: bind and show on any thread except the shown window's own (normally the owner's
// user-interface thread, from its menu command); handleEvent runs on the shown window's
// thread. Release it from another thread than the shown window's.

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/gui/events/IEventListener.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::app::win
{
class AppWindow;
}
namespace s::gui
{
class IWindow;
}
namespace s::gui::win
{
class Window;
class Button;
class Label;
} // namespace s::gui::win
namespace s::lang
{
class Localizer;
}

namespace s::gui::dialogs
{

class About3 : public base::IObject, public events::IEventListener, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_dialogs_About3")
    S_POOLED(About3)

  public:
    // Texts of the window (language-pack ids); the product's own come from the text base.
    enum Text : int32_t
    {
        TEXT_VERSION = 400010,      // "Version:"
        TEXT_LAST_UPDATED = 400020, // "Last Updated:"
        TEXT_URL = 400080,          // "URL:"
        TEXT_TITLE = 400100,        // "Version Information"
        TEXT_CLOSE = 400120,        // "Close"
        TEXT_MAKER_PAGE = 101000,   // the maker's address
        BASE_NAME = 0,              // text base + these
        BASE_VERSION = 10,
        BASE_UPDATED = 20,
        BASE_DONATION_TEXT = 89,
        BASE_DONATION_LINK = 90,
        BASE_DONATION_PAGE = 100
    };
    // The link colours (normal, hovered) and the donation box's frame and panel colours.
    static constexpr int LINK_RGB[3] = {0, 170, 0};
    static constexpr int LINK_HOVER_RGB[3] = {170, 170, 0};
    static constexpr int DONATION_FRAME_RGB[3] = {154, 206, 2};
    static constexpr int DONATION_PANEL_RGB[3] = {238, 250, 199};

    About3();
    ~About3() override;
    // Releases the window and forgets everything shared.
    void Reset() override;

    // Takes the settings store, the language pack and the skin manager from `appWindow`
    // (shared, must outlive this object); its software type decides the donation box
    // (shown for "Freeware" only).
    void bind(app::win::AppWindow* appWindow);
    // Releases the window of an earlier showing, builds a new one, shows it and disables
    // `owner` (may be null). False when not bound or the window could not be made.
    bool show(gui::IWindow* owner);

    // The window's close request enables the owner again; "Close" and "#X" close the
    // window; a click on a link opens its page.
    void handleEvent(void* source, int kind) override;

    // What a test drives as a user would (null before the first show).
    win::Window* getWindow() const { return window_; }
    win::Button* getCloseButton() const { return closeButton_; }
    win::Button* getXButton() const { return xButton_; }
    win::Label* getAddressLink() const { return addressLink_; }
    win::Label* getDonationLink() const { return donationLink_; }

  private:
    About3(const About3&) = delete;
    About3& operator=(const About3&) = delete;

    void releaseWindow();
    void build();
    const wchar_t* text(int32_t id);

    gui::IWindow* owner_ = nullptr;
    app::win::AppWindow* appWindow_ = nullptr;
    lang::Localizer* localizer_ = nullptr;
    win::Window* window_ = nullptr; // owned
    win::Button* closeButton_ = nullptr;
    win::Button* xButton_ = nullptr;
    win::Label* addressLink_ = nullptr;
    win::Label* donationLink_ = nullptr;
    int32_t donationPage_ = -1;
};

} // namespace s::gui::dialogs
