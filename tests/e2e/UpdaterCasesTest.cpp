// The updater's harder days, end to end: the real Update.exe against its
// update server on the loopback interface when nothing is newer, when a
// download is not the file, when a program or a lock is in the way, and when
// the server description names a file outside the application directory.
#include <gtest/gtest.h>

#include "shared/win/AppDirectory.h"
#include "shared/win/Encoding.h"
#include "tests/e2e/Wizard.h"
#include "tests/support/DescriptionBuilder.h"
#include "tests/support/ProgramImage.h"
#include "tests/support/StandIn.h"
#include "tests/win/updater/TestHttpServer.h"

namespace vt::e2e {
namespace {

// "数据" in code page 936, as the descriptions hold it.
const std::string kGbkTitle = "\xCA\xFD\xBE\xDD";

using Lines = std::vector<std::wstring>;

// Where the server keeps the components' files.
constexpr const char* kFolder = "/vt/";

class UpdaterCases : public UpdaterFixture {
protected:
    void SetUp() override {
        UpdaterFixture::SetUp();
        WriteStartedProgram();
    }

    // The installation's description, its components still to be added.
    test::Description Local(int localMode) const {
        return test::Description().Main("IniUrl", IniUrl()).Main("LocalMode", localMode).Main("Updated", 1).Total();
    }
    void WriteLocal(const test::Description& description) {
        m_local = description;
        WriteFileBytes(m_dir + L"Update.ini", m_local);
    }
    void Publish(const test::Description& description) { server.Serve("/vt/update.ini", description); }

    // An installed file and its newer version on the server.
    void Install(const std::string& file, const std::string& oldBytes, const std::string& newBytes) {
        WriteFileBytes(Path(file), oldBytes);
        server.Serve("/vt/" + file, newBytes);
    }

    std::wstring Path(const std::string& file) const { return m_dir + std::wstring(file.begin(), file.end()); }
    std::string Installed(const std::string& file) const { return ReadFileBytes(Path(file)); }
    bool LocalDescriptionKept() const { return ReadFileBytes(m_dir + L"Update.ini") == m_local; }

    HWND StartWizard(Process& p) { return e2e::StartWizard(p, m_dir); }

