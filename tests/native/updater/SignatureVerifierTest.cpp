// The native signature check (OpenSSL) against the known answers of
// RFC 6979, and against signatures that must fail.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/P256Vectors.h"
#include "updater/DigestText.h"
#include "updater/OpenSslCrypto.h"

namespace vt {
namespace {

const OpenSslCrypto kCrypto;

Sha256Digest DigestOf(const std::string& text) { return test::DigestWith(kCrypto, text); }

bool Verify(const P256PublicKey& key, const std::string& message, const P256Signature& sig) {
    return test::VerifyWith(kCrypto, key, message, sig);
}

const P256PublicKey kKey = test::FromHex64(test::kRfc6979KeyHex);

TEST(SignatureVerifier, KnownSignaturesVerify) {
    for (const test::P256Vector& v : test::kRfc6979Vectors) {
        SCOPED_TRACE(v.message);
        EXPECT_TRUE(Verify(kKey, v.message, test::FromHex64(v.signatureHex)));
    }
}

TEST(SignatureVerifier, AnyChangeOfMessageSignatureOrKeyFails) {
    const test::P256Vector& v = test::kRfc6979Vectors[0];
    const P256Signature good = test::FromHex64(v.signatureHex);
    EXPECT_FALSE(Verify(kKey, "samplf", good));
    EXPECT_FALSE(Verify(kKey, std::string(v.message) + "\n", good));
    // The other vector's signature is a valid one, of another message.
    EXPECT_FALSE(Verify(kKey, v.message, test::FromHex64(test::kRfc6979Vectors[1].signatureHex)));
    for (std::size_t byte : {0u, 31u, 32u, 63u}) {
        P256Signature bad = good;
        bad[byte] ^= 0x01;
        EXPECT_FALSE(Verify(kKey, v.message, bad)) << byte;
    }
    P256Signature swapped{};
    std::copy(good.begin() + 32, good.end(), swapped.begin());
    std::copy(good.begin(), good.begin() + 32, swapped.begin() + 32);
    EXPECT_FALSE(Verify(kKey, v.message, swapped));
    P256PublicKey otherKey = kKey;
    otherKey[63] ^= 0x01;  // no longer on the curve
    EXPECT_FALSE(Verify(otherKey, v.message, good));
}

// r and s must lie in 1..n-1; a key must be a point of the curve.
TEST(SignatureVerifier, OutOfRangeValuesAndBadKeysFail) {
    const test::P256Vector& v = test::kRfc6979Vectors[0];
    const P256Signature good = test::FromHex64(v.signatureHex);
    const P256Signature order = test::FromHex64((std::string(test::kP256OrderHex) + test::kP256OrderHex).c_str());
    P256Signature zeroR = good, zeroS = good, rIsN = good, sIsN = good;
    std::fill(zeroR.begin(), zeroR.begin() + 32, 0);
    std::fill(zeroS.begin() + 32, zeroS.end(), 0);
    std::copy(order.begin(), order.begin() + 32, rIsN.begin());
    std::copy(order.begin() + 32, order.end(), sIsN.begin() + 32);
    for (const P256Signature& bad : {zeroR, zeroS, rIsN, sIsN, P256Signature{}}) {
        EXPECT_FALSE(Verify(kKey, v.message, bad));
    }
    EXPECT_FALSE(Verify(P256PublicKey{}, v.message, good));
    P256PublicKey ones;
    ones.fill(0xFF);
    EXPECT_FALSE(Verify(ones, v.message, good));
}

TEST(SignatureVerifier, HashOfKnownTexts) {
    EXPECT_EQ(Sha256Hex(DigestOf("abc")), test::kSha256OfAbc);
    EXPECT_EQ(Sha256Hex(DigestOf("")), test::kSha256OfEmpty);
}

}  // namespace
}  // namespace vt
