// The factories' settings, a change of language across every kind of widget, and a
// native creation that fails.
#include <gtest/gtest.h>

#include "WidgetTestSupport.h"
#include "s/gui/FakeWidget.h"
#include "s/gui/combobox/ComboBoxItem.h"
#include "s/gui/win/Factories.h"

using namespace s::gui::win;
using s::gui::combobox::ComboBoxItem;
using testwidgets::Panel;

namespace
{

std::wstring windowText(s::gui::IComponent* c)
{
    wchar_t buffer[128] = {};
    GetWindowTextW(testwidgets::handleOf(c), buffer, 128);
    return buffer;
}

} // namespace

TEST(Factories, SizesAndStates)
{
    struct Case
    {
        const char* name;
        Button* button;
        int fixedWidth, fixedHeight, widthPercent, textId;
    } cases[] = {
        {"newButton", newButton(L"Now", 25), -1, -1, 25, -1},
        {"newButtonSized", newButtonSized(L"Apply", 170, 30), 170, 30, -1, -1},
        {"newButtonById", newButtonById(3001400, 25, 24), -1, 24, 25, 3001400},
        {"newButtonByIdSized", newButtonByIdSized(95, 1006085, -1), 95, -1, -1, 1006085},
        {"newConvertButton", newConvertButton(-1), -1, -1, -1, CONVERT_TEXT_ID},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(c.fixedWidth, c.button->getFixedWidth()) << c.name;
        EXPECT_EQ(c.fixedHeight, c.button->getFixedHeight()) << c.name;
        EXPECT_EQ(c.widthPercent, c.button->getWidthPercent()) << c.name;
        EXPECT_EQ(c.textId, c.button->getTextId()) << c.name;
        EXPECT_TRUE(c.button->isEnabled()) << c.name;
        c.button->Release();
    }
    Button* tall = newConvertButton(100);
    EXPECT_EQ(100, tall->getHeightPercent());
    tall->Release();

    Label* title = newLabel(L"View & Edit", true, true, -103);
    EXPECT_STREQ(L"View & Edit", title->getText());
    EXPECT_EQ(11, title->getFont()->getPointSize());
    EXPECT_TRUE(title->getFont()->isBold());
    EXPECT_TRUE(title->getFont()->isSmooth());
    EXPECT_TRUE(title->getFont()->hasShadow());
    title->Release();
    Label* byId = newLabelById(1100001, false, false, -1);
    EXPECT_EQ(1100001, byId->getTextId());
    EXPECT_EQ(9, byId->getFont()->getPointSize());
    EXPECT_FALSE(byId->getFont()->hasShadow());
    byId->Release();

    CheckBox* box = newCheckBox(1208000, true);
    EXPECT_TRUE(box->isChecked());
    EXPECT_FALSE(box->getFont()->isSmooth());
    box->Release();
    RadioButton* radio = newRadioButton(6011000, true);
    EXPECT_TRUE(radio->isSelected());
    radio->Release();
    ComboBox* combo = newComboBox(55);
    EXPECT_EQ(55, combo->getMinWidth());
    EXPECT_EQ(COMBO_BOX_HEIGHT, combo->getMinHeight());
    EXPECT_EQ(COMBO_BOX_HEIGHT, combo->getMaxHeight());
    combo->Release();
    TextField* field = newTextField(100);
    EXPECT_EQ(100, field->getWidthPercent());
    EXPECT_STREQ(L"", field->getText());
    field->Release();

    Box* box2 = newBox(-5, 50, 1, 2, 0, 7, -1, 3, s::gui::IBox::MODE_FLOW);
    EXPECT_EQ(s::gui::IBox::MODE_FLOW, box2->getMode());
    EXPECT_EQ(1, box2->getHorizontalAlignment());
    EXPECT_EQ(2, box2->getVerticalAlignment());
    box2->setSize(100, 100);
    EXPECT_EQ(100, box2->getClientWidth()); // no horizontal insets
    EXPECT_EQ(94, box2->getClientHeight()); // vertical insets 3
    box2->Release();
}

TEST(Factories, LanguageChangeRetextsEveryWidgetWithAnIdAndLeavesLiteralTexts)
{
    Panel& p = Panel::get();
    Label* label = p.add(newLabelById(100, false, false, 0));
    Label* literalLabel = p.add(newLabel(L"literal", false, false, 0));
    Button* button = p.add(newButtonById(101, -1, -1));
    Button* literalButton = p.add(newButton(L"OK", -1));
    CheckBox* box = p.add(newCheckBox(102, false));
    RadioButton* radio = p.add(newRadioButton(103, false));
    GroupBox* group = p.add(newGroupBox(101, 0, 0, 0, 0, -1, 0));
    ComboBox* combo = newComboBox(120);
    combo->addItem(ComboBoxItem::newItemById(103, p.pack, 1));
    combo->addItem(ComboBoxItem::newItem(L"Sec", 2));
    p.add(combo);
    EXPECT_EQ(L"Apply", windowText(button));
    EXPECT_EQ(L"Created", windowText(box));

    p.pack->selectLanguage(L"German");
    p.settle();
    EXPECT_STREQ(L"Hallo", label->getText());
    EXPECT_STREQ(L"literal", literalLabel->getText());
    EXPECT_EQ(L"Anwenden", windowText(button));
    EXPECT_EQ(L"OK", windowText(literalButton));
    EXPECT_EQ(L"Erstellt", windowText(box));
    EXPECT_EQ(L"Stunde", windowText(radio));
    EXPECT_STREQ(L"Anwenden", group->getText());
    EXPECT_STREQ(L"Stunde", combo->getItem(0)->getText());
    EXPECT_STREQ(L"Sec", combo->getItem(1)->getText());
    // The wider texts are measured again.
    EXPECT_EQ(button->getMinWidth(), button->getWidth());
}

namespace
{
HHOOK g_refuse = nullptr;
LRESULT CALLBACK refuseCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND)
        return 1; // the window is not made
    return CallNextHookEx(g_refuse, code, wParam, lParam);
}
} // namespace

TEST(Factories, FailedNativeCreationTellsTheUserAndKeepsTheSettings)
{
    testgui::MessageBoxes::install();
    {
        std::lock_guard<std::mutex> guard(testgui::MessageBoxes::lock());
        testgui::MessageBoxes::texts().clear();
    }
    // A parent whose native window belongs to this thread: the child is made here.
    HWND parentWindow = Toolkit::create(nullptr, 0, L"", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr);
    ASSERT_NE(nullptr, parentWindow);
    testgui::FakeWidget* parent = testgui::FakeWidget::Make(0, 0);
    parent->bindHandle(parentWindow);
    CheckBox* box = newCheckBox(-1, true);
    box->setText(L"Kept");
    g_refuse = SetWindowsHookExW(WH_CBT, &refuseCreation, nullptr, GetCurrentThreadId());
    box->setParent(parent);
    UnhookWindowsHookEx(g_refuse);
    EXPECT_EQ(nullptr, box->getHandle());
    EXPECT_STREQ(L"Kept", box->getText());
    EXPECT_TRUE(box->isChecked());
    box->setChecked(false); // usable without a native control
    EXPECT_FALSE(box->isChecked());
    {
        std::lock_guard<std::mutex> guard(testgui::MessageBoxes::lock());
        ASSERT_EQ(1u, testgui::MessageBoxes::texts().size());
        EXPECT_EQ(L"Error!|Window Creation Failed!", testgui::MessageBoxes::texts()[0]);
    }
    box->Release();
    parent->bindHandle(nullptr);
    parent->Release();
    DestroyWindow(parentWindow);
}
