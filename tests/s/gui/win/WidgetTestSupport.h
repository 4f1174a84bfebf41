#pragma once
// Shared pieces of the widget tests: a two-language pack, a shown window holding a
// column box, and helpers that act on native controls as a user would.
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <map>
#include <thread>

#include "s/gui/GuiTestSupport.h"
#include "s/gui/win/Box.h"
#include "s/lang/Localizer.h"
#include "s/xml/Node.h"

namespace testwidgets
{

// English and German texts for the ids 100 ("Hello"/"Hallo"), 101 ("Apply"/
// "Anwenden"), 102 ("Created"/"Erstellt"), 103 ("Hour"/"Stunde").
inline s::lang::Localizer* makePack()
{
    s::xml::Node* root = s::xml::Node::Acquire();
    root->parse(L"<pack><languages><entry tagName=\"eng\" engName=\"English\" trueName=\"English\"/>"
                L"<entry tagName=\"deu\" engName=\"German\" trueName=\"Deutsch\"/></languages><entries>"
                L"<entry id=\"100\"><eng>Hello</eng><deu>Hallo</deu></entry>"
                L"<entry id=\"101\"><eng>Apply</eng><deu>Anwenden</deu></entry>"
                L"<entry id=\"102\"><eng>Created</eng><deu>Erstellt</deu></entry>"
                L"<entry id=\"103\"><eng>Hour</eng><deu>Stunde</deu></entry>"
                L"</entries></pack>");
    s::lang::Localizer* pack = s::lang::Localizer::loadFromDocument(root);
    root->Release();
    pack->selectLanguage(L"English");
    return pack;
}

// One shown window for the whole test program (a window takes seconds to go away),
// with the two-language pack attached and one column box (gaps 4, insets 6) as its
// content. Panel::get() empties the box and selects English for the next test.
struct Panel
{
    s::gui::win::Window* window;
    s::gui::win::Box* box;
    s::lang::Localizer* pack;

    static Panel& get()
    {
        static Panel* shared = nullptr;
        if (!shared)
        {
            shared = new Panel();
            std::atexit([] {
                shared->window->Release();
                shared->pack->Release();
            });
        }
        shared->reset();
        return *shared;
    }
    HWND handle() { return window->getHandle(); }
    void settle() { testgui::settle(window->getHandle()); }
    // Adds a widget to the column and waits until the window's thread has made it.
    template <class W> W* add(W* widget)
    {
        box->add(widget);
        settle();
        return widget;
    }

  private:
    Panel()
    {
        testgui::MessageBoxes::install();
        pack = makePack();
        window = s::gui::win::Window::Acquire();
        window->setLocalizer(pack);
        box = s::gui::win::Box::Acquire();
        box->setInsets(6);
        box->setVerticalGap(4);
        box->fillParent();
        window->add(box);
        window->setBounds(120, 120, 360, 300);
        window->setVisible(true, false);
        settle();
    }
    void reset()
    {
        pack->selectLanguage(L"English");
        box->removeAll(true);
        window->setBounds(120, 120, 360, 300);
        settle();
    }
};

// A recorder of one kind of event of the shared window, emptied: it is added once, as
// the window keeps its listeners for the whole program.
inline testgui::Recorder& windowEvents(Panel& p, int kind)
{
    static std::map<int, testgui::Recorder> recorders;
    auto found = recorders.find(kind);
    if (found == recorders.end())
    {
        found = recorders.emplace(kind, testgui::Recorder()).first;
        p.window->addListener(kind, &found->second);
    }
    found->second.kinds.clear();
    return found->second;
}

// Runs `change` (given the round) `rounds` times on the window's own thread (inside a
// posted request, as the window's handlers run) and at the same time `rounds` times on a
// worker (as a processing run does), and returns when both are done.
inline void fromTwoThreadsAtOnce(Panel& p, const std::function<void(int round)>& change, int rounds)
{
    struct OnWindowThread : s::gui::events::IEventListener
    {
        std::function<void()> job;
        std::atomic<bool> done{true};
        void handleEvent(void*, int) override
        {
            if (job)
                job();
            done = true;
        }
    };
    static OnWindowThread* listener = nullptr;
    if (!listener)
    {
        listener = new OnWindowThread();
        p.window->addListener(s::gui::IWindow::EVENT_REQUEST, listener);
    }
    std::atomic<bool> go{false};
    listener->job = [&] {
        go = true;
        for (int i = 0; i < rounds; ++i)
            change(i);
    };
    listener->done = false;
    p.window->postRequest(0, 0, 0, 0);
    std::thread worker([&] {
        while (!go)
            std::this_thread::yield();
        for (int i = 0; i < rounds; ++i)
            change(i + 1);
    });
    worker.join();
    while (!listener->done)
        Sleep(1);
    listener->job = nullptr;
    p.settle();
}

inline HWND handleOf(s::gui::IComponent* c)
{
    return s::gui::win::Toolkit::handleOf(c);
}

// Sends a control's notification to its parent window as the control would.
inline void notifyParent(HWND control, UINT code)
{
    HWND parent = GetParent(control);
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
}

// A left click in the middle of a native window: button down, then up.
inline void clickMiddle(HWND h)
{
    RECT r;
    GetClientRect(h, &r);
    LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    SendMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(h, WM_LBUTTONUP, 0, at);
}

} // namespace testwidgets
