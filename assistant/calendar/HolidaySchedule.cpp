#include "assistant/calendar/HolidaySchedule.h"

#include <algorithm>

#include "assistant/calendar/Calendar.h"

namespace vt {

namespace {

// The schedule names years of the Gregorian reform's era only; anything
// wider is damage, and keeping it narrow keeps the keys in 32 bits.
constexpr int kMinYear = 1900;
constexpr int kMaxYear = 9999;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string Trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b])) ++b;
    while (e > b && IsBlank(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// Exactly `count` decimal digits at `pos`.
bool Digits(const std::string& s, std::size_t pos, std::size_t count, int& value) {
    if (pos + count > s.size()) return false;
    value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        value = value * 10 + (s[i] - '0');
    }
    return true;
}

int DaysIn(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// "years 2004-2026".
bool ParseYears(const std::string& line, int& first, int& last) {
    const std::string word = "years";
    if (line.compare(0, word.size(), word) != 0) return false;
    std::size_t pos = word.size();
    if (pos >= line.size() || !IsBlank(line[pos])) return false;
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    if (line.size() != pos + 9 || line[pos + 4] != '-') return false;
    if (!Digits(line, pos, 4, first) || !Digits(line, pos + 5, 4, last)) return false;
    return first >= kMinYear && first <= last && last <= kMaxYear;
}

// "2026-10-01 off" / "2026-10-10 work".
bool ParseDay(const std::string& line, std::int32_t& key, bool& work) {
    int y = 0, m = 0, d = 0;
    if (line.size() < 12 || line[4] != '-' || line[7] != '-' || !IsBlank(line[10])) return false;
    if (!Digits(line, 0, 4, y) || !Digits(line, 5, 2, m) || !Digits(line, 8, 2, d)) return false;
    if (y < kMinYear || m < 1 || m > 12 || d < 1 || d > DaysIn(y, m)) return false;
    const std::string word = Trim(line.substr(10));
    if (word == "off")
        work = false;
    else if (word == "work")
        work = true;
    else
        return false;
    key = y * 10000 + m * 100 + d;
    return true;
}

}  // namespace

HolidaySchedule HolidaySchedule::Parse(const std::string& text) {
    HolidaySchedule schedule;
    std::size_t start = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) start = 3;  // Notepad's byte order mark
    bool haveYears = false;
    int first = 0, last = -1;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trim(text.substr(start, end - start));
        start = end + 1;

        if (line.empty() || line[0] == '#') continue;
        int a = 0, b = 0;
        std::int32_t key = 0;
        bool work = false;
        if (ParseYears(line, a, b)) {
            // A second years line contradicts or repeats the first: the
            // first one stands.
            if (haveYears)
                ++schedule.m_skipped;
            else
                first = a, last = b, haveYears = true;
        } else if (ParseDay(line, key, work)) {
            schedule.m_days.push_back({key, work});
        } else {
            ++schedule.m_skipped;
        }
    }
    if (!haveYears) {
        schedule.m_days.clear();
        return schedule;
    }
    schedule.m_firstYear = first;
    schedule.m_lastYear = last;
    auto& days = schedule.m_days;
    days.erase(std::remove_if(days.begin(), days.end(), [&](const Day& d) { return !schedule.Covers(d.key / 10000); }),
               days.end());
    // A date named twice keeps its first line; a later one that says
    // otherwise is damage.
    std::stable_sort(days.begin(), days.end(), [](const Day& x, const Day& y) { return x.key < y.key; });
    std::vector<Day> unique;
    for (const Day& d : days) {
        if (!unique.empty() && unique.back().key == d.key) {
            if (unique.back().work != d.work) ++schedule.m_skipped;
            continue;
        }
        unique.push_back(d);
    }
    days.swap(unique);
    return schedule;
}

bool HolidaySchedule::IsWorkday(int year, int month, int day) const {
    if (Covers(year) && month >= 1 && month <= 12 && day >= 1 && day <= 31) {
        const std::int32_t key = year * 10000 + month * 100 + day;
        auto it =
            std::lower_bound(m_days.begin(), m_days.end(), key, [](const Day& d, std::int32_t k) { return d.key < k; });
        if (it != m_days.end() && it->key == key) return it->work;
    }
    const int weekday = WeekdayOf(year, month, day);
    return weekday >= 1 && weekday <= 5;
}

HolidaySchedule LoadHolidaySchedule(IFileSystem& files, const std::string& path) {
    std::vector<unsigned char> bytes;
    if (!files.ReadAll(path, bytes)) return HolidaySchedule();
    return HolidaySchedule::Parse(std::string(bytes.begin(), bytes.end()));
}

}  // namespace vt