    // Started by hand: "下一步(&N)" finds something newer, "更新" installs.
    HWND StartAndInstall(Process& p) {
        HWND wizard = StartWizard(p);
        if (!wizard) return nullptr;
        PressButton(wizard, IDOK);
        if (!WaitStatus(wizard, kNewerFound)) return nullptr;
        PressButton(wizard, IDOK);
        return wizard;
    }
    // The wizard once a copy over an installed file has failed; null when
    // it never says so.
    HWND InstallUntilACopyFails(Process& p) {
        HWND wizard = StartAndInstall(p);
        return wizard && WaitStatus(wizard, kCopyFailed) ? wizard : nullptr;
    }
    // The installed file opened without sharing, so that nothing can
    // replace it while the handle is open.
    HANDLE HoldUnshared(const std::string& name) {
        return CreateFileW(Path(name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    }

    // A visible message box of the updater: captioned like the wizard, but
    // not the wizard.
    static HWND WaitMessageBox(const Process& p, HWND wizard) {
        HWND box = nullptr;
        WaitFor(
            [&] {
                for (HWND w : p.TopLevelWindows(true))
                    if (w != wizard && WindowText(w) == kWizardTitle) return (box = w) != nullptr;
                return false;
            },
            kStepTimeoutMs);
        return box;
    }

    // A copy of this test program, running under the given name in the
    // application directory.
    bool StartBusyProgram(Process& busy, const std::string& name) {
        const std::wstring path = Path(name);
        return CopyFileW(win::ModulePath().c_str(), path.c_str(), FALSE) && busy.Start(path, test::kStandInArgument);
    }

    std::string m_local;
};

// Installed 1.3 against 1.3, and 1.9 against 1.10 (less as one number).
TEST_F(UpdaterCases, UpToDateSaysSoDownloadsNothingAndWaitsWithServerModeZero) {
    WriteLocal(Local(1).File("A", "1.3").File("B", "1.9"));
    Publish(Published(0).Offer("A", "1.3", "a.dat", kFolder).Offer("B", "1.10", "b.dat", kFolder));
    Install("a.dat", "old a", "new a");
    Install("b.dat", "old b", "new b");

    Process p;
    HWND wizard = StartWizard(p);  // started automatically: the check runs at once
    ASSERT_NE(wizard, nullptr);
    ASSERT_TRUE(WaitStatus(wizard, kUpToDate));
    EXPECT_EQ(ListBoxLines(wizard, kList), Lines{kUpToDate});
    EXPECT_EQ(ItemText(wizard, IDOK), L"完成");
    EXPECT_EQ(server.RequestedPaths(), std::vector<std::string>{"/vt/update.ini"});
    EXPECT_TRUE(p.Running());
    EXPECT_TRUE(IsVisible(wizard));

    PressButton(wizard, IDOK);
    EXPECT_EQ(p.WaitExit(), 0u);
    EXPECT_FALSE(WasStarted(1500));  // nothing was updated
    EXPECT_EQ(Installed("a.dat"), "old a");
    EXPECT_TRUE(LocalDescriptionKept());
}

TEST_F(UpdaterCases, NewerComponentsAreListedInIndexOrderAndCancelDownloadsNothing) {
    WriteLocal(Local(0).File("A", "1.0").File("B", "2.0").File(kGbkTitle, "1.0"));
    Publish(Published(0)
                .Offer("A", "1.1", "a.dat", kFolder)
                .Offer("B", "2.0", "b.dat", kFolder)
                .Offer(kGbkTitle, "1.5", "c.dat", kFolder));

    Process p;
    HWND wizard = StartWizard(p);
    ASSERT_NE(wizard, nullptr);
    PressButton(wizard, IDOK);
    ASSERT_TRUE(WaitStatus(wizard, kNewerFound));
    EXPECT_EQ(ListBoxLines(wizard, kList), (Lines{L"发现新版本：A 1.1", L"发现新版本：数据 1.5"}));
    EXPECT_EQ(ItemText(wizard, IDOK), L"更新");

    PressButton(wizard, IDCANCEL);
    EXPECT_EQ(p.WaitExit(), 0u);
    EXPECT_EQ(server.RequestedPaths(), std::vector<std::string>{"/vt/update.ini"});
    EXPECT_TRUE(LocalDescriptionKept());
}

TEST_F(UpdaterCases, SecondOfThreeDownloadsMissingChangesNoInstalledFile) {
    WriteLocal(Local(0).File("A", "1.0").File("B", "1.0").File("C", "1.0"));
    Publish(Published(0)
                .Offer("A", "2.0", "a.dat", kFolder)
                .Offer("B", "2.0", "b.dat", kFolder)
                .Offer("C", "2.0", "c.dat", kFolder));
    Install("a.dat", "old a", "new a");
    WriteFileBytes(Path("b.dat"), "old b");  // not on the server: 404
    Install("c.dat", "old c", "new c");

    Process p;
    HWND wizard = StartAndInstall(p);
    ASSERT_NE(wizard, nullptr);
    ASSERT_TRUE(WaitStatus(wizard, kDownloadFailed));
    EXPECT_EQ(ListBoxLines(wizard, kList), Lines{L"文件：a.dat下载完成!"});
    EXPECT_EQ(ItemText(wizard, IDOK), L"完成");
    EXPECT_EQ(server.Requests("/vt/b.dat"), 1);
    EXPECT_EQ(server.Requests("/vt/c.dat"), 0);
    EXPECT_EQ(Installed("a.dat"), "old a");
    EXPECT_EQ(Installed("b.dat"), "old b");
    EXPECT_EQ(Installed("c.dat"), "old c");
    EXPECT_TRUE(LocalDescriptionKept());

    PressButton(wizard, IDOK);
    EXPECT_EQ(p.WaitExit(), 0u);
    EXPECT_FALSE(WasStarted(1500));
}

// A server's error page sent with status 200, and a body that ends before
// its announced length (the connection closed in order, or reset).
TEST_F(UpdaterCases, DownloadThatIsNotTheWholeFileFailsTheUpdate) {
    WriteLocal(Local(0).File("A", "1.0"));
    Publish(Published(0).Offer("A", "2.0", "a.dat", kFolder));
    WriteFileBytes(Path("a.dat"), "old a");

    test::CannedResponse errorPage;
    errorPage.body = "<HTML><BODY>File moved</BODY></HTML>";
    test::CannedResponse closedEarly;
    closedEarly.body = std::string(5000, 'n');
    closedEarly.length = test::CannedResponse::Length::Announce;
    closedEarly.announced = 20000;
    test::CannedResponse reset = closedEarly;
    reset.reset = true;

    const std::pair<const char*, test::CannedResponse> cases[] = {
        {"error page", errorPage}, {"closed early", closedEarly}, {"reset", reset}};
    for (const auto& [what, response] : cases) {
        SCOPED_TRACE(what);
        server.Serve("/vt/a.dat", response);
        Process p;
        HWND wizard = StartAndInstall(p);
        ASSERT_NE(wizard, nullptr);
        ASSERT_TRUE(WaitStatus(wizard, kDownloadFailed));
        EXPECT_TRUE(ListBoxLines(wizard, kList).empty());
        EXPECT_EQ(Installed("a.dat"), "old a");
        EXPECT_TRUE(LocalDescriptionKept());
        PressButton(wizard, IDOK);
        EXPECT_EQ(p.WaitExit(), 0u);
    }
}

TEST_F(UpdaterCases, DownloadWithoutContentLengthCompletes) {
    WriteLocal(Local(0).File("A", "1.0"));
    Publish(Published(0).Offer("A", "2.0", "a.dat", kFolder));
    WriteFileBytes(Path("a.dat"), "old a");
    test::CannedResponse unmeasured;
    unmeasured.body = std::string(30000, 'n');
    unmeasured.length = test::CannedResponse::Length::None;
    server.Serve("/vt/a.dat", unmeasured);

    Process p;
    HWND wizard = StartAndInstall(p);
    ASSERT_NE(wizard, nullptr);
    ASSERT_TRUE(WaitStatus(wizard, kUpdated));
    EXPECT_EQ(ListBoxLines(wizard, kList), Lines{L"A更新完成!"});
    EXPECT_EQ(Installed("a.dat"), unmeasured.body);
    PressButton(wizard, IDOK);
    EXPECT_EQ(p.WaitExit(), 0u);
    EXPECT_TRUE(WasStarted(1500));
}

// Started automatically, but ServerMode 0: the user decides. The question
// names the component's file, not the process; Cancel leaves the busy
// program alone and keeps the old versions on record.
TEST_F(UpdaterCases, RunningProgramIsEndedOnlyWhenTheUserSaysSo) {
    WriteLocal(Local(1).File("A", "1.0").File("T", "1.0"));
    Publish(Published(0)
                .Offer("A", "2.0", "a.dat", kFolder)
                .Offer("T", "2.0", "Tool.dat", kFolder)
                .Key("needclose", "helper.EXE"));
    Install("a.dat", "old a", "new a");
    Install("Tool.dat", "old tool", "new tool");
    Process busy;
    ASSERT_TRUE(StartBusyProgram(busy, "Helper.exe"));

    Process p;
    HWND wizard = StartWizard(p);
    ASSERT_NE(wizard, nullptr);
    ASSERT_TRUE(WaitStatus(wizard, kNewerFound));  // waits for "更新"
    PressButton(wizard, IDOK);
    HWND box = WaitMessageBox(p, wizard);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"在线升级检测到 Tool.dat 正在运行，点击“确定”强制更新！");
    EXPECT_TRUE(busy.Running());

    PressButton(box, IDCANCEL);
    EXPECT_EQ(p.WaitExit(), 0u);
    EXPECT_TRUE(busy.Running());
    EXPECT_EQ(Installed("a.dat"), "new a");  // replaced before the question stays replaced
    EXPECT_EQ(Installed("Tool.dat"), "old tool");
    EXPECT_TRUE(LocalDescriptionKept());
    EXPECT_FALSE(WasStarted(1500));
}

// A file another program holds without sharing, and a running program that
// the description does not ask to end.
TEST_F(UpdaterCases, LockedTargetStopsTheReplacement) {
    for (bool runningProgram : {false, true}) {
        SCOPED_TRACE(runningProgram ? "running program" : "file opened without sharing");
        const std::string locked = runningProgram ? "Busy.exe" : "b.dat";
        WriteLocal(Local(0).File("A", "1.0").File("B", "1.0").File("C", "1.0"));
        Publish(Published(0)
                    .Offer("A", "2.0", "a.dat", kFolder)
                    .Offer("B", "2.0", locked, kFolder)
                    .Offer("C", "2.0", "c.dat", kFolder));
        Install("a.dat", "old a", "new a");
        Install("c.dat", "old c", "new c");
        server.Serve("/vt/" + locked, runningProgram ? test::ProgramImage(kOwnMachine, "new b") : "new b");

        Process busy;
        HANDLE holder = INVALID_HANDLE_VALUE;
        std::string before;
        if (runningProgram) {
            ASSERT_TRUE(StartBusyProgram(busy, locked));
            before = Installed(locked);
        } else {
            WriteFileBytes(Path(locked), before = "old b");
            holder = HoldUnshared(locked);
            ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        }

        Process p;
        HWND wizard = InstallUntilACopyFails(p);
        ASSERT_NE(wizard, nullptr);
        EXPECT_EQ(ListBoxLines(wizard, kList), (Lines{L"A更新完成!", L"B覆盖失败，更新中止!", L"A已还原!"}));
        EXPECT_EQ(ItemText(wizard, IDOK), L"完成");
        if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
        EXPECT_EQ(Installed(locked), before);
        EXPECT_EQ(Installed("a.dat"), "old a");  // put back
        EXPECT_FALSE(FileExists(Path("a.dat.bak")));
        EXPECT_EQ(Installed("c.dat"), "old c");
        EXPECT_TRUE(LocalDescriptionKept());  // so the next check offers them again
        PressButton(wizard, IDOK);
        EXPECT_EQ(p.WaitExit(), 0u);
        EXPECT_FALSE(WasStarted(1500));
    }
}

// An updater keeps an installation of its own kind: a description whose
// program is built for the other processor is refused once the program is
// downloaded, before anything is replaced, and the status line says why.
// The same description with a program of the updater's kind installs.
TEST_F(UpdaterCases, ProgramOfTheOtherKindIsRefusedAndNothingIsReplaced) {
    const std::string oldProgram = test::ProgramImage(kOwnMachine, "old program");
    for (const WORD machine : {test::OtherMachine(kOwnMachine), kOwnMachine}) {
        const bool refused = machine != kOwnMachine;
        SCOPED_TRACE(refused ? "other kind" : "own kind");
        WriteLocal(Local(0).File("A", "1.0").File("App", "1.0"));
        Publish(Published(0).Offer("A", "2.0", "a.dat", kFolder).Offer("App", "2.0", "Vantrel.exe", kFolder));
        Install("a.dat", "old a", "new a");
        const std::string newProgram = test::ProgramImage(machine, "new program");
        Install("Vantrel.exe", oldProgram, newProgram);
        DeleteFileW((m_dir + L"started.txt").c_str());

        Process p;
        HWND wizard = StartAndInstall(p);
        ASSERT_NE(wizard, nullptr);
        if (refused) {
            ASSERT_TRUE(
                WaitStatus(wizard, L"下载的Vantrel.exe不是" + win::FromUtf8(kBuildArchName) + L"版程序，更新中止！"));
            EXPECT_EQ(ListBoxLines(wizard, kList), Lines{L"文件：a.dat下载完成!"});
            EXPECT_EQ(server.Requests("/vt/Vantrel.exe"), 1);
            EXPECT_EQ(Installed("a.dat"), "old a");
            EXPECT_TRUE(Installed("Vantrel.exe") == oldProgram);
            EXPECT_FALSE(FileExists(Path("Vantrel.exe.bak")));
            EXPECT_TRUE(LocalDescriptionKept());
        } else {
            ASSERT_TRUE(WaitStatus(wizard, kUpdated));
            EXPECT_EQ(ListBoxLines(wizard, kList), (Lines{L"A更新完成!", L"App更新完成!"}));
            EXPECT_TRUE(Installed("Vantrel.exe") == newProgram);
        }
        EXPECT_EQ(ItemText(wizard, IDOK), L"完成");
        PressButton(wizard, IDOK);
        EXPECT_EQ(p.WaitExit(), 0u);
        EXPECT_EQ(WasStarted(1500), !refused);
    }
}

// The server description is not trusted with paths: a name that climbs out,
// names a drive or a device is refused before anything is requested.
TEST_F(UpdaterCases, HostileFileNameWritesNothingAndFailsTheDownload) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring tempDir = temp;  // the updater's download directory
    const std::wstring outside[] = {tempDir + L"..\\evil.exe", m_dir + L"..\\evil.exe", L"C:\\x.exe"};

