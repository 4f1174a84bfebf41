#pragma once
// The process-wide pool of attribute entries of the XML model.
//
// An entry holds the name and the value of one attribute, each a heap copy
// (malloc) with a terminating 0 and its length in characters; values are kept
// exactly as they stand in the document (still encoded). Entries are 16-byte
// records plus their texts; at most 1000 idle entries are kept, the rest are
// freed. Recycling an entry frees both texts.
//
// AcquireEntry() answers an empty entry owned by the caller (null when memory
// ran out); give it back with ReleaseEntry() or let a list whose element
// destructor is &AttrFactory::Instance() dispose of it. Thread-safe.

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/thread/Factory.h"

namespace s::xml {

struct Attr
{
    uint32_t nameLength = 0;
    wchar_t* name = nullptr;   // never null once set: "" for element text
    uint32_t valueLength = 0;
    wchar_t* value = nullptr;

    /// Replaces the name / value with a copy of chars[0..count); false when memory ran out.
    bool SetName(const wchar_t* chars, uint32_t count);
    bool SetValue(const wchar_t* chars, uint32_t count);
    /// Frees both texts.
    void Clear();
    const wchar_t* Name() const { return name ? name : L""; }
    const wchar_t* Value() const { return value ? value : L""; }
};

class AttrFactory : public s::thread::Factory
{
    S_CLASS_ID(L"s_xml_AttrFactory")

public:
    static constexpr int32_t MAX_IDLE = 1000;
    static constexpr int32_t ENTRY_SIZE = 16;

    /// The process-wide factory.
    static AttrFactory& Instance();
    /// An empty entry from the process-wide factory (null when memory ran out).
    static Attr* AcquireEntry() { return static_cast<Attr*>(Instance().Acquire()); }
    /// Null is ignored.
    static void ReleaseEntry(Attr* entry)
    {
        if (entry)
            Instance().Release(entry, ENTRY_SIZE);
    }

    AttrFactory();
    ~AttrFactory() override;

    /// A new, empty factory with the same limits; the caller deletes it.
    s::base::IObject* NewInstance() const override;
    void* Generate() override;
    void ResetObject(void* object) override;
    void DestroyObject(void* object) override;
    int32_t SizeOf(void* object) override;
};

} // namespace s::xml
