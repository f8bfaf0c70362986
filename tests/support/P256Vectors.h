#pragma once
// Known answers for ECDSA P-256 with SHA-256: the key and the signatures of
// RFC 6979, appendix A.2.5 (messages "sample" and "test"), as the updater's
// verifiers take them (X||Y, r||s, big-endian). Shared by the native tests
// (OpenSSL) and the Windows tests (CNG).
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "updater/Crypto.h"

namespace vt::test {

// SHA-256 of text on the implementation under test; a failed hash fails the
// test.
inline Sha256Digest DigestWith(const ISha256Factory& crypto, const std::string& text) {
    Sha256Digest d{};
    EXPECT_TRUE(Sha256Of(crypto, text.data(), text.size(), d));
    return d;
}

// Whether the implementation takes sig as key's signature of message.
inline bool VerifyWith(const ICrypto& crypto, const P256PublicKey& key, const std::string& message,
                       const P256Signature& sig) {
    return crypto.VerifyP256(key, DigestWith(crypto, message), sig);
}

inline std::array<std::uint8_t, 64> FromHex64(const char* hex) {
    std::array<std::uint8_t, 64> out{};
    auto nibble = [](char c) { return c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10; };
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<std::uint8_t>(nibble(hex[2 * i]) * 16 + nibble(hex[2 * i + 1]));
    return out;
}

// Ux then Uy.
constexpr const char kRfc6979KeyHex[] =
    "60FED4BA255A9D31C961EB74C6356D68C049B8923B61FA6CE669622E60F29FB6"
    "7903FE1008B8BC99A41AE9E95628BC64F2F1B20C2D7E9F5177A3C294D4462299";

struct P256Vector {
    const char* message;
    const char* signatureHex;  // r then s
};

constexpr P256Vector kRfc6979Vectors[] = {
    {"sample",
     "EFD48B2AACB6A8FD1140DD9CD45E81D69D2C877B56AAF991C34D0EA84EAF3716"
     "F7CB1C942D657C41D436C7A1B6E29F65F3E900DBB9AFF4064DC4AB2F843ACDA8"},
    {"test",
     "F1ABB023518351CD71D881567B1EA663ED3EFCF6C5132B354F28D3B0B7D38367"
     "019F4113742A2B14BD25926B49C649155F267E60D3814B4C0CC84250E46F0083"},
};

// The group order n of P-256: an r or s of n (or more) is out of range.
constexpr const char kP256OrderHex[] = "FFFFFFFF00000000FFFFFFFFFFFFFFFFBCE6FAADA7179E84F3B9CAC2FC632551";

// SHA-256 known answers (FIPS 180-2 examples).
constexpr const char kSha256OfAbc[] = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
constexpr const char kSha256OfEmpty[] = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

}  // namespace vt::test
