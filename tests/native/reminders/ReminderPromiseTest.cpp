// Reminders across runs of the program, days away, sleep and clock changes:
// each occurrence is answered once, and an alert that comes late says so.
#include <gtest/gtest.h>

#include <memory>

#include "assistant/reminders/ReminderAlert.h"
#include "assistant/reminders/ReminderCodec.h"
#include "assistant/reminders/ReminderManager.h"
#include "tests/native/reminders/ReminderTestSupport.h"

namespace vt {
namespace {

using test::MakeReminder;

// One run of the program after another on the same file, with a clock that
// the test moves as it likes.
class Runs : public ::testing::Test {
protected:
    // Starts the program at the given moment: the file is loaded then.
    void Start(int year, int month, int day, int hour, int minute) {
        clock.Set(year, month, day, hour, minute);
        manager = std::make_unique<ReminderManager>(fs, "Notify.dat", clock);
        manager->Load();
    }
    void Exit() { ASSERT_TRUE(manager->SaveAtExit()); }

    // Three ticks a second apart from the moment given (re-armed, fired,
    // alert open); returns the alerts that opened.
    std::vector<AlertRequest> TickAt(int year, int month, int day, int hour, int minute) {
        std::vector<AlertRequest> opened;
        for (int second = 0; second < 3; ++second) {
            clock.Set(year, month, day, hour, minute, second);
            for (AlertRequest& a : manager->OnTimer().alerts) opened.push_back(a);
        }
        return opened;
    }
    void Acknowledge(const std::vector<AlertRequest>& alerts) {
        for (const AlertRequest& a : alerts) manager->OnAnswer(a.id, kAnswerAcknowledged);
    }
    // A file of records from before the done-through block.
    void OldFile(const std::vector<ReminderItem>& items) { fs.files["Notify.dat"] = SerializeReminders(items); }
    std::int32_t StateAt(int row) { return manager->Book().At(row)->state; }

    test::MemoryFileSystem fs;
    test::FakeClock clock;
    std::unique_ptr<ReminderManager> manager;
};

TEST_F(Runs, DailyAcknowledgedRingsNextDayAfterItsTimeOnceWithTheMissedNote) {
    Start(2026, 12, 7, 7, 0);
    manager->Add(MakeReminder(RepeatKind::Daily, 2026, 12, 7, 8, 30, "d"));
    std::vector<AlertRequest> onTime = TickAt(2026, 12, 7, 8, 30);
    ASSERT_EQ(onTime.size(), 1u);
    EXPECT_EQ(onTime[0].missedNote, "") << "on time: no note";
    Acknowledge(onTime);
    Exit();

    Start(2026, 12, 8, 9, 0);  // the PC starts after 8:30
    std::vector<AlertRequest> late = TickAt(2026, 12, 8, 9, 0);
    ASSERT_EQ(late.size(), 1u);
    EXPECT_EQ(late[0].missedNote, "错过的提醒：12月8日 8:30");
    Acknowledge(late);
    Exit();

    Start(2026, 12, 8, 9, 5);  // started again the same day
    EXPECT_TRUE(TickAt(2026, 12, 8, 9, 5).empty());
    EXPECT_TRUE(TickAt(2026, 12, 8, 23, 59).empty());
    EXPECT_EQ(TickAt(2026, 12, 9, 8, 30).size(), 1u);
}

TEST_F(Runs, AWeekAwayGivesOneAlertThatCountsSeven) {
    Start(2026, 12, 7, 7, 0);
    manager->Add(MakeReminder(RepeatKind::Daily, 2026, 12, 7, 8, 30, "d"));
    Acknowledge(TickAt(2026, 12, 7, 8, 30));
    Exit();

    Start(2026, 12, 14, 10, 0);
    std::vector<AlertRequest> back = TickAt(2026, 12, 14, 10, 0);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].missedNote, "错过的提醒：12月14日 8:30，共7次");
    EXPECT_TRUE(TickAt(2026, 12, 14, 10, 1).empty());
    Acknowledge(back);
    EXPECT_TRUE(TickAt(2026, 12, 14, 23, 0).empty());
    EXPECT_EQ(TickAt(2026, 12, 15, 8, 30).size(), 1u);
}

TEST_F(Runs, ClockSetBackADayNeverRepeatsWhatWasDone) {
    Start(2026, 12, 8, 7, 0);
    manager->Add(MakeReminder(RepeatKind::Daily, 2026, 12, 1, 8, 30, "d"));
    Acknowledge(TickAt(2026, 12, 8, 8, 30));
    for (int hour = 0; hour < 24; ++hour)  // the whole of the day before, again
        ASSERT_TRUE(TickAt(2026, 12, 7, hour, 30).empty()) << hour;
    EXPECT_TRUE(TickAt(2026, 12, 8, 8, 31).empty()) << "nor the day itself";
    EXPECT_EQ(TickAt(2026, 12, 9, 8, 30).size(), 1u);
}

