#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "updater/DigestText.h"
#include "updater/OpenSslCrypto.h"
#include "updater/Sha256.h"

namespace vt {
namespace {

// The reference the updater's own hash is held to.
const OpenSslCrypto kOpenSsl;

std::string OpenSslHex(const std::string& data) {
    Sha256Digest digest{};
    EXPECT_TRUE(Sha256Of(kOpenSsl, data.data(), data.size(), digest));
    return Sha256Hex(digest);
}

// The updater's hash of data, given in pieces of the sizes in pieces (taken
// in turn, the last one repeated).
std::string OwnHex(Sha256Blocks blocks, const std::string& data, const std::vector<std::size_t>& pieces = {}) {
    Sha256 hash(blocks);
    std::size_t pos = 0;
    for (std::size_t i = 0; pos < data.size(); ++i) {
        const std::size_t piece = pieces.empty() ? data.size() : pieces[std::min(i, pieces.size() - 1)];
        const std::size_t n = std::min(piece, data.size() - pos);
        hash.Update(data.data() + pos, n);
        pos += n;
    }
    Sha256Digest digest{};
    EXPECT_TRUE(hash.Finish(digest));
    return Sha256Hex(digest);
}

// Every case runs on both block functions: the portable one, and the SHA
// extensions where this processor has them.
class OwnSha256 : public ::testing::TestWithParam<Sha256Blocks> {
protected:
    void SetUp() override {
        if (!Sha256BlocksAvailable(GetParam())) GTEST_SKIP() << "this processor has no SHA extensions";
    }
    std::string Hex(const std::string& data, const std::vector<std::size_t>& pieces = {}) {
        return OwnHex(GetParam(), data, pieces);
    }
};

INSTANTIATE_TEST_SUITE_P(Blocks, OwnSha256, ::testing::Values(Sha256Blocks::Portable, Sha256Blocks::ShaExtensions),
                         [](const ::testing::TestParamInfo<Sha256Blocks>& info) {
                             return info.param == Sha256Blocks::Portable ? "Portable" : "ShaExtensions";
                         });

// FIPS 180-4's examples (NIST's SHA-256 test vectors).
TEST_P(OwnSha256, KnownVectors) {
    EXPECT_EQ(Hex(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    EXPECT_EQ(
        Hex("abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopq"
            "rstnopqrstu"),
        "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1");
    EXPECT_EQ(Hex(std::string(1000000, 'a')), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
    EXPECT_EQ(Hex(std::string(1000000, 'a'), {1, 63, 64, 4096}),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST_P(OwnSha256, PaddingBoundaries) {
    // 55, 56 and 64 bytes put the length into the same, the next, and a
    // fresh block.
    EXPECT_EQ(Hex(std::string(55, 'a')), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318");
    EXPECT_EQ(Hex(std::string(56, 'a')), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a");
    EXPECT_EQ(Hex(std::string(64, 'a')), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb");
}

// Random bytes of random lengths in random pieces, pieces that end just
// before, at and after the padding's and the block's boundaries among them,
// against OpenSSL.
TEST_P(OwnSha256, AgreesWithOpenSslOnRandomDataInRandomPieces) {
    std::mt19937 random(20240531);
    const std::size_t edges[] = {1, 55, 56, 57, 63, 64, 65, 119, 120, 128};
    for (int round = 0; round < 300; ++round) {
        std::size_t size = std::uniform_int_distribution<std::size_t>(0, round % 10 == 0 ? 100000 : 1000)(random);
        if (round % 4 == 1) size = edges[round / 4 % 10] + 64 * (round % 3);  // the boundaries, whole
        std::string data(size, '\0');
        for (char& c : data) c = static_cast<char>(random());
        std::vector<std::size_t> pieces;
        for (int i = 0; i < 200; ++i) {
            const bool edge = random() % 2;
            pieces.push_back(edge ? edges[random() % 10] : 1 + random() % (round % 10 == 0 ? 20000 : 300));
        }
        ASSERT_EQ(Hex(data, pieces), OpenSslHex(data)) << "round " << round << ", " << size << " bytes";
    }
}

TEST_P(OwnSha256, FinishedHashTakesNothingMore) {
    Sha256 hash(GetParam());
    hash.Update("abc", 3);
    Sha256Digest digest{};
    ASSERT_TRUE(hash.Finish(digest));
    EXPECT_EQ(Sha256Hex(digest), OpenSslHex("abc"));
    hash.Update("d", 1);
    Sha256Digest again{};
    EXPECT_FALSE(hash.Finish(again));
    EXPECT_EQ(again, Sha256Digest{});
}

// What the updater uses: the fastest way there is on this processor.
TEST(OwnSha256Default, HashesRight) {
    EXPECT_TRUE(Sha256BlocksAvailable(Sha256Blocks::Portable));
    Sha256 hash;
    hash.Update("abc", 3);
    Sha256Digest digest{};
    ASSERT_TRUE(hash.Finish(digest));
    EXPECT_EQ(Sha256Hex(digest), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST(Sha256, HexDigestsParseInEitherCaseAndNothingElse) {
    const std::string hex = "BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD";
    Sha256Digest digest{};
    ASSERT_TRUE(ParseSha256Hex(hex, digest));
    EXPECT_EQ(Sha256Hex(digest), OpenSslHex("abc"));

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
        std::unique_ptr<ISha256> h = HashInBackground(std::make_unique<Sha256>());
        ASSERT_TRUE(h);
        for (std::size_t pos = 0; pos < data.size(); pos += piece)
            h->Update(data.data() + pos, std::min(piece, data.size() - pos));
        Sha256Digest digest{};
        ASSERT_TRUE(h->Finish(digest));
        EXPECT_EQ(Sha256Hex(digest), OpenSslHex(data)) << piece;
    }
    std::unique_ptr<ISha256> empty = HashInBackground(std::make_unique<Sha256>());
    Sha256Digest digest{};
    ASSERT_TRUE(empty->Finish(digest));
    EXPECT_EQ(Sha256Hex(digest), OpenSslHex(""));
    EXPECT_EQ(HashInBackground(nullptr), nullptr);
    // Dropped unfinished: the thread ends with it.
    std::unique_ptr<ISha256> dropped = HashInBackground(std::make_unique<Sha256>());
    dropped->Update(data.data(), data.size());
    dropped.reset();
}

}  // namespace
}  // namespace vt
