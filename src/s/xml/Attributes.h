#pragma once
// The ordered attribute list of one XML element.
//
// Entries (s::xml::Attr, from AttrFactory) are owned by the list. Names are
// matched without regard to case (wcsicmp), the first match wins. The empty
// name stands for the element's text: each run of text inside an element is
// one empty-named entry. Values are stored raw (as they stand in the document).
//
// Pooled (Acquire()/Release()); a node owns its list directly. Used by one
// thread at a time.

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::col::_array {
class ArrayP;
}

namespace s::xml {

struct Attr;

class Attributes : public s::base::IObject, public s::thread::IPoolable
{
    S_CLASS_ID(L"s_xml_Attributes")
    S_POOLED(Attributes)

public:
    /// Removes every entry.
    void Reset() override;

    uint32_t Count() const;
    /// Entry i (owned by the list), or null when out of range.
    const Attr* At(uint32_t index) const;
    /// Index of the first entry named `name` (null = ""), or -1.
    int32_t IndexOf(const wchar_t* name) const;
    /// The first entry named `name`, or null.
    const Attr* Find(const wchar_t* name) const;
    /// Appends an entry with copies of the raw texts (count -1: up to the 0); false
    /// when memory ran out (nothing appended then).
    bool Append(const wchar_t* name, int32_t nameCount, const wchar_t* rawValue,
                int32_t valueCount);
    /// Removes every entry named `name`, then appends the new one at the end. The
    /// texts may point into the entries being replaced (they are copied first);
    /// false when memory ran out (nothing changed then).
    bool Set(const wchar_t* name, const wchar_t* rawValue, int32_t valueCount = -1);
    /// Removes every entry named `name`; answers whether there was one.
    bool Remove(const wchar_t* name);
    void RemoveAt(uint32_t index);
    void Clear() { Reset(); }

    /// Plain construction is for owners that embed the list (an XML node); everyone
    /// else takes one from the pool.
    Attributes();
    ~Attributes() override;

private:
    /// A new entry with copies of the texts (owned by the caller), or null.
    static Attr* MakeEntry(const wchar_t* name, int32_t nameCount, const wchar_t* rawValue,
                           int32_t valueCount);

    Attributes(const Attributes&) = delete;
    Attributes& operator=(const Attributes&) = delete;

    s::col::_array::ArrayP* list_;  // owned; elements owned through AttrFactory
};

} // namespace s::xml
