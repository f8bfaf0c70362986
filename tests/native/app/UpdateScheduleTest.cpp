#include "assistant/app/UpdateSchedule.h"

#include <climits>
#include <cstdio>
#include <vector>

#include "shared/core/IniProfile.h"
#include "tests/support/CoreFakes.h"
#include "tests/support/TempDir.h"

namespace vt {
namespace {

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
        // The tray command: any day, `Updated` untouched.
        {"[Main]\r\nLocalMode=1\r\nUpdated=0\r\n", 5, false, true, "[Main]\r\nLocalMode=0\r\nUpdated=0\r\n"},
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

TEST_F(UpdateScheduleTest, OneLaunchPerRunOfDueDays) {
    Put(Ini(), "[Main]\r\nDay=1\r\n");
    Start(5);
    Start(7);
    Start(7);
    EXPECT_EQ(Launches(), 1u);
    Start(30);
    Start(31);
    Start(1);  // follows the 31st in the same run of due days
    EXPECT_EQ(Launches(), 2u);
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