// A done once reminder with the clock set back before its moment is not
// re-armed: 准备中 with nothing left to ring would stay so for ever. Edited
// into the future, it is re-armed as always.
TEST_F(Runs, ADoneOnceStaysExpiredWhenTheClockIsSetBackBeforeIt) {
    Start(2026, 12, 7, 7, 0);
    manager->Add(MakeReminder(RepeatKind::Once, 2026, 12, 7, 8, 30, "o"));
    std::vector<AlertRequest> rang = TickAt(2026, 12, 7, 8, 30);
    ASSERT_EQ(rang.size(), 1u);
    Acknowledge(rang);
    EXPECT_TRUE(TickAt(2026, 12, 7, 8, 0).empty());
    EXPECT_EQ(StateAt(0), 3);
    EXPECT_TRUE(TickAt(2026, 12, 7, 8, 30).empty());
    EXPECT_EQ(StateAt(0), 3);

    EditDecision opened = manager->DecideEdit({0});
    ReminderItem later = opened.item;
    later.day = 8;
    ASSERT_EQ(manager->ApplyEdit(opened, later), 0);
    EXPECT_TRUE(TickAt(2026, 12, 7, 9, 0).empty());
    EXPECT_EQ(StateAt(0), 0) << "re-armed for its new date";
    EXPECT_EQ(TickAt(2026, 12, 8, 8, 30).size(), 1u);
}

// Monday 2026-12-07: a daily reminder at midnight rings at 9:00 (the PC was
// off at 0:00), one at 23:59 on time; each is acknowledged, and the next
// start finds the clock set back to Sunday 9:00. Neither Sunday's nor
// Monday's occurrence comes again; Tuesday's does.
TEST_F(Runs, ClockSetBackBeforeTheNextStartRepeatsNothingAtMidnightOrAMinuteBefore) {
    struct Case {
        int hour, minute, ackHour, ackMinute;
    };
    for (const Case c : {Case{0, 0, 9, 0}, Case{23, 59, 23, 59}}) {
        SCOPED_TRACE(c.hour);
        fs.files.clear();
        Start(2026, 12, 7, 8, 0);
        manager->Add(MakeReminder(RepeatKind::Daily, 2026, 12, 1, c.hour, c.minute, "d"));
        std::vector<AlertRequest> rang = TickAt(2026, 12, 7, c.ackHour, c.ackMinute);
        ASSERT_EQ(rang.size(), 1u);
        Acknowledge(rang);
        Exit();

        Start(2026, 12, 6, 9, 0);
        for (const LocalTime& t :
             {test::At(2026, 12, 6, 9, 0), test::At(2026, 12, 6, 23, 59), test::At(2026, 12, 7, 0, 0),
              test::At(2026, 12, 7, 9, 0), test::At(2026, 12, 7, 23, 59)})
            ASSERT_TRUE(TickAt(t.year, t.month, t.day, t.hour, t.minute).empty()) << t.day << " " << t.hour;
        Exit();

        Start(2026, 12, 7, 12, 0);  // the clock right again, the same day
        EXPECT_TRUE(TickAt(2026, 12, 7, 12, 0).empty());
        std::vector<AlertRequest> next = TickAt(2026, 12, 8, c.hour, c.minute);
        ASSERT_EQ(next.size(), 1u) << "Tuesday's occurrence is new";
        EXPECT_EQ(next[0].missedNote, "");
    }
}

