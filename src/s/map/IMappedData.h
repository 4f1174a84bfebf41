#pragma once
// A settings store: named values grouped into sections, every read with the caller's
// default. Two stores implement it: the registry store (s/reg/MappedData.h), which keeps a
// section as a registry key, and the XML file store, which keeps it as an element.
//
// Addressing. `sec` is a section path, "" (or null) the store's root; the registry store
// takes a relative key path ("MainWindow\View"), the file store also accepts "/" between
// element names. `name` is a value name; "" (or null) is the section's unnamed value.
// Section names are compared without regard to case.
//
// Reads never fail loudly: a missing section or value, a value of the wrong length or of
// the wrong kind gives `def`. Reads do not create sections.
//
// Writes create the section (and its missing parents) first. They answer false when the
// value could not be written and change nothing else then. When auto-flush is on, every
// setter, removeValue, removeSection and openSectionForWrite ends with flush(); auto-flush
// starts off.
//
// Ownership: texts and arrays passed in stay with the caller. getString answers a pointer
// into the store's own scratch text (or `def` itself), valid until the next getString on
// this store. getBytes: see there.
//
// Thread affinity: a store has no lock of its own; use one store from one thread at a time.
// Stores are pooled: take one from its class (e.g. s::reg::openRegistryStore) and give it
// back with Release().

#include <cstdint>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"

namespace s::col::_array {
class ArrayU08;
}

namespace s::map {

class IMappedData : public s::base::IObject, public s::thread::IPoolable
{
public:
    /// Writes pending changes out (registry store: nothing to do, answers true; file store:
    /// saves the file). False when saving failed.
    virtual bool flush() = 0;

    /// Makes `sec` the current section, creating it when missing. True when it exists now.
    virtual bool openSectionForWrite(const wchar_t* sec) = 0;
    /// Deletes `sec` with everything below it. True when it existed and is gone.
    virtual bool removeSection(const wchar_t* sec) = 0;
    /// Makes `sec` the current section without creating it; false when it does not exist.
    virtual bool openSectionForRead(const wchar_t* sec) = 0;
    virtual bool hasValue(const wchar_t* sec, const wchar_t* name) = 0;

    virtual uint8_t getU8(const wchar_t* sec, const wchar_t* name, uint8_t def) = 0;
    virtual uint16_t getU16(const wchar_t* sec, const wchar_t* name, uint16_t def) = 0;
    virtual uint32_t getU32(const wchar_t* sec, const wchar_t* name, uint32_t def) = 0;
    virtual uint64_t getU64(const wchar_t* sec, const wchar_t* name, uint64_t def) = 0;
    virtual int8_t getS8(const wchar_t* sec, const wchar_t* name, int8_t def) = 0;
    virtual int16_t getS16(const wchar_t* sec, const wchar_t* name, int16_t def) = 0;
    virtual int32_t getS32(const wchar_t* sec, const wchar_t* name, int32_t def) = 0;
    virtual int64_t getS64(const wchar_t* sec, const wchar_t* name, int64_t def) = 0;
    virtual float getF32(const wchar_t* sec, const wchar_t* name, float def) = 0;
    virtual double getF64(const wchar_t* sec, const wchar_t* name, double def) = 0;
    virtual bool getBool(const wchar_t* sec, const wchar_t* name, bool def) = 0;

    /// The text of a string value, or `def`. `wasExpandable` (may be null) is set to whether
    /// the value was stored as an expandable string; with `expand` the environment
    /// variables in such a value are expanded. The answer points into the store's scratch
    /// text (valid until the next getString) or is `def` itself.
    virtual const wchar_t* getString(const wchar_t* sec, const wchar_t* name, const wchar_t* def,
                                     bool* wasExpandable, bool expand) = 0;

    /// The bytes of a value. With `bytes` given, they replace its content and `bytes` is
    /// answered; with null, a new array from its pool is answered and the caller releases
    /// it. When the section is missing the given `bytes` come back unchanged (null stays
    /// null); when the value is missing the answer is null (a given array is left as it
    /// was and stays the caller's).
    virtual s::col::_array::ArrayU08* getBytes(const wchar_t* sec, const wchar_t* name,
                                               s::col::_array::ArrayU08* bytes) = 0;

    /// True when the value existed and is gone.
    virtual bool removeValue(const wchar_t* sec, const wchar_t* name) = 0;

    virtual bool setU8(const wchar_t* sec, const wchar_t* name, uint8_t value) = 0;
    virtual bool setU16(const wchar_t* sec, const wchar_t* name, uint16_t value) = 0;
    virtual bool setU32(const wchar_t* sec, const wchar_t* name, uint32_t value) = 0;
    virtual bool setU64(const wchar_t* sec, const wchar_t* name, uint64_t value) = 0;
    virtual bool setS8(const wchar_t* sec, const wchar_t* name, int8_t value) = 0;
    virtual bool setS16(const wchar_t* sec, const wchar_t* name, int16_t value) = 0;
    virtual bool setS32(const wchar_t* sec, const wchar_t* name, int32_t value) = 0;
    virtual bool setS64(const wchar_t* sec, const wchar_t* name, int64_t value) = 0;
    virtual bool setF32(const wchar_t* sec, const wchar_t* name, float value) = 0;
    virtual bool setF64(const wchar_t* sec, const wchar_t* name, double value) = 0;
    virtual bool setBool(const wchar_t* sec, const wchar_t* name, bool value) = 0;
    /// Null `text` writes the empty text.
    virtual bool setString(const wchar_t* sec, const wchar_t* name, const wchar_t* text) = 0;
    /// Registry store: an expandable string; file store: the same as setString.
    virtual bool setExpandableString(const wchar_t* sec, const wchar_t* name,
                                     const wchar_t* text) = 0;
    /// Null `bytes` writes an empty value.
    virtual bool setBytes(const wchar_t* sec, const wchar_t* name,
                          const s::col::_array::ArrayU08* bytes) = 0;

    virtual bool getAutoFlush() const = 0;
    /// Does not flush by itself.
    virtual void setAutoFlush(bool on) = 0;
};

} // namespace s::map
