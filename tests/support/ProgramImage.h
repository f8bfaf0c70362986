#pragma once
// The headers of a Windows program image, built by hand: enough for anything
// that reads which processor a program is for, on either platform, without
// a compiler for the other kind. Not a program that runs.
#include <cstdint>
#include <string>

namespace vt::test {

struct ProgramImageSpec {
    std::uint16_t machine = 0x8664;
    // 0: the format that fits the machine (PE32+ for x86-64, else PE32).
    std::uint16_t magic = 0;
    std::uint32_t peOffset = 0x80;           // e_lfanew
    std::uint16_t characteristics = 0x0022;  // executable, large-address aware
};

inline void PutLe16(std::string& s, std::size_t at, std::uint16_t v) {
    s[at] = static_cast<char>(v & 0xFF);
    s[at + 1] = static_cast<char>(v >> 8);
}

inline void PutLe32(std::string& s, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// DOS header and stub space, PE signature, file header and an empty
// optional header of the right size (some hundred bytes), then tail.
inline std::string ProgramImage(const ProgramImageSpec& spec, const std::string& tail = "") {
    const std::uint16_t magic = spec.magic ? spec.magic : (spec.machine == 0x8664 ? 0x20B : 0x10B);
    const std::uint16_t optionalSize = magic == 0x20B ? 240 : 224;
    std::string image(spec.peOffset + 4 + 20 + optionalSize, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    PutLe32(image, 0x3C, spec.peOffset);
    const std::size_t pe = spec.peOffset;
    image.replace(pe, 4, std::string("PE\0\0", 4));
    PutLe16(image, pe + 4, spec.machine);
    PutLe16(image, pe + 4 + 2, 3);  // sections
    PutLe16(image, pe + 4 + 16, optionalSize);
    PutLe16(image, pe + 4 + 18, spec.characteristics);
    PutLe16(image, pe + 24, magic);
    return image + tail;
}

inline std::string ProgramImage(std::uint16_t machine, const std::string& tail = "") {
    ProgramImageSpec spec;
    spec.machine = machine;
    return ProgramImage(spec, tail);
}

// The other of the two kinds Vantrel is built for: x86 for x64 and back.
inline std::uint16_t OtherMachine(std::uint16_t machine) { return machine == 0x8664 ? 0x014C : 0x8664; }

}  // namespace vt::test
