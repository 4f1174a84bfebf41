// The "View & Copy" panel: its building, the showing of an item, the size texts, the Copy
// buttons with the clipboard, the unit selector, "Comma" and Refresh.
#include "s/file/gui/dialogs/filetime/Dialog.h"

#include <cstring>
#include <string>

#include "s/file/gui/dialogs/filetime/DialogBuild.h"
#include "s/file/gui/dialogs/filetime/DialogKeys.h"
#include "s/file/win/PathWin.h"
#include "s/gui/combobox/ComboBoxItem.h"
#include "s/gui/win/Factories.h"
#include "s/gui/win/Window.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/time/Time.h"

namespace s::file::gui::dialogs::filetime
{

using s::gui::combobox::ComboBoxItem;
using s::gui::win::Box;
using s::gui::win::newBox;
using s::gui::win::newLayoutBox;
using s::gui::win::newButtonByIdSized;
using s::gui::win::newSpacer;
using s::str::strbuffer::StrBuffer;
using s::thread::ObjLocker;

namespace
{
constexpr int32_t TEXT_COPY = 1009000;
constexpr int32_t BLOCK_TEXTS[TIME_COUNT] = {Dialog::TEXT_CREATED_ROW, Dialog::TEXT_MODIFIED_ROW,
                                             Dialog::TEXT_ACCESSED_ROW};

// A text field (width 100 %), a 2-pixel gap and its Copy button, in a row.
Box* fieldWithCopy(s::gui::win::TextField** field, s::gui::win::Button** button)
{
    Box* row = newRow(-1);
    *field = s::gui::win::newTextField(100);
    *button = newButtonByIdSized(75, TEXT_COPY, -1);
    row->add(*field);
    row->add(newSpacer(0, 2));
    row->add(*button);
    return row;
}

StrBuffer* emptied(StrBuffer* out)
{
    if (out == nullptr)
        return StrBuffer::Acquire();
    out->Clear();
    return out;
}
} // namespace

s::gui::IComponent* Dialog::buildCopyPanel()
{
    Box* panel = newBox(100, 100, 0, 0, -1, -1, 10, 5, s::gui::IBox::MODE_COLUMN);
    copy_.panel = panel;
    addPanelTitle(panel, TEXT_VIEW_COPY, TEXT_VIEW_COPY_HINT);

    s::gui::win::GroupBox* group = s::gui::win::newGroupBox(2000000, 10, 7, 7, 3, 100, s::gui::IBox::MODE_COLUMN);
    group->getContent()->add(fieldWithCopy(&copy_.name, &copy_.nameCopy));
    Box* sizeRow = newRow(-1);
    sizeRow->add(s::gui::win::newCaptionById(1008000, false, false, 1000));
    copy_.size = s::gui::win::newTextField(100);
    sizeRow->add(copy_.size);
    sizeRow->add(newSpacer(0, 5));
    copy_.unit = s::gui::win::newComboBox(80);
    copy_.unit->addItem(ComboBoxItem::newItem(L"Bytes", ComboBoxItem::keyValue(SizeBytes)));
    copy_.unit->addItem(ComboBoxItem::newItem(L"KB", ComboBoxItem::keyValue(SizeKB)));
    copy_.unit->addItem(ComboBoxItem::newItem(L"MB", ComboBoxItem::keyValue(SizeMB)));
    copy_.unit->addItem(ComboBoxItem::newItemById(1009200, getLocalizer(), ComboBoxItem::keyValue(SizeAuto)));
    copy_.unit->setSelection(3, false);
    sizeRow->add(copy_.unit);
    sizeRow->add(newSpacer(0, 7));
    copy_.comma = s::gui::win::newCheckBox(1009100, true);
    copy_.comma->setEnabled(false);
    sizeRow->add(copy_.comma);
    sizeRow->add(newSpacer(0, 2));
    copy_.sizeCopy = newButtonByIdSized(75, TEXT_COPY, -1);
    sizeRow->add(copy_.sizeCopy);
    group->getContent()->add(sizeRow);
    panel->add(group);
    panel->add(newSpacer(1, 10));

    Box* blocks = newLayoutBox(100, -1, 0, 0, 10, 15, 7, 10, s::gui::IBox::MODE_COLUMN);
    for (int k = 0; k < TIME_COUNT; ++k)
    {
        s::gui::win::Label* label = s::gui::win::newCaptionById(BLOCK_TEXTS[k], false, false, 1000);
        label->setFixedWidth(100);
        label->setFixedHeight(27);
        blocks->add(label);
        Box* forms = newLayoutBox(100, -1, 0, 0, -1, 3, -1, -1, s::gui::IBox::MODE_COLUMN);
        for (int f = 0; f < 3; ++f)
        {
            forms->add(fieldWithCopy(&copy_.times[k * 3 + f], &copy_.timeCopy[k * 3 + f]));
        }
        blocks->add(forms);
    }
    panel->add(blocks);
    copy_.refresh = s::gui::win::newButtonById(1009500, -1, -1);
    panel->add(copy_.refresh);
    return static_cast<s::gui::IBox*>(panel);
}

void Dialog::listenCopyPanel()
{
    copy_.nameCopy->addClickListener(this);
    copy_.sizeCopy->addClickListener(this);
    for (s::gui::win::Button* button : copy_.timeCopy)
        button->addClickListener(this);
    copy_.unit->addSelectionListener(this);
    copy_.comma->addCheckedListener(this);
    copy_.comma->addUncheckedListener(this);
    copy_.refresh->addClickListener(this);
}

uint32_t Dialog::showCopyItem(std::wstring& shownPath)
{
    bool made;
    {
        ObjLocker::Guard guard(getFrame().getItemLock());
        std::wstring path;
        if (engine_.isRefreshPending())
        {
            path = copyPath_->CStr();
            engine_.setRefreshPending(false);
        }
        else if (getFrame().getPathCount() > 0)
        {
            path = getFrame().getPath(0);
        }
        s::file::win::PathWin* item = s::file::win::PathWin::FromText(path.c_str());
        copyPath_->Clear();
        if (item != nullptr)
        {
            copyPath_->Append(item->GetFullPath());
            item->Release();
        }
        made = panelChild_[ChangeEngine::ACTION_VIEW_COPY] >= 0;
    }
    // A panel not made yet shows the item when it is made (the shown panel reads it too).
    return made ? fillCopyPanel(shownPath) : 0;
}

uint32_t Dialog::fillCopyPanel(std::wstring& shownPath)
{
    std::wstring name;
    s::file::win::PathWin* item = nullptr;
    {
        ObjLocker::Guard guard(getFrame().getItemLock());
        if (!copyPath_->IsEmpty())
        {
            item = s::file::win::PathWin::FromText(copyPath_->CStr());
            if (item != nullptr)
                name = item->GetName();
        }
    }
    copy_.name->setText(L"", false);
    copy_.size->setText(L"", false);
    for (s::gui::win::TextField* field : copy_.times)
        field->setText(L"", false);
    copySize_ = -1;
    if (item == nullptr)
    {
        return 0;
    }
    if (item->GetLength() == 0) // nothing was dropped
    {
        item->Release();
        return 0;
    }
    shownPath = item->GetFullPath();
    copy_.name->setText(name.c_str(), false);
    uint32_t error = 0;
    if (item->Query(&error)) // one read: attributes, size and times
    {
        copySize_ = item->IsDirectory() ? -1 : item->GetSize();
        showSize();
        if (!item->HasTimes())
        {
            error = ERROR_NOT_SUPPORTED; // a drive root: no times of its own
        }
    }
    if (error != 0)
    {
        // A 0 from the getters is no time: it would read as 1970.
        for (s::gui::win::TextField* field : copy_.times)
            field->setText(text(TEXT_UNKNOWN_TIME), false);
    }
    else
    {
        const EpochSeconds times[TIME_COUNT] = {item->GetCreationTime(), item->GetModifiedTime(),
                                                item->GetAccessTime()};
        StrBuffer* text = StrBuffer::Acquire();
        for (int k = 0; k < TIME_COUNT; ++k)
        {
            s::time::formatSecondsLocale(times[k], text);
            copy_.times[k * 3]->setText(text->CStr(), false);
            s::time::formatSecondsWithOffset(times[k], text);
            copy_.times[k * 3 + 1]->setText(text->CStr(), false);
            s::time::formatSecondsUtc(times[k], text);
            copy_.times[k * 3 + 2]->setText(text->CStr(), false);
        }
        text->Release();
    }
    item->Release();
    return error;
}

const wchar_t* Dialog::selectedSizeUnit()
{
    ComboBoxItem* item = copy_.unit->getItem(copy_.unit->getSelection());
    return item != nullptr ? item->getValueKey() : SizeAuto;
}

void Dialog::showSize()
{
    const int64_t size = copySize_;
    if (size < 0)
    {
        return;
    }
    const wchar_t* unit = selectedSizeUnit();
    StrBuffer* text = StrBuffer::Acquire();
    if (unit == SizeAuto)
    {
        formatSizeAuto(size, text);
    }
    else
    {
        int64_t n = size;
        if (unit == SizeKB)
            n = size / 1024 + (size % 1024 != 0 ? 1 : 0);
        else if (unit == SizeMB)
            n = size / 1048576 + (size % 1048576 != 0 ? 1 : 0);
        if (copy_.comma->isChecked())
            formatThousands(n, text);
        else
            text->AppendNumber(n);
    }
    copy_.size->setText(text->CStr(), false);
    text->Release();
}

StrBuffer* Dialog::formatSizeAuto(int64_t size, StrBuffer* out)
{
    out = emptied(out);
    if (size == -2)
    {
        return out;
    }
    if (size < 0)
    {
        out->Append(L"-");
        return out;
    }
    const int64_t groups[5] = {size & 1023, (size >> 10) & 1023, (size >> 20) & 1023, (size >> 30) & 1023,
                               (size >> 40) & 1023};
    const wchar_t* const units[5] = {L" B", L" KB", L" MB", L" GB", L" TB"};
    int top = 4;
    while (top > 0 && groups[top] == 0)
        --top;
    const int64_t x = groups[top];
    out->AppendNumber(x);
    if (top > 0 && x < 100)
    {
        const int64_t f = groups[top - 1] * 100 / 1024;
        out->AppendChar(L'.');
        if (x < 10)
        {
            if (f < 10)
                out->AppendChar(L'0');
            out->AppendNumber(f);
        }
        else
        {
            out->AppendNumber(f / 10);
        }
    }
    out->Append(units[top]);
    return out;
}

StrBuffer* Dialog::formatThousands(int64_t size, StrBuffer* out)
{
    out = emptied(out);
    const std::wstring digits = std::to_wstring(static_cast<uint64_t>(size));
    for (size_t i = 0; i < digits.size(); ++i)
    {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out->AppendChar(L',');
        out->AppendChar(digits[i]);
    }
    return out;
}

bool Dialog::copyTextToClipboard(const wchar_t* text, HWND owner)
{
    if (text == nullptr)
        text = L"";
    if (!OpenClipboard(owner))
    {
        return false;
    }
    bool done = false;
    const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, bytes);
    if (block != nullptr)
    {
        void* target = GlobalLock(block);
        if (target != nullptr)
        {
            std::memcpy(target, text, bytes);
            GlobalUnlock(block);
            // Emptied only once the new text is ready, so a failure leaves the old one.
            EmptyClipboard();
            done = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
        }
        if (!done)
            GlobalFree(block);
    }
    CloseClipboard();
    return done;
}

