#pragma once
#include <cstdint>

struct HICON__;

namespace s::gui
{

// What the top-level window needs from the object that keeps its settings (the
// program's AppWindow): geometry and options are read from it when it is attached and
// reported to it whenever they change. Called on the window's thread and on the
// thread that attaches it. The window does not own it.
class IWindowSettings
{
  public:
    virtual ~IWindowSettings() = default;

    // True when both a saved x and a saved y exist.
    virtual bool hasSavedPosition() = 0;
    virtual int getX() = 0;
    virtual int getY() = 0;
    virtual int getWidth() = 0;
    virtual int getHeight() = 0;
    virtual void setBounds(int x, int y, int width, int height) = 0;
    virtual bool getEasyDrag() = 0;
    virtual void setEasyDrag(bool on) = 0;
    virtual bool getMaximized() = 0;
    virtual void setMaximized(bool on) = 0;
    virtual bool getKeepOnTop() = 0;
    virtual void setKeepOnTop(bool on) = 0;
    // "Close", "Iconize" or "DoNothing" (matched without regard to case).
    virtual const wchar_t* getMiddleClickAction() = 0;
    virtual void setMiddleClickAction(const wchar_t* action) = 0;
    // Opacity in percent (100 = opaque); stores that keep none answer 100.
    virtual int getOpacity() { return 100; }
    virtual void setOpacity(int percent) { (void)percent; }
    // Title: the text of the title id, then " v" and the version text when the version
    // id is not −1 (ids of the language pack; −1 = none).
    virtual int getTitleTextId() = 0;
    virtual int getVersionTextId() = 0;
    // Icons stay owned by the settings object (null = none).
    virtual HICON__* getSmallIcon() = 0;
    virtual HICON__* getLargeIcon() = 0;
};

} // namespace s::gui
