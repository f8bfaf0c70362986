// The portable profile reader against the platform's own profile functions,
// on the same files: whatever one reads, the other must read too. The
// platform rewrites a whole file on every write, so writes are compared by
// what both read back afterwards, never by the bytes on disk.
#include <windows.h>

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "shared/core/IniProfile.h"
#include "shared/win/Encoding.h"
#include "shared/win/WinProfile.h"
#include "tests/support/TestFiles.h"

namespace vt::win {
namespace {

using vt::test::ScratchDir;

std::string Show(const std::string& bytes) {
    std::ostringstream out;
    for (unsigned char c : bytes) {
        if (c >= 0x20 && c < 0x7f && c != '\\')
            out << c;
        else
            out << "\\x"
                << "0123456789ABCDEF"[c >> 4] << "0123456789ABCDEF"[c & 15];
    }
    return out.str();
}

// What both are asked on every file: each key in each section as text, and
// the keys that the programs read as numbers also as numbers.
struct Probes {
    std::vector<std::string> sections, keys, numbers;
};
const Probes kAll = {{"Main", " MAIN ", "File0", "", "\xD6\xD0\xCE\xC4", "Next] tail"},
                     {"Day", "dAY", "Updated", " Total ", "Q", "\xD6\xD0", ";c", "Bare"},
                     {"Day", "Updated", "Q"}};
// Fewer for the many random files, to keep the run short.
const Probes kSome = {{"Main", "File0", "", "\xD6\xD0\xCE\xC4"},
                      {"Day", "dAY", "Updated", " Total ", "Q", "\xD6\xD0", ";c", "Bare"},
                      {"Day", "Updated", "Q"}};
const Probes kMainQ = {{"Main"}, {"Q", "Day"}, {"Q", "Day"}};
// The platform writes a section of an empty name back without its header,
// which moves its keys into the lines before the first header: "[ ]" is
// compared on reads only.
const char* const kHeaders[] = {"Main", "main", " MAIN ", "File0", "\xD6\xD0\xCE\xC4", "Next] tail", "Sec"};
const char* const kKeys[] = {"Day", "dAY", "Updated", " Total ", "Q", "\xD6\xD0", ";c", "Bare"};

::testing::AssertionResult SameReads(const IProfile& mine, const IProfile& platform, const Probes& probes = kAll) {
    for (const std::string& section : probes.sections) {
        for (const std::string& key : probes.keys) {
            const std::string a = mine.GetString(section, key, "<def>");
            const std::string b = platform.GetString(section, key, "<def>");
            if (a != b)
                return ::testing::AssertionFailure() << "[" << Show(section) << "] " << Show(key) << ": portable \""
                                                     << Show(a) << "\", platform \"" << Show(b) << "\"";
        }
        for (const std::string& key : probes.numbers) {
            const int a = mine.GetInt(section, key, -7), b = platform.GetInt(section, key, -7);
            if (a != b)
                return ::testing::AssertionFailure() << "[" << Show(section) << "] " << Show(key)
                                                     << " as a number: portable " << a << ", platform " << b;
        }
    }
    return ::testing::AssertionSuccess();
}

class ProfileDifferential : public ::testing::Test {
protected:
    // A new file name for every comparison: the platform keeps recently used
    // files in memory and trusts a modification time that a quick rewrite
    // may leave unchanged.
    std::wstring NewPath() { return m_dir / (L"p" + std::to_wstring(++m_files) + L".ini"); }

    ::testing::AssertionResult ReadsAgree(const std::string& bytes, const Probes& probes = kAll) {
        const std::wstring path = NewPath();
        ScratchDir::Put(path, bytes);
        return SameReads(IniProfile(ToUtf8(path)), WinProfile(ToUtf8(path)), probes);
    }

    struct Write {
        std::string section, key, value;
    };
    // Applies the writes to one copy through each, then compares what each
    // reads from its own copy and what the portable reader makes of the
    // platform's rewritten file.
    ::testing::AssertionResult WritesAgree(const std::string& bytes, const std::vector<Write>& writes,
                                           const Probes& probes = kAll) {
        const std::wstring mineFile = NewPath(), platformFile = NewPath();
        ScratchDir::Put(mineFile, bytes);
        ScratchDir::Put(platformFile, bytes);
        IniProfile mine(ToUtf8(mineFile));
        WinProfile platform(ToUtf8(platformFile));
        for (const Write& w : writes) {
            const bool a = mine.WriteString(w.section, w.key, w.value);
            const bool b = platform.WriteString(w.section, w.key, w.value);
            if (a != b)
                return ::testing::AssertionFailure() << "write [" << Show(w.section) << "] " << Show(w.key) << "="
                                                     << Show(w.value) << ": portable " << a << ", platform " << b;
        }
        std::string written;
        for (const Write& w : writes) written += " [" + Show(w.section) + "] " + Show(w.key) + "=" + Show(w.value);
        ::testing::AssertionResult own = SameReads(mine, platform, probes);
        if (!own)
            return own << " after writes" << written << "; portable file " << Show(ScratchDir::Contents(mineFile))
                       << "; platform file " << Show(ScratchDir::Contents(platformFile));
        ::testing::AssertionResult rewritten = SameReads(IniProfile(ToUtf8(platformFile)), platform, probes);
        if (!rewritten)
            return rewritten << " in the platform's rewrite after" << written << ": "
                             << Show(ScratchDir::Contents(platformFile));
        return ::testing::AssertionSuccess();
    }

