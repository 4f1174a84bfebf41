#pragma once
// The confirmation dialog: a question with two answers and a box for not asking again, in
// a window of its own ("FlexAskerWindow", no skin manager) centred over its owner.
//
//     FlexAsker* asker = FlexAsker::Acquire();
//     asker->bind(askerWindowSettings);      // the AppWindow "FlexAskerWindow"
//     bool dontAskAgain = false;
//     bool yes = asker->ask(mainWindow, nullptr, nullptr, &dontAskAgain);
//     asker->Release();
//
// ask blocks its caller (checking every 100 ms) while the dialog's window runs on its own
// thread; the owner is disabled meanwhile and enabled again afterwards. The first button
// (which has the keyboard default) answers true, the second false, each closing the
// window; Tab moves the default between the two, Enter answers with the default one, and
// closing the window any other way answers false.
//
// Ownership: the AppWindow and the owner are shared; the window exists only during ask.
// Threads: ask on any thread but a window's own user-interface thread that must keep
// serving its messages meanwhile (the owner's is disabled anyway); handleEvent runs on the
// dialog window's thread.

#include <atomic>
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
class CheckBox;
} // namespace s::gui::win
namespace s::lang
{
class Localizer;
}

namespace s::gui::dialogs
{

class FlexAsker : public base::IObject, public events::IEventListener, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_dialogs_FlexAsker")
    S_POOLED(FlexAsker)

  public:
    enum Text : int32_t
    {
        TEXT_TITLE = 903000,    // when no title is given
        TEXT_QUESTION = 903150, // when no question is given
        TEXT_FIRST = 903210,
        TEXT_SECOND = 903220,
        TEXT_DONT_ASK = 903300
    };
    static constexpr int WIDTH = 375;

    FlexAsker();
    ~FlexAsker() override;
    void Reset() override;

    // Takes the store, the language pack and the skin manager from `appWindow` (shared).
    void bind(app::win::AppWindow* appWindow);
    // Shows the question and waits for the answer (see above); `dontAskAgain` (may be null)
    // receives the state of the check box. False at once when not bound or the window
    // could not be made.
    bool ask(gui::IWindow* owner, const wchar_t* title, const wchar_t* question, bool* dontAskAgain);

    void handleEvent(void* source, int kind) override;

    // The window while ask runs (null otherwise), and its parts: for tests that answer as
    // a user does.
    win::Window* getWindow() const { return shown_.load(); }
    win::Button* getFirstButton() const { return first_; }
    win::Button* getSecondButton() const { return second_; }
    win::CheckBox* getCheckBox() const { return checkBox_; }

  private:
    FlexAsker(const FlexAsker&) = delete;
    FlexAsker& operator=(const FlexAsker&) = delete;

    void build(const wchar_t* question);
    void moveDefault(bool toFirst);
    const wchar_t* text(int32_t id);

    gui::IWindow* owner_ = nullptr;
    app::win::AppWindow* appWindow_ = nullptr;
    lang::Localizer* localizer_ = nullptr;
    win::Window* window_ = nullptr; // owned while ask runs
    std::atomic<win::Window*> shown_{nullptr};
    win::Button* first_ = nullptr;
    win::Button* second_ = nullptr;
    win::CheckBox* checkBox_ = nullptr;
    bool answer_ = false;
    bool dontAskAgain_ = false;
    bool firstIsDefault_ = true;
};

} // namespace s::gui::dialogs
