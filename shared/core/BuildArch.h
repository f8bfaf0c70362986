#pragma once
// Which processor kind this build is made for: the one place in the C++ that
// asks the compiler. The build system chooses the kind (VT_ARCH) and the
// compiler it runs; everything else in the code asks this header.
namespace vt {

enum class Arch { X64, X86 };

#if defined(__x86_64__) || defined(_M_X64)
inline constexpr Arch kBuildArch = Arch::X64;
#elif defined(__i386__) || defined(_M_IX86)
inline constexpr Arch kBuildArch = Arch::X86;
#elif defined(_WIN32)
#error "Vantrel's Windows programs are built for x64 or x86 only"
#else
// A native build on another processor only runs the portable tests; they
// follow the x64 rules.
inline constexpr Arch kBuildArch = Arch::X64;
#endif

// A 64-bit build: pointers of 8 bytes, and on 64-bit Windows a second
// (32-bit) view of the registry beside its own.
inline constexpr bool kBuildIs64Bit = kBuildArch == Arch::X64;
#ifdef _WIN32
static_assert(sizeof(void*) == (kBuildIs64Bit ? 8 : 4), "the compiler's pointers fit the kind");
#endif

// The kind's name where users and the release see it: the installer's file
// name, the update address, the updater's messages.
constexpr const char* ArchName(Arch arch) { return arch == Arch::X64 ? "x64" : "x86"; }

inline constexpr const char* kBuildArchName = ArchName(kBuildArch);

}  // namespace vt
