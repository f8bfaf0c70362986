// libFuzzer target: the updater's SHA-256, both ways of hashing blocks,
// against OpenSSL's, on any bytes given in pieces the input chooses.
#include <openssl/evp.h>

#include <cstring>

#include "fuzz/FuzzCheck.h"
#include "updater/Sha256.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // Pieces of two sizes in turn, up to 256 bytes: every way a piece can
    // end against a block's and the padding's boundaries.
    const std::size_t pieces[2] = {1u + data[0], 1u + data[1]};
    data += 2;
    size -= 2;

    vt::Sha256Digest expected{};
    unsigned int length = 0;
    VT_FUZZ_CHECK(EVP_Digest(data, size, expected.data(), &length, EVP_sha256(), nullptr) == 1 && length == 32);
    for (vt::Sha256Blocks blocks : {vt::Sha256Blocks::Portable, vt::Sha256Blocks::ShaExtensions}) {
        vt::Sha256 hash(blocks);
        std::size_t pos = 0;
        for (int i = 0; pos < size; ++i) {
            const std::size_t n = pieces[i % 2] < size - pos ? pieces[i % 2] : size - pos;
            hash.Update(data + pos, n);
            pos += n;
        }
        vt::Sha256Digest digest{};
        VT_FUZZ_CHECK(hash.Finish(digest));
        VT_FUZZ_CHECK(digest == expected);
        VT_FUZZ_CHECK(!hash.Finish(digest));
    }
    return 0;
}
