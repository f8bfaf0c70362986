#pragma once
// Which processor a Windows program is built for, read from its MZ and PE
// headers, and which kind this build is. An updater of one kind must never
// install programs of the other: an x86 program in an x64 installation
// would lose the 64-bit registry view the installer relies on, and a DLL of
// the wrong kind does not even load.
#include <cstddef>
#include <cstdint>

#include "shared/core/BuildArch.h"
#include "shared/core/Gbk.h"

namespace vt {

// IMAGE_FILE_HEADER.Machine values.
constexpr std::uint16_t kMachineI386 = 0x014C;
constexpr std::uint16_t kMachineAmd64 = 0x8664;

// The machine of the programs this build is made of.
constexpr std::uint16_t ArchMachine(Arch arch) { return arch == Arch::X64 ? kMachineAmd64 : kMachineI386; }
constexpr std::uint16_t kOwnMachine = ArchMachine(kBuildArch);

// How many leading bytes of a file ReadProgramMachine looks at: the PE
// header must begin within them. Linkers put it within the first few
// hundred bytes.
constexpr std::size_t kProgramHeadBytes = 64 * 1024;

// The machine a program image is built for, from its first `size` bytes:
// "MZ", the PE header's offset at 0x3C, "PE\0\0" there, then the file
// header. 0 for anything that is not a well-formed executable image: a
// truncated or missing header, an image not marked executable, or an
// optional header whose format does not fit the machine (PE32 for x86,
// PE32+ for x64; other machines are reported as they are).
std::uint16_t ReadProgramMachine(const unsigned char* head, std::size_t size);

// True for the names Windows loads as program images into a process:
// ".exe", ".dll", ".ocx", ".cpl", ".scr" in any letter case. Such a
// download must be a program of the updater's own kind; any other file
// (a text, a picture) is data and is not looked at.
bool IsProgramFileName(const Gbk& name);

// "x64" or "x86" for the two machines Vantrel is built for; "" for others.
const char* MachineName(std::uint16_t machine);

}  // namespace vt
