// libFuzzer target: the holiday schedule reader on arbitrary file bytes.
// Whatever the bytes, it answers; and lines are read one by one, so a damaged
// or comment line added to a file changes nothing but the count of skipped
// lines, and line ends written as CRLF read as LF.
#include <cstdint>
#include <string>

#include "assistant/calendar/Calendar.h"
#include "assistant/calendar/HolidaySchedule.h"
#include "fuzz/FuzzCheck.h"

namespace {

using vt::HolidaySchedule;

std::string WithCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// The answers of two schedules agree on a spread of days around each year
// the input names, and on its edges.
void CheckSame(const HolidaySchedule& a, const HolidaySchedule& b) {
    VT_FUZZ_CHECK(a.FirstYear() == b.FirstYear() && a.LastYear() == b.LastYear());
    VT_FUZZ_CHECK(a.DateCount() == b.DateCount());
    if (!a.Covers(a.FirstYear())) return;
    for (int y : {a.FirstYear() - 1, a.FirstYear(), a.LastYear(), a.LastYear() + 1})
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= 31; d += 3) VT_FUZZ_CHECK(a.IsWorkday(y, m, d) == b.IsWorkday(y, m, d));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const HolidaySchedule s = HolidaySchedule::Parse(text);

    std::size_t lines = 1;
    for (char c : text) lines += c == '\n';
    VT_FUZZ_CHECK(s.SkippedLines() >= 0 && static_cast<std::size_t>(s.SkippedLines()) <= lines);
    VT_FUZZ_CHECK(s.DateCount() >= 0 && static_cast<std::size_t>(s.DateCount()) <= lines);
    if (s.Covers(s.FirstYear())) {
        VT_FUZZ_CHECK(s.FirstYear() >= 1900 && s.FirstYear() <= s.LastYear() && s.LastYear() <= 9999);
    } else {
        VT_FUZZ_CHECK(s.DateCount() == 0);
    }
    // Outside the covered years the answer is Monday to Friday.
    for (int y : {1899, 1900, 2027, 9999, 10000})
        if (!s.Covers(y))
            for (int d = 1; d <= 7; ++d) {
                const int weekday = vt::WeekdayOf(y, 1, d);
                VT_FUZZ_CHECK(s.IsWorkday(y, 1, d) == (weekday >= 1 && weekday <= 5));
            }

    const std::string ended = text.empty() || text.back() == '\n' ? text : text + "\n";
    const HolidaySchedule damaged = HolidaySchedule::Parse(ended + "2026-02-30 off\n");
    CheckSame(s, damaged);
    VT_FUZZ_CHECK(damaged.SkippedLines() == s.SkippedLines() + 1);
    const HolidaySchedule commented = HolidaySchedule::Parse(ended + "# 2026-10-01 off\n");
    CheckSame(s, commented);
    VT_FUZZ_CHECK(commented.SkippedLines() == s.SkippedLines());
    const HolidaySchedule crlf = HolidaySchedule::Parse(WithCrLf(text));
    CheckSame(s, crlf);
    VT_FUZZ_CHECK(crlf.SkippedLines() == s.SkippedLines());
    return 0;
}
