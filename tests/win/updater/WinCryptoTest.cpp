// The Windows hash (the updater's own, as this compiler builds it) and
// signature check (CNG, bcrypt.dll) against the same known answers as the
// native one.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/P256Vectors.h"
#include "updater/DigestText.h"
#include "updater/Sha256.h"
#include "updater/WinCrypto.h"

namespace vt {
namespace {

class WinCryptoTest : public ::testing::Test {
protected:
    Sha256Digest DigestOf(const std::string& text) { return test::DigestWith(crypto, text); }
    bool Verify(const P256PublicKey& key, const std::string& message, const P256Signature& sig) {
        return test::VerifyWith(crypto, key, message, sig);
    }
    win::WinCrypto crypto;
    const P256PublicKey key = test::FromHex64(test::kRfc6979KeyHex);
};

TEST_F(WinCryptoTest, HashesKnownTextsWholeAndInBlocks) {
    EXPECT_EQ(Sha256Hex(DigestOf("abc")), test::kSha256OfAbc);
    EXPECT_EQ(Sha256Hex(DigestOf("")), test::kSha256OfEmpty);
    EXPECT_EQ(Sha256Hex(DigestOf(std::string(1000000, 'a'))),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");

    std::string data;
    for (int i = 0; i < 5000; ++i) data += static_cast<char>(i * 7);
    const Sha256Digest whole = DigestOf(data);
    for (std::size_t piece : {1u, 63u, 64u, 2048u}) {
        std::unique_ptr<ISha256> h = crypto.NewSha256();
        ASSERT_TRUE(h);
        for (std::size_t pos = 0; pos < data.size(); pos += piece)
            h->Update(data.data() + pos, std::min(piece, data.size() - pos));
        Sha256Digest d{};
        ASSERT_TRUE(h->Finish(d));
        EXPECT_EQ(d, whole) << piece;
        Sha256Digest again{};
        EXPECT_FALSE(h->Finish(again));  // spent
    }
}

// Both ways of hashing blocks, as built for Windows (the SHA extensions only
// where this processor has them).
TEST_F(WinCryptoTest, BothBlockFunctionsHashKnownTexts) {
    for (Sha256Blocks blocks : {Sha256Blocks::Portable, Sha256Blocks::ShaExtensions}) {
        if (!Sha256BlocksAvailable(blocks)) continue;
        Sha256 hash(blocks);
        const std::string a(1000000, 'a');
        for (std::size_t pos = 0; pos < a.size(); pos += 4099)
            hash.Update(a.data() + pos, std::min<std::size_t>(4099, a.size() - pos));
        Sha256Digest d{};
        ASSERT_TRUE(hash.Finish(d));
        EXPECT_EQ(Sha256Hex(d), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0")
            << static_cast<int>(blocks);
    }
}

TEST_F(WinCryptoTest, KnownSignaturesVerifyAndChangedOnesFail) {
    for (const test::P256Vector& v : test::kRfc6979Vectors) {
        SCOPED_TRACE(v.message);
        const P256Signature good = test::FromHex64(v.signatureHex);
        EXPECT_TRUE(Verify(key, v.message, good));
        EXPECT_FALSE(Verify(key, std::string(v.message) + "!", good));
        for (std::size_t byte : {0u, 32u, 63u}) {
            P256Signature bad = good;
            bad[byte] ^= 0x80;
            EXPECT_FALSE(Verify(key, v.message, bad)) << byte;
        }
    }
    EXPECT_FALSE(Verify(key, "sample", test::FromHex64(test::kRfc6979Vectors[1].signatureHex)));
}

TEST_F(WinCryptoTest, OutOfRangeValuesAndBadKeysFail) {
    const P256Signature good = test::FromHex64(test::kRfc6979Vectors[0].signatureHex);
    const P256Signature order = test::FromHex64((std::string(test::kP256OrderHex) + test::kP256OrderHex).c_str());
    P256Signature zeroR = good, rIsN = good, sIsN = good;
    std::fill(zeroR.begin(), zeroR.begin() + 32, 0);
    std::copy(order.begin(), order.begin() + 32, rIsN.begin());
    std::copy(order.begin() + 32, order.end(), sIsN.begin() + 32);
    for (const P256Signature& bad : {zeroR, rIsN, sIsN, P256Signature{}}) EXPECT_FALSE(Verify(key, "sample", bad));
    P256PublicKey offCurve = key;
    offCurve[63] ^= 1;
    EXPECT_FALSE(Verify(offCurve, "sample", good));
    EXPECT_FALSE(Verify(P256PublicKey{}, "sample", good));
}

}  // namespace
}  // namespace vt
