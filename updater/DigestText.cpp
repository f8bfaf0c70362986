#include "updater/DigestText.h"

namespace vt {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

bool ParseSha256Hex(const std::string& text, Sha256Digest& out) {
    if (text.size() != 64) return false;
    Sha256Digest digest;
    for (std::size_t i = 0; i < 32; ++i) {
        const int hi = HexValue(text[2 * i]);
        const int lo = HexValue(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return false;
        digest[i] = static_cast<std::uint8_t>(hi * 16 + lo);
    }
    out = digest;
    return true;
}

std::string Sha256Hex(const Sha256Digest& digest) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(64);
    for (std::uint8_t b : digest) {
        out += kDigits[b >> 4];
        out += kDigits[b & 15];
    }
    return out;
}

bool DecodeBase64(const std::string& text, std::vector<std::uint8_t>& out) {
    if (text.size() % 4 != 0) return false;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        // '=' only at the end: "xx==" or "xxx=".
        const std::size_t pad = !last ? 0 : text[i + 3] != '=' ? 0 : text[i + 2] != '=' ? 1 : 2;
        std::uint32_t group = 0;
        for (std::size_t j = 0; j < 4; ++j) {
            int v = 0;
            if (j < 4 - pad) {
                v = Base64Value(text[i + j]);
                if (v < 0) return false;
            }
            group = group << 6 | static_cast<std::uint32_t>(v);
        }
        // Bits that no byte takes must be zero, or two texts would decode
        // to the same bytes.
        if ((pad == 1 && (group & 0xFF)) || (pad == 2 && (group & 0xFFFF))) return false;
        bytes.push_back(static_cast<std::uint8_t>(group >> 16));
        if (pad < 2) bytes.push_back(static_cast<std::uint8_t>(group >> 8));
        if (pad < 1) bytes.push_back(static_cast<std::uint8_t>(group));
    }
    out = std::move(bytes);
    return true;
}

}  // namespace vt