// The same Monday, then a start at Sunday 9:00 where the user renames both
// reminders in the editor, leaving their rule and state (the midnight one
// 已过期, the other re-armed 准备中): the edit undoes nothing done.
TEST_F(Runs, AnEditAfterTheClockWasSetBackUndoesNothingDoneAtMidnightOrAMinuteBefore) {
    Start(2026, 12, 6, 8, 0);
    manager->Add(MakeReminder(RepeatKind::Daily, 2026, 12, 6, 0, 0, "midnight", ReminderState::Expired));
    manager->Add(MakeReminder(RepeatKind::Daily, 2026, 12, 6, 23, 59, "late"));
    Exit();
    Start(2026, 12, 7, 9, 0);
    std::vector<AlertRequest> rang = TickAt(2026, 12, 7, 9, 0);
    ASSERT_EQ(rang.size(), 2u) << "Sunday 23:59 and Monday 0:00, late";
    Acknowledge(rang);
    Exit();

    Start(2026, 12, 6, 9, 0);
    ASSERT_TRUE(TickAt(2026, 12, 6, 9, 0).empty());
    ASSERT_EQ(StateAt(0), 3);
    ASSERT_EQ(StateAt(1), 0);
    for (int row = 0; row < 2; ++row) {
        EditDecision opened = manager->DecideEdit({row});
        ASSERT_EQ(opened.action, EditDecision::Action::Edit);
        ReminderItem renamed = opened.item;
        SetText(renamed.title, Gbk("renamed"));
        ASSERT_EQ(manager->ApplyEdit(opened, renamed), row);
    }
    for (const LocalTime& t : {test::At(2026, 12, 6, 9, 1), test::At(2026, 12, 6, 23, 59), test::At(2026, 12, 7, 0, 0),
                               test::At(2026, 12, 7, 9, 0)})
        ASSERT_TRUE(TickAt(t.year, t.month, t.day, t.hour, t.minute).empty()) << t.day << " " << t.hour;
    EXPECT_EQ(TickAt(2026, 12, 7, 23, 59).size(), 1u) << "Monday 23:59 is new";
    EXPECT_EQ(TickAt(2026, 12, 8, 0, 0).size(), 1u) << "so is Tuesday 0:00";
}

TEST_F(Runs, ClockSetForwardOrAResumeFiresOnceNotOncePerOccurrence) {
    Start(2026, 12, 7, 7, 0);
    manager->Add(MakeReminder(RepeatKind::Workdays, 2026, 12, 7, 8, 30, "w"));
    manager->Add(MakeReminder(RepeatKind::Once, 2026, 12, 9, 12, 0, "o"));
    // Asleep from Monday 7:00 to Thursday 9:00: three workdays and the Once.
    std::vector<AlertRequest> woke = TickAt(2026, 12, 10, 9, 0);
    ASSERT_EQ(woke.size(), 2u);
    EXPECT_EQ(woke[0].missedNote, "错过的提醒：12月10日 8:30，共4次");
    EXPECT_EQ(woke[1].missedNote, "错过的提醒：12月9日 12:00");
    for (int s = 3; s < 60; ++s) {
        clock.Set(2026, 12, 10, 9, 0, s);
        ASSERT_TRUE(manager->OnTimer().alerts.empty());
    }
    Acknowledge(woke);
    EXPECT_TRUE(TickAt(2026, 12, 10, 9, 1).empty());
    std::vector<AlertRequest> friday = TickAt(2026, 12, 11, 8, 30);
    ASSERT_EQ(friday.size(), 1u);
    EXPECT_EQ(friday[0].missedNote, "");
    Acknowledge(friday);
    EXPECT_TRUE(TickAt(2026, 12, 12, 8, 30).empty()) << "Saturday";
    EXPECT_EQ(TickAt(2026, 12, 14, 8, 30).size(), 1u);
}

TEST_F(Runs, PuttingOffAnswersNothingAndTheExitSaveKeepsItDue) {
    Start(2026, 12, 7, 7, 0);
    manager->Add(MakeReminder(RepeatKind::Daily, 2026, 12, 7, 8, 30, "d"));
    std::vector<AlertRequest> alerts = TickAt(2026, 12, 7, 8, 30);
    ASSERT_EQ(alerts.size(), 1u);
    manager->OnAnswer(alerts[0].id, kAnswerPutOff);
    Exit();

    Start(2026, 12, 7, 8, 40);
    std::vector<AlertRequest> again = TickAt(2026, 12, 7, 8, 40);
    ASSERT_EQ(again.size(), 1u) << "the put-off occurrence was never acknowledged";
    EXPECT_EQ(again[0].missedNote, "错过的提醒：12月7日 8:30");
}

TEST_F(Runs, OldExpiredRecordsGiveNoFloodAtTheFirstStartAndRingLater) {
    OldFile({MakeReminder(RepeatKind::Daily, 2020, 1, 1, 8, 30, "d", ReminderState::Expired),
             MakeReminder(RepeatKind::Workdays, 2020, 1, 1, 0, 0, "w", ReminderState::Expired),
             MakeReminder(RepeatKind::Once, 2020, 1, 1, 8, 30, "o", ReminderState::Expired)});
    Start(2026, 12, 8, 10, 0);  // a Tuesday, after 8:30
    for (int m = 0; m < 5; ++m) ASSERT_TRUE(TickAt(2026, 12, 8, 10, m).empty());
    std::vector<AlertRequest> next = TickAt(2026, 12, 9, 0, 0);
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0].title.Bytes(), "w");
    EXPECT_EQ(next[0].missedNote, "");
    next = TickAt(2026, 12, 9, 8, 30);
    ASSERT_EQ(next.size(), 1u);
    EXPECT_EQ(next[0].title.Bytes(), "d");
    EXPECT_EQ(StateAt(2), 3) << "a done Once stays done";
}

