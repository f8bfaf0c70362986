#pragma once
// Code page 936 (GBK) text: what the stored files hold (Notify.dat's text
// fields, the update descriptions, paths taken from them). It is a type of
// its own so that it cannot be mistaken for the UTF-8 of the core: there is
// no implicit conversion either way, and only the Windows layer of each
// program turns it into UTF-16 (shared/win/Encoding.h).
#include <cstddef>
#include <string>
#include <utility>

namespace vt {

// The first byte of a two-byte character; it always takes the next byte
// with it, whatever that byte is.
constexpr bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xfe; }

// A byte that can end a two-byte character.
constexpr bool IsGbkTrailByte(unsigned char c) { return (c >= 0x40 && c <= 0x7e) || (c >= 0x80 && c <= 0xfe); }

// Length of the character that starts at i of bytes that end at `end`: 2 for
// a lead byte with a byte after it, 1 otherwise.
inline std::size_t GbkCharLen(const std::string& bytes, std::size_t i, std::size_t end) {
    return IsGbkLeadByte(static_cast<unsigned char>(bytes[i])) && i + 1 < end ? 2 : 1;
}

class Gbk {
public:
    Gbk() = default;
    explicit Gbk(std::string bytes) : m_strBytes(std::move(bytes)) {}

    const std::string& Bytes() const { return m_strBytes; }
    bool empty() const { return m_strBytes.empty(); }
    std::size_t size() const { return m_strBytes.size(); }

    // The longest start of the text that fits in maxBytes without cutting a
    // two-byte character in half (a lone lead byte would turn the character
    // after it into garbage wherever the text is shown).
    Gbk Fit(std::size_t maxBytes) const;

    friend bool operator==(const Gbk& a, const Gbk& b) { return a.m_strBytes == b.m_strBytes; }
    friend bool operator!=(const Gbk& a, const Gbk& b) { return a.m_strBytes != b.m_strBytes; }

private:
    std::string m_strBytes;
};

}  // namespace vt
