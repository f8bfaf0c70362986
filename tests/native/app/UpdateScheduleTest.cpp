#include "assistant/app/UpdateSchedule.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "shared/core/IniProfile.h"

namespace vt {
namespace {

namespace fs = std::filesystem;

class FakeClock : public IClock {
public:
    LocalTime Now() const override { return m_now; }
    LocalTime m_now;
};

struct Launch {
    std::string file, parameters, directory;
    ShowMode show;
};

class RecordingShell : public IShell {
public:
    bool Open(const std::string& file, const std::string& parameters,
              const std::string& directory, ShowMode show) override {
        m_launches.push_back({file, parameters, directory, show});
        return false;  // as if update.bat were missing: nothing may depend on it
    }
    std::vector<Launch> m_launches;
};

class UpdateScheduleTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vt-sched-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        m_appDir = pattern + "/";
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string IniPath() const { return m_appDir + kUpdateIniName; }
    void PutIni(const std::string& text) { std::ofstream(IniPath(), std::ios::binary) << text; }
    std::string IniText() const {
        std::ifstream in(IniPath(), std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string Key(const std::string& key) const {
        return IniProfile(IniPath()).GetString("Main", key, "<absent>");
    }
    // One run of ScheduleUpdate on the given day of the month.
    void Start(int day, bool atStartup = true) {
        IniProfile ini(IniPath());
        m_clock.m_now.day = day;
        UpdateSchedule(ini, m_clock, m_shell, m_appDir).ScheduleUpdate(atStartup);
    }
    std::size_t Launches() const { return m_shell.m_launches.size(); }

    fs::path m_dir;
    std::string m_appDir;
    FakeClock m_clock;
    RecordingShell m_shell;
};

TEST_F(UpdateScheduleTest, DueDayWithCheckArmedLaunchesHiddenWithoutWaiting) {
    PutIni("[Main]\r\nUpdated=0\r\nLocalMode=0\r\n");
    Start(4);  // `Day` missing: reference day 1
    ASSERT_EQ(Launches(), 1u);
    const Launch& launch = m_shell.m_launches[0];
    EXPECT_EQ(launch.file, m_appDir + "update.bat");
    EXPECT_EQ(launch.parameters, "");
    EXPECT_EQ(launch.directory, m_appDir);
    EXPECT_EQ(launch.show, ShowMode::Hidden);
    EXPECT_EQ(Key("Updated"), "1");
    EXPECT_EQ(Key("LocalMode"), "1");
}

TEST_F(UpdateScheduleTest, DayThatIsNotDueRearmsTheCheck) {
    PutIni("[Main]\r\nDay=1\r\nUpdated=1\r\n");
    Start(5);
    EXPECT_EQ(Launches(), 0u);
    EXPECT_EQ(Key("Updated"), "0");
    EXPECT_EQ(Key("LocalMode"), "1");
}

TEST_F(UpdateScheduleTest, DistanceAcrossTheReferenceDayCounts) {
    PutIni("[Main]\r\nDay=10\r\nUpdated=0\r\n");
    Start(4);  // six days before the reference day
    EXPECT_EQ(Launches(), 1u);
}

TEST_F(UpdateScheduleTest, DueDayWithoutUpdatedKeyNeverLaunches) {
    PutIni("[Main]\r\nDay=1\r\n");
    Start(7);
    EXPECT_EQ(Launches(), 0u);
    EXPECT_EQ(IniText(), "[Main]\r\nDay=1\r\nLocalMode=1\r\n");
}

TEST_F(UpdateScheduleTest, OneLaunchPerRunOfDueDays) {
    PutIni("[Main]\r\nDay=1\r\n");
    Start(5);
    Start(7);
    Start(7);
    EXPECT_EQ(Launches(), 1u);
    Start(30);
    Start(31);
    Start(1);  // the 1st follows the 31st in the same run of due days
    EXPECT_EQ(Launches(), 2u);
    EXPECT_EQ(Key("Updated"), "1");
}

TEST_F(UpdateScheduleTest, TrayCommandAlwaysLaunchesAndLeavesUpdatedAlone) {
    PutIni("[Main]\r\nLocalMode=1\r\nDay=1\r\nUpdated=0\r\n");
    Start(5, false);
    Start(7, false);
    EXPECT_EQ(Launches(), 2u);
    EXPECT_EQ(m_shell.m_launches[1].show, ShowMode::Hidden);
    EXPECT_EQ(Key("LocalMode"), "0");
    EXPECT_EQ(Key("Updated"), "0");
    Start(5);
    EXPECT_EQ(Key("LocalMode"), "1");
}

TEST_F(UpdateScheduleTest, FreshDirectoryGetsAFileOnTheSecond) {
    Start(2);
    EXPECT_EQ(Launches(), 0u);
    EXPECT_EQ(IniText(), "[Main]\r\nLocalMode=1\r\nUpdated=0\r\n");
}

TEST_F(UpdateScheduleTest, UnwritableFileStillLaunchesOnRequest) {
    m_appDir += "missing-subdirectory/";
    Start(4);
    EXPECT_EQ(Launches(), 0u);  // nothing armed the check
    Start(4, false);
    EXPECT_EQ(Launches(), 1u);
}

TEST_F(UpdateScheduleTest, HostileValuesReadAsNumbersWithoutOverflow) {
    PutIni("[Main]\r\nDay=-2147483648\r\nUpdated=0\r\n");
    Start(2);  // 2147483650 days apart: not a multiple of three
    EXPECT_EQ(Launches(), 0u);
    PutIni("[Main]\r\nDay=abc\r\nUpdated=zero\r\n");
    Start(3);  // both read as 0: due, armed
    EXPECT_EQ(Launches(), 1u);
}

TEST(UpdateScheduleRule, DueDaysAreMultiplesOfThreeFromTheReferenceDay) {
    for (int day : {1, 4, 7, 10, 13, 16, 19, 22, 25, 28, 31})
        EXPECT_TRUE(UpdateSchedule::IsDueDay(1, day)) << day;
    for (int day : {2, 3, 5, 6, 29, 30}) EXPECT_FALSE(UpdateSchedule::IsDueDay(1, day)) << day;
    EXPECT_TRUE(UpdateSchedule::IsDueDay(2, 29));
    EXPECT_FALSE(UpdateSchedule::IsDueDay(2, 31));
    EXPECT_TRUE(UpdateSchedule::IsDueDay(INT_MAX, 1));   // 2147483646 = 3 * 715827882
    EXPECT_FALSE(UpdateSchedule::IsDueDay(INT_MIN, 2));  // would wrap to a multiple in 32 bits
}

}  // namespace
}  // namespace vt
