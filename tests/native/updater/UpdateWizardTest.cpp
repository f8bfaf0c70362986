#include <gtest/gtest.h>

#include "UpdaterFakes.h"
#include "updater/UpdateDescription.h"
#include "updater/UpdateWizard.h"

namespace vt {
namespace {

using Strings = std::vector<std::string>;

// The rows give LocalMode and ServerMode as the descriptions store them.
TEST(WizardRules, AutomaticMovesAfterTheCheck) {
    struct Row {
        CheckOutcome outcome;
        int localMode;
        int serverMode;
        AutoAction expected;
    };
    const Row rows[] = {
        {CheckOutcome::Newer, 1, 0, AutoAction::None},
        {CheckOutcome::Newer, 1, 1, AutoAction::None},
        {CheckOutcome::Newer, 1, 2, AutoAction::Press},
        {CheckOutcome::UpToDate, 1, 0, AutoAction::None},
        {CheckOutcome::UpToDate, 1, 1, AutoAction::Press},
        {CheckOutcome::UpToDate, 1, 2, AutoAction::Press},
        {CheckOutcome::UpToDate, 1, 3, AutoAction::None},
        {CheckOutcome::ConnectionFailed, 0, 0, AutoAction::None},
        {CheckOutcome::ConnectionFailed, 1, 0, AutoAction::Close},
        {CheckOutcome::ConnectionFailed, 2, 0, AutoAction::None},
        {CheckOutcome::Newer, 1, -1, AutoAction::None},
        {CheckOutcome::TransferError, 1, 2, AutoAction::None},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(AfterCheck(r.outcome, ParseLocalMode(r.localMode), ParseServerMode(r.serverMode)), r.expected)
            << static_cast<int>(r.outcome) << " " << r.localMode << " " << r.serverMode;
    }
}

TEST(WizardRules, AutomaticMovesAfterTheInstallation) {
    const auto after = [](InstallOutcome outcome, int serverMode) {
        return AfterInstall(outcome, ParseServerMode(serverMode));
    };
    EXPECT_EQ(after(InstallOutcome::Updated, 0), AutoAction::None);
    EXPECT_EQ(after(InstallOutcome::Updated, 2), AutoAction::Press);
    EXPECT_EQ(after(InstallOutcome::Updated, 7), AutoAction::None);
    EXPECT_EQ(after(InstallOutcome::Failed, 1), AutoAction::None);
    EXPECT_EQ(after(InstallOutcome::Failed, 2), AutoAction::Press);
    EXPECT_EQ(after(InstallOutcome::Refused, 0), AutoAction::Close);
    EXPECT_EQ(after(InstallOutcome::Cancelled, 2), AutoAction::Close);
    EXPECT_EQ(after(InstallOutcome::TransferError, 2), AutoAction::None);
}

class WizardTest : public test::UpdaterTest {
protected:
    bool Start() {
        wizard = MakeWizard();
        return wizard->Start();
    }
    // A from 1.0 to 1.1, the server's [Main] holding mainExtra too, pressed
    // on to the finish.
    void UpdateAToTheFinish(const std::string& mainExtra) {
        WriteLocal(0, {{"A", "1.0", "a.dll"}});
        ServeServer(0, {{"A", "1.1", "a.dll"}}, mainExtra);
        Start();
        wizard->Press();
        wizard->Press();
        ASSERT_TRUE(wizard->IsUpdated());
    }
    std::unique_ptr<UpdateWizard> wizard;
};

TEST_F(WizardTest, UnusableIniUrlClosesAtOnceWithoutMessage) {
    for (const char* url : {"", "ftp://update.example.com/u.ini", "update.example.com/u.ini", "http://"}) {
        WriteLocal(1, {{"A", "1", "a.dll"}}, url);
        view = test::RecordingView{};
        EXPECT_FALSE(Start()) << url;
        EXPECT_EQ(view.closeCount, 1) << url;
        EXPECT_TRUE(view.list.empty()) << url;
        EXPECT_TRUE(view.statuses.empty()) << url;
        EXPECT_TRUE(http.connects.empty()) << url;
    }
    // No local description at all.
    std::filesystem::remove(paths.localIni);
    EXPECT_FALSE(Start());
    EXPECT_TRUE(http.connects.empty());
}

TEST_F(WizardTest, ConnectionFollowsTheAddress) {
    WriteLocal(0, {}, "http://h.example:8080/u.ini");
    Start();
    WriteLocal(0, {}, "https://h.example/u.ini");
    Start();
    WriteLocal(0, {}, "http://h.example/u.ini");
    Start();
    EXPECT_EQ(http.connects, (Strings{"h.example:8080", "h.example:443:tls", "h.example:80"}));
}

TEST_F(WizardTest, ManualStartWaitsAtCheckWithTheInstalledList) {
    WriteLocal(0, {{"A", "1.0", "a.dll"}, {"B", "2.5", "b.dll"}});
    ServeServer(2, {{"A", "1.1", "a.dll"}});
    EXPECT_TRUE(Start());
    EXPECT_EQ(wizard->Step(), WizardStep::Check);
    EXPECT_EQ(view.list, (Strings{"A  版本：1.0", "B  版本：2.5"}));
    EXPECT_TRUE(http.requested.empty());

    wizard->Press();  // ServerMode 2 counts only for an automatic start
    EXPECT_EQ(wizard->Step(), WizardStep::Install);
    EXPECT_EQ(view.button, "更新");
    EXPECT_EQ(http.requested, (Strings{kIniObject}));

    wizard->Press();
    EXPECT_EQ(wizard->Step(), WizardStep::Finish);
    EXPECT_EQ(view.button, "完成");
    EXPECT_TRUE(wizard->IsUpdated());
    EXPECT_EQ(view.closeCount, 0);
    EXPECT_TRUE(shell.opened.empty());

    wizard->Press();
    EXPECT_EQ(view.closeCount, 1);
    wizard->Press();  // closed: nothing more happens
    EXPECT_EQ(view.closeCount, 1);
}

TEST_F(WizardTest, AutomaticStartEndsWhenTheServerCannotBeReached) {
    WriteLocal(1, {{"A", "1.0", "a.dll"}});
    http.refuseConnect = true;
    EXPECT_FALSE(Start());
    EXPECT_EQ(view.status, "连接服务器失败！");
    EXPECT_EQ(view.closeCount, 1);
}

TEST_F(WizardTest, ManualStartStaysOpenAtFinishWhenTheServerCannotBeReached) {
    WriteLocal(0, {{"A", "1.0", "a.dll"}});
    http.responses.clear();  // 404 for everything
    EXPECT_TRUE(Start());
    wizard->Press();
    EXPECT_EQ(wizard->Step(), WizardStep::Finish);
    EXPECT_EQ(view.button, "完成");
    EXPECT_EQ(view.progress, 100);
    EXPECT_EQ(view.list, (Strings{"A  版本：1.0"}));
    EXPECT_EQ(view.closeCount, 0);
}

// User information and then no server: the check fails as a connection
// failure, without any connection being made.
TEST_F(WizardTest, AnAddressWithoutAServerFailsTheCheckAsAConnectionFailure) {
    for (const char* url : {"https://u@:r[:1]:8080/a", "http://u@/a", "http://me:pw@:81/u.ini"}) {
        WriteLocal(0, {{"A", "1.0", "a.dll"}}, url);
        ServeServer(0, {{"A", "1.1", "a.dll"}});
        view = test::RecordingView{};
        http.connects.clear();
        EXPECT_TRUE(Start()) << url;
        EXPECT_EQ(view.list, (Strings{"A  版本：1.0"})) << url;
        wizard->Press();
        EXPECT_EQ(view.status, "连接服务器失败！") << url;
        EXPECT_EQ(wizard->Step(), WizardStep::Finish) << url;
        EXPECT_TRUE(http.connects.empty()) << url;
        EXPECT_TRUE(http.requested.empty()) << url;
    }
    // Started automatically, it ends as for any unreachable server.
    WriteLocal(1, {{"A", "1.0", "a.dll"}}, "https://u@:r[:1]:8080/a");
    view = test::RecordingView{};
    EXPECT_FALSE(Start());
    EXPECT_EQ(view.status, "连接服务器失败！");
    EXPECT_EQ(view.closeCount, 1);
}

TEST_F(WizardTest, FinishOpensNoPageOfAnAddressWithoutAServer) {
    UpdateAToTheFinish("MainUrl=http://u@:80/news\r\n");
    wizard->Press();
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(WizardTest, UpToDateClosesByItselfOnlyForServerModes1And2) {
    for (int serverMode : {0, 1, 2}) {
        WriteLocal(1, {{"A", "1.0", "a.dll"}});
        ServeServer(serverMode, {{"A", "1.0", "a.dll"}}, "MainExe=Vantrel.exe\r\n");
        view = test::RecordingView{};
        const bool open = Start();
        EXPECT_EQ(open, serverMode == 0) << serverMode;
        EXPECT_EQ(wizard->Step(), WizardStep::Finish) << serverMode;
        EXPECT_EQ(view.progress, 100) << serverMode;
        EXPECT_TRUE(shell.opened.empty()) << serverMode;  // nothing was updated
    }
}

TEST_F(WizardTest, AutomaticNewerStopsAtInstallUnlessServerMode2) {
    WriteLocal(1, {{"A", "1.0", "a.dll"}});
    ServeServer(1, {{"A", "1.1", "a.dll"}});
    EXPECT_TRUE(Start());
    EXPECT_EQ(wizard->Step(), WizardStep::Install);
    EXPECT_EQ(view.status, "发现新的版本！");
    EXPECT_EQ(AppFile("a.dll"), "old a.dll");
}

TEST_F(WizardTest, FullyAutomaticUpdateRestartsTheProgramAndCloses) {
    WriteLocal(1, {{"App", "1.0", "Vantrel.exe"}});
    const std::string served = ServeServer(2, {{"App", "1.1", "Vantrel.exe", "Vantrel.exe"}},
                                           "MainExe=Vantrel.exe\r\nMainUrl=http://www.example.com/news\r\n");
    processes.running = {{42, Gbk("VANTREL.EXE")}};
    EXPECT_FALSE(Start());
    EXPECT_TRUE(wizard->IsUpdated());
    EXPECT_TRUE(view.questions.empty());
    EXPECT_EQ(processes.terminated, (std::vector<std::uint32_t>{42}));
    EXPECT_EQ(AppFile("Vantrel.exe"), test::NewFile("Vantrel.exe"));
    EXPECT_EQ(test::ReadText(paths.localIni), served);
    EXPECT_EQ(shell.opened, (Strings{paths.appDir + "Vantrel.exe", "http://www.example.com/news"}));
    EXPECT_EQ(view.closeCount, 1);
}

TEST_F(WizardTest, MainExeStartsOnlyAfterACompleteUpdate) {
    const std::string main = "MainExe=Vantrel.exe\r\n";
    // Download failure, copy failure, description copy failure: each ends at
    // Finish and closes without starting anything.
    for (int failure = 0; failure < 3; ++failure) {
        WriteLocal(1, {{"A", "1.0", "a.dll"}});
        ServeServer(2, {{"A", "1.1", "a.dll"}}, main);
        files.failCopyTo.clear();
        if (failure == 0) http.responses["/files/a.dll"].status = 404;
        if (failure == 1) files.failCopyTo.insert(paths.appDir + "a.dll");
        if (failure == 2) files.failCopyTo.insert(paths.localIni);
        view = test::RecordingView{};
        EXPECT_FALSE(Start()) << failure;
        EXPECT_FALSE(wizard->IsUpdated()) << failure;
        EXPECT_EQ(view.progress, 100) << failure;
        EXPECT_TRUE(shell.opened.empty()) << failure;
    }
}

TEST_F(WizardTest, FinishStartsOnlyAPlainProgramNameAndAWebAddress) {
    UpdateAToTheFinish("MainExe=..\\evil.exe\r\nMainUrl=file:///c:/evil.exe\r\n");
    wizard->Press();
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_EQ(view.closeCount, 1);
}

TEST_F(WizardTest, SixReplacementsShowTheProgressSteps) {
    std::vector<test::Component> installed, offered;
    for (int i = 0; i < 6; ++i) {
        const std::string name = "f" + std::to_string(i) + ".dll";
        installed.push_back({"T" + std::to_string(i), "1.0", name});
        offered.push_back({"T" + std::to_string(i), "2.0", name});
    }
    WriteLocal(0, installed);
    ServeServer(0, offered);
    Start();
    wizard->Press();
    view.progresses.clear();
    wizard->Press();
    // Each download is one block: the bar fills once per file.
    ASSERT_EQ(view.progresses.size(), 6u + 6u + 1u);
    const std::vector<int> downloads(view.progresses.begin(), view.progresses.begin() + 6);
    EXPECT_EQ(downloads, std::vector<int>(6, 100));
    // Then a step per replaced file: the bar starts again, rises, and is
    // never full while files are still being replaced; full when done.
    const std::vector<int> replacing(view.progresses.begin() + 6, view.progresses.end() - 1);
    EXPECT_GT(replacing.front(), 0);
    EXPECT_TRUE(std::is_sorted(replacing.begin(), replacing.end()));
    EXPECT_LT(replacing.front(), replacing[3]);
    EXPECT_LT(replacing.back(), 100);
    EXPECT_EQ(view.progresses.back(), 100);
}

TEST_F(WizardTest, BrokenDownloadIsReportedAndTheNextPressRepeatsBothPasses) {
    // Fully automatic, so the test also shows that nothing moves on by itself.
    WriteLocal(1, {{"A", "1.0", "a.dll"}, {"B", "1.0", "b.dll"}});
    ServeServer(2, {{"A", "1.1", "a.dll"}, {"B", "1.1", "b.dll"}}, "MainExe=Vantrel.exe\r\n");
    http.responses["/files/b.dll"].failAfter = 0;
    http.responses["/files/b.dll"].errorText = "连接被重置";
    EXPECT_TRUE(Start());
    EXPECT_EQ(view.errors, Strings{"连接被重置"});
    EXPECT_EQ(wizard->Step(), WizardStep::Install);
    EXPECT_EQ(view.button, "更新");
    EXPECT_EQ(view.status, "正在下载文件:b.dll");
    EXPECT_EQ(view.closeCount, 0);
    EXPECT_EQ(AppFile("a.dll"), "old a.dll");

    // Without a description of its own the error has the general text.
    http.responses["/files/b.dll"].errorText.clear();
    wizard->Press();
    EXPECT_EQ(view.errors, (Strings{"连接被重置", "内部应用程序出错。"}));
    EXPECT_EQ(wizard->Step(), WizardStep::Install);

    http.responses["/files/b.dll"].failAfter = -1;
    http.requested.clear();
    wizard->Press();  // both passes again, then on to the finish by itself
    EXPECT_EQ(http.requested, (Strings{"/files/a.dll", "/files/b.dll"}));
    EXPECT_TRUE(wizard->IsUpdated());
    EXPECT_EQ(AppFile("b.dll"), test::NewFile("b.dll"));
    EXPECT_EQ(shell.opened, Strings{paths.appDir + "Vantrel.exe"});
    EXPECT_EQ(view.closeCount, 1);
}

TEST_F(WizardTest, BrokenCheckIsReportedAndStaysAtCheckEvenWhenAutomatic) {
    WriteLocal(1, {{"A", "1.0", "a.dll"}});
    ServeServer(2, {{"A", "1.1", "a.dll"}});
    http.responses[kIniObject].failAfter = 5;
    EXPECT_TRUE(Start());
    EXPECT_EQ(view.errors, Strings{"内部应用程序出错。"});
    EXPECT_EQ(wizard->Step(), WizardStep::Check);
    EXPECT_EQ(view.status, "读取版本信息...");
    EXPECT_EQ(view.list, Strings{"A  版本：1.0"});
    EXPECT_EQ(view.button, "");  // still the template's "下一步(&N)"
    EXPECT_EQ(view.closeCount, 0);

    http.responses[kIniObject].failAfter = -1;
    wizard->Press();
    EXPECT_EQ(wizard->Step(), WizardStep::Finish);
    EXPECT_TRUE(wizard->IsUpdated());
}

TEST_F(WizardTest, RefusingToEndTheProgramClosesTheWizard) {
    WriteLocal(0, {{"App", "1.0", "Vantrel.exe"}});
    ServeServer(0, {{"App", "1.1", "Vantrel.exe", "Vantrel.exe"}}, "MainExe=Vantrel.exe\r\n");
    processes.running = {{42, Gbk("Vantrel.exe")}};
    view.answer = false;
    Start();
    wizard->Press();
    wizard->Press();
    EXPECT_EQ(view.closeCount, 1);
    EXPECT_TRUE(wizard->IsClosed());
    EXPECT_FALSE(wizard->IsUpdated());
    EXPECT_TRUE(shell.opened.empty());
}

TEST_F(WizardTest, PressDuringADownloadDoesNotStartASecondPass) {
    WriteLocal(0, {{"A", "1.0", "a.dll"}, {"B", "1.0", "b.dll"}});
    ServeServer(0, {{"A", "1.1", "a.dll"}, {"B", "1.1", "b.dll"}});
    Start();
    wizard->Press();
    int pressesDuringWork = 0;
    view.onPump = [&] {
        EXPECT_TRUE(wizard->IsBusy());
        wizard->Press();
        ++pressesDuringWork;
    };
    wizard->Press();
    EXPECT_EQ(pressesDuringWork, 2);
    EXPECT_EQ(http.requested, (Strings{kIniObject, "/files/a.dll", "/files/b.dll"}));
    EXPECT_EQ(wizard->Step(), WizardStep::Finish);
    EXPECT_EQ(view.closeCount, 0);
    EXPECT_TRUE(wizard->IsUpdated());
}

TEST_F(WizardTest, CancelDuringADownloadClosesWhenTheWorkReturns) {
    WriteLocal(1, {{"A", "1.0", "a.dll"}, {"B", "1.0", "b.dll"}});
    ServeServer(2, {{"A", "1.1", "a.dll"}, {"B", "1.1", "b.dll"}}, "MainExe=Vantrel.exe\r\n");
    view.onPump = [&] {
        if (http.requested.back() != "/files/a.dll") return;  // the check pumps too
        wizard->Cancel();
        EXPECT_EQ(view.closeCount, 0);  // not while the step runs
    };
    EXPECT_FALSE(Start());
    EXPECT_EQ(view.closeCount, 1);
    EXPECT_EQ(http.requested, (Strings{kIniObject, "/files/a.dll"}));
    EXPECT_EQ(AppFile("a.dll"), "old a.dll");
    EXPECT_TRUE(shell.opened.empty());
    EXPECT_EQ(view.cursorLog, "+-");
}

TEST_F(WizardTest, CancelWhileAQuestionIsOpenClosesAfterTheStep) {
    WriteLocal(0, {{"App", "1.0", "Vantrel.exe"}});
    ServeServer(0, {{"App", "1.1", "Vantrel.exe", "Vantrel.exe"}});
    processes.running = {{42, Gbk("Vantrel.exe")}};
    view.onAsk = [&] { wizard->Cancel(); };
    Start();
    wizard->Press();
    wizard->Press();  // the question is answered OK; the replacement is not cut in half
    EXPECT_TRUE(wizard->IsUpdated());
    EXPECT_EQ(AppFile("Vantrel.exe"), test::NewFile("Vantrel.exe"));
    EXPECT_EQ(view.closeCount, 1);
}

TEST_F(WizardTest, CancelAtInstallDownloadsNothing) {
    WriteLocal(0, {{"A", "1.0", "a.dll"}});
    ServeServer(0, {{"A", "1.1", "a.dll"}});
    Start();
    wizard->Press();
    wizard->Cancel();
    EXPECT_EQ(view.closeCount, 1);
    wizard->Press();
    EXPECT_EQ(http.requested, (Strings{kIniObject}));
}

TEST_F(WizardTest, HugeTotalIsBoundedAndSaneGapsAreKept) {
    // Two real sections under a Total of two thousand million.
    test::WriteText(
        paths.localIni,
        test::Description().Main("IniUrl", kIniUrl).Main("Total", 2000000000).File("A", "1.0").File("B", "1.0"));
    ServeServer(0, {{"A", "1.0", "a.dll"}, {"B", "1.1", "b.dll"}}, "", 2000000000);
    EXPECT_TRUE(Start());
    EXPECT_EQ(view.list, (Strings{"A  版本：1.0", "B  版本：1.0"}));
    wizard->Press();
    wizard->Press();
    EXPECT_TRUE(wizard->IsUpdated());
    EXPECT_EQ(AppFile("b.dll"), test::NewFile("b.dll"));

    // A Total a little beyond the sections, and a gap, stay as they are.
    EXPECT_EQ(ComponentScanCount(*localIni, 5), 5);
    test::Description gapped;
    gapped.File("A");
    for (int i = 1; i < 40; ++i) gapped.Gap();
    test::WriteText(paths.localIni, gapped.Section().Key("version", "1").Text().substr(8));  // no [Main]
    EXPECT_EQ(ComponentScanCount(*localIni, 100), 100);
    EXPECT_EQ(ComponentScanCount(*localIni, 2000000000), 41);
    EXPECT_EQ(ComponentScanCount(*localIni, 0), 0);
    EXPECT_EQ(ComponentScanCount(*localIni, -3), 0);
}

}  // namespace
}  // namespace vt
