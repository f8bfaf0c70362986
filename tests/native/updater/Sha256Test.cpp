#include <gtest/gtest.h>

#include <string>

#include "updater/DigestText.h"
#include "updater/OpenSslCrypto.h"

namespace vt {
namespace {

// The hash the native build checks downloads with.
const OpenSslCrypto kCrypto;

std::string HexOf(const std::string& data) {
    Sha256Digest digest{};
    EXPECT_TRUE(Sha256Of(kCrypto, data.data(), data.size(), digest));
    return Sha256Hex(digest);
}

TEST(Sha256, KnownVectors) {
    EXPECT_EQ(HexOf(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(HexOf("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(HexOf("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(HexOf(std::string(1000000, 'a')), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256, PaddingBoundaries) {
    // 55, 56 and 64 bytes put the length into the same, the next, and a
    // fresh block.
    EXPECT_EQ(HexOf(std::string(55, 'a')), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318");
    EXPECT_EQ(HexOf(std::string(56, 'a')), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a");
    EXPECT_EQ(HexOf(std::string(64, 'a')), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb");
}

TEST(Sha256, PiecewiseEqualsWhole) {
    std::string data;
    for (int i = 0; i < 5000; ++i) data += static_cast<char>(i * 7);
    const std::string whole = HexOf(data);
    for (std::size_t piece : {1u, 63u, 64u, 65u, 2048u}) {
        std::unique_ptr<ISha256> h = kCrypto.NewSha256();
        ASSERT_TRUE(h);
        for (std::size_t pos = 0; pos < data.size(); pos += piece) {
            h->Update(data.data() + pos, std::min(piece, data.size() - pos));
        }
        Sha256Digest digest{};
        ASSERT_TRUE(h->Finish(digest));
        EXPECT_EQ(Sha256Hex(digest), whole) << piece;
    }
}

TEST(Sha256, HexDigestsParseInEitherCaseAndNothingElse) {
    const std::string hex = "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD";
    Sha256Digest digest{};
    ASSERT_TRUE(ParseSha256Hex(hex, digest));
    EXPECT_EQ(Sha256Hex(digest), HexOf("abc"));

    Sha256Digest untouched{};
    EXPECT_FALSE(ParseSha256Hex(hex.substr(1), untouched));
    EXPECT_FALSE(ParseSha256Hex(hex + "0", untouched));
    EXPECT_FALSE(ParseSha256Hex("g" + hex.substr(1), untouched));
    EXPECT_FALSE(ParseSha256Hex(" " + hex.substr(1), untouched));
    EXPECT_FALSE(ParseSha256Hex("", untouched));
    EXPECT_EQ(untouched, Sha256Digest{});
}

// The hash on a thread of its own gives the same digest, through the queue's
// limit and for nothing at all.
TEST(Sha256, InBackgroundEqualsDirect) {
    std::string data(9 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 31 + (i >> 12));
    for (std::size_t piece : {2048u, 100000u}) {
        std::unique_ptr<ISha256> h = HashInBackground(kCrypto.NewSha256());
        ASSERT_TRUE(h);
        for (std::size_t pos = 0; pos < data.size(); pos += piece)
            h->Update(data.data() + pos, std::min(piece, data.size() - pos));
        Sha256Digest digest{};
        ASSERT_TRUE(h->Finish(digest));
        EXPECT_EQ(Sha256Hex(digest), HexOf(data)) << piece;
    }
    std::unique_ptr<ISha256> empty = HashInBackground(kCrypto.NewSha256());
    Sha256Digest digest{};
    ASSERT_TRUE(empty->Finish(digest));
    EXPECT_EQ(Sha256Hex(digest), HexOf(""));
    EXPECT_EQ(HashInBackground(nullptr), nullptr);
    // Dropped unfinished: the thread ends with it.
    std::unique_ptr<ISha256> dropped = HashInBackground(kCrypto.NewSha256());
    dropped->Update(data.data(), data.size());
    dropped.reset();
}

}  // namespace
}  // namespace vt
