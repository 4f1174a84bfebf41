#include "s/sys/Md5Digest.h"

#include <windows.h>
#include <wincrypt.h>

namespace s::sys {

namespace {

// One provider context for the process: acquiring one costs far more than a
// hash, and a verify-only context is safe to share between threads.
HCRYPTPROV Provider()
{
    struct Holder
    {
        HCRYPTPROV prov = 0;
        Holder()
        {
            if (!CryptAcquireContextW(&prov, nullptr, nullptr, PROV_RSA_FULL,
                                      CRYPT_VERIFYCONTEXT | CRYPT_SILENT))
                prov = 0;
        }
        ~Holder()
        {
            if (prov)
                CryptReleaseContext(prov, 0);
        }
    };
    static Holder holder;
    return holder.prov;
}

} // namespace

Md5Digest::~Md5Digest()
{
    Drop();
}

void Md5Digest::Drop()
{
    if (hash_)
        CryptDestroyHash(static_cast<HCRYPTHASH>(hash_));
    hash_ = 0;
}

bool Md5Digest::Start()
{
    if (hash_)
        return true;
    HCRYPTPROV prov = Provider();
    HCRYPTHASH hash = 0;
    if (!prov || !CryptCreateHash(prov, CALG_MD5, 0, 0, &hash))
        return false;
    hash_ = static_cast<uintptr_t>(hash);
    return true;
}

void Md5Digest::Restart()
{
    Drop();
    failed_ = false;
}

bool Md5Digest::Update(const void* bytes, size_t count)
{
    if (failed_)
        return false;
    if (!Start()) {
        failed_ = true;
        return false;
    }
    const BYTE* p = static_cast<const BYTE*>(bytes);
    while (count > 0) {
        // CryptHashData takes a 32-bit length.
        const DWORD piece = count > 0x40000000u ? 0x40000000u : static_cast<DWORD>(count);
        if (!CryptHashData(static_cast<HCRYPTHASH>(hash_), p, piece, 0)) {
            failed_ = true;
            return false;
        }
        p += piece;
        count -= piece;
    }
    return true;
}

bool Md5Digest::Finish(uint8_t* out)
{
    bool ok = !failed_ && out && Start();
    if (ok) {
        BYTE value[SIZE];
        DWORD size = SIZE;
        ok = CryptGetHashParam(static_cast<HCRYPTHASH>(hash_), HP_HASHVAL, value, &size, 0) &&
             size == SIZE;
        if (ok) {
            for (uint32_t i = 0; i < SIZE; ++i)
                out[i] = value[i];
        }
    }
    Restart();
    return ok;
}

bool Md5Digest::Of(const void* bytes, size_t count, uint8_t out[SIZE])
{
    return Digest(nullptr, bytes, count, out);
}

bool Md5Digest::Digest(IDigest* digest, const void* bytes, size_t count, uint8_t* out)
{
    if (!out)
        return false;
    Md5Digest* own = nullptr;
    if (!digest) {
        own = Acquire();
        if (!own)
            return false;
        digest = own;
    }
    const bool ok = (count == 0 || digest->Update(bytes, count)) && digest->Finish(out);
    if (!ok)
        digest->Restart();
    if (own)
        own->Release();
    return ok;
}

} // namespace s::sys
