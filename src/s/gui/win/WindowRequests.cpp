#include "s/gui/win/Window.h"

#include "s/gui/win/MessageBoxW.h"
#include "s/gui/win/WindowParts.h"

namespace s::gui::win
{
using namespace windowparts;

// --- cross-thread ---------------------------------------------------------------------------

intptr_t Window::sendRequest(int v1, int v2, int v3, int v4)
{
    // Nothing of this object is touched once the message is on its way: another thread
    // may release the window while the request waits (the call then answers 0).
    HWND h = handle_;
    if (!h)
        return 0;
    RequestBlock block{{v1, v2, v3, v4}};
    return Toolkit::sendPrivate(h, MSG_REQUEST, reinterpret_cast<WPARAM>(&block), 0);
}

bool Window::postRequest(int v1, int v2, int v3, int v4)
{
    HWND h = handle_;
    if (!h)
        return false;
    RequestBlock* block = new RequestBlock{{v1, v2, v3, v4}};
    {
        thread::ObjLocker::Guard guard(postedLock_);
        posted_.push_back(block);
    }
    if (Toolkit::postPrivate(h, MSG_REQUEST, reinterpret_cast<WPARAM>(block), 1))
        return true;
    claimPosted(block);
    delete block;
    return false;
}

bool Window::claimPosted(const void* block)
{
    thread::ObjLocker::Guard guard(postedLock_);
    for (size_t i = 0; i < posted_.size(); ++i)
    {
        if (posted_[i] == block)
        {
            posted_.erase(posted_.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    return false;
}

void Window::dropPostedRequests()
{
    thread::ObjLocker::Guard guard(postedLock_);
    for (const void* block : posted_)
        delete static_cast<const RequestBlock*>(block);
    posted_.clear();
}

void Window::showMessage(const wchar_t* text)
{
    Toolkit::sendPrivate(handle_, MSG_SHOW_MESSAGE, reinterpret_cast<WPARAM>(text), 0);
}

void Window::showError(const wchar_t* text)
{
    Toolkit::sendPrivate(handle_, MSG_SHOW_ERROR, reinterpret_cast<WPARAM>(text), 0);
}

bool Window::askQuestion(const wchar_t* text)
{
    return Toolkit::sendPrivate(handle_, MSG_ASK_QUESTION, reinterpret_cast<WPARAM>(text), 0) == 1;
}

// --- hot keys and timers ----------------------------------------------------------------------

bool Window::registerHotKey(bool alt, bool ctrl, bool shift, bool win, int key, const wchar_t* name,
                            bool reportFailure)
{
    if (!handle_ || !name)
        return false;
    UINT modifiers =
        (alt ? MOD_ALT : 0) | (ctrl ? MOD_CONTROL : 0) | (shift ? MOD_SHIFT : 0) | (win ? MOD_WIN : 0);
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof(version);
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)
#endif
    if (GetVersionExW(&version) &&
        (version.dwMajorVersion > 6 || (version.dwMajorVersion == 6 && version.dwMinorVersion >= 1)))
        modifiers |= 0x4000; // MOD_NOREPEAT
    HotKeyBlock block{modifiers, static_cast<UINT>(key), name, reportFailure, alt, ctrl, shift, win};
    return Toolkit::sendPrivate(handle_, MSG_REGISTER_HOT_KEY, reinterpret_cast<WPARAM>(&block), 0) == 1;
}

LRESULT Window::onRegisterHotKey(void* raw)
{
    const HotKeyBlock* block = static_cast<const HotKeyBlock*>(raw);
    ATOM atom = GlobalAddAtomW(block->name);
    if (atom && RegisterHotKey(handle_, atom, block->modifiers, block->key))
    {
        hotKeys_.push_back(HotKey{block->name, atom});
        return 1;
    }
    DWORD error = GetLastError();
    if (atom)
        GlobalDeleteAtom(atom);
    if (block->report)
    {
        std::wstring text = L"HotKey ";
        if (block->alt)
            text += L"Alt+";
        if (block->ctrl)
            text += L"Ctrl+";
        if (block->shift)
            text += L"Shift+";
        if (block->win)
            text += L"WinKey+";
        wchar_t keyName[64] = L"";
        LONG scan = static_cast<LONG>(MapVirtualKeyW(block->key, MAPVK_VK_TO_VSC)) << 16;
        GetKeyNameTextW(scan, keyName, 64);
        text += keyName;
        text += L" has been occupied by another application.";
        wchar_t code[32];
        wsprintfW(code, L" (%lu)", error);
        text += code;
        MessageBoxW* box = MessageBoxW::Acquire();
        box->setOwner(handle_);
        box->warning(text.c_str(), nullptr);
        box->Release();
    }
    return 0;
}

void Window::unregisterHotKey(const wchar_t* name)
{
    if (handle_ && name)
        Toolkit::sendPrivate(handle_, MSG_UNREGISTER_HOT_KEY, reinterpret_cast<WPARAM>(name), 0);
}

void Window::unregisterAllHotKeys()
{
    if (handle_)
        Toolkit::sendPrivate(handle_, MSG_UNREGISTER_ALL_HOT_KEYS, 0, 0);
}

bool Window::isHotKey(const wchar_t* name)
{
    if (!name || !lastHotKey_)
        return false;
    for (const HotKey& k : hotKeys_)
    {
        if (k.name == name)
            return k.atom == lastHotKey_;
    }
    return false;
}

void Window::startTimer(int id, int milliseconds)
{
    if (handle_)
        Toolkit::sendPrivate(handle_, MSG_START_TIMER, static_cast<WPARAM>(id), static_cast<LPARAM>(milliseconds));
}

void Window::stopTimer(int id)
{
    if (handle_)
        Toolkit::sendPrivate(handle_, MSG_STOP_TIMER, static_cast<WPARAM>(id), 0);
}

void Window::setWatchClipboard(bool on)
{
    watchClipboard_ = on;
    if (!handle_)
        return;
    if (on && !inClipboardChain_)
    {
        nextClipboardViewer_ = SetClipboardViewer(handle_);
        inClipboardChain_ = true;
    }
    else if (!on && inClipboardChain_)
    {
        ChangeClipboardChain(handle_, nextClipboardViewer_);
        inClipboardChain_ = false;
        nextClipboardViewer_ = nullptr;
    }
}

void Window::setSizingRect(int left, int top, int right, int bottom)
{
    sizingRect_ = RECT{left, top, right, bottom};
}

} // namespace s::gui::win
