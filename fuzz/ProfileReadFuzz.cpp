// libFuzzer target: the profile reader on arbitrary file bytes, names and
// values. The bytes are read in memory; one input in eight also goes through
// a temporary file with a write, to check what a write keeps and changes.
#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "shared/core/Gbk.h"
#include "shared/core/IniProfile.h"
#include "shared/core/ProfileText.h"

namespace {

bool Ascii(const std::string& s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

std::string Flip(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
}

// A read value is text the platform could hand out: at most 1023 bytes, no
// NUL or line break, no cut double-byte character.
void CheckValue(const std::string& v) {
    VT_FUZZ_CHECK(v.size() <= 1023);
    for (std::size_t i = 0; i < v.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(v[i]);
        VT_FUZZ_CHECK(c != 0 && c != '\r' && c != '\n');
        if (vt::IsGbkLeadByte(c)) {
            VT_FUZZ_CHECK(i + 1 < v.size());
            ++i;
        }
    }
}

void CheckReads(const vt::IProfile& p, const std::string& section, const std::string& key) {
    const std::string value = p.GetString(section, key, "");
    CheckValue(value);
    const std::string withDefault = p.GetString(section, key, "<d>");
    VT_FUZZ_CHECK(withDefault == value || (value.empty() && withDefault == "<d>"));
    // A number comes from a value; without one both defaults come back.
    const int a = p.GetInt(section, key, -7), b = p.GetInt(section, key, 5);
    if (a != b) VT_FUZZ_CHECK(a == -7 && b == 5 && value.empty());
    if (Ascii(section) && Ascii(key)) VT_FUZZ_CHECK(p.GetString(Flip(section), Flip(key), "") == value);
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const bool write = (in.ConsumeIntegral<std::uint8_t>() & 7) == 0;
    const std::string section = in.ConsumeRandomLengthString(24);
    const std::string key = in.ConsumeRandomLengthString(24);
    const std::string value = in.ConsumeRandomLengthString(1100);
    const std::string otherKey = in.ConsumeRandomLengthString(24);
    const std::string bytes = in.ConsumeRemainingBytesAsString();

    const vt::MemoryProfile memory(bytes);
    CheckReads(memory, section, key);
    CheckReads(memory, section, otherKey);
    CheckReads(memory, "Main", "Total");
    VT_FUZZ_CHECK(!vt::MemoryProfile(bytes).WriteString(section, key, value));
    if (!write) return 0;

    static const std::string path = "/tmp/vt_profile_fuzz_" + std::to_string(getpid()) + ".ini";
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    vt::IniProfile file(path);
    // The file and the same bytes in memory read alike.
    VT_FUZZ_CHECK(file.GetString(section, key, "<d>") == memory.GetString(section, key, "<d>"));
    VT_FUZZ_CHECK(file.GetInt(section, otherKey, -7) == memory.GetInt(section, otherKey, -7));

    const bool writable = vt::ProfileWritable(section, key, value);
    const std::string otherBefore = file.GetString(section, otherKey, "<d>");
    VT_FUZZ_CHECK(file.WriteString(section, key, value) == writable);
    const std::string after = FileBytes(path);
    if (!writable) {
        VT_FUZZ_CHECK(after == bytes);
    } else {
        // Reads back as the value reads in a file of its own, and leaves
        // every other key as it was.
        const std::string alone =
            vt::MemoryProfile("[" + section + "]\r\n" + key + "=" + value + "\r\n").GetString(section, key, "<d>");
        VT_FUZZ_CHECK(file.GetString(section, key, "<d>") == alone);
        VT_FUZZ_CHECK(vt::MemoryProfile(after).GetString(section, key, "<d>") == alone);
        const bool sameKey = vt::MemoryProfile("[s]\r\n" + key + "=1\r\n").GetString("s", otherKey, "") == "1";
        if (!sameKey) VT_FUZZ_CHECK(file.GetString(section, otherKey, "<d>") == otherBefore);
        // Writing the same value again changes no byte.
        VT_FUZZ_CHECK(file.WriteString(section, key, value));
        VT_FUZZ_CHECK(FileBytes(path) == after);
    }
    std::remove(path.c_str());
    return 0;
}