void Dialog::refreshCopy()
{
    ObjLocker::Guard guard(getFrame().getItemLock());
    if (getFrame().isBusy() || getFrame().isCancelRequested() || copyPath_->IsEmpty())
    {
        return;
    }
    engine_.setAction(ChangeEngine::ACTION_VIEW_COPY);
    engine_.setRefreshPending(true);
    if (!getFrame().startRun())
    {
        engine_.setRefreshPending(false);
    }
}

bool Dialog::handleCopyEvent(void* source, int kind)
{
    (void)kind;
    if (copy_.panel == nullptr)
    {
        return false;
    }
    HWND owner = getWindow() != nullptr ? getWindow()->getHandle() : nullptr;
    if (source == eventSource(copy_.nameCopy))
    {
        copyTextToClipboard(copy_.name->getText(), owner);
        copy_.name->selectAll();
        return true;
    }
    if (source == eventSource(copy_.sizeCopy))
    {
        if (copySize_ >= 0)
        {
            std::wstring text = copy_.size->getText();
            const wchar_t* unit = selectedSizeUnit();
            if (unit != SizeAuto)
            {
                text += L" ";
                text += unit;
            }
            copyTextToClipboard(text.c_str(), owner);
            copy_.size->selectAll();
        }
        return true;
    }
    for (int i = 0; i < 9; ++i)
    {
        if (source == eventSource(copy_.timeCopy[i]))
        {
            copyTextToClipboard(copy_.times[i]->getText(), owner);
            copy_.times[i]->selectAll();
            return true;
        }
    }
    if (source == eventSource(copy_.unit))
    {
        copy_.comma->setEnabled(selectedSizeUnit() != SizeAuto);
        showSize();
        return true;
    }
    if (source == eventSource(copy_.comma))
    {
        showSize();
        return true;
    }
    if (source == eventSource(copy_.refresh))
    {
        refreshCopy();
        return true;
    }
    return false;
}

} // namespace s::file::gui::dialogs::filetime
