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
// The platform control is made when the combo box is first used: until then a plain toolkit
// window of the control's place, closed size and tab stop shows the control's face (the
// skin's combo drawer in a skinned window; else a hidden control of the thread, given the
// stand-in's size, font, state and text, prints itself into it). Focus (a click or Tab),
// or asking for the native handle (getHandle, makeControlNow), makes the control in the
// stand-in's place in the tab order; a click then opens its list, as a click on the
// control does. Under Wine a drop-down list costs a top-level window of its own: a window
// with two dozen combo boxes would pay for them at every start, mostly for nobody.
//
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
    // The native window is the platform control: while the stand-in shows, asking for it
    // makes the control (on the window's thread). 0 while the combo box has no window.
    HWND getHandle() override;
    // Adds the entries `first`..`last`: the value is the number, the text its decimal digits
    // (at least two with twoDigits). Their items are made when first asked for (getItem):
    // a list of a thousand years costs nothing until it is opened or read.
    void addNumbers(int first, int last, bool twoDigits);
    // True once the platform control exists.
    bool hasControl() const { return control_; }
    // Makes the platform control now (on the window's thread) when the combo box is in a
    // window: for one that the user reaches first, or that other programs look for.
    void makeControlNow();

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
    class Face;
    // Makes the platform control in the stand-in's place (on the window's thread); true when
    // the control exists. `open` opens its list.
    bool makeControl(bool open);
    // The height the platform control gives itself in this combo box's font.
    int closedHeight();
    void paintFace(HDC dc, HWND window);
    void paintSkinned(HDC target);
    // The skin's face of `window` (the control or the stand-in) showing entry `index`.
    void drawSkinnedFace(HDC dc, HWND window, int index);
    void fillNative();
    void retextItems(lang::Localizer* pack);
    void applySelection(int index, bool notify);
    int dropHeight();

    // The text of entry `index` (valid, in range) without making its item; `buffer` holds
    // a number's digits.
    const wchar_t* textAt(int index, wchar_t (&buffer)[16]);
    void releaseItems();
    // Entries added by addNumbers: their places in items_ stay empty until asked for.
    struct NumberRun
    {
        int start, first, count;
        bool twoDigits;
    };
    std::vector<combobox::ComboBoxItem*> items_; // owned; empty for a number not asked for
    std::vector<NumberRun> numbers_;
    // The run that holds entry `index`; null for an entry added as an item.
    const NumberRun* runAt(int index) const;
    int selection_ = -1, previous_ = -1;
    int topIndex_ = -1;
    int visibleItems_ = DEFAULT_VISIBLE_ITEMS;
    bool editable_ = true;
    ListenerList listeners_;
    Font* boldFont_ = nullptr; // owned, made on first use
    Face* face_ = nullptr;     // the stand-in's target; it deletes itself with its window
    bool control_ = false;     // handle_ is the platform control (else the stand-in)
};

} // namespace s::gui::win
