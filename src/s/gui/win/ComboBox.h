#pragma once
#include <vector>

#include "s/base/ClassId.h"
#include "s/gui/IComboBox.h"
#include "s/gui/win/ListenerList.h"
#include "s/gui/win/WidgetBase.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::gui::win
{

// A drop-down list on the platform's COMBOBOX control (CBS_DROPDOWNLIST), see
// IComboBox. The selection is kept by the combo box: a change reported by the control
// (CBN_SELCHANGE) that differs from it becomes the selection, the old one the previous
// selection, and event 0 fires. When the list opens it is made as wide as the widest
// item in its own font (bold and heading items measured bold, a heading 10 pixels
// wider), plus the width of "0", plus a vertical scroll bar's width above 30 items;
// the list opens again at the top row it showed when it closed.
//
// The field keeps the height the control gives it for its font (it sets its own
// height in steps that do not follow the item height pixel by pixel); with the
// default font that is a little below the usual fixed height of 23.
//
// Items with text ids follow the window's language pack: on a change of language each
// item fetches its text and the list shows the new texts with the selection kept.
// Pooled: ComboBox::Acquire() or newComboBox. Threads: as every component; selection
// changes asked from another thread are carried out on the window's thread.
class ComboBox : public WidgetBase<IComboBox>, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_win_ComboBox")
    S_POOLED(ComboBox)

  public:
    static constexpr int SCROLL_BAR_ABOVE = 30;
    static constexpr int DEFAULT_VISIBLE_ITEMS = 20;

    ComboBox();
    ~ComboBox() override;
    void Reset() override;

    // --- IComboBox -------------------------------------------------------------
    void addItem(combobox::ComboBoxItem* item) override;
    combobox::ComboBoxItem* getItem(int index) override;
    int getItemCount() override { return static_cast<int>(items_.size()); }
    void clear() override;
    int getSelection() override { return selection_; }
    void setSelection(int index, bool notify) override;
    int getPreviousSelection() override { return previous_; }
    void addSelectionListener(events::IEventListener* listener) override { listeners_.add(listener); }
    void setVisibleItems(int count) override;

    bool isEditable() override { return editable_; }
    void setEditable(bool on) override { editable_ = on; }

    // The width the open list is given (see above), measured now.
    int measureDropWidth();

    bool handleMessage(LRESULT* result, UINT message, WPARAM wParam, LPARAM lParam) override;

  protected:
    bool wrapsControl() const override { return true; }
    bool createNative(HWND parentHandle) override;
    void nativeCreated() override;
    void measureContent(int* width, int* height) override;
    void languageChanged(lang::Localizer* pack) override;
    void placeNative(UINT flags) override;
    void fontChanged() override;
    // In a skinned window the skin's combo drawer paints the closed face.
    void skinChanged(drawer::ISkin* skin) override;

  private:
    void paintSkinned(HDC target);
    void fillNative();
    void retextItems(lang::Localizer* pack);
    void applySelection(int index, bool notify);
    int dropHeight();

    std::vector<combobox::ComboBoxItem*> items_; // owned
    int selection_ = -1, previous_ = -1;
    int topIndex_ = -1;
    int visibleItems_ = DEFAULT_VISIBLE_ITEMS;
    bool editable_ = true;
    ListenerList listeners_;
    Font* boldFont_ = nullptr; // owned, made on first use
};

} // namespace s::gui::win
