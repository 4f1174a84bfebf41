#pragma once
// The controls of the file-time dialog's three panels. Every pointer is owned by the
// window's component tree (null before building); the panels only name them. Built on the
// thread that builds the dialog, used on the window's thread (and, for showing an item, on
// the worker, through the widgets' own carrying-over to the window's thread).

#include "s/file/gui/dialogs/filetime/TimeSelectors.h"
#include "s/file/gui/dialogs/filetime/ZoneSelector.h"

namespace s::gui::win
{
class Box;
class Button;
class CheckBox;
class ComboBox;
class RadioButton;
class TextField;
} // namespace s::gui::win

namespace s::file::gui::dialogs::filetime
{

// The four attribute boxes, in the order they are shown.
enum AttributeBox
{
    ATTR_NORMAL = 0,
    ATTR_HIDDEN,
    ATTR_READ_ONLY,
    ATTR_SYSTEM,
    ATTR_COUNT
};

// The three times, in the order of the rows and blocks.
enum TimeKind
{
    TIME_CREATED = 0,
    TIME_MODIFIED,
    TIME_ACCESSED,
    TIME_COUNT
};

struct CopyPanel
{
    s::gui::win::Box* panel = nullptr;
    s::gui::win::TextField* name = nullptr;
    s::gui::win::Button* nameCopy = nullptr;
    s::gui::win::TextField* size = nullptr;
    s::gui::win::ComboBox* unit = nullptr;
    s::gui::win::CheckBox* comma = nullptr;
    s::gui::win::Button* sizeCopy = nullptr;
    // [kind * 3 + form]: forms user locale, with offset, UTC.
    s::gui::win::TextField* times[9] = {};
    s::gui::win::Button* timeCopy[9] = {};
    s::gui::win::Button* refresh = nullptr;
};

struct EditPanel
{
    s::gui::win::Box* panel = nullptr;
    s::gui::win::TextField* name = nullptr;
    s::gui::win::CheckBox* rows[TIME_COUNT] = {};
    TimeSelectors times[TIME_COUNT];
    // "Created", "Modified", "Accessed" (copy that row to the others) and "Now".
    s::gui::win::Button* sync[TIME_COUNT] = {};
    s::gui::win::Button* now = nullptr;
    s::gui::win::ComboBox* digit = nullptr;
    s::gui::win::ComboBox* unit = nullptr;
    s::gui::win::Button* plus = nullptr;
    s::gui::win::Button* minus = nullptr;
    ZoneSelector from;
    ZoneSelector to;
    s::gui::win::Button* convert = nullptr;
    s::gui::win::CheckBox* folder = nullptr;
    s::gui::win::CheckBox* attributes[ATTR_COUNT] = {};
    s::gui::win::Button* restore = nullptr;
    s::gui::win::Button* apply = nullptr;
    s::gui::win::Button* cancel = nullptr;
};

// The methods of the Change Multiple view, in the order of their rows.
enum Method
{
    METHOD_SPECIFIC = 0,
    METHOD_SYNC,
    METHOD_OFFSET,
    METHOD_TIME_ZONE,
    METHOD_FROM_ITEM,
    METHOD_COUNT
};

// The "Synchronize To:" options, in the order shown.
enum SyncOption
{
    SYNC_CREATED = 0,
    SYNC_MODIFIED,
    SYNC_ACCESSED,
    SYNC_CURRENT,
    SYNC_NEWEST,
    SYNC_OLDEST,
    SYNC_COUNT
};

struct MultiplePanel
{
    s::gui::win::Box* panel = nullptr;
    s::gui::win::CheckBox* fields[TIME_COUNT] = {};
    s::gui::win::CheckBox* includeContents = nullptr;
    s::gui::win::CheckBox* attributes[ATTR_COUNT] = {};
    s::gui::win::RadioButton* methods[METHOD_COUNT] = {};
    TimeSelectors specific;
    s::gui::win::RadioButton* sync[SYNC_COUNT] = {};
    s::gui::win::RadioButton* add = nullptr;
    s::gui::win::RadioButton* minus = nullptr;
    s::gui::win::ComboBox* digit = nullptr;
    s::gui::win::ComboBox* unit = nullptr;
    ZoneSelector from;
    ZoneSelector to;
    // "Preview before changing": a drop plans the run and lists it before anything is written.
    s::gui::win::CheckBox* preview = nullptr;
    // "From the item itself:": the source (entries in the order FromTaken, FromName,
    // FromNewestInside) and the zone clock times are read in.
    s::gui::win::ComboBox* fromSource = nullptr;
    ZoneSelector clockZone;
};

} // namespace s::file::gui::dialogs::filetime
