#include "assistant/app/UpdateSchedule.h"

#include <climits>
#include <cstdio>
#include <vector>

#include "shared/core/IniProfile.h"
#include "tests/support/CoreFakes.h"
#include "tests/support/TempDir.h"

namespace vt {
namespace {

constexpr char kUnset[] = "<unset>";

class UpdateScheduleTest : public TempDirTest {
protected:
    // As if update.bat were missing: nothing may depend on the launch.
    UpdateScheduleTest() { m_shell.result = false; }
    std::string Ini() const { return m_dir + kUpdateIniName; }
    void Start(int day, bool atStartup = true) {
        IniProfile ini(Ini());
        m_clock.now.day = day;
        UpdateSchedule(ini, m_clock, m_shell, m_dir).ScheduleUpdate(atStartup);
    }
    std::size_t Launches() const { return m_shell.launches.size(); }
    std::string Key(const char* key) const { return IniProfile(Ini()).GetString("Main", key, kUnset); }
    static std::string Joined(const test::RecordingShell::Launch& launch) {
        return launch.file + "|" + launch.parameters + "|" + launch.directory + "|" +
               (launch.show == ShowMode::Hidden ? "hidden" : "shown");
    }

    test::FakeClock m_clock;
    test::RecordingShell m_shell;
};

TEST_F(UpdateScheduleTest, OneRunDecidesFromDayAndUpdated) {
    const struct {
        const char* before;
        int day;
        bool atStartup;
        bool launch;
        const char* after;
    } cases[] = {
        // `Day` missing (1), the 4th, check armed: launch, then disarm.
        {"[Main]\r\nUpdated=0\r\n", 4, true, true, "[Main]\r\nUpdated=1\r\nLocalMode=1\r\n"},
        // The 5th is not due for `Day` 1: re-arm.
        {"[Main]\r\nDay=1\r\nUpdated=1\r\n", 5, true, false, "[Main]\r\nDay=1\r\nUpdated=0\r\nLocalMode=1\r\n"},
        // Six days before the reference day is due too.
        {"[Main]\r\nDay=10\r\nUpdated=0\r\n", 4, true, true, "[Main]\r\nDay=10\r\nUpdated=1\r\nLocalMode=1\r\n"},
        // Due, but `Updated` absent: it defaults to 1 and is not written.
        {"[Main]\r\nDay=1\r\n", 7, true, false, "[Main]\r\nDay=1\r\nLocalMode=1\r\n"},
        // The tray command: any day, due or not, `Updated` untouched.
        {"[Main]\r\nLocalMode=1\r\nUpdated=0\r\n", 5, false, true, "[Main]\r\nLocalMode=0\r\nUpdated=0\r\n"},
        {"[Main]\r\nLocalMode=1\r\nUpdated=0\r\n", 31, false, true, "[Main]\r\nLocalMode=0\r\nUpdated=0\r\n"},
        {"", 2, false, true, "[Main]\r\nLocalMode=0\r\n"},
        // A fresh directory on the 2nd.
        {nullptr, 2, true, false, "[Main]\r\nLocalMode=1\r\nUpdated=0\r\n"},
        // Hostile values: 2147483650 days apart is not due (32 bits would wrap to a multiple).
        {"[Main]\r\nDay=-2147483648\r\nUpdated=0\r\n", 2, true, false,
         "[Main]\r\nDay=-2147483648\r\nUpdated=0\r\nLocalMode=1\r\n"},
        {"[Main]\r\nDay=abc\r\nUpdated=no\r\n", 3, true, true, "[Main]\r\nDay=abc\r\nUpdated=1\r\nLocalMode=1\r\n"},
    };
    for (const auto& c : cases) {
        std::remove(Ini().c_str());
        if (c.before) Put(Ini(), c.before);
        m_shell.launches.clear();
        Start(c.day, c.atStartup);
        EXPECT_EQ(Launches(), c.launch ? 1u : 0u) << (c.before ? c.before : "(no file)") << " day " << c.day;
        EXPECT_EQ(Contents(Ini()), c.after) << (c.before ? c.before : "(no file)") << " day " << c.day;
    }
    EXPECT_EQ(Joined(m_shell.launches.at(0)), m_dir + "update.bat||" + m_dir + "|hidden");
}

// Day and Updated as the platform's profile functions read them: names in
// any case, blanks around, numbers at the start of the value.
TEST_F(UpdateScheduleTest, DayAndUpdatedDecideWhetherTodayLaunches) {
    const struct {
        const char* file;
        int today;
        bool launch;
        const char* updated;
    } cases[] = {
        {"[Main]\r\nDay=1\r\nUpdated=0\r\n", 5, false, "0"},
        {"[Main]\r\nDay=2\r\nUpdated=0\r\n", 29, true, "1"},
        {"[Main]\r\nDay=1\r\nUpdated=0\r\n", 31, true, "1"},
        {"[Main]\r\nDay=1\r\nUpdated=1\r\n", 4, false, "1"},  // already launched in this period
        {"[main]\r\n day = 10 \r\nUPDATED = 0\r\n", 1, true, "1"},
        {"[Main]\r\nDay=-5\r\nUpdated=0\r\n", 1, true, "1"},  // six days apart
        {"[Main]\r\nDay=abc\r\nUpdated=0\r\n", 4, false, "0"},
        {"[Main]\r\nDay=2147483647\r\nUpdated=0\r\n", 1, true, "1"},  // 2147483646 days apart
        {"[Main]\r\nDay=1\r\nUpdated=yes\r\n", 4, true, "1"},         // reads as 0: armed
        {"[Main]\r\nDay=1\r\nUpdated=\r\n", 4, false, ""},            // empty: the default 1
    };
    for (const auto& c : cases) {
        Put(Ini(), c.file);
        m_shell.launches.clear();
        Start(c.today);
        EXPECT_EQ(Launches(), c.launch ? 1u : 0u) << c.file << " on the " << c.today;
        EXPECT_EQ(Key("Updated"), c.updated) << c.file << " on the " << c.today;
        EXPECT_EQ(Key("LocalMode"), "1") << c.file << " on the " << c.today;
    }
}

TEST_F(UpdateScheduleTest, OneLaunchPerRunOfDueDays) {
    Put(Ini(), "[Main]\r\nDay=1\r\n");
    Start(3);  // not due: arms the check
    EXPECT_EQ(Key("Updated"), "0");
    Start(4);
    Start(4);
    Start(7);
    EXPECT_EQ(Launches(), 1u);
    Start(8);  // re-armed, and the next due day launches again
    Start(10);
    EXPECT_EQ(Launches(), 2u);
    EXPECT_EQ(Key("Updated"), "1");
    Start(30);
    Start(31);
    Start(1);  // follows the 31st in the same run of due days
    EXPECT_EQ(Launches(), 3u);
}

TEST_F(UpdateScheduleTest, UnwritableFileStillLaunchesOnRequest) {
    m_dir += "missing/";
    Start(4);
    EXPECT_EQ(Launches(), 0u);  // nothing could arm the check
    Start(4, false);
    EXPECT_EQ(Launches(), 1u);
}

TEST(UpdateScheduleRule, DueDaysAreMultiplesOfThreeFromTheReferenceDay) {
    for (int day = 1; day <= 31; ++day) EXPECT_EQ(UpdateSchedule::IsDueDay(1, day), day % 3 == 1) << day;
    EXPECT_TRUE(UpdateSchedule::IsDueDay(2, 29));
    EXPECT_TRUE(UpdateSchedule::IsDueDay(INT_MAX, 1));
}

}  // namespace
}  // namespace vt
