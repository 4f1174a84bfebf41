// A gallery of every widget in its normal, hovered, pressed or checked and disabled
// states, with the program's own language pack, saved as gui-widgets.bmp (English) and
// gui-widgets-ja.bmp (Japanese, its own CTest entry) in the build folder for a person
// to look at.
#include <gtest/gtest.h>

#include "WidgetTestSupport.h"
#include "s/gui/ScreenshotSupport.h"
#include "s/gui/combobox/ComboBoxItem.h"
#include "s/gui/win/Factories.h"
#include "s/gui/win/ProgressBar.h"
#include "s/gui/win/StatusBar.h"
#include "s/lang/LangPack.h"

using namespace s::gui::win;
using s::gui::IBox;
using s::gui::combobox::ComboBoxItem;

namespace
{

Box* row(int gap = 8)
{
    return newBox(100, -1, 0, 1, gap, -1, -1, -1, IBox::MODE_ROW);
}

void hover(s::gui::IComponent* c)
{
    SendMessageW(Toolkit::handleOf(c), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
}

// Builds the gallery in a window with `pack`, renders it to `path` and checks that no
// widget is narrower or lower than its text needs.
void renderGallery(s::lang::Localizer* pack, const char* path)
{
    testgui::TestWindow w;
    w->setLocalizer(pack);
    w->setTitle(L"Widgets");
    Box* column = newBox(100, 100, 0, 0, -1, 6, 8, 6, IBox::MODE_COLUMN);
    w->add(column);

    column->add(newLabelById(1100000, true, false, -103));
    column->add(newLabelById(1100001, false, false, -1));

    Box* labels = row(12);
    labels->add(newLabel(L"Label", false, false, -1));
    Label* hovered = newLabel(L"Hovered label", false, false, -1);
    hovered->setHoverEffect(true);
    labels->add(hovered);
    Label* shadowed = newLabel(L"Shadow", true, true, 0);
    labels->add(shadowed);
    Label* disabled = newLabel(L"Disabled label", false, false, -1);
    disabled->setEnabled(false);
    labels->add(disabled);
    column->add(labels);

    Box* buttons = row(4);
    buttons->add(newButtonById(1006070, -1, -1));
    Button* hoveredButton = newButtonById(3001400, -1, -1);
    buttons->add(hoveredButton);
    Button* toggled = newButtonById(1006085, -1, -1);
    toggled->setToggle(true);
    toggled->setToggled(true);
    buttons->add(toggled);
    Button* cancel = newButtonById(1006050, -1, -1);
    cancel->setEnabled(false);
    buttons->add(cancel);
    Button* byDefault = newButton(L"OK", -1);
    byDefault->setDefault(true);
    buttons->add(byDefault);
    for (const wchar_t* glyph : {L"#X", L"#Plus", L"#Minus", L"#Down", L"#Next", L"#Check"})
    {
        Button* b = newButtonSized(L"", 23, 23);
        b->setImage(glyph);
        buttons->add(b);
    }
    column->add(buttons);

    Box* checks = row(12);
    checks->add(newCheckBox(1202000, false));
    checks->add(newCheckBox(1203000, true));
    CheckBox* disabledCheck = newCheckBox(1203500, true);
    disabledCheck->setEnabled(false);
    checks->add(disabledCheck);
    column->add(checks);

    Box* radios = row(12);
    RadioButton* specific = newRadioButton(6011000, true);
    specific->setGroupStart(true);
    radios->add(specific);
    radios->add(newRadioButton(3001000, false));
    RadioButton* disabledRadio = newRadioButton(4001000, false);
    disabledRadio->setEnabled(false);
    radios->add(disabledRadio);
    column->add(radios);

    Box* combos = row(6);
    ComboBox* year = newComboBox(55);
    year->addItem(ComboBoxItem::newItem(L"2026", 2026));
    year->setSelection(0, false);
    combos->add(year);
    ComboBox* month = newComboBox(60);
    for (int m = 0; m < 12; ++m)
        month->addItem(ComboBoxItem::newItemById(1150001 + m, pack, m + 1));
    month->setSelection(11, false);
    combos->add(month);
    ComboBox* disabledCombo = newComboBox(40);
    disabledCombo->addItem(ComboBoxItem::newItem(L"59", 59));
    disabledCombo->setSelection(0, false);
    disabledCombo->setEnabled(false);
    combos->add(disabledCombo);
    ComboBox* zone = newComboBox(-1);
    zone->setWidthPercent(100);
    zone->addItem(ComboBoxItem::newItemById(5001100, pack, -1));
    zone->setSelection(0, false);
    combos->add(zone);
    column->add(combos);

    Box* fields = row(6);
    TextField* name = newTextField(50);
    name->setText(L"holiday photo.jpg", false);
    fields->add(name);
    TextField* readOnly = newTextField(30);
    readOnly->setText(L"read-only", false);
    readOnly->setEditable(false);
    fields->add(readOnly);
    TextField* disabledField = newTextField(20);
    disabledField->setText(L"disabled", false);
    disabledField->setEnabled(false);
    fields->add(disabledField);
    column->add(fields);

    GroupBox* easyEdit = newGroupBox(3000000, 10, 10, 7, 3, 100, IBox::MODE_ROW);
    for (int id : {3001100, 3001200, 3001300, 3001400})
        easyEdit->getContent()->add(newButtonById(id, 25, -1));
    column->add(easyEdit);

    column->add(newCheckBox(1205000, true));
    Box* convertRow = row(0); // the flexible gap keeps the button apart
    convertRow->add(newLabelById(5001000, false, false, -1));
    convertRow->add(newSpacerPercent(100));
    convertRow->add(newConvertButton(-1));
    column->add(convertRow);

    StatusBar* status = StatusBar::Acquire();
    status->setTextId(0, 609450);
    ProgressBar* progress = ProgressBar::Acquire();
    progress->setWidthPercent(40);
    progress->setPosition(40);
    status->add(progress);
    Button* grip = newButtonSized(L"", 16, 16);
    grip->setImage(Button::GLYPH_RESIZER);
    status->add(grip);
    w->add(status);
    w->setStatusBar(status);

    w->setBounds(60, 60, 640, 600);
    w->setVisible(true, false);
    testgui::settle(w.handle());
    hover(hovered);
    hover(hoveredButton);
    Sleep(200);
    RedrawWindow(w.handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    testgui::settle(w.handle());

    // Every widget got at least the size its text needs.
    for (s::gui::IComponent* c : std::initializer_list<s::gui::IComponent*>{
             hovered, hoveredButton, toggled, cancel, specific, disabledCheck, easyEdit, zone})
    {
        EXPECT_GE(c->getWidth(), c->getMinWidth());
        EXPECT_GE(c->getHeight(), c->getMinHeight());
    }
    EXPECT_EQ(Label::STATE_HOVER, hovered->getHoverState());
    // The column fits into the window above the status bar.
    EXPECT_LE(column->getMinHeight(), w->getClientHeight() - status->getHeight());

    RECT client;
    GetClientRect(w.handle(), &client);
    COLORREF sample = 0;
    EXPECT_TRUE(testgui::saveBitmap(w.handle(), client.right, client.bottom, path, &sample, 1, 1, true));
}

} // namespace

TEST(Gallery, English)
{
    s::lang::Localizer* pack = s::lang::Localizer::loadFromResource(nullptr);
    pack->selectLanguage(L"English");
    renderGallery(pack, "gui-widgets.bmp");
    pack->Release();
}

// Run with LC_ALL=ja_JP.UTF-8 (tests.cmake).
TEST(GalleryJapaneseEnv, Japanese)
{
    s::lang::Localizer* pack = s::lang::Localizer::loadFromResource(nullptr);
    EXPECT_STREQ(L"Japanese", pack->getCurrentLanguage()->getEngName());
    renderGallery(pack, "gui-widgets-ja.bmp");
    pack->Release();
}