    ScratchDir m_dir{L"differential"};
    int m_files = 0;
};

TEST_F(ProfileDifferential, QuotesBlanksAndCase) {
    const char* const files[] = {
        "[Main]\r\nQ=\"  quoted  \"\r\nDay = 12 \r\n",
        "[Main]\r\nQ='x'\r\n",
        "[Main]\r\nQ=\"x'\r\n",
        "[Main]\r\nQ=\"\r\n",
        "[Main]\r\nQ=\"\"\r\n",
        "[Main]\r\nQ=\"\"x\"\"\r\n",
        "[Main]\r\nQ= \" 7\" \r\nk='\"'\r\n",
        "  [ mAiN ]  \r\n\t dAy \t=\t 12 \t\r\n\x0b"
        "Updated\x0c=\x1a"
        "1\x1a\r\n",
        "[MAIN]\r\nday=1\r\nUPDATED=0\r\n",
        "[Main]\r\nQ=\xD6\xD0\xCE\xC4\r\n\xD6\xD0=\xCE\xC4 \r\n[\xD6\xD0\xCE\xC4]\r\nk=gbk\r\n",
        "[Main]\r\n;c=comment\r\nBare\r\nBare=hidden\r\n= no name\r\nk=\r\n",
        "Q=before any section\r\n[Main]\r\nQ=x\r\n",
        "[Next] tail ] text\r\nk=v\r\n[Sec\r\nk=broken header\r\n",
        "Q=top\r\n[ ]\r\nQ=blank name\r\nk=1\r\n",
    };
    for (const char* bytes : files) EXPECT_TRUE(ReadsAgree(bytes)) << Show(bytes);
}

TEST_F(ProfileDifferential, LineBreaksOfEveryKind) {
    const char* const files[] = {
        "[Main]\rDay=4\rUpdated=0\r",
        "[Main]\nDay=4\nUpdated=0",
        "[Main]\n\rDay=4\r\r\n\nUpdated=0\n\r",
        "\r\n\r\n[Main]\r\n\r\n\r\nDay=4\r\n\r\n",
        "[Main]\r\nDay=4",
        "[Main]\r\nDay=4\r\n[File0]\rk=1\n[Sec]\r\nk=2",
    };
    for (const char* bytes : files) EXPECT_TRUE(ReadsAgree(bytes)) << Show(bytes);
}

TEST_F(ProfileDifferential, DuplicateKeysAndSectionsUseTheFirst) {
    const char* const files[] = {
        "[Main]\r\nDay=1\r\nDay=2\r\n",
        "[Main]\r\nDay=1\r\n[Main]\r\nDay=2\r\nUpdated=0\r\n",
        "[main]\r\nQ=a\r\n[MAIN]\r\nQ=b\r\nk=c\r\n[Sec]\r\n[Main]\r\nk=d\r\n",
        "[Main]\r\nday\r\nDay=2\r\n",
    };
    for (const char* bytes : files) EXPECT_TRUE(ReadsAgree(bytes)) << Show(bytes);
    EXPECT_TRUE(WritesAgree(files[1], {{"Main", "Updated", "1"}, {"Main", "Day", "3"}}));
    EXPECT_TRUE(WritesAgree(files[2], {{"MAIN", "k", "x"}, {"Sec", "Q", "y"}}));
    EXPECT_TRUE(WritesAgree(files[3], {{"Main", "Day", "5"}}));
}

TEST_F(ProfileDifferential, MissingFileReadsDefaultsAndTheFirstWriteCreatesIt) {
    const std::wstring path = NewPath();
    EXPECT_TRUE(SameReads(IniProfile(ToUtf8(path)), WinProfile(ToUtf8(path))));
    EXPECT_TRUE(WritesAgree("", {{"Main", "LocalMode", "1"}, {"Main", "Updated", "0"}, {"File0", "Q", "\xD6\xD0"}}));
    ScratchDir missing(L"gone");
    const std::string inMissingDir = missing.Utf8() + "no\\such\\update.ini";
    EXPECT_FALSE(WinProfile(inMissingDir).WriteString("Main", "k", "1"));
    EXPECT_FALSE(IniProfile(inMissingDir).WriteString("Main", "k", "1"));
}

TEST_F(ProfileDifferential, LongValuesAreCutAtTheSameByte) {
    for (std::size_t length : {1022u, 1023u, 1024u, 1025u, 3000u}) {
        EXPECT_TRUE(ReadsAgree("[Main]\r\nQ=" + std::string(length, 'v') + "\r\n", kMainQ)) << length;
        EXPECT_TRUE(ReadsAgree("[Main]\r\nQ=\"" + std::string(length, 'v') + "\"\r\n", kMainQ)) << length;
        // A double-byte character across the cut.
        EXPECT_TRUE(ReadsAgree("[Main]\r\nQ=" + std::string(length - 1, 'a') + "\xD6\xD0z\r\n", kMainQ)) << length;
        EXPECT_TRUE(ReadsAgree("[Main]\r\nDay=" + std::string(length, '1') + "\r\n", kMainQ)) << length;
    }
    EXPECT_TRUE(WritesAgree("", {{"Main", "Q", std::string(1500, 'w')}}));
}

// The platform reads through UTF-16: a lead byte without a valid second
// byte turns into '?' and takes that byte along, in names, values and defaults.
TEST_F(ProfileDifferential, BrokenDoubleByteCharacters) {
    const char* const files[] = {
        "[Main]\r\nQ=a\x81\x7f"
        "b\r\nDay=\x81"
        "1\r\n",
        "[Main]\r\nQ=a\x81\r\nDay=4\r\n",  // the CR goes with the lead byte
        "[Main]\r\nQ=\xD6",
        "[Main\x81]\r\nQ=x\r\n[Main]\r\nQ=y\r\n",
        "[Main]\r\nQ\x81\x7f=1\r\n",
    };
    for (const char* bytes : files) EXPECT_TRUE(ReadsAgree(bytes)) << Show(bytes);
    EXPECT_TRUE(ReadsAgree(std::string("[Main]\r\nQ=a\x81\0b\r\n", 16)));  // the NUL stays and ends the value
    const std::wstring path = NewPath();
    ScratchDir::Put(path, "[Main]\r\nQ?=1\r\n");
    EXPECT_EQ(IniProfile(ToUtf8(path)).GetString("Main", "Q\x81\x7f", "<def>"), "1");
    EXPECT_EQ(WinProfile(ToUtf8(path)).GetString("Main", "Q\x81\x7f", "<def>"), "1");
    EXPECT_EQ(IniProfile(ToUtf8(path)).GetString("Main", "none", "d\x81\x7f"),
              WinProfile(ToUtf8(path)).GetString("Main", "none", "d\x81\x7f"));
    EXPECT_TRUE(WritesAgree("[Main]\r\nQ\x81\x7f=1\r\nX=\x81\r\n", {{"Main", "Q?", "2"}, {"Main", "Day", "5"}}));
}

// On a file in the platform's own layout, writes of values ending in blanks
// must leave the same bytes as the platform's, and writing one again must
// not change the file. The platform rewrites the whole file and trims every
// other line as it goes, so only the last key written may end in blanks.
TEST_F(ProfileDifferential, ValuesEndingInBlanksAreWrittenAsThePlatformWritesThem) {
    struct Case {
        std::string file;
        std::vector<Write> writes;
    };
    const std::vector<Case> cases = {
        {"[Main]\r\nQ=a \r\nDay=1\r\n", {{"Main", "Q", "a "}, {"Main", "Q", "a "}, {"Main", "Q", "a "}}},
        {"[Main]\r\nQ=a \r\nDay=1\r\n", {{"Main", "Q", "b "}, {"Main", "Q", "c\t"}, {"Main", "Q", "c\t"}}},
        {"[Main]\r\nQ=a\r\n[File0]\r\nQ=\xD6\xD0\r\n",
         {{"File0", "Q", "\xD6\xD0 "}, {"File0", "Q", "\xCE\xC4  "}, {"File0", "Q", "\xCE\xC4 "}}},
        {"[Main]\r\nQ=\r\nBare\r\n", {{"Main", "Q", " "}, {"Main", "Bare", "x "}, {"Main", "Bare", "x "}}},
        {"", {{"Main", "Day", "3"}, {"Main", "Q", "v "}, {"Main", "Q", "v "}}},
    };
    for (const Case& c : cases) {
        const std::wstring mineFile = NewPath(), platformFile = NewPath();
        ScratchDir::Put(mineFile, c.file);
        ScratchDir::Put(platformFile, c.file);
        IniProfile mine(ToUtf8(mineFile));
        WinProfile platform(ToUtf8(platformFile));
        for (const Write& w : c.writes) {
            ASSERT_TRUE(platform.WriteString(w.section, w.key, w.value));
            ASSERT_TRUE(mine.WriteString(w.section, w.key, w.value));
            EXPECT_EQ(Show(ScratchDir::Contents(mineFile)), Show(ScratchDir::Contents(platformFile)))
                << Show(c.file) << " after [" << w.section << "] " << w.key << "=" << Show(w.value);
        }
        EXPECT_TRUE(SameReads(mine, platform));
        const std::size_t size = ScratchDir::Contents(mineFile).size();
        const Write& last = c.writes.back();
        EXPECT_TRUE(mine.WriteString(last.section, last.key, last.value));
        EXPECT_EQ(ScratchDir::Contents(mineFile).size(), size) << Show(c.file);
    }
    // Over lines of any layout the file keeps its size however often the
    // same value is written, and both read alike.
    EXPECT_TRUE(WritesAgree("[Main]\r\n  Q = a  \t \r\nDay\t \r\n",
                            {{"Main", "Q", "a "}, {"Main", "Q", "a "}, {"Main", "Day", "4 "}}));
}

// Files made of the pieces above in random order, sizes and line breaks,
// salted with random bytes; fixed seeds keep every run the same.
class RandomProfile {
public:
    explicit RandomProfile(unsigned seed) : m_random(seed) {}

