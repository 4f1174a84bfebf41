#pragma once
// The registry directory over ntdll's native key functions (see IRegDir for the contract
// and the value encodings, NativeKeyApi.h for the native layer).
//
//     RegDir* dir = RegDir::Acquire();
//     dir->open(HKEY_CURRENT_USER, L"Software\\Vesk\\Vesk Kairon");
//     bool silent = dir->getBool(L"Silent", false);
//     dir->Release();
//
// Keys are opened with all access rights; where the system refuses those (a machine key
// for a standard user) the key is opened for reading, so reads still work and writes fail.
// The handle is closed by close(), Reset() and Release().
//
// Reads go through one buffer shared by all directories of the process (16 KB to begin
// with, grown when a value is larger), guarded by a process-wide lock; the data is then
// copied into the directory's own buffer, so directories on different threads do not
// disturb each other.
//
// Class identifier "s_reg_win_RegDir"; pooled (Acquire / Release).

#include <atomic>

#include "s/base/ClassId.h"
#include "s/reg/IRegDir.h"
#include "s/reg/win/NativeKeyApi.h"
#include "s/thread/Pooled.h"

namespace s::str::strbuffer {
class StrBuffer;
}

namespace s::reg::win {

class RegDir : public s::reg::IRegDir
{
    S_CLASS_ID(L"s_reg_win_RegDir")
    S_POOLED(RegDir)

public:
    /// Closes the handle and forgets the key (no root, empty paths, empty data).
    void Reset() override;

    /// A new directory on `root` and `path`, opened when the key exists (see open); the
    /// caller releases it. Null only when no object could be made.
    static RegDir* Open(HKEY root, const wchar_t* path);

    /// How many times any directory of the process has asked the system to open or create
    /// a key. Lets callers (and tests) see that a cached key is not opened again.
    static uint32_t NativeOpenCount() { return nativeOpenCount_.load(); }

    // --- IRegDir ---------------------------------------------------------------
    IRegDir* getParent() override;
    s::col::_array::ArrayP* listSubKeys() override;
    HKEY getRoot() const override;
    const wchar_t* getRootName() const override;
    const wchar_t* getPath() const override;
    const wchar_t* getNativePath() const override;
    bool isOpen() const override { return key_ != nullptr; }
    bool open(HKEY root, const wchar_t* path) override;
    bool open(const wchar_t* fullPath) override;
    void close() override;
    bool exists() override;
    bool create() override;
    bool remove(bool recursive) override;
    bool flushKey() override;
    bool readRaw(const wchar_t* name, uint32_t* type, uint32_t* size,
                 int32_t requiredType) override;
    const uint8_t* getRawData() const override;
    uint32_t getRawSize() const override;
    bool hasValue(const wchar_t* name) override;

    uint8_t getU8(const wchar_t* name, uint8_t def) override;
    uint16_t getU16(const wchar_t* name, uint16_t def) override;
    uint32_t getU32(const wchar_t* name, uint32_t def) override;
    uint64_t getU64(const wchar_t* name, uint64_t def) override;
    int8_t getS8(const wchar_t* name, int8_t def) override;
    int16_t getS16(const wchar_t* name, int16_t def) override;
    int32_t getS32(const wchar_t* name, int32_t def) override;
    int64_t getS64(const wchar_t* name, int64_t def) override;
    float getF32(const wchar_t* name, float def) override;
    double getF64(const wchar_t* name, double def) override;
    bool getBool(const wchar_t* name, bool def) override;
    const wchar_t* getString(const wchar_t* name, const wchar_t* def, bool* wasExpandable,
                             bool expand) override;
    s::col::_array::ArrayU08* getBytes(const wchar_t* name,
                                       s::col::_array::ArrayU08* bytes) override;

    bool removeValue(const wchar_t* name) override;

    bool setU8(const wchar_t* name, uint8_t value) override;
    bool setU16(const wchar_t* name, uint16_t value) override;
    bool setU32(const wchar_t* name, uint32_t value) override;
    bool setU64(const wchar_t* name, uint64_t value) override;
    bool setS8(const wchar_t* name, int8_t value) override;
    bool setS16(const wchar_t* name, int16_t value) override;
    bool setS32(const wchar_t* name, int32_t value) override;
    bool setS64(const wchar_t* name, int64_t value) override;
    bool setF32(const wchar_t* name, float value) override;
    bool setF64(const wchar_t* name, double value) override;
    bool setBool(const wchar_t* name, bool value) override;
    bool setString(const wchar_t* name, const wchar_t* text) override;
    bool setExpandableString(const wchar_t* name, const wchar_t* text) override;
    bool setBytes(const wchar_t* name, const s::col::_array::ArrayU08* bytes) override;
    bool setRaw(const wchar_t* name, uint32_t type, const void* data, uint32_t size) override;

protected:
    RegDir();
    ~RegDir() override;

private:
    // Opens (or with `create`, creates) the key at nativePath_; counts the request.
    bool openNative(bool create);
    // Stands for root/path without opening anything.
    bool assign(const RegistryRoot* root, const wchar_t* path);
    // Exactly `size` bytes of data, or false.
    bool readSized(const wchar_t* name, uint32_t size);
    bool setDword(const wchar_t* name, uint32_t value);
    bool setText(const wchar_t* name, uint32_t type, const wchar_t* text);

    const RegistryRoot* root_ = nullptr;
    s::str::strbuffer::StrBuffer* path_;        // below the root, normalised
    s::str::strbuffer::StrBuffer* nativePath_;  // root's native path + "\" + path
    s::str::strbuffer::StrBuffer* text_;        // what getString answered last
    HANDLE key_ = nullptr;
    s::col::_array::ArrayU08* data_;            // data of the last value read

    static std::atomic<uint32_t> nativeOpenCount_;
};

} // namespace s::reg::win
