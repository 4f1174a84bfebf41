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
#include "s/gui/win/Factories.h"
#include "s/gui/win/Toolkit.h"
#include "s/gui/win/Window.h"
#include "s/lang/Localizer.h"
#include "s/map/IMappedData.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/sys/StepProfile.h"
#include "s/time/TimeZone.h"

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
    releaseZoneWorker();
    copyPath_->Release();
}

void Dialog::ZoneListReader::Run()
{
    s::time::zoneCount();
}

void Dialog::onBuildStarting()
{
    // The panels with zone selectors wait for the zone list when they are built (a thousand
    // registry reads): when one of them is the saved choice, the list is read beside the
    // making of the window. View & Copy shows no zones and reads it once shown.
    const wchar_t* saved = getSavedActionName();
    s::lang::Localizer* pack = getLocalizer();
    for (int32_t action : {ChangeEngine::ACTION_VIEW_EDIT, ChangeEngine::ACTION_CHANGE_MULTIPLE})
    {
        const wchar_t* name = pack != nullptr ? pack->getText(ACTION_TEXTS[action]) : nullptr;
        if (saved[0] != L'\0' && name != nullptr && lstrcmpiW(name, saved) == 0)
        {
            readZoneListBehind();
        }
    }
}

void Dialog::onShown()
{
    readZoneListBehind();
}

void Dialog::readZoneListBehind()
{
    if (zoneWorker_ != nullptr)
    {
        return; // started already: the list is read once per process anyway
    }
    zoneWorker_ = s::thread::win::Thread::Acquire();
    if (zoneWorker_ != nullptr)
    {
        zoneWorker_->Run(&zoneListReader_);
    }
}

void Dialog::releaseZoneWorker()
{
    if (zoneWorker_ != nullptr)
    {
        zoneWorker_->WaitIdle();
        zoneWorker_->Release();
        zoneWorker_ = nullptr;
    }
}

void Dialog::Reset()
{
    s::gui::dialogs::dragndrop::Dialog::Reset();
    releaseZoneWorker();
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
    forgetPanelSizes();
    for (int32_t& child : panelChild_)
        child = -1;
    editItem_.clear();
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
    // Only the saved action's panel (the drop dialog selects the same entry in the
    // chooser): the others are made when first chosen.
    const int32_t shown = getSavedActionIndex();
    pile_->add(buildPanel(shown));
    panelChild_[shown] = 0;
    return static_cast<s::gui::IBox*>(pile_);
}

s::gui::IComponent* Dialog::buildPanel(int32_t index)
{
    s::gui::IComponent* panel = nullptr;
    switch (index)
    {
    case ChangeEngine::ACTION_VIEW_COPY:
        panel = buildCopyPanel();
        s::sys::StepProfile::mark(L"View & Copy panel built");
        break;
    case ChangeEngine::ACTION_VIEW_EDIT:
        panel = buildEditPanel();
        s::sys::StepProfile::mark(L"View & Edit panel built");
        break;
    default:
        panel = buildMultiplePanel();
        s::sys::StepProfile::mark(L"Change Multiple panel built");
        break;
    }
    return panel;
}

void Dialog::onBuilt()
{
    // A click on the status text lists the items the last run could not change.
    if (s::gui::ILabel* status = getStatusLabel())
        status->addClickListener(this);
    if (getWindow() != nullptr)
    {
        getWindow()->addLanguageListener(this);
    }
    for (int32_t index = 0; index < 3; ++index)
    {
        if (panelChild_[index] >= 0)
            setUpPanel(index);
    }
    s::sys::StepProfile::mark(L"chosen panel set up (settings restored)");
}

void Dialog::setUpPanel(int32_t index)
{
    if (index == ChangeEngine::ACTION_VIEW_COPY)
    {
        listenCopyPanel();
        std::wstring shown;
        fillCopyPanel(shown);
        return;
    }
    if (index == ChangeEngine::ACTION_VIEW_EDIT)
    {
        listenEditPanel();
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
            edit_.folder->linkEnabled(edit_.attributes[i]);
        clearEdit();
        restoreEditSettings();
        // The item dropped before the panel was made.
        std::wstring item;
        {
            ObjLocker::Guard guard(getFrame().getItemLock());
            item = editItem_;
        }
        if (!item.empty())
            showEditItem(item.c_str());
        return;
    }
    listenMultiplePanel();
    for (int i = 0; i < ATTR_COUNT; ++i)
        multi_.includeContents->linkEnabled(multi_.attributes[i]);
    multi_.specific.write(s::time::nowSeconds());
    restoreMultipleSettings();
    restoreMethod();
}

bool Dialog::isPanelMade(int32_t index)
{
    if (index < 0 || index > 2)
        return false;
    ObjLocker::Guard guard(getFrame().getItemLock());
    return panelChild_[index] >= 0;
}

bool Dialog::makePanel(int32_t index)
{
    if (index < 0 || index > 2 || pile_ == nullptr)
        return false;
    if (isPanelMade(index))
        return true;
    s::gui::IComponent* panel = buildPanel(index);
    // Made hidden: showPanel shows the chosen one.
    panel->setVisible(false, false);
    pile_->add(panel);
    {
        ObjLocker::Guard guard(getFrame().getItemLock());
        panelChild_[index] = pile_->getChildCount() - 1;
    }
    setUpPanel(index);
    return true;
}

