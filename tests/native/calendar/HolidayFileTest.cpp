// The schedule file of the running assistant: taken up again when it
// changes, and the years it lacks told once.
#include "assistant/calendar/HolidayFile.h"

#include <gtest/gtest.h>

#include "tests/native/calendar/CalendarTestSupport.h"

namespace vt {
namespace {

test::Bytes B(const std::string& s) { return test::Bytes(s.begin(), s.end()); }

const char kNationalDay2026[] = "years 2026-2026\n2026-10-01 off\n2026-10-10 work\n";

TEST(HolidayFile, RefreshSaysWhenTheFileChanged) {
    test::MemoryFileSystem fs;
    HolidayFile file(fs, "app/Holidays.txt");
    EXPECT_TRUE(file.Refresh()) << "the first read counts";
    EXPECT_FALSE(file.Schedule().Covers(2026));
    EXPECT_FALSE(file.Refresh());

    fs.files["app/Holidays.txt"] = B(kNationalDay2026);
    const HolidaySchedule* held = &file.Schedule();
    EXPECT_TRUE(file.Refresh());
    EXPECT_EQ(&file.Schedule(), held) << "holders of the schedule see the new one";
    EXPECT_TRUE(file.Schedule().Covers(2026));
    EXPECT_FALSE(file.Refresh());

    fs.files["app/Holidays.txt"] = B("");
    EXPECT_TRUE(file.Refresh());
    EXPECT_FALSE(file.Schedule().Covers(2026));
    fs.files.erase("app/Holidays.txt");
    EXPECT_TRUE(file.Refresh()) << "an empty file and none are told apart";
    EXPECT_FALSE(file.Refresh());
}

TEST(HolidayFile, EachUncoveredYearIsToldOnce) {
    test::MemoryFileSystem fs;
    HolidayFile file(fs, "Holidays.txt");
    EXPECT_TRUE(file.FirstTimeUncovered(2027));
    EXPECT_FALSE(file.FirstTimeUncovered(2027));
    EXPECT_TRUE(file.FirstTimeUncovered(2028));
}

TEST(HolidayFile, LiesBesideTheReminderFile) {
    EXPECT_EQ(HolidaysPathBeside("C:\\Programs\\Vantrel\\Notify.dat"), "C:\\Programs\\Vantrel\\Holidays.txt");
    EXPECT_EQ(HolidaysPathBeside("/tmp/x/Notify.dat"), "/tmp/x/Holidays.txt");
    EXPECT_EQ(HolidaysPathBeside("Notify.dat"), "Holidays.txt");
}

}  // namespace
}  // namespace vt