    for (const std::string& name : {std::string("..\\evil.exe"), std::string("C:\\x.exe"), std::string("CON")}) {
        SCOPED_TRACE(name);
        for (const std::wstring& path : outside) DeleteFileW(path.c_str());
        WriteLocal(Local(0).File("A", "1.0"));
        Publish(Published(0).File("A", "2.0").Key("uri", "/vt/evil").Key("filename", name));
        server.Serve("/vt/evil", "MZ evil");

        Process p;
        HWND wizard = StartAndInstall(p);
        ASSERT_NE(wizard, nullptr);
        ASSERT_TRUE(WaitStatus(wizard, kDownloadFailed));
        EXPECT_EQ(server.Requests("/vt/evil"), 0);
        for (const std::wstring& path : outside) EXPECT_FALSE(FileExists(path)) << win::ToUtf8(path);
        EXPECT_TRUE(LocalDescriptionKept());
        PressButton(wizard, IDOK);
        EXPECT_EQ(p.WaitExit(), 0u);
    }
}

// The third copy of four fails (its file is held without sharing): the
// first two go back to the files they replaced, the fourth is untouched.
TEST_F(UpdaterCases, FailedThirdCopyOfFourRestoresTheFirstTwo) {
    WriteLocal(Local(0).File("A", "1.0").File("B", "1.0").File("C", "1.0").File("D", "1.0"));
    Publish(Published(0)
                .Offer("A", "2.0", "a.dat", kFolder)
                .Offer("B", "2.0", "b.dat", kFolder)
                .Offer("C", "2.0", "c.dat", kFolder)
                .Offer("D", "2.0", "d.dat", kFolder));
    for (const char* f : {"a.dat", "b.dat", "c.dat", "d.dat"})
        Install(f, std::string("old ") + f, std::string("new ") + f);
    HANDLE holder = HoldUnshared("c.dat");
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    Process p;
    HWND wizard = InstallUntilACopyFails(p);
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(ListBoxLines(wizard, kList),
              (Lines{L"A更新完成!", L"B更新完成!", L"C覆盖失败，更新中止!", L"B已还原!", L"A已还原!"}));
    CloseHandle(holder);
    for (const char* f : {"a.dat", "b.dat", "c.dat", "d.dat"}) {
        EXPECT_EQ(Installed(f), std::string("old ") + f) << f;
        EXPECT_FALSE(FileExists(Path(std::string(f) + ".bak"))) << f;
    }
    EXPECT_TRUE(LocalDescriptionKept());
    PressButton(wizard, IDOK);
    EXPECT_EQ(p.WaitExit(), 0u);
    EXPECT_FALSE(WasStarted(1500));
}

}  // namespace
}  // namespace vt::e2e
