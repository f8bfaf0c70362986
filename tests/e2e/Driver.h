#pragma once
// Drives the real programs (Vantrel.exe, Update.exe) from outside, as a user
// would: through their windows' messages, the registry and the files they
// write. Each test runs the program from a fresh directory of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "assistant/AssistantNames.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestWindows.h"

namespace vt::e2e {

// Directory of the freshly built programs (as a Windows path).
std::wstring BuildBinDir();

bool CopyInto(const std::wstring& dir, const std::wstring& fromDir, const std::wstring& name);
using test::FileExists;
using test::ReadFileBytes;  // "" for a missing file
using test::WriteFileBytes;

// Waits until pred() holds or timeoutMs passed; returns the last pred().
template <typename Pred>
bool WaitFor(Pred pred, DWORD timeoutMs = 10000) {
    DWORD start = GetTickCount();
    for (;;) {
        if (pred()) return true;
        if (GetTickCount() - start > timeoutMs) return pred();
        Sleep(20);
    }
}

class Process {
public:
    Process() = default;
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool Start(const std::wstring& exePath);
    // With a command line after the program's name.
    bool Start(const std::wstring& exePath, const std::wstring& arguments);
    // Started by Wine's loader from the Unix side with extra variables
    // (NAME=value): Wine takes a process's time zone from its Unix
    // environment (TZ), which a Windows parent cannot hand down. The
    // process is the one that shows the assistant's main window from
    // exePath; false when none does within timeoutMs.
    bool StartFromUnix(const std::wstring& exePath, const std::vector<std::string>& environment,
                       DWORD timeoutMs = 10000);
    // Exit code, or STILL_ACTIVE when it did not end within timeoutMs.
    DWORD WaitExit(DWORD timeoutMs = 10000);
    void Kill();
    DWORD Id() const { return m_pi.dwProcessId; }
    bool Running() const;

    // A visible top-level window of this process with that title (empty: any dialog).
    HWND FindWindowTitled(const std::wstring& title) const;
    HWND WaitWindow(const std::wstring& title, DWORD timeoutMs = 10000) const;
    // The same, hidden windows included (the main window starts hidden).
    HWND WaitAnyWindow(const std::wstring& title, DWORD timeoutMs = 10000) const;
    std::vector<HWND> TopLevelWindows(bool visibleOnly) const;

private:
    PROCESS_INFORMATION m_pi = {};
};

// The assistant's main window (hidden or not) once the process has made it.
HWND WaitMainWindow(const Process& process, DWORD timeoutMs = 10000);

// Waits until the window's thread takes messages again: a handler that set
// a text and goes on setting others without letting messages through has
// then finished them all.
void Settle(HWND window);

using test::HasTrayIcon;
using test::MessageBoxText;
using test::PressButton;  // posted: the program's thread may be busy
using test::WindowText;
std::wstring ItemText(HWND dialog, int id);
// The lines of a list box, read from outside its process.
std::vector<std::wstring> ListBoxLines(HWND dialog, int id);
bool IsVisible(HWND hwnd);
// A tray-menu command, as if picked from the menu.
void PostCommand(HWND mainWindow, int id);
// The texts of the balloons the shell shows (tooltip windows of any process).
std::vector<std::wstring> BalloonTexts();
bool BalloonShown(const std::wstring& text, DWORD timeoutMs = 5000);

// Registry values (both hives are looked at by callers as needed).
bool ReadRegString(HKEY root, const wchar_t* key, const wchar_t* name, std::wstring& value);
bool ReadRegDword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD& value);
void DeleteRegValue(HKEY root, const wchar_t* key, const wchar_t* name);

extern const wchar_t kRunKey[];
extern const wchar_t kProductKey[];

// The assistant copied alone into a fresh directory named after the test.
// The Run and ShowInfo values and the settings the program writes are
// cleared before and after, so no test sees what an earlier one left.
class AssistantTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    static void ClearAutorun();
    static void ClearSettings();
    // A per-user setting of the assistant, as the program reads it at start.
    static void PutSetting(const wchar_t* name, DWORD value);
    // Starts the copy and waits for its (hidden) main window; null if either fails.
    HWND Start(Process& process);

    std::optional<test::ScratchDir> m_scratch;
    std::wstring m_dir;  // the scratch directory, with a trailing backslash
};

}  // namespace vt::e2e