    std::string File() {
        std::string out;
        const int lines = Below(14);
        for (int i = 0; i < lines; ++i) {
            out += Blanks();
            switch (Below(7)) {
            case 0:
            case 1:
                out += "[" + Blanks() + Pick(kHeaders) + Blanks() + "]" + (Below(4) ? "" : Value());
                break;
            case 2:
            case 3:
            case 4:
                out += Pick(kKeys) + Blanks() + "=" + Blanks() + Value();
                break;
            case 5:
                out += Pick(kKeys);
                break;
            default:
                out += Noise();
                break;
            }
            out += Blanks();
            static const char* const breaks[] = {"\r\n", "\r\n", "\n", "\r", "\n\r", "\r\n\r\n"};
            out += Pick(breaks);
        }
        if (Below(3) == 0 && !out.empty()) out.pop_back();
        return out;
    }

    std::string Value() {
        static const char* const pieces[] = {"1",    "42",       "-3",       "+7",       "0x1f",       "abc",
                                             "\"",   "'",        " ",        "\t",       "=",          "]",
                                             "[",    "\xD6\xD0", "\xB9\xD8", ";",        "2147483647", "99999999999",
                                             "\x81", "\xFF",     "\x80",     "\x81\x7f", "\xA1\xA1",   "\xA3\xC1"};
        std::string out;
        const int count = Below(8) == 0 ? 300 + Below(200) : Below(6);
        for (int i = 0; i < count; ++i) out += Pick(pieces);
        return out;
    }

