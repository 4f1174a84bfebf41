#include "s/gui/drawer/Skinner.h"

#include <cwchar>
#include <new>

#include "s/col/_array/ArrayP.h"
#include "s/gui/drawer/Scheme.h"
#include "s/gui/drawer/skin/Thin.h"
#include "s/gui/drawer/skin/ThinWindow.h"
#include "s/gui/events/IEventListener.h"

namespace s::gui::drawer
{

using Guard = thread::ObjLocker::Guard;

Skinner::Skinner() : listeners_(new col::_array::ArrayP())
{
}

Skinner::~Skinner()
{
    releaseSkins();
    delete listeners_;
}

void Skinner::Reset()
{
    Guard guard(lock_);
    releaseSkins();
    family_ = nullptr;
    schemeCount_ = 0;
    current_ = 0;
    while (listeners_->Count() > 0)
        listeners_->TakeAt(listeners_->Count() - 1);
}

void Skinner::releaseSkins()
{
    if (!skins_)
        return;
    for (int i = 0; i < schemeCount_; ++i)
        if (skins_[i])
            skins_[i]->Release();
    delete[] skins_;
    skins_ = nullptr;
}

Skinner* Skinner::newSkinSet(const wchar_t* family)
{
    const wchar_t* chosen = nullptr;
    int count = 0;
    if (family == FAMILY_THIN_WINDOW || (family && _wcsicmp(family, FAMILY_THIN_WINDOW) == 0))
    {
        chosen = FAMILY_THIN_WINDOW;
        count = Scheme::thinWindowCount();
    }
    else if (family == FAMILY_THIN || (family && _wcsicmp(family, FAMILY_THIN) == 0))
    {
        chosen = FAMILY_THIN;
        count = Scheme::thinCount();
    }
    if (!chosen)
        return nullptr;
    Skinner* skinner = Acquire();
    if (!skinner)
        return nullptr;
    skinner->skins_ = new (std::nothrow) ISkin*[count]();
    if (!skinner->skins_)
    {
        skinner->Release();
        return nullptr;
    }
    skinner->family_ = chosen;
    skinner->schemeCount_ = count;
    skinner->current_ = 0;
    return skinner;
}

const Scheme* Skinner::schemeAt(int index)
{
    if (index < 0 || index >= schemeCount_)
        return nullptr;
    return family_ == FAMILY_THIN_WINDOW ? Scheme::thinWindow(index) : Scheme::thin(index);
}

const wchar_t* Skinner::getFamily()
{
    Guard guard(lock_);
    return family_ ? family_ : L"";
}

int Skinner::getSchemeCount()
{
    Guard guard(lock_);
    return schemeCount_;
}

const wchar_t* Skinner::getSchemeName(int index)
{
    Guard guard(lock_);
    const Scheme* scheme = schemeAt(index);
    return scheme ? scheme->name : L"";
}

int Skinner::getSchemeIndex(const wchar_t* name)
{
    if (!name)
        return -1;
    Guard guard(lock_);
    for (int i = 0; i < schemeCount_; ++i)
        if (_wcsicmp(schemeAt(i)->name, name) == 0)
            return i;
    return -1;
}

int Skinner::getCurrentSchemeIndex()
{
    Guard guard(lock_);
    return current_;
}

const wchar_t* Skinner::getCurrentSchemeName()
{
    return getSchemeName(getCurrentSchemeIndex());
}

bool Skinner::selectScheme(int index)
{
    {
        Guard guard(lock_);
        if (index < 0 || index >= schemeCount_)
            return false;
        if (index == current_)
            return true;
        current_ = index;
    }
    // Told outside the lock: a component repaints, which may wait for its window's thread.
    for (int i = 0;; ++i)
    {
        events::IEventListener* listener = nullptr;
        {
            Guard guard(lock_);
            if (i >= static_cast<int>(listeners_->Count()))
                break;
            listener = static_cast<events::IEventListener*>(listeners_->Get(i));
        }
        listener->handleEvent(this, 0);
    }
    return true;
}

bool Skinner::selectScheme(const wchar_t* name)
{
    int index = getSchemeIndex(name);
    return index >= 0 && selectScheme(index);
}

ISkin* Skinner::getSkin(int index)
{
    Guard guard(lock_);
    const Scheme* scheme = schemeAt(index);
    if (!scheme || !skins_)
        return nullptr;
    if (!skins_[index])
    {
        if (family_ == FAMILY_THIN_WINDOW)
        {
            skin::ThinWindow* made = skin::ThinWindow::Acquire();
            if (made)
                made->build(scheme);
            skins_[index] = made;
        }
        else
        {
            skin::Thin* made = skin::Thin::Acquire();
            if (made)
                made->build(scheme);
            skins_[index] = made;
        }
    }
    return skins_[index];
}

ISkin* Skinner::getCurrentSkin()
{
    Guard guard(lock_);
    return getSkin(current_);
}

void Skinner::registerComponent(events::IEventListener* component)
{
    Guard guard(lock_);
    if (component && listeners_->IndexOf(component) < 0)
        listeners_->Add(component);
}

void Skinner::unregisterComponent(events::IEventListener* component)
{
    Guard guard(lock_);
    const int32_t at = listeners_->IndexOf(component);
    if (at >= 0)
        listeners_->TakeAt(static_cast<uint32_t>(at));
}

int Skinner::getRegisteredCount()
{
    Guard guard(lock_);
    return static_cast<int>(listeners_->Count());
}

} // namespace s::gui::drawer
