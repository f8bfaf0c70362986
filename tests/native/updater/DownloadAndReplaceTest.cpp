#include <gtest/gtest.h>

#include "UpdaterFakes.h"
#include "updater/DownloadAndReplace.h"
#include "updater/ProgramKind.h"

namespace vt {
namespace {

using Strings = std::vector<std::string>;

class InstallTest : public test::UpdaterTest {
protected:
    // As after a check that found newer components.
    void Prepare(int serverMode, const std::vector<test::Component>& installed,
                 const std::vector<test::Component>& offered, const std::string& mainExtra = "") {
        WriteLocal(serverMode == 0 ? 0 : 1, installed);
        served = ServeServer(serverMode, offered, mainExtra);
        test::WriteText(paths.serverIni, served);
        localBefore = test::ReadText(paths.localIni);
        ctx = MakeContext(serverMode == 0 ? 0 : 1);
        ctx->serverMode = ParseServerMode(serverMode);
    }
    InstallOutcome Install() { return DownloadAndReplace(*ctx); }

    std::string served;
    std::string localBefore;
    std::unique_ptr<UpdateContext> ctx;
};

TEST_F(InstallTest, ReplacesNewerFilesThenTheLocalDescription) {
    Prepare(0, {{"A", "1.0", "a.dll"}, {"B", "2.0", "b.dll"}},
            {{"A", "1.1", "a.dll"}, {"B", "1.9", "b.dll"}, {"N", "1.0", "n.dll"}});
    EXPECT_EQ(Install(), InstallOutcome::Updated);
    EXPECT_EQ(AppFile("a.dll"), test::NewFile("a.dll"));
    EXPECT_EQ(AppFile("b.dll"), "old b.dll");  // older on the server: left alone
    EXPECT_EQ(AppFile("n.dll"), test::NewFile("n.dll"));
    EXPECT_EQ(http.requested, (Strings{"/files/a.dll", "/files/n.dll"}));
    EXPECT_EQ(view.list, (Strings{"A更新完成!", "N更新完成!"}));
    EXPECT_EQ(view.status, "更新完成！");
    EXPECT_EQ(test::ReadText(paths.localIni), served);
    EXPECT_EQ(view.cursorLog, "+-");
}

TEST_F(InstallTest, SecondOfThreeDownloadsFailsAndNothingIsReplaced) {
    Prepare(0, {{"A", "1", "a.dll"}, {"B", "1", "b.dll"}, {"C", "1", "c.dll"}},
            {{"A", "2", "a.dll"}, {"B", "2", "b.dll"}, {"C", "2", "c.dll"}});
    http.responses["/files/b.dll"].status = 500;
    EXPECT_EQ(Install(), InstallOutcome::Failed);
    EXPECT_EQ(view.list, (Strings{"文件：a.dll下载完成!"}));
    EXPECT_EQ(view.status, "下载文件时发生错误，更新中止！");
    EXPECT_EQ(AppFile("a.dll"), "old a.dll");
    EXPECT_EQ(AppFile("b.dll"), "old b.dll");
    EXPECT_EQ(test::ReadText(paths.localIni), localBefore);
    EXPECT_TRUE(files.copies.empty());
    EXPECT_EQ(view.cursorLog, "+-");
}

TEST_F(InstallTest, BrokenDownloadsNeverReachTheInstalledFile) {
    const auto brokenBy = [](test::FakeResponse& r, int kind) {
        switch (kind) {
        case 0:
            r.sent = false;
            break;
        case 1:
            r.status = 404;
            break;
        case 2:
            r.body = "<Html><body>busy</body>";
            break;
        case 3:
            r.contentLength = std::to_string(r.body.size() + 100);
            break;  // dropped connection
        }
    };
    for (int kind = 0; kind < 4; ++kind) {
        Prepare(0, {{"A", "1", "a.dll"}}, {{"A", "2", "a.dll"}});
        brokenBy(http.responses["/files/a.dll"], kind);
        EXPECT_EQ(Install(), InstallOutcome::Failed) << kind;
        EXPECT_EQ(view.status, "下载文件时发生错误，更新中止！") << kind;
        EXPECT_EQ(AppFile("a.dll"), "old a.dll") << kind;
        EXPECT_TRUE(files.copies.empty()) << kind;
    }
}

TEST_F(InstallTest, BrokenTransferStopsBeforeAnyReplacement) {
    Prepare(0, {{"A", "1", "a.dll"}, {"B", "1", "b.dll"}}, {{"A", "2", "a.dll"}, {"B", "2", "b.dll"}});
    http.responses["/files/b.dll"].failAfter = 2;
    http.responses["/files/b.dll"].errorText = "reset by peer";
    EXPECT_EQ(Install(), InstallOutcome::TransferError);
    EXPECT_EQ(ctx->transferError, "reset by peer");
    EXPECT_EQ(view.status, "正在下载文件:b.dll");
    EXPECT_EQ(view.list, (Strings{"文件：a.dll下载完成!"}));
    EXPECT_TRUE(files.copies.empty());
    EXPECT_EQ(AppFile("a.dll"), "old a.dll");
    EXPECT_EQ(test::ReadText(paths.localIni), localBefore);
    EXPECT_EQ(view.cursorLog, "+-");
}

TEST_F(InstallTest, UnsafeFileNamesFailBeforeAnythingIsWritten) {
    // UPDATE.INI would land on the saved server description that both passes read.
    for (const char* name : {"..\\Vantrel.exe", "sub/a.dll", "C:a.dll", "CON.txt", "a.dll.", "", "..", "UPDATE.INI"}) {
        Prepare(0, {}, {{"A", "2", name}});
        files.created.clear();
        http.requested.clear();
        EXPECT_EQ(Install(), InstallOutcome::Failed) << name;
        EXPECT_EQ(view.status, "下载文件时发生错误，更新中止！") << name;
        EXPECT_TRUE(files.created.empty()) << name;
        EXPECT_TRUE(http.requested.empty()) << name;
    }
}

TEST_F(InstallTest, Sha256IsCheckedWhenGiven) {
    const std::string right = Sha256Hex(test::DigestOf(test::NewFile("a.dll")));
    std::string wrong = right;
    wrong[0] = wrong[0] == '0' ? '1' : '0';

    Prepare(0, {{"A", "1", "a.dll"}}, {{"A", "2", "a.dll", "", right}});
    EXPECT_EQ(Install(), InstallOutcome::Updated);
    EXPECT_EQ(AppFile("a.dll"), test::NewFile("a.dll"));

    // A wrong digest, and a value that is no digest at all.
    for (const std::string& sha : Strings{wrong, right.substr(1), "not-a-digest"}) {
        Prepare(0, {{"A", "1", "a.dll"}}, {{"A", "2", "a.dll", "", sha}});
        EXPECT_EQ(Install(), InstallOutcome::Failed) << sha;
        EXPECT_EQ(AppFile("a.dll"), "old a.dll") << sha;
    }
}

// An updater installs programs of its own kind only. The other kind, or a
// program file that is no program, is refused where a wrong digest is:
// after its download, before anything is replaced. Data files are not
// looked at.
TEST_F(InstallTest, ProgramsOfTheOtherKindAreRefusedBeforeAnythingIsReplaced) {
    for (const std::uint16_t own : {kMachineAmd64, kMachineI386}) {
        const std::uint16_t other = test::OtherMachine(own);
        const std::string ownName = MachineName(own);
        const std::string otherProgram = test::ProgramImage(other, "new Vantrel.exe");
        const std::pair<const char*, std::string> refused[] = {
            {"other kind", otherProgram},
            {"no program", "new Vantrel.exe"},
            {"ARM64", test::ProgramImage(0xAA64, "new Vantrel.exe")}};
        for (const auto& [what, body] : refused) {
            SCOPED_TRACE(ownName + ": " + what);
            Prepare(0, {{"T", "1", "notes.txt"}, {"L", "1", "a.dll"}, {"App", "1", "Vantrel.exe"}},
                    {{"T", "2", "notes.txt"}, {"L", "2", "a.dll"}, {"App", "2", "Vantrel.exe"}});
            ctx->programMachine = own;
            http.responses["/files/a.dll"].body = test::ProgramImage(own, "new a.dll");
            http.responses["/files/Vantrel.exe"].body = body;
            EXPECT_EQ(Install(), InstallOutcome::Failed);
            EXPECT_EQ(view.status, "下载的Vantrel.exe不是" + ownName + "版程序，更新中止！");
            EXPECT_EQ(view.list, (Strings{"文件：notes.txt下载完成!", "文件：a.dll下载完成!"}));
            EXPECT_TRUE(files.copies.empty());
            EXPECT_EQ(AppFile("a.dll"), "old a.dll");
            EXPECT_EQ(AppFile("Vantrel.exe"), "old Vantrel.exe");
            EXPECT_EQ(test::ReadText(paths.localIni), localBefore);
        }
    }
}

// A signed description vouches for the bytes, not for their kind: a digest
// that matches a program of the other kind still does not install it.
TEST_F(InstallTest, MatchingDigestDoesNotMakeTheOtherKindInstallable) {
    const std::string body = test::ProgramImage(test::OtherMachine(kOwnMachine), "new Vantrel.exe");
    Prepare(0, {{"App", "1", "Vantrel.exe"}}, {{"App", "2", "Vantrel.exe", "", Sha256Hex(test::DigestOf(body))}});
    http.responses["/files/Vantrel.exe"].body = body;
    EXPECT_EQ(Install(), InstallOutcome::Failed);
    EXPECT_EQ(view.status, std::string("下载的Vantrel.exe不是") + kBuildArchName + "版程序，更新中止！");
    EXPECT_EQ(AppFile("Vantrel.exe"), "old Vantrel.exe");

    // And a digest that does not match says so first, whatever the kind.
    Prepare(0, {{"App", "1", "Vantrel.exe"}},
            {{"App", "2", "Vantrel.exe", "", Sha256Hex(test::DigestOf("something else"))}});
    http.responses["/files/Vantrel.exe"].body = body;
    EXPECT_EQ(Install(), InstallOutcome::Failed);
    EXPECT_EQ(view.status, "下载文件时发生错误，更新中止！");
}

// Text and other data are not programs, whatever their first bytes.
TEST_F(InstallTest, DataFilesAreNotLookedAt) {
    Prepare(0, {{"T", "1", "readme.txt"}, {"D", "1", "Vantrel.exe.manifest"}},
            {{"T", "2", "readme.txt"}, {"D", "2", "Vantrel.exe.manifest"}});
    http.responses["/files/readme.txt"].body = "MZ but only text";
    EXPECT_EQ(Install(), InstallOutcome::Updated);
    EXPECT_EQ(AppFile("readme.txt"), "MZ but only text");
    EXPECT_EQ(AppFile("Vantrel.exe.manifest"), "new Vantrel.exe.manifest");
}

TEST_F(InstallTest, RunningProgramNeedsConsentUnlessFullyAutomatic) {
    Prepare(0, {{"App", "1", "Vantrel.exe"}}, {{"App", "2", "Vantrel.exe", "vantrel.EXE"}});
    processes.running = {{7, Gbk("explorer.exe")}, {42, Gbk("Vantrel.exe")}};
    view.answer = false;
    EXPECT_EQ(Install(), InstallOutcome::Refused);
    EXPECT_EQ(view.questions, (Strings{"在线升级|在线升级检测到 Vantrel.exe 正在运行，点击“确定”强制更新！"}));
    EXPECT_TRUE(processes.terminated.empty());
    EXPECT_EQ(AppFile("Vantrel.exe"), "old Vantrel.exe");
    EXPECT_EQ(test::ReadText(paths.localIni), localBefore);

    view.answer = true;
    EXPECT_EQ(Install(), InstallOutcome::Updated);
    EXPECT_EQ(processes.terminated, (std::vector<std::uint32_t>{42}));
    EXPECT_EQ(processes.sleeps, (std::vector<unsigned>{1000}));

    Prepare(2, {{"App", "1", "Vantrel.exe"}}, {{"App", "2", "Vantrel.exe", "Vantrel.exe"}});
    view.questions.clear();
    processes.terminated.clear();
    processes.sleeps.clear();
    EXPECT_EQ(Install(), InstallOutcome::Updated);
    EXPECT_TRUE(view.questions.empty());
    EXPECT_EQ(processes.terminated, (std::vector<std::uint32_t>{42}));
    EXPECT_EQ(processes.sleeps, (std::vector<unsigned>{1000}));
}

TEST_F(InstallTest, ProcessThatCannotBeOpenedIsPassedWithoutWaiting) {
    Prepare(2, {{"App", "1", "Vantrel.exe"}}, {{"App", "2", "Vantrel.exe", "Vantrel.exe"}});
    processes.running = {{42, Gbk("Vantrel.exe")}};
    processes.canOpen = false;
    EXPECT_EQ(Install(), InstallOutcome::Updated);
    EXPECT_TRUE(processes.sleeps.empty());
}

TEST_F(InstallTest, FailedCopyStopsAndKeepsTheOldDescription) {
    Prepare(0, {{"A", "1", "a.dll"}, {"B", "1", "b.dll"}, {"C", "1", "c.dll"}},
            {{"A", "2", "a.dll"}, {"B", "2", "b.dll"}, {"C", "2", "c.dll"}});
    files.failCopyTo.insert(paths.appDir + "b.dll");
    EXPECT_EQ(Install(), InstallOutcome::Failed);
    EXPECT_EQ(view.list, (Strings{"A更新完成!", "B覆盖失败，更新中止!", "A已还原!"}));
    EXPECT_EQ(view.status, "覆盖文件时发生错误，更新中止！");
    EXPECT_EQ(AppFile("a.dll"), "old a.dll");  // put back
    EXPECT_EQ(AppFile("b.dll"), "old b.dll");
    EXPECT_EQ(AppFile("c.dll"), "old c.dll");
    EXPECT_EQ(test::ReadText(paths.localIni), localBefore);
}

// The third of four fails: the two before it go back to what they were, the
// new component among them goes again, the last last first; no kept copy stays.
TEST_F(InstallTest, FailedThirdCopyOfFourPutsTheFirstTwoBack) {
    Prepare(0, {{"A", "1", "a.dll"}, {"N", "0", "n.dll"}, {"C", "1", "c.dll"}, {"D", "1", "d.dll"}},
            {{"A", "2", "a.dll"}, {"N", "1", "n.dll"}, {"C", "2", "c.dll"}, {"D", "2", "d.dll"}});
    std::filesystem::remove(paths.appDir + "n.dll");  // not installed before
    files.failCopyTo.insert(paths.appDir + "c.dll");
    EXPECT_EQ(Install(), InstallOutcome::Failed);
    EXPECT_EQ(view.list, (Strings{"A更新完成!", "N更新完成!", "C覆盖失败，更新中止!", "N已还原!", "A已还原!"}));
    EXPECT_EQ(view.status, "覆盖文件时发生错误，更新中止！");
    EXPECT_EQ(AppFile("a.dll"), "old a.dll");
    EXPECT_FALSE(files.Exists(paths.appDir + "n.dll"));
    EXPECT_EQ(AppFile("c.dll"), "old c.dll");
    EXPECT_EQ(AppFile("d.dll"), "old d.dll");
    for (const char* name : {"a.dll.bak", "n.dll.bak", "c.dll.bak", "d.dll.bak"})
        EXPECT_FALSE(files.Exists(paths.appDir + name)) << name;
    EXPECT_EQ(test::ReadText(paths.localIni), localBefore);
    EXPECT_NE(view.progress, 100);
}

// Without a copy of the installed file nothing can be put back: the file
// is not replaced, and what came before it is put back.
TEST_F(InstallTest, FileThatCannotBeKeptIsNotReplaced) {
    Prepare(0, {{"A", "1", "a.dll"}, {"B", "1", "b.dll"}}, {{"A", "2", "a.dll"}, {"B", "2", "b.dll"}});
    files.failCopyTo.insert(paths.appDir + "b.dll.bak");
    EXPECT_EQ(Install(), InstallOutcome::Failed);
    EXPECT_EQ(view.list, (Strings{"A更新完成!", "B覆盖失败，更新中止!", "A已还原!"}));
    EXPECT_EQ(AppFile("a.dll"), "old a.dll");
    EXPECT_EQ(AppFile("b.dll"), "old b.dll");
    EXPECT_EQ(std::count(files.copies.begin(), files.copies.end(), paths.appDir + "b.dll"), 0);
}

TEST_F(InstallTest, CompleteUpdateLeavesNoKeptCopies) {
    Prepare(0, {{"A", "1", "a.dll"}, {"B", "1", "b.dll"}}, {{"A", "2", "a.dll"}, {"B", "2", "b.dll"}});
    EXPECT_EQ(Install(), InstallOutcome::Updated);
    EXPECT_EQ(AppFile("a.dll"), test::NewFile("a.dll"));
    EXPECT_EQ(AppFile("b.dll"), test::NewFile("b.dll"));
    // The old files were kept while the pass ran.
    EXPECT_EQ(std::count(files.copies.begin(), files.copies.end(), paths.appDir + "a.dll.bak"), 1);
    EXPECT_FALSE(files.Exists(paths.appDir + "a.dll.bak"));
    EXPECT_FALSE(files.Exists(paths.appDir + "b.dll.bak"));
}

// The assistant ends itself on its exit command; nothing is terminated,
// and the window stays live while the updater waits for it.
TEST_F(InstallTest, RunningAssistantIsAskedToEndBeforeAnythingIsTerminated) {
    Prepare(2, {{"App", "1", "Vantrel.exe"}}, {{"App", "2", "Vantrel.exe", "Vantrel.exe"}});
    processes.running = {{42, Gbk("Vantrel.exe")}};
    processes.windowTitles = {{42, "关机管理器"}};
    processes.endsWhenAsked = {{42, 2}};
    view.pumpAttempts.clear();
    EXPECT_EQ(Install(), InstallOutcome::Updated);
    EXPECT_EQ(processes.log, std::vector<std::string>{"command 42 关机管理器 32775"});
    EXPECT_TRUE(processes.terminated.empty());
    EXPECT_TRUE(processes.sleeps.empty());
    EXPECT_EQ(view.pumpAttempts.size(), 1u + 2u);  // the download's one block, then two waits
    EXPECT_EQ(AppFile("Vantrel.exe"), test::NewFile("Vantrel.exe"));
}

TEST_F(InstallTest, FailedDescriptionCopyIsReportedUnderItsName) {
    Prepare(0, {{"A", "1", "a.dll"}}, {{"A", "2", "a.dll"}});
    files.failCopyTo.insert(paths.localIni);
    EXPECT_EQ(Install(), InstallOutcome::Failed);
    EXPECT_EQ(view.list, (Strings{"A更新完成!", "Update.ini覆盖失败，更新中止!"}));
    EXPECT_EQ(view.status, "覆盖文件时发生错误，更新中止！");
}

// The updater is running while it installs its own new version: it is moved
// aside under ".old" (replacing an earlier one) and the new file copied in.
// Another running program is still not touched that way.
TEST_F(InstallTest, OwnExecutableIsMovedAsideAndReplaced) {
    Prepare(0, {{"U", "1", "Update.exe"}, {"V", "1", "Vantrel.exe"}},
            {{"U", "2", "Update.exe"}, {"V", "2", "Vantrel.exe"}});
    ctx->paths.selfExe = paths.appDir + "UPDATE.EXE";  // the system does not mind the case
    files.running = {paths.appDir + "Update.exe"};
    test::WriteText(paths.appDir + "Update.exe.old", "older still");

    EXPECT_EQ(Install(), InstallOutcome::Updated);
    EXPECT_EQ(AppFile("Update.exe"), test::NewFile("Update.exe"));
    EXPECT_EQ(AppFile("Update.exe.old"), "old Update.exe");  // still running; removed at the next start
    EXPECT_EQ(files.running, std::set<std::string>{paths.appDir + "Update.exe.old"});
    EXPECT_EQ(view.list, (Strings{"U更新完成!", "V更新完成!"}));
    EXPECT_FALSE(files.Exists(paths.appDir + "Update.exe.bak"));
}

// Another running program is not moved aside that way: its copy fails, and
// the updater's own file moved aside goes back into place.
TEST_F(InstallTest, OwnExecutableMovedAsideGoesBackWhenALaterCopyFails) {
    Prepare(0, {{"U", "1", "Update.exe"}, {"V", "1", "Vantrel.exe"}},
            {{"U", "2", "Update.exe"}, {"V", "2", "Vantrel.exe"}});
    ctx->paths.selfExe = paths.appDir + "UPDATE.EXE";
    files.running = {paths.appDir + "Update.exe", paths.appDir + "Vantrel.exe"};

    EXPECT_EQ(Install(), InstallOutcome::Failed);
    EXPECT_EQ(view.list, (Strings{"U更新完成!", "V覆盖失败，更新中止!", "U已还原!"}));
    EXPECT_EQ(AppFile("Update.exe"), "old Update.exe");
    EXPECT_EQ(AppFile("Vantrel.exe"), "old Vantrel.exe");
    EXPECT_EQ(files.running, (std::set<std::string>{paths.appDir + "Update.exe", paths.appDir + "Vantrel.exe"}));
    EXPECT_FALSE(files.Exists(paths.appDir + "Update.exe.old"));
    EXPECT_FALSE(files.Exists(paths.appDir + "Vantrel.exe.old"));
    EXPECT_FALSE(files.Exists(paths.appDir + "Vantrel.exe.bak"));
    EXPECT_EQ(test::ReadText(paths.localIni), localBefore);
}

TEST_F(InstallTest, OwnExecutableIsPutBackWhenTheNewOneCannotBeCopied) {
    Prepare(0, {{"U", "1", "Update.exe"}}, {{"U", "2", "Update.exe"}});
    ctx->paths.selfExe = paths.appDir + "Update.exe";
    files.running = {ctx->paths.selfExe};
    files.failCopyTo.insert(ctx->paths.selfExe);

    EXPECT_EQ(Install(), InstallOutcome::Failed);
    EXPECT_EQ(view.list, (Strings{"U覆盖失败，更新中止!"}));
    EXPECT_EQ(view.status, "覆盖文件时发生错误，更新中止！");
    EXPECT_EQ(AppFile("Update.exe"), "old Update.exe");
    EXPECT_EQ(files.running, std::set<std::string>{ctx->paths.selfExe});
    EXPECT_FALSE(files.Exists(paths.appDir + "Update.exe.old"));
    EXPECT_EQ(test::ReadText(paths.localIni), localBefore);
}

TEST(SamePath, IgnoresLetterCaseAndSlashKind) {
    EXPECT_TRUE(SamePath("C:\\Apps\\Update.exe", "c:/apps/UPDATE.EXE"));
    EXPECT_FALSE(SamePath("C:\\Apps\\Update.exe", "C:\\Apps\\Update.exe.old"));
    EXPECT_FALSE(SamePath("C:\\Apps\\Update.exe", "C:\\Apps\\Updatf.exe"));
    // Only Latin letters fold: bytes of other characters must match exactly.
    EXPECT_FALSE(SamePath("C:\\\xE6\x95\xB0\\U.exe", "C:\\\xE6\x95\x90\\U.exe"));
}

}  // namespace
}  // namespace vt
