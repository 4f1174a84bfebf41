#pragma once
#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"
#include "s/thread/ObjLocker.h"
#include "s/thread/Pooled.h"

namespace s::col::_array
{
class ArrayP;
}
namespace s::gui::events
{
class IEventListener;
}

namespace s::gui::drawer
{

class ISkin;
struct Scheme;

// The colour schemes of one skin family, the current one, and the components told when
// it changes. A window with a Skinner paints its frame through the current skin's window
// drawer, and every component attached to it takes its drawer from the current skin.
//
// Selecting another scheme makes it current and calls handleEvent(this, 0) on every
// registered component, in registration order, on the selecting thread; each takes its
// drawer again from getCurrentSkin() and repaints. A listener may register or unregister
// listeners while being told.
//
// Ownership: newSkinSet answers a new Skinner from the pool that the caller releases.
// The skins (one per scheme, made on first use) and their drawers belong to the Skinner:
// what getCurrentSkin and its drawer getters answer stays valid until the Skinner is
// released, so it must outlive the windows that use it. Registered components are not
// owned (a component unregisters itself when it leaves its window).
// Threads: any thread; the lists and the current scheme are guarded by one lock, which
// is not held while listeners are told.
class Skinner : public base::IObject, public thread::IPoolable
{
    S_CLASS_ID(L"s_gui_drawer_Skinner")
    S_POOLED(Skinner)

  public:
    // The skin families (shared constants; newSkinSet also accepts equal texts).
    static constexpr wchar_t FAMILY_THIN_WINDOW[] = L"ThinWindow";
    static constexpr wchar_t FAMILY_THIN[] = L"Thin";

    Skinner();
    ~Skinner() override;
    // Releases the skins, forgets the family and the listeners.
    void Reset() override;

    // A new Skinner of `family` ("ThinWindow" or "Thin", without regard to case) with
    // its first scheme current; null for another family.
    static Skinner* newSkinSet(const wchar_t* family = FAMILY_THIN_WINDOW);

    // The family constant, "" when none.
    const wchar_t* getFamily();
    int getSchemeCount();
    // The name of the scheme at `index`; "" when out of range.
    const wchar_t* getSchemeName(int index);
    // The index of the scheme named `name` (without regard to case); −1 when none.
    int getSchemeIndex(const wchar_t* name);
    int getCurrentSchemeIndex();
    const wchar_t* getCurrentSchemeName();

    // Makes the scheme current and tells the registered components when it changed.
    // False (nothing changes) for an index out of range or an unknown name.
    bool selectScheme(int index);
    bool selectScheme(const wchar_t* name);

    // The current scheme's skin (made on first use); null only without a family or
    // when memory ran out.
    ISkin* getCurrentSkin();
    // The skin of the scheme at `index`, made on first use; null when out of range.
    ISkin* getSkin(int index);

    // (`register` itself is a reserved word of the language.) Null and listeners
    // already registered are ignored.
    void registerComponent(events::IEventListener* component);
    void unregisterComponent(events::IEventListener* component);
    int getRegisteredCount();

  private:
    Skinner(const Skinner&) = delete;
    Skinner& operator=(const Skinner&) = delete;

    const Scheme* schemeAt(int index);
    void releaseSkins();

    const wchar_t* family_ = nullptr;
    int schemeCount_ = 0;
    int current_ = 0;
    ISkin** skins_ = nullptr; // one slot per scheme, null until made
    col::_array::ArrayP* listeners_;
    thread::ObjLocker lock_;
};

} // namespace s::gui::drawer