    std::vector<std::string> Writable() {
        std::vector<std::string> w = {Pick(kHeaders), Pick(kKeys), Value()};
        if (Below(2)) w[1] = "New" + std::to_string(Below(3));
        if (Below(4) == 0) w[0] = "Fresh";
        return w;
    }

    int Below(int n) { return static_cast<int>(m_random() % static_cast<unsigned>(n)); }

private:
    template <std::size_t N>
    const char* Pick(const char* const (&list)[N]) {
        return list[Below(static_cast<int>(N))];
    }
    std::string Blanks() {
        static const char* const blanks[] = {"", "", "", " ", "\t", "  "};
        return Pick(blanks);
    }
    std::string Noise() {
        std::string out(static_cast<std::size_t>(Below(12)), ' ');
        for (char& c : out) {
            c = static_cast<char>(m_random());
        }
        return out;
    }

    std::mt19937 m_random;
};

TEST_F(ProfileDifferential, RandomFilesReadAndWriteAlike) {
    RandomProfile random(20240607);
    for (int round = 0; round < 40; ++round) {
        const std::string bytes = random.File();
        ASSERT_TRUE(ReadsAgree(bytes, kSome)) << "round " << round << ": " << Show(bytes);
        std::vector<Write> writes;
        for (int i = random.Below(4); i >= 0; --i) {
            const std::vector<std::string> w = random.Writable();
            writes.push_back({w[0], w[1], w[2]});
        }
        ASSERT_TRUE(WritesAgree(bytes, writes, kSome)) << "round " << round << ": " << Show(bytes);
    }
}

}  // namespace
}  // namespace vt::win
