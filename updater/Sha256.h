#pragma once
// SHA-256 of a stream of bytes, for checking a download against the digest
// that the server description may give for it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace vt {

using Sha256Digest = std::array<std::uint8_t, 32>;

class Sha256 {
public:
    Sha256();
    void Update(const void* data, std::size_t size);
    // The digest of everything given so far; the object is spent afterwards.
    Sha256Digest Finish();

private:
    void Block(const std::uint8_t* block);

    std::array<std::uint32_t, 8> m_state;
    std::array<std::uint8_t, 64> m_buffer;
    std::size_t m_nBuffered = 0;
    std::uint64_t m_nTotalBytes = 0;
};

// Exactly 64 hexadecimal digits, either letter case; false for anything else.
bool ParseSha256Hex(const std::string& text, Sha256Digest& out);

std::string Sha256Hex(const Sha256Digest& digest);  // lower case

}  // namespace vt
