#pragma once

namespace s::gui
{
class IComponent;
}

namespace s::gui::layout
{

// Lays out every container of the tree under `root` (root included), the innermost first,
// as building the tree does: afterwards each box reports the limits of what it holds now.
// A container lays out again only when its own size changes, so a change deep in a tree
// that leaves the outer sizes as they were (new texts after a change of language, a view
// that collapses or restores boxes) would otherwise keep the limits of before. Lay the top
// window out afterwards. On the window's thread.
void layoutFromInside(IComponent* root);

} // namespace s::gui::layout
