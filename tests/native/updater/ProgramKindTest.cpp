#include <gtest/gtest.h>

#include <string>

#include "tests/support/ProgramImage.h"
#include "updater/ProgramKind.h"

namespace vt {
namespace {

std::uint16_t MachineOf(const std::string& bytes) {
    return ReadProgramMachine(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

TEST(ProgramKind, ReadsTheMachineOfBothKindsAndOthersAsTheyAre) {
    EXPECT_EQ(MachineOf(test::ProgramImage(kMachineAmd64)), kMachineAmd64);
    EXPECT_EQ(MachineOf(test::ProgramImage(kMachineI386)), kMachineI386);
    EXPECT_EQ(MachineOf(test::ProgramImage(0xAA64)), 0xAA64);  // ARM64, PE32+
    // A DLL, and a header far into the file behind a long stub.
    test::ProgramImageSpec dll;
    dll.characteristics = 0x2102;
    dll.machine = kMachineI386;
    EXPECT_EQ(MachineOf(test::ProgramImage(dll)), kMachineI386);
    test::ProgramImageSpec far;
    far.peOffset = 40000;
    EXPECT_EQ(MachineOf(test::ProgramImage(far, "rest of the image")), kMachineAmd64);
}

TEST(ProgramKind, MalformedHeadersAreNoProgram) {
    const std::string good = test::ProgramImage(kMachineAmd64);
    const auto broken = [&good](std::size_t at, char value) {
        std::string b = good;
        b[at] = value;
        return b;
    };
    EXPECT_EQ(MachineOf(""), 0);
    EXPECT_EQ(MachineOf("MZ"), 0);
    EXPECT_EQ(MachineOf("plain text that is long enough to reach the offset field at 0x3C and beyond it"), 0);
    EXPECT_EQ(MachineOf(broken(0, 'm')), 0);         // "mZ"
    EXPECT_EQ(MachineOf(broken(0x80 + 2, 'X')), 0);  // "PEX\0"
    EXPECT_EQ(MachineOf(broken(0x80 + 1, 'e')), 0);  // "Pe\0\0"
    // Cut anywhere before the optional header's format field.
    for (std::size_t cut : {std::size_t{0x3F}, std::size_t{0x80}, std::size_t{0x80 + 5}, std::size_t{0x80 + 25}})
        EXPECT_EQ(MachineOf(good.substr(0, cut)), 0) << cut;
    EXPECT_EQ(MachineOf(good.substr(0, 0x80 + 26)), kMachineAmd64);
}

TEST(ProgramKind, OffsetsOutsideTheHeadAreNoProgram) {
    std::string image = test::ProgramImage(kMachineAmd64);
    for (std::uint32_t offset : {0xFFFFFFFFu, 0xFFFFFFF0u, 0x80000000u, static_cast<std::uint32_t>(image.size()),
                                 static_cast<std::uint32_t>(image.size() - 25)}) {
        test::PutLe32(image, 0x3C, offset);
        EXPECT_EQ(MachineOf(image), 0) << offset;
    }
    // Looked at only as far as it was given: the header lies beyond size.
    const std::string whole = test::ProgramImage(kMachineAmd64);
    EXPECT_EQ(ReadProgramMachine(reinterpret_cast<const unsigned char*>(whole.data()), 0x90), 0);
}

// A machine field changed without the format that goes with it, or an image
// that is not marked executable (an object or a broken link), is not a
// program of either kind.
TEST(ProgramKind, FormatMustFitTheMachine) {
    test::ProgramImageSpec spec;
    spec.machine = kMachineI386;
    spec.magic = 0x20B;
    EXPECT_EQ(MachineOf(test::ProgramImage(spec)), 0);
    spec.machine = kMachineAmd64;
    spec.magic = 0x10B;
    EXPECT_EQ(MachineOf(test::ProgramImage(spec)), 0);
    spec.magic = 0x107;  // a ROM image
    EXPECT_EQ(MachineOf(test::ProgramImage(spec)), 0);
    test::ProgramImageSpec notExecutable;
    notExecutable.characteristics = 0x0020;
    EXPECT_EQ(MachineOf(test::ProgramImage(notExecutable)), 0);
}

TEST(ProgramKind, ProgramNamesByExtensionInAnyCase) {
    for (const char* name :
         {"Vantrel.exe", "UPDATE.EXE", "a.dll", "x.Ocx", "p.cpl", "s.scr", ".exe", "\xD6\xD0\xCE\xC4.exe"})
        EXPECT_TRUE(IsProgramFileName(Gbk(name))) << name;
    for (const char* name :
         {"update.ini", "readme.txt", "exe", "a.exe.txt", "a.ex", "a.dl_", "a.dllx", "dll", "\xD6\xD0.dat"})
        EXPECT_FALSE(IsProgramFileName(Gbk(name))) << name;
}

}  // namespace
}  // namespace vt
