#pragma once
// A recurring date as a series of occurrences: local dates, each at the
// rule's hour:minute. The reminder manager keeps, per reminder, the moment up
// to which its occurrences are done and the next one that is not; everything
// about which days a kind falls on lives here, so the ticker compares two
// numbers a second instead of asking the rules.
//
//   Once      its date
//   Daily     every day
//   Workdays  Monday to Friday
//   Weekends  Saturday and Sunday
//   Weekly    the weekday of its date
//   Monthly   day `day` of each month; a month without that day has none
//   Yearly    `month`/`day` of each year; a date the year lacks (29 February
//             in a common year) falls on the first of the following month
//   StatutoryWorkdays  the working days of the official schedule (IWorkingDays);
//             Monday to Friday without one
//   LunarYearly  the lunar month and day of its date, each lunar year; a date
//             in a leap month recurs in the ordinary month of its number, day
//             30 falls on 29 in a short month; none for a date outside the
//             lunar table, and none after it ends
//   any other value: every day, as the time-only comparison has always
//             treated unknown kinds
//
// The recurring kinds begin on the rule's date. A rule whose hour or minute
// lies outside the clock has no occurrences.
//
// A new kind is one case in PlaceOf (and, when it needs parameters derived
// from the date once, a line in RuleOf). Days it cannot tell from the date
// alone come through an interface such as IWorkingDays, handed to RuleOf.
#include <cstdint>
#include <limits>

#include "assistant/calendar/Calendar.h"
#include "assistant/calendar/RepeatKind.h"
#include "shared/core/Clock.h"

namespace vt {

// A moment to the minute on the local wall clock: minutes since 1970-01-01
// 0:00 (negative before it). Seconds take no part.
using LocalMinute = std::int64_t;

constexpr int kMinutesPerDay = 24 * 60;
// No such occurrence (none later, none earlier).
constexpr LocalMinute kNoOccurrence = std::numeric_limits<LocalMinute>::max();
// A done-through moment before every occurrence: nothing is done yet.
constexpr LocalMinute kNothingDone = std::numeric_limits<LocalMinute>::min();
// Occurrences of a recurring kind more than this many days apart are not
// looked for: every kind falls at least once in any 400 days.
constexpr int kMaxOccurrenceGapDays = 800;

LocalMinute MinuteOf(const LocalTime& t);
LocalMinute MinuteOn(std::int64_t dayNumber, int hour, int minute);
std::int64_t DayOfMinute(LocalMinute m);
// 0:00 of the minute's day.
LocalMinute StartOfDay(LocalMinute m);
// The moment as broken-down local time, second 0.
LocalTime TimeOfMinute(LocalMinute m);

// The official calendar of working days (statutory holidays, make-up working
// days). Kinds that follow it ask it about each day they consider.
class IWorkingDays {
public:
    virtual ~IWorkingDays() = default;
    virtual bool IsWorkingDay(const CalendarDate& date) const = 0;
    // Whether the calendar knows the year; elsewhere it is Monday to Friday
    // for want of better, and the user is told so.
    virtual bool Covers(int year) const = 0;
};

// A rule as a reminder record stores it: any 32-bit values.
struct RuleFields {
    std::int32_t repeat = 0;  // a RepeatKind when sound
    std::int32_t year = 1970;
    std::int32_t month = 1;
    std::int32_t day = 1;
    std::int32_t hour = 0;
    std::int32_t minute = 0;
};

// What a rule's occurrences depend on, worked out from its fields once.
struct OccurrenceRule {
    std::int32_t kind = 0;   // the fields' `repeat`
    CalendarDate date;       // the rule's date, normalised, with its weekday
    std::int32_t month = 0;  // the fields' `month` and `day` as stored
    std::int32_t day = 0;
    int lunarMonth = 0;  // LunarYearly: the lunar month and day of `date`
    int lunarDay = 0;
    std::int64_t firstDay = 0;  // day number of `date`: nothing falls earlier
    int minuteOfDay = 0;        // hour * 60 + minute
    bool none = false;          // the rule has no occurrence at all
    const IWorkingDays* workingDays = nullptr;
};

OccurrenceRule RuleOf(const RuleFields& fields, const IWorkingDays* workingDays = nullptr);

// Where a day lies in the kind's cycle. Once, Monthly and Yearly have an
// order (their date, day of the month, day of the year is still Ahead or is
// Past); for the other kinds every day that is not one of theirs is Past.
// Neither the rule's first day nor a clock outside the day counts here.
// The one place that tells the kinds apart.
enum class DayPlace { Ahead, On, Past };
DayPlace PlaceOf(const OccurrenceRule& rule, const CalendarDate& date, std::int64_t dayNumber);

// Whether the rule has an occurrence on the day (dayNumber is date's
// number): the day is On its cycle, from the rule's first day on.
bool OccursOn(const OccurrenceRule& rule, const CalendarDate& date, std::int64_t dayNumber);

// The first occurrence later than `after`; kNoOccurrence when there is none.
LocalMinute NextOccurrenceAfter(const OccurrenceRule& rule, LocalMinute after);
// The latest occurrence at or before `at`; kNoOccurrence when there is none.
LocalMinute LatestOccurrenceAtOrBefore(const OccurrenceRule& rule, LocalMinute at);
// How many occurrences lie later than `after` and at or before `through`;
// the count stops at `limit`.
std::int64_t CountOccurrences(const OccurrenceRule& rule, LocalMinute after, LocalMinute through,
                              std::int64_t limit = 100000);

}  // namespace vt
