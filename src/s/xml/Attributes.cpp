#include "s/xml/Attributes.h"

#include <cwchar>

#include "s/col/_array/ArrayP.h"
#include "s/xml/AttrFactory.h"

namespace s::xml {

namespace {

uint32_t LengthOf(const wchar_t* text, int32_t count)
{
    if (!text)
        return 0;
    return count < 0 ? uint32_t(wcslen(text)) : uint32_t(count);
}

} // namespace

Attributes::Attributes() : list_(new s::col::_array::ArrayP())
{
    list_->SetElementDestructor(&AttrFactory::Instance());
}

Attributes::~Attributes()
{
    delete list_;
}

void Attributes::Reset()
{
    list_->FreeAll();
}

uint32_t Attributes::Count() const
{
    return list_->Count();
}

const Attr* Attributes::At(uint32_t index) const
{
    return index < list_->Count() ? static_cast<const Attr*>(list_->Get(index)) : nullptr;
}

int32_t Attributes::IndexOf(const wchar_t* name) const
{
    if (!name)
        name = L"";
    for (uint32_t i = 0, n = list_->Count(); i < n; ++i) {
        const Attr* entry = static_cast<const Attr*>(list_->Get(i));
        if (_wcsicmp(entry->Name(), name) == 0)
            return int32_t(i);
    }
    return -1;
}

const Attr* Attributes::Find(const wchar_t* name) const
{
    const int32_t index = IndexOf(name);
    return index < 0 ? nullptr : At(uint32_t(index));
}

Attr* Attributes::MakeEntry(const wchar_t* name, int32_t nameCount, const wchar_t* rawValue,
                            int32_t valueCount)
{
    Attr* entry = AttrFactory::AcquireEntry();
    if (!entry)
        return nullptr;
    if (!entry->SetName(name ? name : L"", LengthOf(name, nameCount)) ||
        !entry->SetValue(rawValue ? rawValue : L"", LengthOf(rawValue, valueCount))) {
        AttrFactory::ReleaseEntry(entry);
        return nullptr;
    }
    return entry;
}

bool Attributes::Append(const wchar_t* name, int32_t nameCount, const wchar_t* rawValue,
                        int32_t valueCount)
{
    Attr* entry = MakeEntry(name, nameCount, rawValue, valueCount);
    if (!entry)
        return false;
    list_->Add(entry);
    return true;
}

bool Attributes::Set(const wchar_t* name, const wchar_t* rawValue, int32_t valueCount)
{
    // The texts may be those of an entry that is about to be removed (a value set
    // from its own getRawValue): copy them first, then remove by the copy.
    Attr* entry = MakeEntry(name, -1, rawValue, valueCount);
    if (!entry)
        return false;
    Remove(entry->Name());
    list_->Add(entry);
    return true;
}

bool Attributes::Remove(const wchar_t* name)
{
    bool removed = false;
    for (int32_t index = IndexOf(name); index >= 0; index = IndexOf(name)) {
        list_->RemoveAt(uint32_t(index));
        removed = true;
    }
    return removed;
}

void Attributes::RemoveAt(uint32_t index)
{
    if (index < list_->Count())
        list_->RemoveAt(index);
}

} // namespace s::xml
