#include "s/xml/AttrFactory.h"

#include <cstdlib>
#include <cwchar>
#include <new>

namespace s::xml {

namespace {

bool CopyText(wchar_t*& target, uint32_t& targetLength, const wchar_t* chars, uint32_t count)
{
    wchar_t* copy = static_cast<wchar_t*>(malloc((size_t(count) + 1) * sizeof(wchar_t)));
    if (!copy)
        return false;
    if (count)
        wmemcpy(copy, chars, count);
    copy[count] = 0;
    free(target);
    target = copy;
    targetLength = count;
    return true;
}

} // namespace

bool Attr::SetName(const wchar_t* chars, uint32_t count)
{
    return CopyText(name, nameLength, chars, count);
}

bool Attr::SetValue(const wchar_t* chars, uint32_t count)
{
    return CopyText(value, valueLength, chars, count);
}

void Attr::Clear()
{
    free(name);
    free(value);
    name = nullptr;
    value = nullptr;
    nameLength = 0;
    valueLength = 0;
}

AttrFactory& AttrFactory::Instance()
{
    static AttrFactory factory;
    return factory;
}

AttrFactory::AttrFactory()
{
    SetLimits(MAX_IDLE, ENTRY_SIZE, MAX_IDLE * ENTRY_SIZE);
    SetAccounting(true);
}

AttrFactory::~AttrFactory()
{
    DestroyKept();
}

s::base::IObject* AttrFactory::NewInstance() const
{
    return new (std::nothrow) AttrFactory();
}

void* AttrFactory::Generate()
{
    return new (std::nothrow) Attr();
}

void AttrFactory::ResetObject(void* object)
{
    static_cast<Attr*>(object)->Clear();
}

void AttrFactory::DestroyObject(void* object)
{
    Attr* entry = static_cast<Attr*>(object);
    entry->Clear();
    delete entry;
}

int32_t AttrFactory::SizeOf(void*)
{
    return ENTRY_SIZE;
}

} // namespace s::xml
