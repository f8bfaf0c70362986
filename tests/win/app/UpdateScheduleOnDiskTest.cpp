// The update schedule on a real update.ini through the platform's profile
// functions, with a clock and a shell that the test controls: what only a
// real file can show (its directory's name in code page 936, a file that is
// no profile, one another program holds). The decisions themselves are
// tested natively (tests/native/app), and the platform's reading and writing
// rules against the portable profile in tests/win/shared.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "assistant/app/UpdateSchedule.h"
#include "shared/win/Encoding.h"
#include "shared/win/WinProfile.h"
#include "tests/support/CoreFakes.h"
#include "tests/support/TestFiles.h"

namespace vt::win {
namespace {

using vt::test::FakeClock;
using vt::test::RecordingShell;
using vt::test::ScratchDir;

constexpr char kUnset[] = "<unset>";

class UpdateScheduleOnDisk : public ::testing::Test {
protected:
    // Each case gets a directory of its own: the platform caches profile
    // files by name and would not notice a quick rewrite by the test.
    void NewDir(const std::wstring& name = L"sched") {
        m_dir = std::make_unique<ScratchDir>(name);
        m_shell.launches.clear();
    }
    std::wstring IniPath() const { return *m_dir / L"update.ini"; }
    void Put(const std::string& bytes) { ScratchDir::Put(IniPath(), bytes); }
    void Start(int day, bool atStartup = true) {
        WinProfile ini(m_dir->Utf8() + "update.ini");
        m_clock.now.day = day;
        UpdateSchedule(ini, m_clock, m_shell, m_dir->Utf8()).ScheduleUpdate(atStartup);
    }
    std::string Key(const char* key) const {
        return WinProfile(m_dir->Utf8() + "update.ini").GetString("Main", key, kUnset);
    }
    std::size_t Launches() const { return m_shell.launches.size(); }

    std::unique_ptr<ScratchDir> m_dir;
    FakeClock m_clock;
    RecordingShell m_shell;
};

TEST_F(UpdateScheduleOnDisk, ChineseApplicationDirectory) {
    NewDir(L"\x66f4\x65b0\x52a9\x624b");  // 更新助手: expressible in code page 936
    Put("[Main]\r\nUpdated=0\r\n");
    Start(4);
    EXPECT_EQ(Launches(), 1u);
    EXPECT_EQ(Key("Updated"), "1");
    EXPECT_NE(ScratchDir::Contents(IniPath()).find("LocalMode=1"), std::string::npos);

    NewDir(L"\xd55c\xad6d\x00e9");  // Korean letters that code page 936 lacks
    Start(2);
    EXPECT_NE(ScratchDir::Contents(IniPath()).find("Updated=0"), std::string::npos);
}

TEST_F(UpdateScheduleOnDisk, RandomBytesOrAFolderInsteadOfTheFile) {
    std::mt19937 random(99);
    for (int round = 0; round < 10; ++round) {
        NewDir();
        std::string bytes(random() % 4000, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        Put(bytes);
        Start(static_cast<int>(random() % 31) + 1);
        EXPECT_LE(Launches(), 1u);
        EXPECT_EQ(Key("LocalMode"), "1") << round;
    }
    NewDir();
    CreateDirectoryW(IniPath().c_str(), nullptr);
    Start(4);
    Start(5);
    EXPECT_EQ(Launches(), 0u);
    Start(5, false);
    EXPECT_EQ(Launches(), 1u);
}

// Another program holding the file without sharing stands in for any file
// that cannot be written (a read-only attribute does not stop Wine's root).
TEST_F(UpdateScheduleOnDisk, FileThatCannotBeOpenedIsIgnoredAndTheTrayStillLaunches) {
    NewDir();
    const std::string original = "[Main]\r\nDay=1\r\nUpdated=0\r\nLocalMode=0\r\n";
    Put(original);
    HANDLE lock = CreateFileW(IniPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    Start(4);  // reads as a file without keys: due, but `Updated` defaults to 1
    Start(5);
    EXPECT_EQ(Launches(), 0u);
    Start(5, false);
    EXPECT_EQ(Launches(), 1u);
    CloseHandle(lock);
    EXPECT_EQ(ScratchDir::Contents(IniPath()), original);
}

}  // namespace
}  // namespace vt::win
