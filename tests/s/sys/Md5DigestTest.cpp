// The MD5 digest over the system provider: known values, pieces, restarts, the pool.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "s/sys/Md5Digest.h"

using s::sys::Md5Digest;

namespace {

std::string Hex(const uint8_t* bytes, size_t n)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < n; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

} // namespace

TEST(Md5Digest, KnownValues)
{
    struct Case
    {
        const char* text;
        const char* md5;
    } cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const Case& c : cases) {
        uint8_t out[Md5Digest::SIZE] = {};
        ASSERT_TRUE(Md5Digest::Of(c.text, strlen(c.text), out)) << c.text;
        EXPECT_EQ(Hex(out, sizeof out), c.md5) << c.text;
    }
}

TEST(Md5Digest, PiecesRestartAndReuse)
{
    Md5Digest* md5 = Md5Digest::Acquire();
    ASSERT_NE(md5, nullptr);
    EXPECT_EQ(md5->ClassId(), Md5Digest::CLASS_ID);
    EXPECT_EQ(md5->DigestSize(), 16u);
    uint8_t out[16] = {};

    // A million 'a' fed in uneven pieces.
    std::string piece(333, 'a');
    size_t fed = 0;
    while (fed < 1000000) {
        const size_t n = std::min(piece.size(), size_t(1000000) - fed);
        ASSERT_TRUE(md5->Update(piece.data(), n));
        fed += n;
    }
    ASSERT_TRUE(md5->Finish(out));
    EXPECT_EQ(Hex(out, 16), "7707d6ae4e027c70eea2a935c2296f21");

    // Finish started over: the next message stands alone.
    ASSERT_TRUE(md5->Update("abc", 3));
    ASSERT_TRUE(md5->Finish(out));
    EXPECT_EQ(Hex(out, 16), "900150983cd24fb0d6963f7d28e17f72");

    ASSERT_TRUE(md5->Update("junk", 4));
    md5->Restart();
    ASSERT_TRUE(md5->Finish(out));
    EXPECT_EQ(Hex(out, 16), "d41d8cd98f00b204e9800998ecf8427e");

    EXPECT_FALSE(md5->Finish(nullptr));
    ASSERT_TRUE(md5->Update("ab", 2));
    md5->Release();

    // A released digest comes back started over.
    Md5Digest* again = Md5Digest::Acquire();
    ASSERT_TRUE(again->Update("abc", 3));
    ASSERT_TRUE(again->Finish(out));
    EXPECT_EQ(Hex(out, 16), "900150983cd24fb0d6963f7d28e17f72");
    again->Release();
}
