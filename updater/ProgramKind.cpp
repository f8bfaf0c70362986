#include "updater/ProgramKind.h"

#include <string>

namespace vt {

namespace {

constexpr std::uint16_t kPe32Magic = 0x10B;
constexpr std::uint16_t kPe32PlusMagic = 0x20B;
constexpr std::uint16_t kExecutableImage = 0x0002;  // IMAGE_FILE_EXECUTABLE_IMAGE

std::uint16_t Le16(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

std::uint32_t Le32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::uint16_t ReadProgramMachine(const unsigned char* head, std::size_t size) {
    // The DOS header's e_lfanew, then at that offset: signature (4), file
    // header (20: Machine, ..., SizeOfOptionalHeader at 16, Characteristics
    // at 18), and the optional header's Magic.
    constexpr std::size_t kLfanewAt = 0x3C;
    constexpr std::size_t kNeeded = 4 + 20 + 2;
    if (!head || size < kLfanewAt + 4 || head[0] != 'M' || head[1] != 'Z') return 0;
    const std::uint64_t pe = Le32(head + kLfanewAt);
    if (pe > size || size - pe < kNeeded) return 0;
    const unsigned char* p = head + pe;
    if (p[0] != 'P' || p[1] != 'E' || p[2] != 0 || p[3] != 0) return 0;
    const std::uint16_t machine = Le16(p + 4);
    const std::uint16_t optionalSize = Le16(p + 4 + 16);
    const std::uint16_t characteristics = Le16(p + 4 + 18);
    const std::uint16_t magic = Le16(p + 24);
    if (!(characteristics & kExecutableImage) || optionalSize < 2) return 0;
    if (magic != kPe32Magic && magic != kPe32PlusMagic) return 0;
    if (machine == kMachineI386 && magic != kPe32Magic) return 0;
    if (machine == kMachineAmd64 && magic != kPe32PlusMagic) return 0;
    return machine;
}

bool IsProgramFileName(const Gbk& name) {
    // The extension is ASCII and begins with a dot, which no double-byte
    // character contains, so comparing the last bytes is safe in code page
    // 936.
    const std::string& bytes = name.Bytes();
    if (bytes.size() < 4) return false;
    std::string extension = bytes.substr(bytes.size() - 4);
    for (char& c : extension) c = LowerAscii(c);
    for (const char* program : {".exe", ".dll", ".ocx", ".cpl", ".scr"})
        if (extension == program) return true;
    return false;
}

const char* MachineName(std::uint16_t machine) {
    switch (machine) {
    case kMachineAmd64:
        return ArchName(Arch::X64);
    case kMachineI386:
        return ArchName(Arch::X86);
    default:
        return "";
    }
}

}  // namespace vt
