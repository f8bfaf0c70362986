// libFuzzer target: reading which processor a download is built for, on
// arbitrary bytes from the update server.
#include <cstdint>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "updater/ProgramKind.h"

namespace {

std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::uint16_t machine = vt::ReadProgramMachine(data, size);
    if (machine == 0) {
        // Bytes after what was given cannot make a broken start whole, unless
        // the start is only too short; a start that is long enough stays no
        // program whatever follows.
        if (size >= 0x40) {
            const std::uint64_t needed = std::uint64_t{Le32(data + 0x3C)} + 26;
            if (needed <= size) {
                std::string longer(reinterpret_cast<const char*>(data), size);
                longer += std::string(64, '\xFF');
                VT_FUZZ_CHECK(
                    vt::ReadProgramMachine(reinterpret_cast<const std::uint8_t*>(longer.data()), longer.size()) == 0);
            }
        }
        return 0;
    }
    // A program: "MZ", and the machine is the field after "PE\0\0" at the
    // offset the DOS header gives, all within the bytes given.
    VT_FUZZ_CHECK(size >= 0x40 && data[0] == 'M' && data[1] == 'Z');
    const std::uint64_t pe = Le32(data + 0x3C);
    VT_FUZZ_CHECK(pe + 26 <= size);
    VT_FUZZ_CHECK(data[pe] == 'P' && data[pe + 1] == 'E' && data[pe + 2] == 0 && data[pe + 3] == 0);
    VT_FUZZ_CHECK(machine == (data[pe + 4] | data[pe + 5] << 8));
    // What follows the header does not matter; the header cut short does.
    VT_FUZZ_CHECK(vt::ReadProgramMachine(data, static_cast<std::size_t>(pe + 26)) == machine);
    VT_FUZZ_CHECK(vt::ReadProgramMachine(data, static_cast<std::size_t>(pe + 25)) == 0);
    // The two kinds Vantrel is built for come only in their own format.
    const unsigned magic = data[pe + 24] | data[pe + 25] << 8;
    if (machine == vt::kMachineAmd64) VT_FUZZ_CHECK(magic == 0x20B);
    if (machine == vt::kMachineI386) VT_FUZZ_CHECK(magic == 0x10B);
    return 0;
}
