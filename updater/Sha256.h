#pragma once
// SHA-256 (FIPS 180-4) computed here rather than by the platform: the
// processor's SHA extensions where it has them, portable code otherwise.
// A download is checked at the speed it arrives only with the extensions,
// and not every platform's own SHA-256 uses them (Wine's CNG does not).
#include <cstddef>
#include <cstdint>

#include "updater/Crypto.h"

namespace vt {

// The ways of hashing whole 64-byte blocks.
enum class Sha256Blocks {
    Portable,
    ShaExtensions,  // x86 SHA-NI, on processors that have it
};

// Whether blocks can be hashed that way on this processor.
bool Sha256BlocksAvailable(Sha256Blocks blocks);

class Sha256 : public ISha256 {
public:
    // The fastest way this processor has.
    Sha256();
    // That way; one that is not available (Sha256BlocksAvailable) falls
    // back to the portable one.
    explicit Sha256(Sha256Blocks blocks);

    void Update(const void* data, std::size_t size) override;
    // Always succeeds once; false when called again.
    bool Finish(Sha256Digest& out) override;

private:
    using BlockFunction = void (*)(std::uint32_t state[8], const std::uint8_t* blocks, std::size_t count);
    BlockFunction m_hashBlocks;
    std::uint32_t m_state[8];
    std::uint8_t m_pending[64];  // the start of a block not yet complete
    std::size_t m_nPending = 0;
    std::uint64_t m_nTotal = 0;  // bytes given so far
    bool m_bFinished = false;
};

}  // namespace vt
