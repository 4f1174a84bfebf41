// The file-time dialog as a whole: its slots of the drop dialog, the task, the dispatch of
// events to the panels and the saved settings.
#include "s/file/gui/dialogs/filetime/Dialog.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "s/file/gui/dialogs/filetime/DialogKeys.h"
#include "s/gui/win/MessageBoxW.h"
#include "s/gui/ILabel.h"
#include "s/gui/IWindow.h"
#include "s/gui/combobox/ComboBoxItem.h"
#include "s/gui/layout/Tree.h"
#include "s/gui/win/Factories.h"
#include "s/gui/win/Window.h"
#include "s/lang/Localizer.h"
#include "s/map/IMappedData.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::file::gui::dialogs::filetime
{

using s::gui::combobox::ComboBoxItem;
using s::gui::win::ComboBox;
using s::thread::ObjLocker;

namespace
{
constexpr int32_t ACTION_TEXTS[3] = {Dialog::TEXT_VIEW_COPY, Dialog::TEXT_VIEW_EDIT, Dialog::TEXT_MULTIPLE};

// The keys of the attribute boxes in the order they are saved, with their box.
struct AttributeKey
{
    const wchar_t* name;
    AttributeBox box;
};
constexpr AttributeKey ATTRIBUTE_KEYS[ATTR_COUNT] = {
    {L"ApplyTo_NormalFiles", ATTR_NORMAL},
    {L"ApplyTo_ReadOnly", ATTR_READ_ONLY},
    {L"ApplyTo_HiddenFiles", ATTR_HIDDEN},
    {L"ApplyTo_SystemFiles", ATTR_SYSTEM},
};
constexpr bool ATTRIBUTE_DEFAULTS[ATTR_COUNT] = {true, false, true, false};
constexpr const wchar_t* TIME_KEYS[TIME_COUNT] = {L"Creation", L"Modified", L"Accessed"};
// "Mode" by method and "SyncMode" by synchronisation target, in the order of their buttons.
constexpr const wchar_t* METHOD_KEYS[METHOD_COUNT] = {ModeSpecific, ModeSync, ModeOffset, MethodTimeZone, ModeFromItem};
constexpr const wchar_t* SYNC_KEYS[SYNC_COUNT] = {SyncCreated, SyncModified, SyncAccessed,
                                                  SyncCurrent, SyncNewest,   SyncOldest};

// "OffsetUnit": the unit selectors list Day, Hour, Min, Sec; anything unknown is Hour.
int unitIndexOf(const wchar_t* key)
{
    if (lstrcmpiW(key, UnitSecs) == 0)
        return 3;
    if (lstrcmpiW(key, UnitMins) == 0)
        return 2;
    if (lstrcmpiW(key, UnitDays) == 0)
        return 0;
    return 1;
}

void restoreOffset(s::map::IMappedData* store, const wchar_t* section, ComboBox* digit, ComboBox* unit)
{
    const int32_t value = store->getS32(section, L"OffsetDigit", 1);
    if (value < 1 || value > 99 || !selectByValue(digit, value, false))
    {
        digit->setSelection(0, false);
    }
    unit->setSelection(unitIndexOf(store->getString(section, L"OffsetUnit", UnitHours, nullptr, true)), false);
}

void saveOffset(s::map::IMappedData* store, const wchar_t* section, ComboBox* digit, ComboBox* unit)
{
    store->setS32(section, L"OffsetDigit", static_cast<int32_t>(selectedValue(digit, 1)));
    ComboBoxItem* item = unit->getItem(unit->getSelection());
    store->setString(section, L"OffsetUnit", item != nullptr ? item->getValueKey() : UnitHours);
}

void saveZones(s::map::IMappedData* store, const wchar_t* section, ZoneSelector& from, ZoneSelector& to)
{
    store->setString(section, L"TimeZoneFrom", from.selectedText());
    store->setBool(section, L"TimeZoneFrom_ConsiderDaylight", from.getRemembered());
    store->setString(section, L"TimeZoneTo", to.selectedText());
    store->setBool(section, L"TimeZoneTo_ConsiderDaylight", to.getRemembered());
}

void restoreZones(s::map::IMappedData* store, const wchar_t* section, ZoneSelector& from, ZoneSelector& to)
{
    from.restoreZone(store->getString(section, L"TimeZoneFrom", L"", nullptr, true));
    to.restoreZone(store->getString(section, L"TimeZoneTo", L"", nullptr, true));
}

void restoreDaylight(s::map::IMappedData* store, const wchar_t* section, ZoneSelector& from, ZoneSelector& to)
{
    from.restoreDaylight(store->getBool(section, L"TimeZoneFrom_ConsiderDaylight", false));
    to.restoreDaylight(store->getBool(section, L"TimeZoneTo_ConsiderDaylight", false));
}

void saveBoxes(s::map::IMappedData* store, const wchar_t* section, s::gui::win::CheckBox* const* times,
               s::gui::win::CheckBox* folder, s::gui::win::CheckBox* const* attributes, bool withTimes)
{
    if (withTimes)
    {
        for (int k = 0; k < TIME_COUNT; ++k)
            store->setBool(section, TIME_KEYS[k], times[k]->isChecked());
    }
    store->setBool(section, L"ApplyTo_AllUnderFolder", folder->isChecked());
    for (const AttributeKey& key : ATTRIBUTE_KEYS)
        store->setBool(section, key.name, attributes[key.box]->isChecked());
}

void restoreBoxes(s::map::IMappedData* store, const wchar_t* section, s::gui::win::CheckBox* folder,
                  s::gui::win::CheckBox* const* attributes)
{
    folder->setCheckedSilently(store->getBool(section, L"ApplyTo_AllUnderFolder", false));
    for (int i = 0; i < ATTR_COUNT; ++i)
    {
        const AttributeKey& key = ATTRIBUTE_KEYS[i];
        attributes[key.box]->setCheckedSilently(store->getBool(section, key.name, ATTRIBUTE_DEFAULTS[i]));
    }
}
} // namespace

Dialog::Dialog()
    : engine_(getFrame()), copyPath_(s::str::strbuffer::StrBuffer::Acquire()),
      journal_(getFrame(), [this] { return journalCommand(); }), undo_(getFrame())
{
    engine_.setItemView(this);
    engine_.setListener(&journal_);
}

Dialog::~Dialog()
{
    // The worker must be gone before the engine it runs.
    getFrame().clear();
    unhookUndoKey();
    copyPath_->Release();
}

void Dialog::Reset()
{
    s::gui::dialogs::dragndrop::Dialog::Reset();
    engine_.reset();
    engine_.setItemView(this);
    engine_.setListener(&journal_);
    getFrame().setTask(&engine_);
    journal_.end();
    unhookUndoKey();
    undoing_ = false;
    undoFile_.clear();
    editMenu_ = nullptr;
    chooser_ = nullptr;
    pile_ = nullptr;
    neededWidth_ = 0;
    neededHeight_ = 0;
    copy_ = CopyPanel();
    edit_ = EditPanel();
    multi_ = MultiplePanel();
    appliedOnce_ = false;
    for (EpochSeconds& t : editShownTimes_)
        t = 0;
    copyPath_->Clear();
    copySize_ = -1;
}

void Dialog::Run()
{
    engine_.run();
}

int32_t Dialog::getAction()
{
    const int32_t index = chooser_ != nullptr ? chooser_->getSelection() : 0;
    return index >= 0 && index <= 2 ? index : 0;
}

void Dialog::showMessage(const wchar_t* text)
{
    s::gui::win::Window* window = getWindow();
    if (window != nullptr && window->getHandle() != nullptr)
    {
        window->showMessage(text);
    }
    else
    {
        s::gui::win::MessageBoxW::showMessage(text);
    }
}

int64_t Dialog::offsetOf(ComboBox* digit, ComboBox* unit)
{
    ComboBoxItem* item = unit->getItem(unit->getSelection());
    return static_cast<int64_t>(selectedValue(digit, 1)) * secondsOfUnit(item != nullptr ? item->getValueKey() : UnitHours);
}

// --- building ------------------------------------------------------------------------------

s::gui::IComponent* Dialog::createActionChooser()
{
    chooser_ = ComboBox::Acquire();
    chooser_->setWidthPercent(100);
    chooser_->setFixedHeight(s::gui::win::COMBO_BOX_HEIGHT);
    for (int32_t i = 0; i < 3; ++i)
    {
        chooser_->addItem(ComboBoxItem::newItemById(ACTION_TEXTS[i], getLocalizer(), i));
    }
    chooser_->setSelection(0, false);
    return chooser_;
}

s::gui::IComponent* Dialog::createActionArea()
{
    pile_ = s::gui::win::newBox(100, 100, 0, 0, -1, -1, -1, -1, s::gui::IBox::MODE_PILE);
    pile_->add(buildCopyPanel());
    pile_->add(buildEditPanel());
    pile_->add(buildMultiplePanel());
    // All three stay shown until onBuilt has measured them.
    return static_cast<s::gui::IBox*>(pile_);
}

void Dialog::onBuilt()
{
    listenCopyPanel();
    listenEditPanel();
    listenMultiplePanel();
    // A click on the status text lists the items the last run could not change.
    if (s::gui::ILabel* status = getStatusLabel())
        status->addClickListener(this);
    if (getWindow() != nullptr)
    {
        getWindow()->addLanguageListener(this);
    }
    for (int k = 0; k < TIME_COUNT; ++k)
    {
        edit_.rows[k]->linkEnabled(edit_.times[k].year());
        edit_.rows[k]->linkEnabled(edit_.times[k].month());
        edit_.rows[k]->linkEnabled(edit_.times[k].day());
        edit_.rows[k]->linkEnabled(edit_.times[k].hour());
        edit_.rows[k]->linkEnabled(edit_.times[k].minute());
        edit_.rows[k]->linkEnabled(edit_.times[k].second());
    }
    for (int i = 0; i < ATTR_COUNT; ++i)
    {
        edit_.folder->linkEnabled(edit_.attributes[i]);
        multi_.includeContents->linkEnabled(multi_.attributes[i]);
    }
    clearEdit();
    multi_.specific.write(s::time::nowSeconds());
    restoreSettings();
    restoreMethod();

    // The panel of the saved action (the drop dialog selects the same entry in the chooser).
    const int32_t shown = getSavedActionIndex();
    // Only the chosen panel is ever shown, whichever view is applied next; the large view
    // measures all three on its own (getLargeWidth).
    pile_->showOnly(shown);
}

int32_t Dialog::getLargeWidth()
{
    measurePanels();
    return neededWidth_ > 640 ? neededWidth_ : 640;
}

int32_t Dialog::getLargeHeight()
{
    measurePanels();
    return neededHeight_ > 600 ? neededHeight_ : 600;
}

void Dialog::measurePanels()
{
    s::gui::win::Window* window = getWindow();
    if (window == nullptr || pile_ == nullptr || neededWidth_ > 0)
    {
        return;
    }
    // The large view is made large enough for every panel, so that no choice of action
    // clips one: the window's minimum with all panels shown in the pile (stated, as the
    // view's sizes are, for 96 DPI). Two passes: sizes measured in the first settle in the
    // second.
    for (int32_t i = 0; i < pile_->getChildCount(); ++i)
    {
        pile_->getChild(i)->setVisible(true, true);
    }
    s::gui::layout::layoutFromInside(window);
    window->doLayout();
    window->doLayout();
    const int dpi = window->getDpi() > 0 ? window->getDpi() : 96;
    neededWidth_ = window->getMinWidth() * 96 / dpi;
    neededHeight_ = window->getMinHeight() * 96 / dpi;
    pile_->showOnly(getAction());
}

void Dialog::showPanel(int32_t index)
{
    pile_->showOnly(index);
    s::gui::win::Window* window = getWindow();
    if (window != nullptr)
    {
        window->doLayout();
        window->doLayout();
        window->setSize(std::max(window->getWidth(), window->getMinWidth()),
                        std::max(window->getHeight(), window->getMinHeight()));
    }
}

// --- settings --------------------------------------------------------------------------------

void Dialog::restoreSettings()
{
    s::map::IMappedData* store = getStore();
    if (store == nullptr)
    {
        return;
    }
    restoreOffset(store, SECTION_EDIT, edit_.digit, edit_.unit);
    restoreZones(store, SECTION_EDIT, edit_.from, edit_.to);
    restoreOffset(store, SECTION_MULTIPLE, multi_.digit, multi_.unit);
    restoreZones(store, SECTION_MULTIPLE, multi_.from, multi_.to);
    for (int k = 0; k < TIME_COUNT; ++k)
    {
        edit_.rows[k]->setCheckedSilently(store->getBool(SECTION_EDIT, TIME_KEYS[k], true));
    }
    restoreDaylight(store, SECTION_EDIT, edit_.from, edit_.to);
    restoreBoxes(store, SECTION_EDIT, edit_.folder, edit_.attributes);
    for (int k = 0; k < TIME_COUNT; ++k)
    {
        multi_.fields[k]->setCheckedSilently(store->getBool(SECTION_MULTIPLE, TIME_KEYS[k], true));
    }
    restoreBoxes(store, SECTION_MULTIPLE, multi_.includeContents, multi_.attributes);
    for (s::gui::win::CheckBox* box : multi_.attributes)
    {
        box->setEnabled(multi_.includeContents->isChecked());
    }
    restoreDaylight(store, SECTION_MULTIPLE, multi_.from, multi_.to);
    multi_.preview->setCheckedSilently(store->getBool(SECTION_MULTIPLE, L"Preview", false));
    restoreFromItem(store);
}

void Dialog::restoreMethod()
{
    s::map::IMappedData* store = getStore();
    int32_t method = METHOD_SPECIFIC;
    int32_t sync = SYNC_CURRENT;
    bool add = true;
    if (store != nullptr)
    {
        const wchar_t* mode = store->getString(SECTION_MULTIPLE, L"Mode", ModeSpecific, nullptr, true);
        for (int m = 0; m < METHOD_COUNT; ++m)
        {
            if (lstrcmpiW(mode, METHOD_KEYS[m]) == 0)
                method = m;
        }
        const wchar_t* target = store->getString(SECTION_MULTIPLE, L"SyncMode", SyncCurrent, nullptr, true);
        for (int i = 0; i < SYNC_COUNT; ++i)
        {
            if (lstrcmpiW(target, SYNC_KEYS[i]) == 0)
                sync = i;
        }
        add = store->getBool(SECTION_MULTIPLE, L"OffsetAdd", true);
    }
    chooseMethod(method);
    for (int i = 0; i < SYNC_COUNT; ++i)
        multi_.sync[i]->setSelected(i == sync, false);
    multi_.add->setSelected(add, false);
    multi_.minus->setSelected(!add, false);
}

void Dialog::saveSettings()
{
    s::map::IMappedData* store = getStore();
    if (store == nullptr || edit_.digit == nullptr)
    {
        return;
    }
    for (int k = 0; k < TIME_COUNT; ++k)
        store->setBool(SECTION_EDIT, TIME_KEYS[k], edit_.rows[k]->isChecked());
    saveOffset(store, SECTION_EDIT, edit_.digit, edit_.unit);
    saveZones(store, SECTION_EDIT, edit_.from, edit_.to);
    saveBoxes(store, SECTION_EDIT, nullptr, edit_.folder, edit_.attributes, false);

    saveBoxes(store, SECTION_MULTIPLE, multi_.fields, multi_.includeContents, multi_.attributes, true);
    const int32_t method = getMethod();
    if (method >= 0)
        store->setString(SECTION_MULTIPLE, L"Mode", METHOD_KEYS[method]);
    for (int i = 0; i < SYNC_COUNT; ++i)
    {
        if (multi_.sync[i]->isSelected())
        {
            store->setString(SECTION_MULTIPLE, L"SyncMode", SYNC_KEYS[i]);
            break;
        }
    }
    store->setBool(SECTION_MULTIPLE, L"OffsetAdd", !multi_.minus->isSelected());
    saveOffset(store, SECTION_MULTIPLE, multi_.digit, multi_.unit);
    saveZones(store, SECTION_MULTIPLE, multi_.from, multi_.to);
    store->setBool(SECTION_MULTIPLE, L"Preview", multi_.preview->isChecked());
    saveFromItem(store);
}

// --- processing --------------------------------------------------------------------------------

bool Dialog::beforeProcess()
{
    return saveAndCapture(false);
}

bool Dialog::saveAndCapture(bool closing)
{
    saveSettings();
    const int32_t action = getAction();
    engine_.setAction(action);
    if (!closing)
        planning_ = false;
    if (action == ChangeEngine::ACTION_VIEW_EDIT)
    {
        if (!closing)
        {
            enableEdit();
        }
        return true;
    }
    if (action == ChangeEngine::ACTION_CHANGE_MULTIPLE)
    {
        if (!captureMultiple(!closing))
            return false;
        if (!closing)
            beginRun(multi_.preview->isChecked());
    }
    return true;
}

bool Dialog::handleOwnEvent(void* source, int kind)
{
    s::gui::win::Window* window = getWindow();
    if (window != nullptr && source == static_cast<void*>(static_cast<s::gui::IWindow*>(window)))
    {
        if (kind == s::gui::IWindow::EVENT_REQUEST && window->getRequestValue1() == LIST_REQUEST)
        {
            openList(window->getRequestValue2());
            return true;
        }
        if (kind == s::gui::IWindow::EVENT_ACTIVATED)
        {
            // Another front end may have made or undone a run meanwhile.
            refreshUndo();
        }
        if (kind == s::gui::IWindow::EVENT_CLOSE)
        {
            // The settings are always saved; a request that a running job uses is left alone.
            ObjLocker::Guard guard(getFrame().getItemLock());
            if (getFrame().isBusy())
            {
                saveSettings();
            }
            else
            {
                saveAndCapture(true);
            }
        }
        return false;
    }
    if (source != nullptr && source == static_cast<void*>(getStatusLabel()))
    {
        runOwnCommand(CMD_SHOW_FAILED);
        return true;
    }
    if (source != nullptr && source == static_cast<void*>(getLocalizer()))
    {
        // Other texts, other sizes: the large view measures its panels again.
        neededWidth_ = 0;
        neededHeight_ = 0;
        return false;
    }
    if (chooser_ != nullptr && source == eventSource(chooser_))
    {
        showPanel(getAction());
        return false; // the drop dialog saves the choice and lays the window out
    }
    return handleCopyEvent(source, kind) || handleEditEvent(source, kind) || handleMultipleEvent(source, kind);
}

void Dialog::showDroppedItem()
{
    bool refresh;
    {
        ObjLocker::Guard guard(getFrame().getItemLock());
        refresh = engine_.isRefreshPending();
    }
    std::wstring shown;
    uint32_t error = showCopyItem(shown);
    // A refresh re-reads the View & Copy item only; the View & Edit item stays as shown.
    if (!refresh)
    {
        std::wstring first;
        {
            ObjLocker::Guard guard(getFrame().getItemLock());
            if (getFrame().getPathCount() > 0)
                first = getFrame().getPath(0);
        }
        const uint32_t editError = showEditItem(first.c_str());
        if (error == 0 && editError != 0)
        {
            error = editError;
            shown = first;
        }
    }
    // Both panels show the same item: it counts once.
    if (error != 0)
    {
        engine_.noteFailure(shown.c_str(), error);
    }
}

} // namespace s::file::gui::dialogs::filetime
