// The assistant's hand-off to the updater, seen from outside: update.ini as
// it is left on disk, and the batch file beside the program actually run.
#include "tests/e2e/Driver.h"

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <string>

#include "assistant/res/resource.h"
#include "shared/core/IniProfile.h"
#include "shared/win/Encoding.h"

namespace vt::e2e {
namespace {

constexpr wchar_t kReleaseEvent[] = L"VantrelTestReleaseUpdater";
constexpr wchar_t kUpdaterMarker[] = L"updater-ran.txt";

// Started under the name Update.exe, this test program plays the updater:
// it writes down the directory it was started in and waits to be released,
// so that a test sees both where the batch file found it and that the batch
// file did not wait for it.
const bool kPlaysTheUpdater = [] {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring self = path;
    const std::size_t slash = self.find_last_of(L'\\');
    if (slash == std::wstring::npos || lstrcmpiW(self.c_str() + slash + 1, L"Update.exe") != 0) return false;
    wchar_t cwd[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, cwd);
    // Written aside and renamed: a test that sees the marker sees all of it.
    const std::wstring marker = self.substr(0, slash + 1) + kUpdaterMarker;
    WriteFileBytes(marker + L".part", win::ToUtf8(cwd));
    MoveFileExW((marker + L".part").c_str(), marker.c_str(), MOVEFILE_REPLACE_EXISTING);
    if (HANDLE release = OpenEventW(SYNCHRONIZE, FALSE, kReleaseEvent)) {
        WaitForSingleObject(release, 30000);
        CloseHandle(release);
    }
    ExitProcess(0);
}();

int Today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wDay;
}

bool ProcessRunning(const wchar_t* exeName) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
        found = lstrcmpiW(entry.szExeFile, exeName) == 0;
    CloseHandle(snapshot);
    return found;
}

std::size_t CountRuns(const std::string& marker) {
    std::size_t runs = 0;
    for (std::size_t at = marker.find("run"); at != std::string::npos; at = marker.find("run", at + 1)) ++runs;
    return runs;
}

class UpdateHandOff : public AssistantTest {
protected:
    void SetUp() override {
        AssistantTest::SetUp();
        m_release = CreateEventW(nullptr, TRUE, FALSE, kReleaseEvent);
    }
    // The assistant of the test's directory, started; its main window, or
    // null when it does not start.
    HWND StartAssistant(Process& p) { return p.Start(m_dir + L"Vantrel.exe") ? WaitMainWindow(p) : nullptr; }
    void TearDown() override {
        SetEvent(m_release);  // lets any stand-in updater end
        CloseHandle(m_release);
        AssistantTest::TearDown();
    }

    // A batch file that only notes each run, in place of the real one.
    void WriteRecordingBatch() {
        WriteFileBytes(m_dir + L"update.bat", "@echo off\r\necho run>>\"%~dp0marker.txt\"\r\n");
    }
    void WriteIni(int day) {
        WriteFileBytes(m_dir + L"update.ini", "[Main]\r\nDay=" + std::to_string(day) + "\r\nUpdated=0\r\n");
    }
    // Read straight from the disk: no copy of the file is kept in this process.
    std::string Key(const char* key) const {
        return IniProfile(win::ToUtf8(m_dir + L"update.ini")).GetString("Main", key, "<unset>");
    }
    std::size_t Runs() const { return CountRuns(ReadFileBytes(m_dir + L"marker.txt")); }

    // Puts the stand-in updater and the batch file that ships with the programs beside Vantrel.exe.
    void InstallShippedBatchAndStandIn() {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        ASSERT_TRUE(CopyFileW(self, (m_dir + L"Update.exe").c_str(), FALSE));
        ASSERT_TRUE(CopyInto(m_dir, BuildBinDir(), L"update.bat"));
    }

    HANDLE m_release = nullptr;
};

TEST_F(UpdateHandOff, DueStartRunsTheBatchOnceAndTheTrayCommandRunsItAgain) {
    WriteRecordingBatch();
    WriteIni(Today());
    Process p;
    HWND main = StartAssistant(p);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitFor([&] { return Runs() == 1; }));
    EXPECT_TRUE(WaitFor([&] { return Key("Updated") == "1"; }));
    EXPECT_EQ(Key("LocalMode"), "1");

    PostCommand(main, ID_TRAY_UPDATE);  // 在线升级...
    EXPECT_TRUE(WaitFor([&] { return Runs() == 2; }));
    EXPECT_EQ(Key("LocalMode"), "0");
    EXPECT_EQ(Key("Updated"), "1");
    EXPECT_EQ(Key("Day"), std::to_string(Today()));

    PostCommand(main, ID_TRAY_EXIT);  // 退出
    EXPECT_EQ(p.WaitExit(), 0u);
    // A start on the same day finds the check already launched.
    Process again;
    ASSERT_TRUE(again.Start(m_dir + L"Vantrel.exe"));
    main = WaitMainWindow(again);
    ASSERT_NE(main, nullptr);
    // The schedule runs once the start's message loop idles.
    EXPECT_TRUE(WaitFor([&] { return Key("LocalMode") == "1"; }));
    PostCommand(main, ID_TRAY_EXIT);
    EXPECT_EQ(again.WaitExit(), 0u);
    EXPECT_EQ(Runs(), 2u);
}

