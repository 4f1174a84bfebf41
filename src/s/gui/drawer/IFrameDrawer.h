#pragma once

struct HDC__;

namespace s::gui
{
class IWindow;
}

namespace s::gui::drawer
{

// Paints a top-level window's own frame (a skinned window has no system frame: its
// client area is the whole window). Called on the window's thread.
class IFrameDrawer
{
  public:
    virtual ~IFrameDrawer() = default;
    // Paints the frame (border and caption) into `dc`, which covers the whole window
    // of `width` × `height` pixels.
    virtual void paintFrame(gui::IWindow* window, HDC__* dc, int width, int height) = 0;
};

} // namespace s::gui::drawer
