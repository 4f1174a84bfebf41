#pragma once

namespace s::gui
{
class IComponent;
}

namespace s::gui::layout
{

// The four arrangements that every layout manager and box uses. Each sizes and places
// the children of `container` inside its client area and writes, when the pointers are
// not null, the content limits: minimum width and height, preferred width and height.
// Every child is sized with setSizeClamped, so it never leaves its own limits. Unless
// the container's own layout is suspended, the children's geometry is applied at the
// end of the pass, once per child, and each child is redrawn.
//
// Alignments: horizontal 0 left, 1 centre, 2 right; vertical 0 top, 1 centre, 2 bottom.
// Gaps are in pixels. Call on any thread (geometry goes through the components).

// Children stacked top to bottom, all as wide as the column.
void arrangeColumn(IComponent* container, int hAlign, int vAlign, int gap, int* minWidth, int* minHeight,
                   int* prefWidth, int* prefHeight);

// Children side by side, all as high as the row.
void arrangeRow(IComponent* container, int hAlign, int vAlign, int gap, int* minWidth, int* minHeight,
                int* prefWidth, int* prefHeight);

// Children in rows that wrap at the container's width.
void arrangeFlow(IComponent* container, int hAlign, int vAlign, int hGap, int vGap, int* minWidth,
                 int* minHeight, int* prefWidth, int* prefHeight);

// Visible children on top of each other; hidden ones are left where they are.
void arrangePile(IComponent* container, int hAlign, int vAlign, int* minWidth, int* minHeight, int* prefWidth,
                 int* prefHeight);

} // namespace s::gui::layout