// A day that is not due re-arms the check without running the batch; a
// second copy, which ends at once, still records its start.
TEST_F(UpdateHandOff, DayThatIsNotDueRearmsAndASecondCopyStillRecordsItsStart) {
    WriteRecordingBatch();
    WriteIni(Today() + 1);  // one day apart: never a multiple of three
    Process first;
    HWND main = StartAssistant(first);
    ASSERT_NE(main, nullptr);
    // The schedule is done once the start's message loop idles; only the
    // assistant writes LocalMode (the file starts with Updated=0).
    EXPECT_TRUE(WaitFor([&] { return Key("LocalMode") == "1"; }));
    EXPECT_EQ(Key("Updated"), "0");
    // The tray command's run shows that a run would have been seen; a start
    // that had launched too would have left its line first.
    PostCommand(main, ID_TRAY_UPDATE);
    EXPECT_TRUE(WaitFor([&] { return Runs() >= 1; }));
    Sleep(500);
    EXPECT_EQ(Runs(), 1u);
    EXPECT_EQ(Key("LocalMode"), "0");
    EXPECT_EQ(Key("Updated"), "0");
    Process second;
    ASSERT_TRUE(second.Start(m_dir + L"Vantrel.exe"));
    EXPECT_EQ(second.WaitExit(), 0u);
    EXPECT_EQ(Key("LocalMode"), "1");
    PostCommand(main, ID_TRAY_EXIT);
    EXPECT_EQ(first.WaitExit(), 0u);
}

TEST_F(UpdateHandOff, MissingBatchGoesUnreportedAndStillEndsThePeriod) {
    WriteIni(Today());
    Process p;
    HWND main = StartAssistant(p);
    ASSERT_NE(main, nullptr);
    // The start's schedule runs once its message loop idles: the tray
    // command goes after it, or the schedule would write over its LocalMode.
    EXPECT_TRUE(WaitFor([&] { return Key("Updated") == "1" && Key("LocalMode") == "1"; }));
    PostCommand(main, ID_TRAY_UPDATE);
    EXPECT_TRUE(WaitFor([&] { return Key("LocalMode") == "0"; }));
    Sleep(300);
    EXPECT_TRUE(p.TopLevelWindows(true).empty() || p.FindWindowTitled(L"Vantrel") == nullptr);
    EXPECT_FALSE(IsVisible(main));
    PostCommand(main, ID_TRAY_EXIT);
    EXPECT_EQ(p.WaitExit(), 0u);
}

TEST_F(UpdateHandOff, ShippedBatchStartsTheUpdaterBesideItAndReturnsAtOnce) {
    InstallShippedBatchAndStandIn();
    // Run from another directory: the batch must find the updater by its own place.
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::wstring command = L"cmd.exe /c \"" + m_dir + L"update.bat\"";
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    ASSERT_TRUE(
        CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, system, &si, &pi));
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 15000), WAIT_OBJECT_0);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_TRUE(WaitFor([&] { return FileExists(m_dir + kUpdaterMarker); }));
    EXPECT_TRUE(ProcessRunning(L"Update.exe"));  // the batch did not wait for it
    EXPECT_EQ(ReadFileBytes(m_dir + kUpdaterMarker), win::ToUtf8(system));
}

TEST_F(UpdateHandOff, DueStartReachesTheUpdaterThroughTheShippedBatch) {
    InstallShippedBatchAndStandIn();
    WriteIni(Today());
    Process p;
    HWND main = StartAssistant(p);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(WaitFor([&] { return FileExists(m_dir + kUpdaterMarker); }));
    // Started with the application directory as its working directory.
    std::string cwd = ReadFileBytes(m_dir + kUpdaterMarker);
    if (!cwd.empty() && cwd.back() != '\\') cwd += '\\';
    EXPECT_EQ(cwd, win::ToUtf8(m_dir));
    EXPECT_EQ(Key("Updated"), "1");
    PostCommand(main, ID_TRAY_EXIT);
    EXPECT_EQ(p.WaitExit(), 0u);
}

}  // namespace
}  // namespace vt::e2e
