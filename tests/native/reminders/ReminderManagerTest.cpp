#include "assistant/reminders/ReminderManager.h"

#include <gtest/gtest.h>

#include "assistant/reminders/ReminderAlert.h"
#include "tests/native/reminders/ReminderTestSupport.h"

namespace vt {
namespace {

using test::MakeReminder;

class ManagerTest : public ::testing::Test {
protected:
    // The reminders are made on the Monday morning the tests run on.
    ManagerTest() : manager(fs, "Notify.dat", clock) { clock.Set(2026, 12, 7, 0, 0); }

    // Rows a, b, c all due at 8:30, fired and with their alerts open.
    std::vector<AlertRequest> FireThree() {
        for (const char* t : {"a", "b", "c"}) manager.Add(MakeReminder(RepeatKind::Daily, 2026, 1, 1, 8, 30, t));
        return TicksAt(2026, 12, 7, 8, 30);
    }

    // The ticks at h:m:00 and a second later, when what is due at h:m
    // alerts; the alerts of the second tick.
    std::vector<AlertRequest> TicksAt(int year, int month, int day, int hour, int minute) {
        clock.Set(year, month, day, hour, minute, 0);
        manager.OnTimer();
        clock.Set(year, month, day, hour, minute, 1);
        return manager.OnTimer().alerts;
    }

    std::string TitleAt(int row) { return GetText(manager.Book().At(row)->title).Bytes(); }
    std::int32_t StateAt(int row) { return manager.Book().At(row)->state; }

