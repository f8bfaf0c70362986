// CPU time of the reminder manager's once-a-second tick against the number of
// reminders in its list, with the growth per reminder (BigO line).
//
//   BM_TickIdle       the clock moves within a minute nobody is due in: the
//                     bare cost of looking at every row once a second.
//   BM_TickAdvancing  the clock moves one second per tick through the days;
//                     reminders fire, their alerts are acknowledged at once
//                     (as a user would), Expired repeating ones re-arm, so the
//                     book stays in the state a real one is in.
//   BM_DueCheckOnly   reference only: the due check over the same rows with no
//                     copying, i.e. what a tick cannot do with less.
//
// The book is a mix of all seven repeat kinds with times spread over the day;
// a reminder whose moment has passed starts Expired (fired and acknowledged),
// one still ahead starts Ready.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

#include "assistant/reminders/Recurrence.h"
#include "assistant/reminders/ReminderAlert.h"
#include "assistant/reminders/ReminderManager.h"
#include "tests/native/reminders/ReminderTestSupport.h"

namespace {

using vt::LocalTime;
using vt::ReminderState;
using vt::RepeatKind;

// A Wednesday morning; the idle minute 08:00 is kept free of reminders below.
constexpr int kYear = 2024, kMonth = 3, kDay = 13, kHour = 8, kMinute = 0;

int DaysInMonth(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

void NextSecond(LocalTime& t) {
    if (++t.second < 60) return;
    t.second = 0;
    if (++t.minute < 60) return;
    t.minute = 0;
    if (++t.hour < 24) return;
    t.hour = 0;
    t.weekday = (t.weekday + 1) % 7;
    if (++t.day <= DaysInMonth(t.year, t.month)) return;
    t.day = 1;
    if (++t.month <= 12) return;
    t.month = 1;
    ++t.year;
}

struct Fixture {
    vt::test::MemoryFileSystem fs;
    vt::test::FakeClock clock;
    vt::ReminderManager manager{fs, "Notify.dat", clock};

    explicit Fixture(int count) {
        clock.Set(kYear, kMonth, kDay, kHour, kMinute);
        std::uint32_t seed = 12345;
        auto next = [&seed](std::uint32_t range) {
            seed = seed * 1103515245u + 12345u;
            return static_cast<int>((seed >> 8) % range);
        };
        for (int i = 0; i < count; ++i) {
            RepeatKind kind = static_cast<RepeatKind>(i % 7);
            int minuteOfDay = (i * 617 + 13) % 1440;
            if (minuteOfDay == kHour * 60 + kMinute) ++minuteOfDay;
            int year = kYear, month = kMonth, day = kDay;
            switch (kind) {
            case RepeatKind::Once:  // within a month either side of today
                day = 1 + next(28);
                month = kMonth - 1 + next(3);
                break;
            case RepeatKind::Weekly:  // any weekday of this week
                day = kDay - 3 + next(7);
                break;
            case RepeatKind::Monthly:
                day = 1 + next(28);
                break;
            case RepeatKind::Yearly:
                month = 1 + next(12);
                day = 1 + next(28);
                break;
            default:
                break;
            }
            vt::ReminderItem item =
                vt::test::MakeReminder(kind, year, month, day, minuteOfDay / 60, minuteOfDay % 60,
                                       "\xCC\xE1\xD0\xD1 " + std::to_string(i));  // "提醒 n" in code page 936
            // "开会，带上笔记"
            vt::SetText(item.content, vt::Gbk("\xBF\xAA\xBB\xE1\xA3\xAC\xB4\xF8\xC9\xCF\xB1\xCA\xBC\xC7"));
            bool past = vt::CompareDue(clock.now, item) == 1;
            vt::SetState(item, past ? ReminderState::Expired : ReminderState::Ready);
            manager.Add(item);
        }
    }
};

void BM_TickIdle(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    std::int64_t changed = 0;
    for (auto _ : state) {
        f.clock.now.second = (f.clock.now.second + 1) % 60;
        vt::TickResult tick = f.manager.OnTimer();
        changed += static_cast<std::int64_t>(tick.changedRows.size());
        benchmark::DoNotOptimize(tick);
    }
    if (changed != 0) state.SkipWithError("a reminder changed state in the idle minute");
    state.SetComplexityN(state.range(0));
}

void BM_TickAdvancing(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    double changed = 0, alerts = 0;
    for (auto _ : state) {
        NextSecond(f.clock.now);
        vt::TickResult tick = f.manager.OnTimer();
        changed += static_cast<double>(tick.changedRows.size());
        alerts += static_cast<double>(tick.alerts.size());
        for (const vt::AlertRequest& alert : tick.alerts) f.manager.OnAnswer(alert.id, vt::kAnswerAcknowledged);
        benchmark::DoNotOptimize(tick);
    }
    state.counters["changed/tick"] = benchmark::Counter(changed, benchmark::Counter::kAvgIterations);
    state.counters["alerts/tick"] = benchmark::Counter(alerts, benchmark::Counter::kAvgIterations);
    state.SetComplexityN(state.range(0));
}

void BM_DueCheckOnly(benchmark::State& state) {
    Fixture f(static_cast<int>(state.range(0)));
    const vt::ReminderBook& book = f.manager.Book();
    for (auto _ : state) {
        f.clock.now.second = (f.clock.now.second + 1) % 60;
        int due = 0;
        for (int row = 0; row < book.Count(); ++row) due += vt::CompareDue(f.clock.now, *book.At(row));
        benchmark::DoNotOptimize(due);
    }
    state.SetComplexityN(state.range(0));
}

void ReminderCounts(benchmark::internal::Benchmark* b) {
    b->Arg(10)->Arg(1000)->Arg(10000)->Complexity(benchmark::oN)->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_TickIdle)->Apply(ReminderCounts);
BENCHMARK(BM_TickAdvancing)->Apply(ReminderCounts);
BENCHMARK(BM_DueCheckOnly)->Apply(ReminderCounts);

}  // namespace

BENCHMARK_MAIN();
