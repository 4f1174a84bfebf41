#include "s/gui/win/Factories.h"

namespace s::gui::win
{

namespace
{

// Shadows are a mid grey: readable on light and dark backgrounds alike.
constexpr int SHADOW_GREY = 160;

void applyLabelFont(Label* label, bool smooth, bool shadow, int fontSizeCode)
{
    Font* font = label->getFont();
    font->beginChanges();
    font->setSmooth(smooth);
    font->setShadow(shadow, SHADOW_GREY, SHADOW_GREY, SHADOW_GREY);
    font->applySizeCode(fontSizeCode);
    font->endChanges();
}

} // namespace

Label* newLabel(const wchar_t* text, bool smooth, bool shadow, int fontSizeCode)
{
    Label* label = Label::Acquire();
    label->setText(text, true);
    applyLabelFont(label, smooth, shadow, fontSizeCode);
    return label;
}

Label* newLabelById(int textId, bool smooth, bool shadow, int fontSizeCode)
{
    Label* label = Label::Acquire();
    label->setTextId(textId);
    applyLabelFont(label, smooth, shadow, fontSizeCode);
    return label;
}

Label* newCaption(const wchar_t* text, bool smooth, bool shadow, int fontSizeCode)
{
    Label* label = newLabel(text, smooth, shadow, fontSizeCode);
    label->setDrawnInHost();
    return label;
}

Label* newCaptionById(int textId, bool smooth, bool shadow, int fontSizeCode)
{
    Label* label = newLabelById(textId, smooth, shadow, fontSizeCode);
    label->setDrawnInHost();
    return label;
}

Spacer* newSpacer(int orientation, int pixels)
{
    Spacer* spacer = Spacer::Acquire();
    if (orientation == 1)
    {
        spacer->setVertical();
        spacer->setFixedHeight(pixels);
    }
    else
    {
        spacer->setFixedWidth(pixels);
    }
    return spacer;
}

Spacer* newSpacerPercent(int percent)
{
    Spacer* spacer = Spacer::Acquire();
    spacer->setWidthPercent(percent);
    return spacer;
}

GroupBox* newGroupBox(int captionTextId, int horizontalGap, int verticalGap, int horizontalInsets,
                      int verticalInsets, int widthPercent, int mode)
{
    GroupBox* group = GroupBox::Acquire();
    group->setTextId(captionTextId);
    if (widthPercent >= 0)
        group->setWidthPercent(widthPercent);
    group->setEnabled(true);
    group->setContent(newLayoutBox(100, 100, 0, 0, horizontalGap, verticalGap, horizontalInsets, verticalInsets, mode));
    return group;
}

Box* newBox(int widthPercent, int heightPercent, int horizontalAlignment, int verticalAlignment,
            int horizontalGap, int verticalGap, int horizontalInsets, int verticalInsets, int mode)
{
    Box* box = Box::Acquire();
    if (widthPercent >= 0)
        box->setWidthPercent(widthPercent);
    if (heightPercent >= 0)
        box->setHeightPercent(heightPercent);
    switch (horizontalAlignment)
    {
    case 1:
        box->alignCentre();
        break;
    case 2:
        box->alignRight();
        break;
    default:
        box->alignLeft();
        break;
    }
    switch (verticalAlignment)
    {
    case 1:
        box->alignMiddle();
        break;
    case 2:
        box->alignBottom();
        break;
    default:
        box->alignTop();
        break;
    }
    if (horizontalGap > 0)
        box->setHorizontalGap(horizontalGap);
    if (verticalGap > 0)
        box->setVerticalGap(verticalGap);
    if (horizontalInsets > 0)
        box->setInsetsHorizontal(horizontalInsets);
    if (verticalInsets > 0)
        box->setInsetsVertical(verticalInsets);
    switch (mode)
    {
    case IBox::MODE_ROW:
        box->setRowMode();
        break;
    case IBox::MODE_FLOW:
        box->setFlowMode();
        break;
    case IBox::MODE_PILE:
        box->setPileMode();
        break;
    default:
        box->setColumnMode();
        break;
    }
    return box;
}

Box* newLayoutBox(int widthPercent, int heightPercent, int horizontalAlignment, int verticalAlignment,
                  int horizontalGap, int verticalGap, int horizontalInsets, int verticalInsets, int mode)
{
    Box* box = newBox(widthPercent, heightPercent, horizontalAlignment, verticalAlignment, horizontalGap, verticalGap,
                      horizontalInsets, verticalInsets, mode);
    box->setLayoutOnly();
    return box;
}

TextField* newTextField(int widthPercent)
{
    TextField* field = TextField::Acquire();
    if (widthPercent >= 0)
        field->setWidthPercent(widthPercent);
    return field;
}

Button* newButton(const wchar_t* text, int widthPercent)
{
    Button* button = Button::Acquire();
    button->setText(text);
    if (widthPercent >= 0)
        button->setWidthPercent(widthPercent);
    button->setEnabled(true);
    return button;
}

Button* newButtonSized(const wchar_t* text, int fixedWidth, int fixedHeight)
{
    Button* button = newButton(text, -1);
    if (fixedWidth >= 0)
        button->setFixedWidth(fixedWidth);
    if (fixedHeight >= 0)
        button->setFixedHeight(fixedHeight);
    return button;
}

Button* newButtonById(int textId, int widthPercent, int fixedHeight)
{
    Button* button = newButton(L"", widthPercent);
    button->setTextId(textId);
    if (fixedHeight >= 0)
        button->setFixedHeight(fixedHeight);
    return button;
}

Button* newButtonByIdSized(int fixedWidth, int textId, int fixedHeight)
{
    Button* button = newButtonById(textId, -1, fixedHeight);
    if (fixedWidth >= 0)
        button->setFixedWidth(fixedWidth);
    return button;
}

Button* newConvertButton(int heightPercent)
{
    Button* button = newButtonById(CONVERT_TEXT_ID, -1, -1);
    if (heightPercent >= 0)
        button->setHeightPercent(heightPercent);
    return button;
}

CheckBox* newCheckBox(int textId, bool checked)
{
    CheckBox* box = CheckBox::Acquire();
    box->getFont()->setSmooth(false);
    box->setTextId(textId);
    box->setCheckedSilently(checked);
    return box;
}

RadioButton* newRadioButton(int textId, bool selected)
{
    RadioButton* radio = RadioButton::Acquire();
    radio->setTextId(textId);
    radio->setSelected(selected, false);
    return radio;
}

ComboBox* newComboBox(int fixedWidth)
{
    ComboBox* combo = ComboBox::Acquire();
    if (fixedWidth >= 0)
        combo->setFixedWidth(fixedWidth);
    combo->setFixedHeight(COMBO_BOX_HEIGHT);
    combo->setEnabled(true);
    return combo;
}

} // namespace s::gui::win
