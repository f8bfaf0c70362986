#pragma once
// The real main window, created in the test process with recording stand-ins
// for the registry, the power calls, the sound device and the shell, and
// driven with the messages Windows and its controls would send it. The
// registry and power stand-ins note their calls in one log, so the order
// across them shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "assistant/AssistantNames.h"
#include "assistant/mainwnd/ShutdownDialog.h"
#include "assistant/reminders/ReminderManagerDialog.h"
#include "resource.h"
#include "shared/core/FileSystem.h"
#include "shared/win/Platform.h"
#include "tests/native/mainwnd/FakeVolumeDevice.h"
#include "tests/support/CoreFakes.h"
#include "tests/support/FakeJobSampler.h"
#include "tests/support/TestWindows.h"

namespace vt::test {

// One log for registry and power calls, so the order across them shows.
using EventLog = std::vector<std::string>;

// Files in memory; every file written shows in the log as "save reminders"
// (the only files written), so their place among the exit steps shows.
struct RecordingFiles : IFileSystem {
    explicit RecordingFiles(EventLog& log) : log(log) {}
    bool ReadAll(const std::string& path, std::vector<unsigned char>& out) override;
    std::unique_ptr<IFileWriter> Create(const std::string& path) override;
    bool Replace(const std::string& from, const std::string& to) override;
    bool Copy(const std::string& from, const std::string& to) override;
    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    bool Remove(const std::string& path) override { return files.erase(path) != 0; }

    EventLog& log;
    std::map<std::string, std::vector<unsigned char>> files;
};

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Creates the window with the stand-ins as they are now (SetUp does it
    // too; call again after changing what the device or registry hold).
    void CreateMainWindow();

    HWND Main() const { return m_dialog->Hwnd(); }
    HWND Item(int id) const { return GetDlgItem(Main(), id); }
    std::wstring Text(HWND hwnd) const;
    std::wstring Status() const { return Text(Item(IDC_STATUS)); }
    std::wstring MinutesBox() const { return Text(Item(IDC_MINUTES)); }

    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessageW(Main(), msg, wParam, lParam); }
    // A tray-menu command as TrackPopupMenu delivers it.
    void Command(int id) { Send(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void Click(int id) { Send(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id))); }
    void Tick(int times = 1) {
        for (int i = 0; i < times; ++i) Send(WM_TIMER, kCountdownTimerId, 0);
    }
    // The user's own edit: the box itself reports EN_CHANGE to the window.
    void TypeMinutes(const std::wstring& text) {
        SendMessageW(Item(IDC_MINUTES), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    // Runs action on this thread and answers the message boxes it opens.
    std::vector<SeenBox> Answering(const std::function<void()>& action, std::vector<BoxReply> replies = {});
    // Shows the form in front, as after "关机管理器...".
    void ShowForm();

    EventLog m_log;
    FakeRegistry m_registry{m_log};
    RecordingPower m_power{m_log};
    FakeVolumeDevice m_volume;
    RecordingShell m_shell;
    RecordingFiles m_files{m_log};
    win::WinClock m_clock;
    FakeClock m_now;                 // the main window's clock (the time-of-day target); 08:00:00
    FakeJobSampler m_jobs;           // what the conditions see
    std::uint64_t m_seconds = 1000;  // and their clock
    ReminderServices m_reminders{m_files, m_clock, m_shell, kNotifyPath};
    int m_updateRequests = 0;
    std::unique_ptr<ShutdownDialog> m_dialog;
    static constexpr char kExePath[] = "C:\\Program Files\\Vantrel\\Vantrel.exe";
    static constexpr char kNotifyPath[] = "C:\\Program Files\\Vantrel\\Notify.dat";
};

}  // namespace vt::test
