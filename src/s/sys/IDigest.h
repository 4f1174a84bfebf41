#pragma once
// A message digest fed with bytes in pieces (MD5 and friends).
//
// Use: Update() any number of times, then Finish() to get the digest; Finish()
// also starts the object over, so one object can digest several messages in turn.
// A digest object is used by one thread at a time.
//
// Ownership: whoever acquired the concrete object releases it (s::sys::Md5Digest
// is pooled: Md5Digest::Acquire() / Release()). Callers that receive an IDigest*
// as an argument never release it.

#include <cstddef>
#include <cstdint>

namespace s::sys {

class IDigest
{
public:
    virtual ~IDigest() = default;

    /// Number of bytes Finish() writes (16 for MD5).
    virtual uint32_t DigestSize() const = 0;

    /// Adds count bytes to the message. Answers false when the system provider
    /// failed; the object then stays failed until Restart() or Finish().
    virtual bool Update(const void* bytes, size_t count) = 0;

    /// Writes DigestSize() bytes of the digest of everything fed since the last
    /// start to out, then starts over. Answers false (out untouched) on failure.
    virtual bool Finish(uint8_t* out) = 0;

    /// Forgets everything fed so far.
    virtual void Restart() = 0;
};

} // namespace s::sys
