// A reminder's power action: its block in the record, the editor's value,
// the list's cell, and the rule that carries out only an occurrence the
// program saw come.
#include "assistant/reminders/ReminderPower.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

#include "assistant/reminders/ReminderAlert.h"
#include "assistant/reminders/ReminderCodec.h"
#include "assistant/reminders/ReminderEditing.h"
#include "assistant/reminders/ReminderManager.h"
#include "assistant/reminders/ReminderRowView.h"
#include "tests/native/reminders/ReminderTestSupport.h"

namespace vt {
namespace {

using test::Bytes;
using test::MakeReminder;

Bytes Encoded(const ReminderItem& item) {
    Bytes b(kReminderItemSize);
    EncodeReminder(item, b.data());
    return b;
}

// Every byte but the power block's.
void ExpectSameOutsideThePowerBlock(const Bytes& a, const Bytes& b) {
    for (std::size_t i = 0; i < kReminderItemSize; ++i) {
        if (i >= kPowerBlockOffset && i < kPowerBlockOffset + kPowerBlockSize) continue;
        ASSERT_EQ(a[i], b[i]) << "offset " << i;
    }
}

TEST(PowerBlock, EveryActionRoundTripsBesideTheDoneBlockAndTouchesNothingElse) {
    ReminderItem item = MakeReminder(RepeatKind::StatutoryWorkdays, 2026, 10, 9, 18, 30, "off");
    ASSERT_TRUE(WriteDoneBlock(item, 29424990));
    item.reserved2[40] = 0x77;  // another writer's, after both blocks
    const Bytes before = Encoded(item);
    EXPECT_EQ(PowerActionOf(item), ReminderPowerAction::None) << "a record without the block only reminds";

    for (int v = 1; v < kReminderPowerActionCount; ++v) {
        ReminderItem changed = item;
        ASSERT_TRUE(SetPowerAction(changed, static_cast<ReminderPowerAction>(v)));
        const Bytes after = Encoded(changed);
        ExpectSameOutsideThePowerBlock(before, after);
        EXPECT_EQ(PowerActionOf(DecodeReminder(after.data())), static_cast<ReminderPowerAction>(v));
        EXPECT_EQ(ReadDoneBlock(changed).doneThrough, 29424990) << "the done block stays valid";

        // Cleared again, the record is the one from before, byte for byte.
        ASSERT_TRUE(SetPowerAction(changed, ReminderPowerAction::None));
        EXPECT_EQ(Encoded(changed), before) << v;
    }

    // The layout the file format documents.
    ReminderItem shut = item;
    SetPowerAction(shut, ReminderPowerAction::ShutDown);
    const Bytes b = Encoded(shut);
    const unsigned char head[12] = {'V', 't', 'P', 'w', 1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Bytes(b.begin() + 4156, b.begin() + 4168), Bytes(head, head + 12));
    std::uint32_t h = 2166136261u;
    for (int i = 0; i < 12; ++i) h = (h ^ head[i]) * 16777619u;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(b[4168 + i], static_cast<unsigned char>(h >> (8 * i))) << i;

    // A later done-through moment leaves the action alone.
    ASSERT_TRUE(WriteDoneBlock(shut, 29424991));
    EXPECT_EQ(PowerActionOf(shut), ReminderPowerAction::ShutDown);
}

TEST(PowerBlock, ForeignBytesAreKeptAndOnlyRemind) {
    ReminderItem ours = MakeReminder(RepeatKind::Daily, 2026, 12, 6, 18, 30);
    ASSERT_TRUE(SetPowerAction(ours, ReminderPowerAction::Restart));

    std::vector<ReminderItem> foreign;
    ReminderItem text = MakeReminder(RepeatKind::Daily, 2026, 12, 6, 18, 30);
    std::memcpy(text.reserved2 + kDoneBlockSize, "note: call back", 16);
    foreign.push_back(text);
    ReminderItem badCheck = ours;
    badCheck.reserved2[kDoneBlockSize + 4] ^= 4;  // the number changed behind the check value
    foreign.push_back(badCheck);
    ReminderItem badTag = ours;  // the done block's tag in the power block's place
    std::memcpy(badTag.reserved2 + kDoneBlockSize, "VtDn", 4);
    foreign.push_back(badTag);
    ReminderItem oneByte = MakeReminder(RepeatKind::Daily, 2026, 12, 6, 18, 30);
    oneByte.reserved2[kDoneBlockSize + 15] = 1;
    foreign.push_back(oneByte);

    for (std::size_t i = 0; i < foreign.size(); ++i) {
        ReminderItem item = foreign[i];
        EXPECT_EQ(PowerActionOf(item), ReminderPowerAction::None) << i;
        EXPECT_FALSE(CanStorePowerAction(item)) << i;
        EXPECT_FALSE(SetPowerAction(item, ReminderPowerAction::ShutDown)) << i;
        EXPECT_FALSE(SetPowerAction(item, ReminderPowerAction::None)) << i;
        EXPECT_EQ(std::memcmp(&item, &foreign[i], sizeof item), 0) << i;
        EXPECT_TRUE(WriteDoneBlock(item, 5)) << "the done block is its own affair";
    }

    // A number a later copy wrote is ours but unknown: it only reminds here.
    ReminderItem later = MakeReminder(RepeatKind::Daily, 2026, 12, 6, 18, 30);
    ASSERT_TRUE(WritePowerBlock(later, 9));
    EXPECT_EQ(PowerActionOf(later), ReminderPowerAction::None);
    EXPECT_TRUE(CanStorePowerAction(later));
}

TEST(PowerBlock, SurvivesTheFileAndALoad) {
    test::MemoryFileSystem fs;
    ReminderBook book(fs, "Notify.dat");
    ReminderItem item = MakeReminder(RepeatKind::Daily, 2026, 1, 1, 18, 30);
    SetPowerAction(item, ReminderPowerAction::Hibernate);
    book.Add(item);
    book.Add(MakeReminder(RepeatKind::Daily, 2026, 1, 1, 8, 0));
    ASSERT_TRUE(book.Save());

    ReminderBook loaded(fs, "Notify.dat");
    loaded.Load(test::At(2026, 12, 7, 9, 0));
    ASSERT_EQ(loaded.Count(), 2);
    EXPECT_EQ(PowerActionOf(*loaded.At(0)), ReminderPowerAction::Hibernate);
    EXPECT_EQ(PowerActionOf(*loaded.At(1)), ReminderPowerAction::None);
}

TEST(ReminderPowerAction, NamesAndTheCountdownsEndActions) {
    const char* names[] = {"仅提醒", "关机", "重启", "注销", "睡眠", "休眠", "锁定"};
    for (int v = 0; v < kReminderPowerActionCount; ++v) {
        EXPECT_STREQ(ReminderPowerActionName(static_cast<ReminderPowerAction>(v)), names[v]);
        EXPECT_EQ(PowerActionItemText(v), names[v]);
    }
    EXPECT_EQ(PowerActionItemText(7), "");
    EXPECT_EQ(EndActionOf(ReminderPowerAction::ShutDown), EndAction::ShutDown);
    EXPECT_EQ(EndActionOf(ReminderPowerAction::LogOff), EndAction::LogOff);
    EXPECT_EQ(EndActionOf(ReminderPowerAction::Hibernate), EndAction::Hibernate);
    EXPECT_FALSE(EndActionOf(ReminderPowerAction::Lock)) << "locks at once, without a last minute";
    EXPECT_FALSE(EndActionOf(ReminderPowerAction::None));
    EXPECT_FALSE(ReminderPowerActionFromValue(-1));
    EXPECT_FALSE(ReminderPowerActionFromValue(7));
}

TEST(DecidePower, OnlyAnOccurrenceTheTicksSawComeIsCarriedOut) {
    const LocalMinute due = MinuteOf(test::At(2026, 10, 9, 18, 30));
    auto tick = [](int day, int hour, int minute, int second) {
        return TickAt(test::At(2026, 10, day, hour, minute, second));
    };
    const ReminderPowerAction off = ReminderPowerAction::ShutDown;

    EXPECT_EQ(DecidePower(off, due, tick(9, 18, 29, 59), tick(9, 18, 30, 0)), PowerDecision::CarryOut);
    EXPECT_EQ(DecidePower(off, due, tick(9, 18, 29, 55), tick(9, 18, 30, 5)), PowerDecision::CarryOut)
        << "a timer held back a few seconds";
    EXPECT_EQ(DecidePower(off, due, tick(9, 18, 30, 0), tick(9, 18, 30, 1)), PowerDecision::CarryOut)
        << "re-armed at the minute, fired a tick later";
    EXPECT_EQ(DecidePower(ReminderPowerAction::None, due, tick(9, 18, 29, 59), tick(9, 18, 30, 0)),
              PowerDecision::None);

    EXPECT_EQ(DecidePower(off, due, tick(9, 18, 0, 0), tick(10, 9, 0, 0)), PowerDecision::OnlyName) << "asleep over it";
    EXPECT_EQ(DecidePower(off, due, TickMoment(), tick(10, 9, 0, 0)), PowerDecision::OnlyName)
        << "the first tick of a start: the computer was off";
    EXPECT_EQ(DecidePower(off, due, TickMoment(), tick(9, 18, 30, 20)), PowerDecision::OnlyName)
        << "started within its minute: the program did not see it come";
    EXPECT_EQ(DecidePower(off, due, tick(9, 18, 29, 50), tick(9, 18, 45, 0)), PowerDecision::OnlyName)
        << "the clock jumped forward over it";
    EXPECT_EQ(DecidePower(off, due, tick(9, 18, 29, 59), tick(9, 18, 30, 11)), PowerDecision::OnlyName)
        << "a gap just over the limit";
    EXPECT_EQ(DecidePower(off, due, tick(9, 19, 0, 0), tick(9, 18, 30, 0)), PowerDecision::OnlyName)
        << "the clock set back onto it";
    EXPECT_EQ(DecidePower(off, due, tick(9, 19, 0, 0), tick(9, 19, 0, 1)), PowerDecision::OnlyName)
        << "fires at once for an earlier occurrence (an edit)";
    EXPECT_EQ(DecidePower(off, kNoOccurrence, tick(9, 18, 29, 59), tick(9, 18, 30, 0)), PowerDecision::OnlyName);
}

// The manager on a Friday, 9 October 2026, with a 18:30 shutdown every day.
class PowerManagerTest : public ::testing::Test {
protected:
    PowerManagerTest() : manager(fs, "Notify.dat", clock) {
        clock.Set(2026, 10, 9, 12, 0);
        ReminderItem item = MakeReminder(RepeatKind::Daily, 2026, 10, 1, 18, 30, "off");
        SetPowerAction(item, ReminderPowerAction::ShutDown);
        manager.Add(item);
        manager.Add(MakeReminder(RepeatKind::Daily, 2026, 10, 1, 18, 30, "plain"));
    }