    test::MemoryFileSystem fs;
    test::FakeClock clock;
    ReminderManager manager;
};

TEST_F(ManagerTest, AcknowledgeExpiresAndPutOffSnoozes) {
    std::vector<AlertRequest> alerts = FireThree();
    ASSERT_EQ(alerts.size(), 3u);
    EXPECT_EQ(manager.OnAnswer(alerts[0].id, kAnswerAcknowledged), 0);
    EXPECT_EQ(manager.OnAnswer(alerts[1].id, kAnswerPutOff), 1);
    EXPECT_EQ(StateAt(0), 3);
    EXPECT_EQ(StateAt(1), 2);
    EXPECT_EQ(StateAt(2), 1);

    EXPECT_EQ(manager.OnAnswer(alerts[2].id, 5), -1) << "unknown answers change nothing";
    EXPECT_EQ(StateAt(2), 1);
    EXPECT_EQ(manager.OnAnswer(alerts[1].id, kAnswerAcknowledged), 1) << "snoozed, then done";
    EXPECT_EQ(StateAt(1), 3);
}

TEST_F(ManagerTest, AnswerFollowsItsReminderWhenRowsAboveAreDeleted) {
    std::vector<AlertRequest> alerts = FireThree();
    manager.Delete({0});
    ASSERT_EQ(TitleAt(0), "b");
    EXPECT_EQ(manager.OnAnswer(alerts[2].id, kAnswerAcknowledged), 1);
    EXPECT_EQ(StateAt(1), 3) << "c acknowledged";
    EXPECT_EQ(StateAt(0), 1) << "b untouched";
}

TEST_F(ManagerTest, AnswerForADeletedReminderChangesNothing) {
    std::vector<AlertRequest> alerts = FireThree();
    manager.Delete({1});
    EXPECT_EQ(manager.OnAnswer(alerts[1].id, kAnswerAcknowledged), -1);
    EXPECT_EQ(manager.OnAnswer(alerts[1].id, kAnswerPutOff), -1);
    EXPECT_EQ(StateAt(0), 1);
    EXPECT_EQ(StateAt(1), 1);
    EXPECT_EQ(manager.OnAnswer(kNoReminder, kAnswerAcknowledged), -1);
}

TEST_F(ManagerTest, AlertingAndSnoozedRowsCannotBeEditedButCanBeDeleted) {
    manager.Add(MakeReminder(RepeatKind::Daily, 2026, 1, 1, 9, 0, "ready"));
    std::vector<AlertRequest> alerts = FireThree();  // rows 1..3
    manager.OnAnswer(alerts[1].id, kAnswerPutOff);   // row 2 snoozed

    EXPECT_EQ(manager.DecideEdit({}).action, EditDecision::Action::None);
    EXPECT_EQ(manager.DecideEdit({1, 0}).action, EditDecision::Action::Refuse) << "first listed counts";
    EXPECT_EQ(manager.DecideEdit({2}).action, EditDecision::Action::Refuse);
    EditDecision edit = manager.DecideEdit({0, 1});
    EXPECT_EQ(edit.action, EditDecision::Action::Edit);
    EXPECT_EQ(GetText(edit.item.title).Bytes(), "ready");

    ManagerButtons none = manager.Buttons({});
    EXPECT_FALSE(none.edit);
    EXPECT_FALSE(none.remove);
    ManagerButtons alerting = manager.Buttons({1});
    EXPECT_FALSE(alerting.edit);
    EXPECT_TRUE(alerting.remove);
    EXPECT_TRUE(manager.Buttons({0, 1}).edit);

    manager.Delete({3, 1, 1, 99, -1});
    ASSERT_EQ(manager.Book().Count(), 2);
    EXPECT_EQ(TitleAt(0), "ready");
    EXPECT_EQ(TitleAt(1), "b");
}

TEST_F(ManagerTest, EditReplacesTheWholeRecordOfItsOwnReminder) {
    manager.Add(MakeReminder(RepeatKind::Daily, 2026, 1, 1, 9, 0, "x"));
    manager.Add(MakeReminder(RepeatKind::Daily, 2026, 1, 1, 9, 0, "y"));
    EditDecision d = manager.DecideEdit({1});
    ReminderItem edited = d.item;
    SetText(edited.title, Gbk("y2"));
    edited.reserved2[17] = 0x5A;
    SetState(edited, ReminderState::Expired);
    manager.Delete({0});
    EXPECT_EQ(manager.ApplyEdit(d, edited), 0);
    EXPECT_EQ(TitleAt(0), "y2");
    EXPECT_EQ(manager.Book().At(0)->reserved2[17], 0x5A);
    EXPECT_EQ(StateAt(0), 3);

    manager.Delete({0});
    EXPECT_EQ(manager.ApplyEdit(d, edited), -1) << "deleted while the editor was open";
    EXPECT_EQ(manager.Book().Count(), 0);
}

TEST_F(ManagerTest, ReminderThatFiredDuringTheEditKeepsItsLiveAlert) {
    manager.Add(MakeReminder(RepeatKind::Daily, 2026, 1, 1, 8, 30, "x"));
    EditDecision d = manager.DecideEdit({0});
    ASSERT_EQ(TicksAt(2026, 12, 7, 8, 30).size(), 1u);

    ReminderItem edited = d.item;  // still Ready, alertTicks of before
    SetText(edited.content, Gbk("new text"));
    manager.ApplyEdit(d, edited);
    EXPECT_EQ(StateAt(0), 1);
    EXPECT_EQ(manager.Book().At(0)->alertTicks, 1);
    EXPECT_EQ(GetText(manager.Book().At(0)->content).Bytes(), "new text");

    clock.Set(2026, 12, 7, 8, 30, 2);
    EXPECT_TRUE(manager.OnTimer().alerts.empty()) << "no second alert for the same firing";
}

TEST_F(ManagerTest, EditorStateCountsUnlessTheClockMovedTheStateOnMeanwhile) {
    // Expired when the editor opened; the user re-arms it by hand.
    clock.Set(2026, 12, 7, 9, 0, 0);  // made after 8:30: stays Expired on the ticks
    manager.Add(MakeReminder(RepeatKind::Daily, 2026, 1, 1, 8, 30, "x", ReminderState::Expired));
    EditDecision d = manager.DecideEdit({0});
    manager.OnTimer();
    ReminderItem edited = d.item;
    SetState(edited, ReminderState::Ready);
    manager.ApplyEdit(d, edited);
    EXPECT_EQ(StateAt(0), 0) << "准备中 chosen in the editor";

    // Ready when opened; the user marks it done.
    d = manager.DecideEdit({0});
    edited = d.item;
    SetState(edited, ReminderState::Expired);
    manager.ApplyEdit(d, edited);
    EXPECT_EQ(StateAt(0), 3) << "已过期 chosen in the editor";

    // Expired when opened, then fired and acknowledged while the editor was
    // open: the editor's stale 准备中 must not make it fire a second time.
    clock.Set(2026, 12, 8, 8, 0, 0);
    d = manager.DecideEdit({0});
    manager.OnTimer();  // re-armed before 8:30
    std::vector<AlertRequest> alerts = TicksAt(2026, 12, 8, 8, 30);
    ASSERT_EQ(alerts.size(), 1u);
    manager.OnAnswer(alerts[0].id, kAnswerAcknowledged);
    edited = d.item;
    SetState(edited, ReminderState::Ready);
    SetText(edited.title, Gbk("renamed"));
    manager.ApplyEdit(d, edited);
    EXPECT_EQ(StateAt(0), 3);
    EXPECT_EQ(TitleAt(0), "renamed");
    clock.Set(2026, 12, 8, 8, 30, 2);
    EXPECT_TRUE(manager.OnTimer().alerts.empty());
}

TEST_F(ManagerTest, ReArmWhileTheEditorIsOpenDoesNotOverruleTheChosenState) {
    // Expired; the editor opens before the day's 8:30, and the clock re-arms
    // the reminder meanwhile.
    manager.Add(MakeReminder(RepeatKind::Daily, 2026, 1, 1, 8, 30, "x", ReminderState::Expired));
    clock.Set(2026, 12, 7, 8, 0, 0);
    EditDecision d = manager.DecideEdit({0});
    manager.OnTimer();
    ASSERT_EQ(StateAt(0), 0) << "re-armed";

    // The user leaves 已过期 and moves the time to 0:00.
    ReminderItem edited = d.item;
    edited.hour = 0;
    edited.minute = 0;
    manager.ApplyEdit(d, edited);
    EXPECT_EQ(StateAt(0), 3) << "已过期 chosen in the editor";
    clock.Set(2026, 12, 7, 8, 0, 1);
    EXPECT_TRUE(manager.OnTimer().alerts.empty());
    clock.Set(2026, 12, 7, 8, 0, 2);
    EXPECT_TRUE(manager.OnTimer().alerts.empty()) << "nothing fires for a reminder the user marked done";

    // Put off while the editor was open: the live state stays.
    manager.Add(MakeReminder(RepeatKind::Daily, 2026, 1, 1, 9, 0, "y"));
    d = manager.DecideEdit({1});
    std::vector<AlertRequest> alerts = TicksAt(2026, 12, 7, 9, 0);
    ASSERT_EQ(alerts.size(), 1u);
    manager.OnAnswer(alerts[0].id, kAnswerPutOff);
    edited = d.item;
    SetState(edited, ReminderState::Expired);
    manager.ApplyEdit(d, edited);
    EXPECT_EQ(StateAt(1), 2) << "an answer given meanwhile is kept";
}

TEST_F(ManagerTest, SaveAtExitWritesAlertsAsReadyAndTheyLoadBackReady) {
    std::vector<AlertRequest> alerts = FireThree();
    manager.OnAnswer(alerts[0].id, kAnswerAcknowledged);
    manager.OnAnswer(alerts[1].id, kAnswerPutOff);
    ASSERT_TRUE(manager.SaveAtExit());

    ReminderManager next(fs, "Notify.dat", clock);
    next.Load();
    ASSERT_EQ(next.Book().Count(), 3);
    EXPECT_EQ(next.Book().At(0)->state, 3);
    EXPECT_EQ(next.Book().At(1)->state, 0);
    EXPECT_EQ(next.Book().At(2)->state, 0);
}

}  // namespace
}  // namespace vt
