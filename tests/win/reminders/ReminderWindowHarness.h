#pragma once
// The real reminder windows in the test process: a manager on a settable
// clock, a recording shell and Notify.dat in a directory of its own, and a
// helper thread that answers the modal windows (editor, questions) the UI
// thread gets stuck in.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "assistant/reminders/ReminderAlertDialog.h"
#include "assistant/reminders/ReminderManagerDialog.h"
#include "shared/win/Platform.h"
#include "tests/native/reminders/ReminderTestSupport.h"
#include "tests/support/CoreFakes.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestWindows.h"

namespace vt::test {

// Bytes of a reminder file holding these records.
std::vector<unsigned char> FileOf(const std::vector<ReminderItem>& items);
// A record as the file holds it; texts given as UTF-16 and stored in code page 936.
ReminderItem Reminder(RepeatKind kind, int year, int month, int day, int hour, int minute, const std::wstring& title,
                      ReminderState state = ReminderState::Ready, const std::wstring& content = L"");

class ReminderWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Writes Notify.dat (nothing: no file) and creates the manager with its
    // window, hidden, as showing it from the tray does; only Tick moves it.
    void WriteFile(const std::vector<unsigned char>& bytes);
    void CreateManager();

    HWND Manager() const { return m_dialog->Hwnd(); }
    HWND List() const { return m_dialog->List(); }
    // One tick of the main window's timer at the clock's time.
    void Tick() { m_dialog->Tick(); }
    void TickAt(int hour, int minute, int second) {
        m_clock.Set(m_clock.now.year, m_clock.now.month, m_clock.now.day, hour, minute, second);
        Tick();
    }
    int Rows() const { return static_cast<int>(SendMessageW(List(), LVM_GETITEMCOUNT, 0, 0)); }
    std::wstring Cell(int row, int column) const;
    void Select(const std::vector<int>& rows);
    // Clicks a button of the manager, answering what it opens.
    size_t ClickAnswering(int id, std::vector<ModalStep> steps) {
        return RunAnswering([&] { Click(Manager(), id); }, std::move(steps));
    }
    ReminderAlertDialog& Alert(size_t i) const { return *m_dialog->Alerts().at(i); }
    std::string FileBytes() const;

    std::optional<ScratchDir> m_scratch;
    std::wstring m_dir;   // the scratch directory, with trailing backslash
    std::wstring m_path;  // Notify.dat
    mutable win::WinFileSystem m_files;
    FakeClock m_clock;
    RecordingShell m_shell;
    std::vector<std::string> m_balloons;  // what the manager asked its owner to show
    std::unique_ptr<ReminderManagerDialog> m_dialog;
};

}  // namespace vt::test
