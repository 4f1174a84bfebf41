#pragma once
// One registry key: its predefined root, its path below that root, and (while open) a
// handle to it. Values are read and written with the encodings of the settings stores:
//
//   8/16/32-bit integers  REG_DWORD, 4 bytes; 8- and 16-bit values widened (unsigned by
//                         zero, signed by sign extension); read back from any 4-byte data
//                         of any type, the narrow getters taking the low byte / 16 bits
//   Boolean               REG_DWORD 0 or 1; read from any 4-byte data, true when non-zero
//   64-bit integers, F64  REG_BINARY, 8 bytes, little-endian; read from any 8-byte data
//   F32                   REG_BINARY, 4 bytes; read from any 4-byte data
//   string                REG_SZ with its terminating zero; read from REG_SZ or
//                         REG_EXPAND_SZ, data of length 0 reading as the empty text
//   expandable string     REG_EXPAND_SZ
//   bytes                 REG_BINARY as given; read from any type
//
// A missing value, or one whose data has another length (or, for texts, another type),
// gives the caller's default.
//
// Writes open the key when it is not open and create it (with its missing parents) when it
// cannot be opened; they answer false when the key or value could not be written.
//
// Ownership: texts and arrays passed in stay with the caller. getParent and listSubKeys
// answer new objects that the caller releases. getString answers a pointer into this
// directory's own text (or `def`), valid until the next read through this directory;
// getRawData likewise.
//
// Thread affinity: one directory is used by one thread at a time; any number of
// directories may be used from different threads at once.

#include <windows.h>

#include <cstdint>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"

namespace s::col::_array {
class ArrayP;
class ArrayU08;
}

namespace s::reg {

class IRegDir : public s::base::IObject, public s::thread::IPoolable
{
public:
    /// The directory one level up (opened when it exists), or null at the root. The caller
    /// releases it.
    virtual IRegDir* getParent() = 0;
    /// One directory per direct sub-key, in the registry's order, each opened; an empty
    /// list when the key cannot be opened. The caller releases the list, which releases its
    /// directories.
    virtual s::col::_array::ArrayP* listSubKeys() = 0;

    /// The predefined root (HKEY_CURRENT_USER, ...), or null before the first open.
    virtual HKEY getRoot() const = 0;
    /// "HKEY_CURRENT_USER", ...; "" before the first open.
    virtual const wchar_t* getRootName() const = 0;
    /// The key's path below its root, backslash-separated ("" for the root itself).
    virtual const wchar_t* getPath() const = 0;
    /// The key's full native path ("\Registry\User\<SID>\Software\...").
    virtual const wchar_t* getNativePath() const = 0;
    virtual bool isOpen() const = 0;

    /// Stands for `path` below `root` and tries to open it. Empty path components (doubled,
    /// leading or trailing backslashes) are ignored. True when the key is open; false when
    /// it does not exist, cannot be opened, or `root` is not a predefined root.
    virtual bool open(HKEY root, const wchar_t* path) = 0;
    /// The same with one text that begins with a root name and a backslash
    /// ("HKEY_CURRENT_USER\Software\..."; root names without regard to case). Any other
    /// text stands for HKEY_CURRENT_USER "InvalidKey".
    virtual bool open(const wchar_t* fullPath) = 0;
    /// Closes the handle (the directory keeps standing for its key).
    virtual void close() = 0;

    /// Closes the key when open, opens it again and reports whether it is open.
    virtual bool exists() = 0;
    /// Opens or creates the key, creating missing parents. True when it is open now.
    virtual bool create() = 0;
    /// Deletes every sub-key (recursively); with `recursive` also the key itself, which is
    /// then closed. False when the key could not be opened or a deletion failed. A
    /// predefined root itself is never removed (false).
    virtual bool remove(bool recursive) = 0;
    /// Writes the key's changes to disk now. False when not open or the system refused.
    virtual bool flushKey() = 0;

    /// Reads a value's type and data into this directory's buffer (see getRawData). With a
    /// `requiredType` other than -1 the read fails when the value's type differs.
    /// `type` and `size` (each may be null) receive the type and the byte count.
    virtual bool readRaw(const wchar_t* name, uint32_t* type, uint32_t* size,
                         int32_t requiredType) = 0;
    /// The data of the last successful readRaw (or typed read); its size is the one reported.
    virtual const uint8_t* getRawData() const = 0;
    virtual uint32_t getRawSize() const = 0;
    virtual bool hasValue(const wchar_t* name) = 0;

    virtual uint8_t getU8(const wchar_t* name, uint8_t def) = 0;
    virtual uint16_t getU16(const wchar_t* name, uint16_t def) = 0;
    virtual uint32_t getU32(const wchar_t* name, uint32_t def) = 0;
    virtual uint64_t getU64(const wchar_t* name, uint64_t def) = 0;
    virtual int8_t getS8(const wchar_t* name, int8_t def) = 0;
    virtual int16_t getS16(const wchar_t* name, int16_t def) = 0;
    virtual int32_t getS32(const wchar_t* name, int32_t def) = 0;
    virtual int64_t getS64(const wchar_t* name, int64_t def) = 0;
    virtual float getF32(const wchar_t* name, float def) = 0;
    virtual double getF64(const wchar_t* name, double def) = 0;
    virtual bool getBool(const wchar_t* name, bool def) = 0;
    /// See the encodings above; `wasExpandable` (may be null) is set to whether the value
    /// is REG_EXPAND_SZ, and with `expand` its environment variables are expanded.
    virtual const wchar_t* getString(const wchar_t* name, const wchar_t* def,
                                     bool* wasExpandable, bool expand) = 0;
    /// Copies a value's data (any type) into `bytes` (replacing its content) or, when null,
    /// into a new array the caller releases. Null when the value is missing (a given array
    /// is then left as it was).
    virtual s::col::_array::ArrayU08* getBytes(const wchar_t* name,
                                               s::col::_array::ArrayU08* bytes) = 0;

    /// True when the value existed and is gone.
    virtual bool removeValue(const wchar_t* name) = 0;

    virtual bool setU8(const wchar_t* name, uint8_t value) = 0;
    virtual bool setU16(const wchar_t* name, uint16_t value) = 0;
    virtual bool setU32(const wchar_t* name, uint32_t value) = 0;
    virtual bool setU64(const wchar_t* name, uint64_t value) = 0;
    virtual bool setS8(const wchar_t* name, int8_t value) = 0;
    virtual bool setS16(const wchar_t* name, int16_t value) = 0;
    virtual bool setS32(const wchar_t* name, int32_t value) = 0;
    virtual bool setS64(const wchar_t* name, int64_t value) = 0;
    virtual bool setF32(const wchar_t* name, float value) = 0;
    virtual bool setF64(const wchar_t* name, double value) = 0;
    virtual bool setBool(const wchar_t* name, bool value) = 0;
    /// Null `text` writes the empty text.
    virtual bool setString(const wchar_t* name, const wchar_t* text) = 0;
    virtual bool setExpandableString(const wchar_t* name, const wchar_t* text) = 0;
    /// Null `bytes` writes an empty REG_BINARY value.
    virtual bool setBytes(const wchar_t* name, const s::col::_array::ArrayU08* bytes) = 0;
    /// Any type and data as given (size bytes from data; data may be null when size is 0).
    virtual bool setRaw(const wchar_t* name, uint32_t type, const void* data, uint32_t size) = 0;
};

} // namespace s::reg
