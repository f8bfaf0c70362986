#pragma once
// Digests and signatures as the update descriptions and their signature
// files write them: hexadecimal and base64 text.
#include <string>
#include <vector>

#include "updater/Crypto.h"

namespace vt {

// Exactly 64 hexadecimal digits, either letter case; false for anything else.
bool ParseSha256Hex(const std::string& text, Sha256Digest& out);

std::string Sha256Hex(const Sha256Digest& digest);  // lower case

// Standard base64 (RFC 4648 alphabet with '+' and '/'), padded to a multiple
// of four with '=', and with the unused bits of the last character zero, so
// that one byte string has exactly one text. Nothing else is accepted: no
// blanks, no line breaks, no other alphabet. out is left alone on failure.
bool DecodeBase64(const std::string& text, std::vector<std::uint8_t>& out);

}  // namespace vt
