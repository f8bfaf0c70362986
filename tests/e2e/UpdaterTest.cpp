// The updater as a user meets it: the real Update.exe in an application
// directory of its own, its update server on the loopback interface.
#include <gtest/gtest.h>

#include "shared/win/AppDirectory.h"
#include "tests/e2e/Wizard.h"
#include "tests/support/DescriptionBuilder.h"
#include "tests/support/ProgramImage.h"
#include "tests/support/StandIn.h"
#include "tests/win/updater/TestHttpServer.h"

namespace vt::e2e {
namespace {

// "数据" in code page 936, as the descriptions hold it.
const std::string kTitle = "\xCA\xFD\xBE\xDD";

class UpdaterE2e : public UpdaterFixture {
protected:
    void SetUp() override {
        UpdaterFixture::SetUp();
        WriteStartedProgram();
        WriteFileBytes(m_dir + L"Data.dat", "old data");
    }

    void WriteLocal(int localMode) {
        WriteFileBytes(m_dir + L"Update.ini", test::Description()
                                                  .Main("IniUrl", IniUrl())
                                                  .Main("LocalMode", localMode)
                                                  .Main("Updated", 1)
                                                  .Total()
                                                  .File(kTitle, "1.0"));
    }

    // One newer component, Data.dat.
    std::string Publish(int serverMode) {
        const std::string description = Published(serverMode).Offer(kTitle, "1.1", "Data.dat", "/vt/");
        server.Serve("/vt/update.ini", description);
        server.Serve("/vt/Data.dat", newData);
        return description;
    }

    // The wizard of p once its status line reads status (null when it never
    // shows).
    static HWND WaitStatus(Process& p, const std::wstring& status) {
        HWND wizard = p.WaitWindow(kWizardTitle);
        e2e::WaitStatus(wizard, status, 10000);
        return wizard;
    }

    const std::string newData = std::string(20000, 'n');
};

TEST_F(UpdaterE2e, UpdateByHandReplacesTheFileAndStartsTheMainProgram) {
    WriteLocal(0);
    const std::string description = Publish(2);  // counts only for an automatic start
    Process p;
    ASSERT_TRUE(p.Start(m_dir + L"Update.exe"));
    HWND wizard = p.WaitWindow(kWizardTitle);
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(ItemText(wizard, kStatus), L"点击下一步查看可用的更新");
    EXPECT_EQ(ListBoxLines(wizard, kList), std::vector<std::wstring>{L"数据  版本：1.0"});
    EXPECT_EQ(ItemText(wizard, IDOK), L"下一步(&N)");

    PressButton(wizard, IDOK);
    ASSERT_EQ(WaitStatus(p, kNewerFound), wizard);
    EXPECT_EQ(ItemText(wizard, kStatus), kNewerFound);
    EXPECT_EQ(ListBoxLines(wizard, kList), std::vector<std::wstring>{L"发现新版本：数据 1.1"});
    EXPECT_EQ(ItemText(wizard, IDOK), L"更新");

    PressButton(wizard, IDOK);
    WaitStatus(p, kUpdated);
    EXPECT_EQ(ItemText(wizard, kStatus), kUpdated);
    EXPECT_EQ(ItemText(wizard, IDOK), L"完成");
    EXPECT_EQ(ReadFileBytes(m_dir + L"Data.dat"), newData);
    EXPECT_EQ(ReadFileBytes(m_dir + L"Update.ini"), description);
    EXPECT_FALSE(FileExists(m_dir + L"started.txt"));

    PressButton(wizard, IDOK);
    EXPECT_EQ(p.WaitExit(), 0u);
    EXPECT_TRUE(WasStarted());
}

TEST_F(UpdaterE2e, FullyAutomaticRunEndsTheRunningProgramReplacesItAndRestarts) {
    WriteLocal(1);
    // The component is the running program itself.
    const std::wstring program = m_dir + L"Vantrel.exe";
    ASSERT_TRUE(CopyFileW(win::ModulePath().c_str(), program.c_str(), FALSE));
    Process standIn;
    ASSERT_TRUE(standIn.Start(program, test::kStandInArgument));
    const std::string description =
        Published(2).Offer(kTitle, "1.1", "Vantrel.exe", "/vt/").Key("needclose", "VANTREL.exe");
    server.Serve("/vt/update.ini", description);
    const std::string newProgram = test::ProgramImage(kOwnMachine, "new program");
    server.Serve("/vt/Vantrel.exe", newProgram);

    Process p;
    ASSERT_TRUE(p.Start(m_dir + L"Update.exe"));
    EXPECT_EQ(p.WaitExit(30000), 0u);
    EXPECT_EQ(standIn.WaitExit(1000), 0u);  // ended, not crashed or timed out
    EXPECT_EQ(ReadFileBytes(program), newProgram);
    EXPECT_EQ(ReadFileBytes(m_dir + L"Update.ini"), description);
    EXPECT_TRUE(WasStarted());
}

TEST_F(UpdaterE2e, SecondCopyEndsAtOnceAndLeavesTheFirstAlone) {
    WriteLocal(0);
    Publish(0);
    Process first;
    ASSERT_TRUE(first.Start(m_dir + L"Update.exe"));
    HWND wizard = first.WaitWindow(kWizardTitle);
    ASSERT_NE(wizard, nullptr);

    Process second;
    ASSERT_TRUE(second.Start(m_dir + L"Update.exe"));
    EXPECT_EQ(second.WaitExit(), 0u);
    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(IsVisible(wizard));
    EXPECT_TRUE(server.RequestedPaths().empty());
    PressButton(wizard, IDCANCEL);
    EXPECT_EQ(first.WaitExit(), 0u);
}

TEST_F(UpdaterE2e, WithoutALocalDescriptionItClosesAtOnce) {
    Process p;
    ASSERT_TRUE(p.Start(m_dir + L"Update.exe"));
    EXPECT_EQ(p.WaitExit(), 0u);
    EXPECT_TRUE(server.RequestedPaths().empty());
}

}  // namespace
}  // namespace vt::e2e
