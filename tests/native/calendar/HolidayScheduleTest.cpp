#include "assistant/calendar/HolidaySchedule.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "assistant/calendar/Calendar.h"
#include "tests/native/calendar/CalendarTestSupport.h"

namespace vt {
namespace {

const char kSample[] =
    "# source 国务院办公厅关于2026年部分节假日安排的通知，2025-11-04\n"
    "years 2025-2026\n"
    "2026-10-01 off\n"
    "2026-10-02 off\n"
    "2026-10-10 work\n"
    "2026-09-20 work\n";

TEST(HolidaySchedule, CoveredYearFollowsTheListedDatesAndWeekdaysElsewhere) {
    const HolidaySchedule s = HolidaySchedule::Parse(kSample);
    EXPECT_TRUE(s.Covers(2025));
    EXPECT_TRUE(s.Covers(2026));
    EXPECT_FALSE(s.Covers(2024));
    EXPECT_FALSE(s.Covers(2027));
    EXPECT_EQ(s.SkippedLines(), 0);
    EXPECT_EQ(s.DateCount(), 4);
    EXPECT_FALSE(s.IsWorkday(2026, 10, 1));  // Thursday, National Day
    EXPECT_FALSE(s.IsWorkday(2026, 10, 2));
    EXPECT_TRUE(s.IsWorkday(2026, 10, 10));   // Saturday worked
    EXPECT_TRUE(s.IsWorkday(2026, 9, 20));    // Sunday worked
    EXPECT_TRUE(s.IsWorkday(2026, 10, 9));    // an unlisted Friday
    EXPECT_FALSE(s.IsWorkday(2026, 10, 11));  // an unlisted Sunday
}

TEST(HolidaySchedule, UncoveredYearFallsBackToMondayToFriday) {
    const HolidaySchedule s = HolidaySchedule::Parse(kSample);
    EXPECT_TRUE(s.IsWorkday(2027, 10, 1));   // a Friday: no schedule for 2027
    EXPECT_FALSE(s.IsWorkday(2027, 10, 2));  // Saturday
    EXPECT_TRUE(s.IsWorkday(2024, 10, 1));   // Tuesday, before the covered years
}

TEST(HolidaySchedule, DatesOutsideTheCoveredYearsAreNotUsed) {
    const HolidaySchedule s = HolidaySchedule::Parse("years 2026-2026\n2027-10-01 off\n2026-10-01 off\n");
    EXPECT_EQ(s.DateCount(), 1);
    EXPECT_TRUE(s.IsWorkday(2027, 10, 1));
    EXPECT_FALSE(s.IsWorkday(2026, 10, 1));
}

TEST(HolidaySchedule, YearsLineMayComeAfterTheDatesAndLinesMayEndInCrLf) {
    const HolidaySchedule s = HolidaySchedule::Parse(
        "\xEF\xBB\xBF"
        "2026-10-01 off\r\n  2026-10-10\twork  \r\nyears 2026-2026\r\n");
    EXPECT_EQ(s.SkippedLines(), 0);
    EXPECT_FALSE(s.IsWorkday(2026, 10, 1));
    EXPECT_TRUE(s.IsWorkday(2026, 10, 10));
}

TEST(HolidaySchedule, DamagedLinesAreSkippedAndTheRestKept) {
    const HolidaySchedule s = HolidaySchedule::Parse(
        "years 2026-2026\n"
        "2026-02-30 off\n"  // no such date
        "2026-13-01 off\n"
        "2026-10-0 off\n"
        "2026-10-03 holiday\n"
        "2026-10-04off\n"
        "26-10-05 off\n"
        "\xFF\xFE garbage \x01\n"
        "2026-10-01 off\n"
        "years 2020-2030\n"   // a second years line does not widen the first
        "2026-10-01 work\n"   // contradicts an earlier line: the first stands
        "2026-10-01 off\n");  // repeats it: fine
    EXPECT_EQ(s.SkippedLines(), 9);
    EXPECT_FALSE(s.Covers(2027));
    EXPECT_FALSE(s.IsWorkday(2026, 10, 1));
    EXPECT_TRUE(s.IsWorkday(2026, 10, 5));  // Monday, its line was damaged
    EXPECT_EQ(s.DateCount(), 1);
}

TEST(HolidaySchedule, WithoutAValidYearsLineNoYearIsCovered) {
    for (const char* text : {"2026-10-01 off\n", "years 2026\n2026-10-01 off\n", "years 2027-2026\n",
                             "years 1066-2026\n", "yearsX 2026-2026\n", "", "\n\n# only comments\n"}) {
        const HolidaySchedule s = HolidaySchedule::Parse(text);
        EXPECT_FALSE(s.Covers(2026)) << text;
        EXPECT_EQ(s.DateCount(), 0) << text;
        EXPECT_TRUE(s.IsWorkday(2026, 10, 1)) << text;  // Thursday
    }
}

TEST(HolidaySchedule, MissingOrUnreadableFileCoversNoYear) {
    test::MemoryFileSystem files;
    EXPECT_FALSE(LoadHolidaySchedule(files, "Holidays.txt").Covers(2026));
    files.files["Holidays.txt"] = test::Bytes(kSample, kSample + sizeof kSample - 1);
    EXPECT_TRUE(LoadHolidaySchedule(files, "Holidays.txt").Covers(2026));
    files.unreadable.insert("Holidays.txt");
    EXPECT_FALSE(LoadHolidaySchedule(files, "Holidays.txt").Covers(2026));
}

// The schedule the programs ship.
class ShippedSchedule : public ::testing::Test {
protected:
    static HolidaySchedule Load() {
        std::ifstream in(VT_HOLIDAYS_FILE, std::ios::binary);
        return HolidaySchedule::Parse(
            std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    }
    HolidaySchedule s = Load();
};

TEST_F(ShippedSchedule, CoversEveryYearFrom2004To2026WithoutADamagedLine) {
    EXPECT_EQ(s.FirstYear(), 2004);
    EXPECT_EQ(s.LastYear(), 2026);
    EXPECT_EQ(s.SkippedLines(), 0);
    EXPECT_GT(s.DateCount(), 23 * 15);
}

TEST_F(ShippedSchedule, KnownDaysOf2025) {
    EXPECT_FALSE(s.IsWorkday(2025, 1, 1));   // 元旦, Wednesday
    EXPECT_TRUE(s.IsWorkday(2025, 1, 26));   // Sunday before 春节, worked
    EXPECT_FALSE(s.IsWorkday(2025, 1, 28));  // 除夕, Tuesday
    EXPECT_FALSE(s.IsWorkday(2025, 2, 4));
    EXPECT_TRUE(s.IsWorkday(2025, 2, 5));
    EXPECT_TRUE(s.IsWorkday(2025, 2, 8));   // Saturday worked
    EXPECT_TRUE(s.IsWorkday(2025, 4, 27));  // Sunday worked for 劳动节
    EXPECT_FALSE(s.IsWorkday(2025, 5, 5));  // Monday
    EXPECT_FALSE(s.IsWorkday(2025, 6, 2));  // 端午, Monday
    EXPECT_TRUE(s.IsWorkday(2025, 9, 28));  // Sunday
    for (int d = 1; d <= 8; ++d) EXPECT_FALSE(s.IsWorkday(2025, 10, d)) << d;
    EXPECT_TRUE(s.IsWorkday(2025, 10, 9));
    EXPECT_TRUE(s.IsWorkday(2025, 10, 11));   // Saturday
    EXPECT_FALSE(s.IsWorkday(2025, 10, 12));  // an ordinary Sunday
}

TEST_F(ShippedSchedule, KnownDaysOf2026) {
    EXPECT_FALSE(s.IsWorkday(2026, 1, 2));  // Friday
    EXPECT_TRUE(s.IsWorkday(2026, 1, 4));   // Sunday worked
    EXPECT_TRUE(s.IsWorkday(2026, 2, 14));  // Saturday worked
    for (int d = 15; d <= 23; ++d) EXPECT_FALSE(s.IsWorkday(2026, 2, d)) << d;
    EXPECT_TRUE(s.IsWorkday(2026, 2, 28));   // Saturday worked
    EXPECT_FALSE(s.IsWorkday(2026, 4, 6));   // 清明, Monday
    EXPECT_FALSE(s.IsWorkday(2026, 5, 5));   // Tuesday
    EXPECT_TRUE(s.IsWorkday(2026, 5, 9));    // Saturday worked
    EXPECT_FALSE(s.IsWorkday(2026, 6, 19));  // 端午, Friday
    EXPECT_TRUE(s.IsWorkday(2026, 9, 20));   // Sunday worked
    EXPECT_FALSE(s.IsWorkday(2026, 9, 25));  // 中秋, Friday
    for (int d = 1; d <= 7; ++d) EXPECT_FALSE(s.IsWorkday(2026, 10, d)) << d;
    EXPECT_TRUE(s.IsWorkday(2026, 10, 8));
    EXPECT_TRUE(s.IsWorkday(2026, 10, 10));  // Saturday worked
    EXPECT_TRUE(s.IsWorkday(2026, 12, 9));   // an ordinary Wednesday
}

TEST_F(ShippedSchedule, WorkedDaysAreWeekendDaysAndEveryYearHasHolidays) {
    // A worked weekday needs no line: one would be a typo for another date.
    std::ifstream in(VT_HOLIDAYS_FILE);
    std::string line;
    int worked = 0;
    while (std::getline(in, line)) {
        if (line.size() < 15 || line.substr(10) != " work") continue;
        const int y = std::stoi(line.substr(0, 4)), m = std::stoi(line.substr(5, 2)), d = std::stoi(line.substr(8, 2));
        const int weekday = WeekdayOf(y, m, d);
        EXPECT_TRUE(weekday == 0 || weekday == 6) << line;
        ++worked;
    }
    EXPECT_GT(worked, 23);
    for (int y = 2004; y <= 2026; ++y) {
        int weekdaysOff = 0;
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= 31; ++d) {
                const int weekday = WeekdayOf(y, m, d);
                if (weekday >= 1 && weekday <= 5 && !s.IsWorkday(y, m, d)) ++weekdaysOff;
            }
        // At least 元旦, 春节, 劳动节 and 国庆 fall partly on weekdays.
        EXPECT_GE(weekdaysOff, 7) << y;
    }
}

}  // namespace
}  // namespace vt