    TickResult TickAt(int day, int hour, int minute, int second) {
        clock.Set(2026, 10, day, hour, minute, second);
        return manager.OnTimer();
    }

    test::MemoryFileSystem fs;
    test::FakeClock clock;
    ReminderManager manager;
};

TEST_F(PowerManagerTest, DueNowAsksForTheActionAndCarriedOutIsAnsweredAfterARestart) {
    EXPECT_TRUE(TickAt(9, 18, 29, 59).power.empty());
    TickResult fired = TickAt(9, 18, 30, 0);
    ASSERT_EQ(fired.power.size(), 1u) << "the plain reminder asks for nothing";
    EXPECT_EQ(fired.power[0].row, 0);
    EXPECT_EQ(fired.power[0].id, manager.Book().IdAt(0));
    EXPECT_EQ(fired.power[0].action, ReminderPowerAction::ShutDown);
    EXPECT_EQ(fired.power[0].occurrence, MinuteOf(test::At(2026, 10, 9, 18, 30)));
    TickResult next = TickAt(9, 18, 30, 1);
    EXPECT_EQ(next.alerts.size(), 2u) << "both alerts show as always";
    EXPECT_TRUE(next.power.empty()) << "asked once";

    // The shutdown: marked and saved before it runs, then the exit's save.
    fs.files.clear();
    ASSERT_TRUE(manager.MarkCarriedOut(fired.power[0].id, fired.power[0].occurrence));
    EXPECT_TRUE(fs.Exists("Notify.dat")) << "saved before the action runs";
    ASSERT_TRUE(manager.SaveAtExit());

    clock.Set(2026, 10, 10, 9, 0);
    ReminderManager restarted(fs, "Notify.dat", clock);
    restarted.Load();
    TickResult first = restarted.OnTimer();
    clock.Set(2026, 10, 10, 9, 0, 1);
    TickResult second = restarted.OnTimer();
    ASSERT_EQ(second.alerts.size(), 1u) << "only the unanswered plain reminder comes back";
    EXPECT_EQ(second.alerts[0].title.Bytes(), "plain");
    EXPECT_TRUE(first.power.empty());
    EXPECT_FALSE(restarted.MarkCarriedOut(kNoReminder, fired.power[0].occurrence));
}

TEST_F(PowerManagerTest, MissedWhileOffIsNamedButNeverCarriedOut) {
    // Not carried out (取消, or the computer went off first): named at the next start.
    TickAt(9, 18, 0, 0);
    ASSERT_TRUE(manager.SaveAtExit());
    clock.Set(2026, 10, 10, 9, 0);
    ReminderManager restarted(fs, "Notify.dat", clock);
    restarted.Load();
    std::vector<PowerRequest> power = restarted.OnTimer().power;
    clock.Set(2026, 10, 10, 9, 0, 1);
    TickResult shown = restarted.OnTimer();
    EXPECT_TRUE(power.empty());
    EXPECT_TRUE(shown.power.empty());
    ASSERT_EQ(shown.alerts.size(), 2u);
    EXPECT_FALSE(shown.alerts[0].missedNote.empty()) << "named in the missed note as today";
}

TEST_F(PowerManagerTest, SleepAndAForwardClockOnlyNameIt) {
    TickAt(9, 18, 0, 0);
    EXPECT_TRUE(TickAt(10, 9, 0, 0).power.empty()) << "woke the next morning";
    EXPECT_FALSE(TickAt(10, 9, 0, 1).alerts.empty());

    // Answered; the next day the clock jumps from 18:29:50 to 18:45.
    manager.OnAnswer(manager.Book().IdAt(0), 0);
    TickAt(10, 18, 29, 50);
    EXPECT_TRUE(TickAt(10, 18, 45, 0).power.empty());
}

TEST_F(PowerManagerTest, AnOccurrenceEarlierTodayThatAnEditRingsAtOnceIsNotCarriedOut) {
    EXPECT_TRUE(TickAt(9, 19, 0, 0).power.empty()) << "both fire late, at the first tick";
    ReminderItem item = MakeReminder(RepeatKind::Daily, 2026, 10, 1, 18, 30, "new");
    SetPowerAction(item, ReminderPowerAction::ShutDown);
    manager.Add(item);  // 准备中: today's 18:30 still rings, at once
    TickResult tick = TickAt(9, 19, 0, 1);
    ASSERT_EQ(manager.Book().At(2)->state, static_cast<std::int32_t>(ReminderState::Alerting));
    EXPECT_TRUE(tick.power.empty());
}

// A once 关机 reminder at 18:30 carried out beside a daily one, neither alert
// answered (or answered, but no save reached the file after the one before
// the action). After the restart the once one has nothing left to ring: it
// reads 已过期 as an acknowledged once reminder does, not 准备中 for ever.
TEST(PowerOnce, CarriedOutComesBackExpiredAndTheFileKeepsEveryOtherByte) {
    enum class After { ExitSaved, NoExitSave, AnsweredButUnsaved };
    for (const After after : {After::ExitSaved, After::NoExitSave, After::AnsweredButUnsaved}) {
        SCOPED_TRACE(static_cast<int>(after));
        test::MemoryFileSystem fs;
        test::FakeClock clock;
        ReminderManager manager(fs, "Notify.dat", clock);
        ReminderItem once = MakeReminder(RepeatKind::Once, 2026, 10, 9, 18, 30, "once");
        SetPowerAction(once, ReminderPowerAction::ShutDown);
        ReminderItem daily = MakeReminder(RepeatKind::Daily, 2026, 10, 1, 18, 30, "daily");
        SetPowerAction(daily, ReminderPowerAction::ShutDown);
        clock.Set(2026, 10, 9, 18, 29, 59);
        manager.Add(once);
        manager.Add(daily);
        manager.OnTimer();
        clock.Set(2026, 10, 9, 18, 30, 0);
        const std::vector<PowerRequest> power = manager.OnTimer().power;
        ASSERT_EQ(power.size(), 2u);
        for (const PowerRequest& r : power) ASSERT_TRUE(manager.MarkCarriedOut(r.id, r.occurrence));
        if (after == After::ExitSaved) {
            ASSERT_TRUE(manager.SaveAtExit());
        }
        if (after == After::AnsweredButUnsaved) {
            clock.Set(2026, 10, 9, 18, 30, 1);
            for (const AlertRequest& a : manager.OnTimer().alerts) manager.OnAnswer(a.id, kAnswerAcknowledged);
            fs.failCreate = fs.failInPlace = true;
            EXPECT_FALSE(manager.SaveAtExit());
            fs.failCreate = fs.failInPlace = false;
        }
        const Bytes left = fs.files["Notify.dat"];

        clock.Set(2026, 10, 10, 9, 0);
        ReminderManager restarted(fs, "Notify.dat", clock);
        restarted.Load();
        const ReminderBook& book = restarted.Book();
        EXPECT_EQ(book.At(0)->state, static_cast<std::int32_t>(ReminderState::Expired));
        EXPECT_EQ(book.ProgressAt(0)->next, kNoOccurrence);
        EXPECT_EQ(book.At(1)->state, static_cast<std::int32_t>(ReminderState::Ready)) << "waits for tonight";
        EXPECT_EQ(book.ProgressAt(1)->next, MinuteOf(test::At(2026, 10, 10, 18, 30)));
        for (int second = 0; second < 3; ++second) {
            clock.Set(2026, 10, 10, 9, 0, second);
            const TickResult tick = restarted.OnTimer();
            EXPECT_TRUE(tick.alerts.empty() && tick.power.empty() && tick.changedRows.empty()) << second;
        }

        // Written again, only the state field differs, and it holds the
        // value every version reads as 已过期 (3).
        ASSERT_TRUE(restarted.Save());
        const Bytes saved = fs.files["Notify.dat"];
        ASSERT_EQ(saved.size(), left.size());
        const std::size_t state = offsetof(ReminderItem, state);
        for (std::size_t i = 0; i < saved.size(); ++i) {
            const std::size_t at = i % kReminderItemSize;
            if (at >= state && at < state + 4) continue;
            ASSERT_EQ(saved[i], left[i]) << "offset " << i;
        }
        EXPECT_EQ(saved[state], 3);
        EXPECT_EQ(saved[kReminderItemSize + state], 0);
        EXPECT_EQ(PowerActionOf(*book.At(0)), ReminderPowerAction::ShutDown);
    }
}

// 锁定 (and 睡眠) leave the program running: the carried-out occurrence
// never closes the alert, which is still answered or put off as always.
TEST(PowerOnce, ALockedOnceKeepsItsAlertOpenUntilAnswered) {
    test::MemoryFileSystem fs;
    test::FakeClock clock;
    ReminderManager manager(fs, "Notify.dat", clock);
    ReminderItem once = MakeReminder(RepeatKind::Once, 2026, 10, 9, 18, 30, "lock");
    SetPowerAction(once, ReminderPowerAction::Lock);
    clock.Set(2026, 10, 9, 18, 29, 59);
    manager.Add(once);
    manager.OnTimer();
    clock.Set(2026, 10, 9, 18, 30, 0);
    const std::vector<PowerRequest> power = manager.OnTimer().power;
    ASSERT_EQ(power.size(), 1u);
    ASSERT_TRUE(manager.MarkCarriedOut(power[0].id, power[0].occurrence));
    auto stateAt = [&](int minute) {
        for (int second = 1; second < 4; ++second) {
            clock.Set(2026, 10, 9, 18, minute, second);
            manager.OnTimer();
        }
        return static_cast<ReminderState>(manager.Book().At(0)->state);
    };
    EXPECT_EQ(stateAt(30), ReminderState::Alerting);
    EXPECT_EQ(stateAt(45), ReminderState::Alerting) << "unanswered, it stays open";
    ASSERT_EQ(manager.OnAnswer(power[0].id, kAnswerPutOff), 0);
    EXPECT_EQ(stateAt(50), ReminderState::Snoozed);

    // Left put off at the exit: it was carried out, so it does not ring again.
    ASSERT_TRUE(manager.SaveAtExit());
    ReminderManager restarted(fs, "Notify.dat", clock);
    restarted.Load();
    EXPECT_EQ(restarted.Book().At(0)->state, static_cast<std::int32_t>(ReminderState::Expired));
}

TEST(ReminderEditor, PowerActionComesFromTheRecordAndGoesBackOnlyWhenChanged) {
    EditorFields fresh = InitialEditorFields(EditMode::New, ZeroReminder(), LocalTime{});
    EXPECT_EQ(fresh.powerAction, 0);
    EXPECT_TRUE(fresh.powerStorable);

    ReminderItem item = MakeReminder(RepeatKind::Daily, 2026, 10, 1, 18, 30);
    SetPowerAction(item, ReminderPowerAction::Lock);
    EditorFields f = InitialEditorFields(EditMode::Edit, item, LocalTime{});
    EXPECT_EQ(f.powerAction, static_cast<int>(ReminderPowerAction::Lock));
    f.powerAction = static_cast<int>(ReminderPowerAction::Sleep);
    ReminderItem working = item;
    ApplyEditorFields(f, working);
    EXPECT_EQ(PowerActionOf(working), ReminderPowerAction::Sleep);

    // A later copy's number, and another writer's bytes, stay when the
    // drop-down shows 仅提醒 untouched.
    for (int variant = 0; variant < 2; ++variant) {
        ReminderItem kept = MakeReminder(RepeatKind::Daily, 2026, 10, 1, 18, 30);
        if (variant == 0)
            WritePowerBlock(kept, 9);
        else
            std::memcpy(kept.reserved2 + kDoneBlockSize, "someone's bytes", 16);
        EditorFields g = InitialEditorFields(EditMode::Edit, kept, LocalTime{});
        EXPECT_EQ(g.powerAction, 0) << variant;
        EXPECT_EQ(g.powerStorable, variant == 0);
        ReminderItem out = kept;
        ApplyEditorFields(g, out);
        EXPECT_EQ(std::memcmp(out.reserved2, kept.reserved2, sizeof out.reserved2), 0) << variant;
    }
}

TEST(ReminderRow, NextCellEndsWithThePowerAction) {
    ReminderItem r = MakeReminder(RepeatKind::Daily, 2026, 1, 1, 18, 30);
    SetPowerAction(r, ReminderPowerAction::ShutDown);
    const LocalTime now = test::At(2026, 10, 8, 12, 0);
    EXPECT_EQ(CellOf(r, kNextColumn, MinuteOf(test::At(2026, 10, 9, 18, 30)), now), "10月9日 18:30 关机");
    SetPowerAction(r, ReminderPowerAction::Lock);
    EXPECT_EQ(CellOf(r, kNextColumn, MinuteOf(test::At(2026, 10, 8, 18, 30)), now), "今天 18:30 锁定");
    EXPECT_EQ(CellOf(r, kNextColumn, kNoOccurrence, now), "") << "nothing next, nothing to do";
    // The note on a guessed working day qualifies the whole occurrence.
    r.repeat = static_cast<std::int32_t>(RepeatKind::StatutoryWorkdays);
    EXPECT_EQ(CellOf(r, kNextColumn, MinuteOf(test::At(2026, 10, 9, 18, 30)), now),
              "10月9日 18:30 锁定（暂按周一至周五）");
}

}  // namespace
}  // namespace vt