TEST_F(Runs, OldReadyRecordsBehaveAtTheFirstStartAsTheyAlwaysDid) {
    OldFile({MakeReminder(RepeatKind::Workdays, 2026, 1, 1, 8, 30, "sat"),  // due by the old rule on a Saturday
             MakeReminder(RepeatKind::Daily, 2026, 1, 1, 8, 30, "later"),   // not yet due today
             MakeReminder(RepeatKind::Daily, 2026, 1, 1, 7, 0, "past")});   // due since 7:00
    Start(2026, 12, 12, 8, 0);                                              // a Saturday
    std::vector<AlertRequest> first = TickAt(2026, 12, 12, 8, 0);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].title.Bytes(), "sat");
    EXPECT_EQ(first[0].missedNote, "错过的提醒：12月11日 8:30") << "no count before the first load";
    EXPECT_EQ(first[1].title.Bytes(), "past");
    EXPECT_EQ(first[1].missedNote, "错过的提醒：12月12日 7:00");
    Acknowledge(first);
    std::vector<AlertRequest> later = TickAt(2026, 12, 12, 8, 30);
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(later[0].title.Bytes(), "later");
    Acknowledge(later);
    EXPECT_EQ(TickAt(2026, 12, 13, 12, 0).size(), 2u) << "Sunday: the daily ones only";
    EXPECT_EQ(TickAt(2026, 12, 14, 7, 0).size(), 0u) << "still open from Sunday";
}

TEST_F(Runs, ForeignBytesAreKeptAndTheDoneMomentLivesInMemoryOnly) {
    ReminderItem foreign = MakeReminder(RepeatKind::Daily, 2026, 1, 1, 8, 30, "f", ReminderState::Expired);
    std::memcpy(foreign.reserved2, "other program!!!", 16);
    OldFile({foreign});
    const test::Bytes original = fs.files["Notify.dat"];
    Start(2026, 12, 8, 10, 0);
    EXPECT_TRUE(TickAt(2026, 12, 8, 10, 0).empty()) << "old Expired: done up to its load";
    std::vector<AlertRequest> rang = TickAt(2026, 12, 9, 8, 30);
    ASSERT_EQ(rang.size(), 1u);
    Acknowledge(rang);
    EXPECT_TRUE(TickAt(2026, 12, 9, 8, 31).empty());
    Exit();
    test::Bytes saved = fs.files["Notify.dat"];
    ASSERT_EQ(saved.size(), original.size());
    EXPECT_TRUE(std::equal(saved.begin() + kDoneBlockOffset, saved.end(), original.begin() + kDoneBlockOffset));
}

TEST_F(Runs, TheBlockCarriesTheDoneMomentAcrossRuns) {
    Start(2026, 12, 7, 7, 0);
    manager->Add(MakeReminder(RepeatKind::Weekly, 2026, 12, 7, 8, 30, "w"));
    Acknowledge(TickAt(2026, 12, 7, 8, 30));
    Exit();
    Start(2026, 12, 10, 12, 0);
    EXPECT_EQ(manager->Book().ProgressAt(0)->doneThrough, MinuteOf(test::At(2026, 12, 7, 8, 30)));
    EXPECT_EQ(manager->Book().ProgressAt(0)->next, MinuteOf(test::At(2026, 12, 14, 8, 30)));
    EXPECT_TRUE(TickAt(2026, 12, 10, 12, 0).empty());
}

TEST_F(Runs, ExpiredChosenInTheEditorMarksUpToNowDoneAndReadyCountsFromToday) {
    Start(2026, 12, 7, 10, 0);
    ReminderItem done = MakeReminder(RepeatKind::Daily, 2026, 12, 1, 8, 30, "done", ReminderState::Expired);
    manager->Add(done);
    manager->Add(MakeReminder(RepeatKind::Daily, 2026, 12, 1, 8, 30, "ready"));
    std::vector<AlertRequest> alerts = TickAt(2026, 12, 7, 10, 0);
    ASSERT_EQ(alerts.size(), 1u) << "today's 8:30 still counts for 准备中, not the week before";
    EXPECT_EQ(alerts[0].missedNote, "错过的提醒：12月7日 8:30");
    std::vector<AlertRequest> next = TickAt(2026, 12, 8, 8, 30);
    ASSERT_EQ(next.size(), 1u) << "the other's alert is still open";
    EXPECT_EQ(next[0].title.Bytes(), "done");
}

}  // namespace
}  // namespace vt
