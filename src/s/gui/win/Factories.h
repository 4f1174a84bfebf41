#pragma once
// The factories of the widgets: each takes an object from its class's pool, applies
// the settings and answers it detached; the caller adds it to a container (which then
// owns it) or releases it. Texts given by id are fetched when the widget joins a window
// with a language pack, and again on every change of language.
//
// Font arguments of labels: flag 1 draws the text with smoothed (anti-aliased) edges,
// flag 2 with a grey shadow one pixel down and right; the size code is the one of IFont
// (0 = 10 points, -1 = 9 points, -103 = 11-point bold, 100001 = 8 points, 1000 and
// more = unchanged).
#include "s/gui/win/Box.h"
#include "s/gui/win/Button.h"
#include "s/gui/win/CheckBox.h"
#include "s/gui/win/ComboBox.h"
#include "s/gui/win/GroupBox.h"
#include "s/gui/win/Label.h"
#include "s/gui/win/RadioButton.h"
#include "s/gui/win/Spacer.h"
#include "s/gui/win/TextField.h"

namespace s::gui::win
{

// The text id of the convert button of the file-time dialog.
constexpr int CONVERT_TEXT_ID = 5004000;
// The fixed height of a combo box.
constexpr int COMBO_BOX_HEIGHT = 23;

Label* newLabel(const wchar_t* text, bool smooth, bool shadow, int fontSizeCode);
Label* newLabelById(int textId, bool smooth, bool shadow, int fontSizeCode);
// The same labels drawn in their host (Label::setDrawnInHost): for captions beside the
// controls, which only show a text.
Label* newCaption(const wchar_t* text, bool smooth, bool shadow, int fontSizeCode);
Label* newCaptionById(int textId, bool smooth, bool shadow, int fontSizeCode);
// orientation 0: horizontal, `pixels` wide; 1: vertical, `pixels` high.
Spacer* newSpacer(int orientation, int pixels);
// A horizontal spacer `percent` of its parent's client width wide.
Spacer* newSpacerPercent(int percent);
// An enabled group box whose content is newLayoutBox(100, 100, left, top, the gaps, the
// insets, mode): layout-only (Box::setLayoutOnly: it keeps a window of its own when it
// accepts drops or has a colour of its own by the time it joins the window); a negative
// width percent leaves the width to the content.
GroupBox* newGroupBox(int captionTextId, int horizontalGap, int verticalGap, int horizontalInsets,
                      int verticalInsets, int widthPercent, int mode);
// A box (IBox::Mode for mode; alignments 0 left/top, 1 centre, 2 right/bottom);
// negative percentages and non-positive gaps and insets leave the defaults.
Box* newBox(int widthPercent, int heightPercent, int horizontalAlignment, int verticalAlignment,
            int horizontalGap, int verticalGap, int horizontalInsets, int verticalInsets, int mode);
// The same box, layout-only (Box::setLayoutOnly): without a native window of its own where
// it draws nothing of its own.
Box* newLayoutBox(int widthPercent, int heightPercent, int horizontalAlignment, int verticalAlignment,
                  int horizontalGap, int verticalGap, int horizontalInsets, int verticalInsets, int mode);
// An empty field; a negative width percent leaves the width to the field.
TextField* newTextField(int widthPercent);
// Enabled push buttons; negative sizes and percentages mean none.
Button* newButton(const wchar_t* text, int widthPercent);
Button* newButtonSized(const wchar_t* text, int fixedWidth, int fixedHeight);
Button* newButtonById(int textId, int widthPercent, int fixedHeight);
Button* newButtonByIdSized(int fixedWidth, int textId, int fixedHeight);
// The file-time dialog's convert button (text 5004000); a negative height percent
// means none.
Button* newConvertButton(int heightPercent);
// Font flag 1 off, the checked state set (without events).
CheckBox* newCheckBox(int textId, bool checked);
// Selected or not, without events.
RadioButton* newRadioButton(int textId, bool selected);
// Fixed width, fixed height 23, enabled.
ComboBox* newComboBox(int fixedWidth);

} // namespace s::gui::win
