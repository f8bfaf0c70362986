// libFuzzer target: the file-name rule on arbitrary code page 936 bytes.
#include <cstring>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "updater/FileNameRule.h"

namespace {

bool IsTrail(unsigned char c) { return c >= 0x40 && c != 0x7F && c != 0xFF; }

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char Toggle(char c) {
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    return c;
}

// What an accepted name must be, character by character.
bool StaysInItsDirectory(const std::string& n) {
    if (n.empty() || n == "." || n == ".." || n.back() == '.' || n.back() == ' ') return false;
    for (std::size_t i = 0; i < n.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(n[i]);
        if (vt::IsGbkLeadByte(c)) {
            if (i + 1 >= n.size() || !IsTrail(static_cast<unsigned char>(n[i + 1]))) return false;
            ++i;
        } else if (c < 0x20 || c == 0x7F || c == 0xFF || std::strchr("\\/:<>\"|?*", c)) {
            return false;
        }
    }
    std::string base = n.substr(0, n.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = Upper(c);
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"})
        if (base == device) return false;
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '0' &&
        base[3] <= '9')
        return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size);
    const bool plain = vt::IsPlainFileName(vt::Gbk(name));
    VT_FUZZ_CHECK(plain == StaysInItsDirectory(name));
    // Letter case never matters: a trail byte stays a trail byte.
    std::string toggled = name;
    for (char& c : toggled) c = Toggle(c);
    VT_FUZZ_CHECK(vt::IsPlainFileName(vt::Gbk(toggled)) == plain);
    if (plain) {
        // An extension or a letter before it keeps an ordinary name ordinary.
        VT_FUZZ_CHECK(vt::IsPlainFileName(vt::Gbk(name + ".txt")));
        VT_FUZZ_CHECK(vt::IsPlainFileName(vt::Gbk("x" + name)));
        // A device name with this name as its extension is still the device.
        VT_FUZZ_CHECK(!vt::IsPlainFileName(vt::Gbk("com0." + name)));
        VT_FUZZ_CHECK(!vt::IsPlainFileName(vt::Gbk("..\\" + name)));
    }
    return 0;
}
