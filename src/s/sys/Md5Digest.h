#pragma once
// MD5 through the system's cryptographic provider (CryptoAPI, PROV_RSA_FULL).
//
// Pooled: Md5Digest::Acquire() gives an object ready to be fed; Release() gives
// it back (the pool restarts it). One thread at a time per object.
// When the system provider is unavailable Update() and Finish() answer false.
//
//     auto* md5 = s::sys::Md5Digest::Acquire();
//     uint8_t out[16];
//     bool ok = md5->Update(data, size) && md5->Finish(out);
//     md5->Release();

#include <cstdint>

#include "s/base/ClassId.h"
#include "s/base/IObject.h"
#include "s/sys/IDigest.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pooled.h"

namespace s::sys {

class Md5Digest : public s::base::IObject, public s::thread::IPoolable, public IDigest
{
    S_CLASS_ID(L"s_sys_Md5Digest")
    S_POOLED(Md5Digest)

public:
    static constexpr uint32_t SIZE = 16;

    uint32_t DigestSize() const override { return SIZE; }
    bool Update(const void* bytes, size_t count) override;
    bool Finish(uint8_t* out) override;
    void Restart() override;
    /// Restart().
    void Reset() override { Restart(); }

    /// MD5 of count bytes in one call; false on failure (out untouched).
    static bool Of(const void* bytes, size_t count, uint8_t out[SIZE]);
    /// Feeds count bytes to digest (a pooled MD5 when null, released afterwards)
    /// and writes its DigestSize() bytes to out. On failure answers false, leaves
    /// out untouched and restarts the given digest.
    static bool Digest(IDigest* digest, const void* bytes, size_t count, uint8_t* out);

protected:
    Md5Digest() = default;
    ~Md5Digest() override;

private:
    bool Start();
    void Drop();

    uintptr_t hash_ = 0;  // HCRYPTHASH of the message under way, 0 when none
    bool failed_ = false;
};

} // namespace s::sys