void Dialog::forgetPanelSizes()
{
    neededWidth_ = 0;
    neededHeight_ = 0;
    for (bool& measured : panelMeasured_)
        measured = false;
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
    const int32_t shown = getAction();
    if (window == nullptr || pile_ == nullptr || panelChild_[shown] < 0 || panelMeasured_[shown])
    {
        return;
    }
    // The large view is made large enough for every panel shown so far, so that no choice
    // of action among them clips one: the largest of the window's minimum sizes with each of
    // them shown (stated, as the view's sizes are, for 96 DPI). The caller has just laid
    // the tree out from the inside with the chosen panel shown; two passes of the window
    // settle it. Showing every panel at once for one measure would lay the whole tree out
    // once more.
    window->doLayout();
    window->doLayout();
    const int dpi = window->getDpi() > 0 ? window->getDpi() : 96;
    neededWidth_ = std::max(neededWidth_, window->getMinWidth() * 96 / dpi);
    neededHeight_ = std::max(neededHeight_, window->getMinHeight() * 96 / dpi);
    panelMeasured_[shown] = true;
}

namespace
{
// Holds a shown window and everything inside it from drawing while it lives (WM_SETREDRAW),
// then has it all drawn afresh, once. A window that is not shown is left alone.
class DrawingHold
{
  public:
    explicit DrawingHold(HWND window) : window_(window != nullptr && IsWindowVisible(window) ? window : nullptr)
    {
        if (window_ != nullptr)
            SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
    }
    ~DrawingHold()
    {
        if (window_ == nullptr)
            return;
        SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
        RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
    DrawingHold(const DrawingHold&) = delete;
    DrawingHold& operator=(const DrawingHold&) = delete;

  private:
    HWND window_;
};
} // namespace

void Dialog::showPanel(int32_t index)
{
    // A panel made now is made, shown and grown around with the window's content held from
    // drawing: every placement of a box that holds the panel would otherwise have the system
    // erase and redraw each of the hundred windows inside it, again and again.
    s::gui::IComponent* content = nullptr;
    if (!isPanelMade(index) && getWindow() != nullptr)
    {
        const s::gui::IComponent* window = getWindow();
        content = pile_;
        while (content != nullptr && content->getParent() != nullptr && content->getParent() != window)
            content = content->getParent();
    }
    DrawingHold hold(content != nullptr ? s::gui::win::Toolkit::handleOf(content) : nullptr);
    if (!makePanel(index))
    {
        return;
    }
    pile_->showOnly(panelChild_[index]);
    // A panel made just now grows the window as if it had been made with it.
    fitWindowToContent(pile_->getChild(panelChild_[index]));
}

// --- settings --------------------------------------------------------------------------------

void Dialog::restoreEditSettings()
{
    s::map::IMappedData* store = getStore();
    if (store == nullptr)
    {
        return;
    }
    restoreOffset(store, SECTION_EDIT, edit_.digit, edit_.unit);
    restoreZones(store, SECTION_EDIT, edit_.from, edit_.to);
    for (int k = 0; k < TIME_COUNT; ++k)
    {
        edit_.rows[k]->setCheckedSilently(store->getBool(SECTION_EDIT, TIME_KEYS[k], true));
    }
    restoreDaylight(store, SECTION_EDIT, edit_.from, edit_.to);
    restoreBoxes(store, SECTION_EDIT, edit_.folder, edit_.attributes);
}

void Dialog::restoreMultipleSettings()
{
    s::map::IMappedData* store = getStore();
    if (store == nullptr)
    {
        return;
    }
    restoreOffset(store, SECTION_MULTIPLE, multi_.digit, multi_.unit);
    restoreZones(store, SECTION_MULTIPLE, multi_.from, multi_.to);
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

void Dialog::saveSettings(bool closing)
{
    s::map::IMappedData* store = getStore();
    if (store == nullptr || pile_ == nullptr)
    {
        return;
    }
    // A panel never made leaves its section as it was read; the controls would write it
    // back in their own form (a default for a missing or unknown value). On closing, such a
    // panel is made, hidden, so that the settings come out the same whichever panels were
    // ever shown.
    if (closing)
    {
        makePanel(ChangeEngine::ACTION_VIEW_EDIT);
        makePanel(ChangeEngine::ACTION_CHANGE_MULTIPLE);
    }
    if (isPanelMade(ChangeEngine::ACTION_VIEW_EDIT))
    {
        for (int k = 0; k < TIME_COUNT; ++k)
            store->setBool(SECTION_EDIT, TIME_KEYS[k], edit_.rows[k]->isChecked());
        saveOffset(store, SECTION_EDIT, edit_.digit, edit_.unit);
        saveZones(store, SECTION_EDIT, edit_.from, edit_.to);
        saveBoxes(store, SECTION_EDIT, nullptr, edit_.folder, edit_.attributes, false);
    }
    if (isPanelMade(ChangeEngine::ACTION_CHANGE_MULTIPLE))
    {
        saveMultipleSettings(store);
    }
}

void Dialog::saveMultipleSettings(s::map::IMappedData* store)
{
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
    saveSettings(closing);
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
                saveSettings(true);
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
        forgetPanelSizes();
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
        bool made;
        {
            ObjLocker::Guard guard(getFrame().getItemLock());
            if (getFrame().getPathCount() > 0)
                first = getFrame().getPath(0);
            editItem_ = first;
            made = panelChild_[ChangeEngine::ACTION_VIEW_EDIT] >= 0;
        }
        // A panel not made yet shows the item when it is made; the item is the View & Copy
        // one then, whose failure is counted already.
        const uint32_t editError = made ? showEditItem(first.c_str()) : 0;
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
