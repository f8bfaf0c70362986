// The start of the main window: the reminders run on its second and its
// messages before their own window is made, and that window comes when an
// alert needs its owner.
#include "assistant/mainwnd/VolumePopup.h"
#include "assistant/reminders/ReminderAlertDialog.h"
#include "assistant/reminders/ReminderCodec.h"
#include "tests/native/reminders/ReminderTestSupport.h"
#include "tests/win/mainwnd/MainWindowHarness.h"

namespace vt::test {
namespace {

class MainWindowStart : public MainWindowTest {
protected:
    // A one-time reminder long past and never answered: it fires at the
    // first check and opens its alert at the next.
    void StartWithAnOverdueReminder() {
        ReminderItem overdue = MakeReminder(RepeatKind::Once, 2020, 1, 1, 9, 0, "tea", ReminderState::Ready);
        m_files.files[kNotifyPath] = SerializeReminders({overdue});
        CreateMainWindow();
        ASSERT_EQ(m_dialog->Reminders().Hwnd(), nullptr) << "no window for the reminders at the start";
    }
    size_t Alerts() { return m_dialog->Reminders().Alerts().size(); }
};

TEST_F(MainWindowStart, TheRemindersFireOnTheMainWindowsSecondAndTheirWindowOwnsTheAlert) {
    StartWithAnOverdueReminder();
    EXPECT_EQ(m_dialog->Popup().Hwnd(), nullptr) << "nor for the volume popup";
    Tick(2);
    ASSERT_EQ(Alerts(), 1u);
    HWND manager = m_dialog->Reminders().Hwnd();
    ASSERT_NE(manager, nullptr);
    HWND alert = m_dialog->Reminders().Alerts()[0]->Hwnd();
    EXPECT_EQ(GetWindow(alert, GW_OWNER), manager);
    EXPECT_TRUE(IsWindowVisible(alert));
    EXPECT_FALSE(IsWindowVisible(manager)) << "the manager stays out of sight";
    EXPECT_TRUE(GetWindowLongW(alert, GWL_EXSTYLE) & WS_EX_TOPMOST) << "above other windows, as its owner is";
    Tick();
    EXPECT_EQ(Alerts(), 1u) << "one alert per firing";
}

TEST_F(MainWindowStart, AClockChangeOrAResumeChecksTheRemindersAtOnce) {
    StartWithAnOverdueReminder();
    Send(WM_TIMECHANGE);  // fires
    EXPECT_EQ(Send(WM_POWERBROADCAST, PBT_APMSUSPEND, 0), TRUE);
    EXPECT_EQ(Alerts(), 0u) << "going to sleep is no reason to check";
    EXPECT_EQ(Send(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0), TRUE);
    EXPECT_EQ(Alerts(), 1u) << "checked at once, no tick needed";
}

TEST_F(MainWindowStart, ExitBeforeTheRemindersWereNeededKeepsTheFile) {
    ReminderItem later = MakeReminder(RepeatKind::Once, 2099, 1, 1, 9, 0, "later", ReminderState::Ready);
    m_files.files[kNotifyPath] = SerializeReminders({later});
    m_dialog.reset();
    MainWindowServices services{m_registry, m_power, m_volume, m_shell, [] {}, kExePath, &m_reminders, &m_now};
    m_dialog = std::make_unique<ShutdownDialog>(std::move(services));
    ASSERT_TRUE(m_dialog->Create(nullptr));  // and no message loop yet
    Command(ID_TRAY_EXIT);
    std::vector<ReminderItem> saved =
        ParseReminderBytes(m_files.files[kNotifyPath].data(), m_files.files[kNotifyPath].size()).items;
    ASSERT_EQ(saved.size(), 1u) << "the reminders were read before they were written";
    EXPECT_STREQ(saved[0].title, "later");
}

}  // namespace
}  // namespace vt::test
