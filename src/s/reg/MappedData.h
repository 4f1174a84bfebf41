#pragma once
// The registry store: a settings store (s::map::IMappedData) that keeps each section as a
// registry key below its base key and each value as a registry value, with the encodings
// of s/reg/IRegDir.h.
//
//     MappedData* store = s::reg::openRegistryStore(L"Software\\Vesk\\Vesk Kairon\\SaveData");
//     int32_t x = store->getS32(L"MainWindow\\View", L"X", 0);
//     store->setS32(L"MainWindow\\View", L"X", 120);
//     store->Release();
//
// The store remembers the section it used last (its name compared without regard to case)
// with its key open, so a run of reads or writes in one section opens the key once. A
// section found missing by a read is remembered as missing until a write or another
// section is used. Reads never create keys; writes create the section with its missing
// parents. A section text is a key path relative to the base key; removeSection("")
// removes the base key itself with everything in it.
//
// flush() has nothing to do for the registry (the system keeps what is written) and
// answers true; with auto-flush on it is still called after every write, so a derived
// store can hook it.
//
// Thread affinity: no lock; use a store from one thread at a time.
// Class identifier "s_reg_MappedData"; pooled.

#include <windows.h>

#include "s/base/ClassId.h"
#include "s/map/IMappedData.h"
#include "s/thread/Pooled.h"

namespace s::str::strbuffer {
class StrBuffer;
}

namespace s::reg {

namespace win {
class RegDir;
}

class MappedData : public s::map::IMappedData
{
    S_CLASS_ID(L"s_reg_MappedData")
    S_POOLED(MappedData)

public:
    /// Empties both texts, releases both directories and switches auto-flush off.
    void Reset() override;

    /// Sets the store on the key `path` below `root` and makes the root section current.
    /// The key need not exist yet (the first write creates it). False when `root` is not a
    /// predefined root.
    bool openBase(HKEY root, const wchar_t* path);
    /// The directory on the base key (null before openBase); stays with the store.
    win::RegDir* getBaseDirectory() const { return base_; }

    // --- IMappedData -----------------------------------------------------------
    bool flush() override;
    bool openSectionForWrite(const wchar_t* sec) override;
    bool removeSection(const wchar_t* sec) override;
    bool openSectionForRead(const wchar_t* sec) override;
    bool hasValue(const wchar_t* sec, const wchar_t* name) override;

    uint8_t getU8(const wchar_t* sec, const wchar_t* name, uint8_t def) override;
    uint16_t getU16(const wchar_t* sec, const wchar_t* name, uint16_t def) override;
    uint32_t getU32(const wchar_t* sec, const wchar_t* name, uint32_t def) override;
    uint64_t getU64(const wchar_t* sec, const wchar_t* name, uint64_t def) override;
    int8_t getS8(const wchar_t* sec, const wchar_t* name, int8_t def) override;
    int16_t getS16(const wchar_t* sec, const wchar_t* name, int16_t def) override;
    int32_t getS32(const wchar_t* sec, const wchar_t* name, int32_t def) override;
    int64_t getS64(const wchar_t* sec, const wchar_t* name, int64_t def) override;
    float getF32(const wchar_t* sec, const wchar_t* name, float def) override;
    double getF64(const wchar_t* sec, const wchar_t* name, double def) override;
    bool getBool(const wchar_t* sec, const wchar_t* name, bool def) override;
    const wchar_t* getString(const wchar_t* sec, const wchar_t* name, const wchar_t* def,
                             bool* wasExpandable, bool expand) override;
    s::col::_array::ArrayU08* getBytes(const wchar_t* sec, const wchar_t* name,
                                       s::col::_array::ArrayU08* bytes) override;

    bool removeValue(const wchar_t* sec, const wchar_t* name) override;

    bool setU8(const wchar_t* sec, const wchar_t* name, uint8_t value) override;
    bool setU16(const wchar_t* sec, const wchar_t* name, uint16_t value) override;
    bool setU32(const wchar_t* sec, const wchar_t* name, uint32_t value) override;
    bool setU64(const wchar_t* sec, const wchar_t* name, uint64_t value) override;
    bool setS8(const wchar_t* sec, const wchar_t* name, int8_t value) override;
    bool setS16(const wchar_t* sec, const wchar_t* name, int16_t value) override;
    bool setS32(const wchar_t* sec, const wchar_t* name, int32_t value) override;
    bool setS64(const wchar_t* sec, const wchar_t* name, int64_t value) override;
    bool setF32(const wchar_t* sec, const wchar_t* name, float value) override;
    bool setF64(const wchar_t* sec, const wchar_t* name, double value) override;
    bool setBool(const wchar_t* sec, const wchar_t* name, bool value) override;
    bool setString(const wchar_t* sec, const wchar_t* name, const wchar_t* text) override;
    bool setExpandableString(const wchar_t* sec, const wchar_t* name,
                             const wchar_t* text) override;
    bool setBytes(const wchar_t* sec, const wchar_t* name,
                  const s::col::_array::ArrayU08* bytes) override;

    bool getAutoFlush() const override { return autoFlush_; }
    void setAutoFlush(bool on) override { autoFlush_ = on; }

protected:
    MappedData();
    ~MappedData() override;

private:
    // The current directory on `sec` when that key exists, else null.
    win::RegDir* readDirectory(const wchar_t* sec);
    // The current directory on `sec`, created when missing; null when it cannot be.
    win::RegDir* writeDirectory(const wchar_t* sec);
    // A directory on the base key + "\" + sec, opened when it exists.
    win::RegDir* openBelowBase(const wchar_t* sec);
    void releaseCurrent();
    // Ends a write: flushes when auto-flush is on; answers `written`.
    bool finishWrite(bool written);

    s::str::strbuffer::StrBuffer* scratchPath_;
    s::str::strbuffer::StrBuffer* section_;  // name of the current section
    win::RegDir* base_ = nullptr;
    win::RegDir* current_ = nullptr;         // open on the current section, or null
    bool autoFlush_ = false;
    s::str::strbuffer::StrBuffer* text_;     // what getString answered last
};

/// A registry store on HKEY_CURRENT_USER `path` (see MappedData::openBase), taken from its
/// pool with auto-flush off; the caller releases it. Null only when no object could be made.
MappedData* openRegistryStore(const wchar_t* path);

} // namespace s::reg
