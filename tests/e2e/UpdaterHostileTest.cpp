// The real Update.exe against a server that trickles, keeps silent or sends
// without end: its window answers all the while, "取消" ends a transfer at
// once and replaces nothing, and an endless description fails the check.
#include <gtest/gtest.h>

#include "tests/e2e/Wizard.h"
#include "tests/support/DescriptionBuilder.h"
#include "tests/win/updater/TestHttpServer.h"

namespace vt::e2e {
namespace {

class UpdaterHostile : public UpdaterFixture {
protected:
    void SetUp() override {
        UpdaterFixture::SetUp();
        m_local = test::LocalDescription(IniUrl(), 0, {{"Data", "1.0"}});
        WriteFileBytes(m_dir + L"Update.ini", m_local);
        WriteFileBytes(m_dir + L"Data.dat", "old data");
    }
    // The newer Data.dat on offer, its bytes sent one every ms milliseconds.
    void PublishTricklingData(DWORD ms) {
        PublishNewerData();
        test::CannedResponse slow;
        slow.misbehave = test::CannedResponse::Misbehave::Trickle;
        slow.body = "new data";
        slow.trickleMs = ms;
        server.Serve("/vt/Data.dat", slow);
    }
    // The wizard of p, pressed on until it downloads Data.dat; null when it
    // never gets there.
    HWND StartDownloading(Process& p) {
        HWND wizard = StartWizard(p, m_dir);
        if (!wizard) return nullptr;
        PressButton(wizard, IDOK);
        if (!WaitStatus(wizard, L"发现新的版本！")) return nullptr;
        PressButton(wizard, IDOK);
        return WaitStatus(wizard, L"正在下载文件:Data.dat") ? wizard : nullptr;
    }
    void PublishNewerData() {
        server.Serve("/vt/update.ini",
                     test::Description().Main("ServerMode", 0).Total().Offer("Data", "1.1", "Data.dat", "/vt/"));
    }
    // Asks the wizard for an empty answer for ms milliseconds; how many
    // waits of more than half a second there were.
    static int SlowAnswers(HWND wizard, DWORD ms) {
        int slow = 0;
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            DWORD_PTR result = 0;
            if (!SendMessageTimeoutW(wizard, WM_NULL, 0, 0, SMTO_NORMAL, 500, &result)) ++slow;
            Sleep(50);
        }
        return slow;
    }
    // Presses "取消" and returns how long the program took to end.
    static DWORD CancelAndTime(Process& p, HWND wizard) {
        const DWORD start = GetTickCount();
        PressButton(wizard, IDCANCEL);
        const DWORD code = p.WaitExit(10000);
        EXPECT_EQ(code, 0u);
        return GetTickCount() - start;
    }
    // Clicks "取消" as a user's click arrives (a posted BM_CLICK: the button
    // takes the mouse, is pushed and let go, then tells the dialog) and
    // returns how long until the wizard's window is gone.
    static DWORD ClickCancelAndTime(Process& p, HWND wizard) {
        HWND button = GetDlgItem(wizard, IDCANCEL);
        EXPECT_TRUE(IsWindowEnabled(button));
        const DWORD start = GetTickCount();
        PostMessageW(button, BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(wizard); }, 10000));
        const DWORD took = GetTickCount() - start;
        EXPECT_EQ(p.WaitExit(10000), 0u);
        return took;
    }

    std::string m_local;
};

TEST_F(UpdaterHostile, AByteASecondKeepsTheWizardAnsweringAndCancelEndsItAtOnce) {
    PublishTricklingData(1000);

    Process p;
    HWND wizard = StartDownloading(p);
    ASSERT_NE(wizard, nullptr);

    EXPECT_EQ(SlowAnswers(wizard, 3000), 0);
    EXPECT_LT(CancelAndTime(p, wizard), 1000u);
    EXPECT_EQ(ReadFileBytes(m_dir + L"Data.dat"), "old data");
    EXPECT_EQ(ReadFileBytes(m_dir + L"Update.ini"), m_local);
}

// Wherever in the wait for the next byte "取消" comes, the program ends
// within a second: nothing on the window's side waits for the server. The
// bytes come two seconds apart, so a cancel that waited for one would show.
TEST_F(UpdaterHostile, CancelAnywhereBetweenTwoBytesEndsWithinASecond) {
    PublishTricklingData(2000);

    for (const DWORD after : {0u, 500u, 1000u, 1500u}) {
        SCOPED_TRACE(after);
        Process p;
        HWND wizard = StartDownloading(p);
        ASSERT_NE(wizard, nullptr);
        Sleep(after);
        EXPECT_LT(CancelAndTime(p, wizard), 1000u);
        EXPECT_EQ(ReadFileBytes(m_dir + L"Data.dat"), "old data");
        EXPECT_EQ(ReadFileBytes(m_dir + L"Update.ini"), m_local);
    }
}

// A user's click on "取消" during the wait for the next byte: the wizard
// is gone within a second, as with the command alone, and nothing is
// replaced.
TEST_F(UpdaterHostile, AUsersClickOnCancelEndsATricklingDownloadWithinASecond) {
    PublishTricklingData(1000);

    Process p;
    HWND wizard = StartDownloading(p);
    ASSERT_NE(wizard, nullptr);
    Sleep(1500);  // a byte has come, the next one is awaited
    EXPECT_LT(ClickCancelAndTime(p, wizard), 1000u);
    EXPECT_EQ(ReadFileBytes(m_dir + L"Data.dat"), "old data");
    EXPECT_EQ(ReadFileBytes(m_dir + L"Update.ini"), m_local);
}

TEST_F(UpdaterHostile, ASilentServerLeavesTheWizardAnsweringAndCancelable) {
    test::CannedResponse silent;
    silent.misbehave = test::CannedResponse::Misbehave::Silent;
    server.Serve("/vt/update.ini", silent);

    Process p;
    HWND wizard = StartWizard(p, m_dir);
    ASSERT_NE(wizard, nullptr);
    PressButton(wizard, IDOK);
    ASSERT_TRUE(WaitFor([&] { return server.Requests("/vt/update.ini") == 1; }));
    EXPECT_EQ(SlowAnswers(wizard, 2000), 0);
    EXPECT_EQ(ItemText(wizard, kStatus), L"正在连接到服务器...");
    EXPECT_LT(CancelAndTime(p, wizard), 1000u);
    EXPECT_EQ(ReadFileBytes(m_dir + L"Update.ini"), m_local);
}

TEST_F(UpdaterHostile, AnEndlessDescriptionFailsTheCheck) {
    test::CannedResponse endless;
    endless.misbehave = test::CannedResponse::Misbehave::Endless;
    endless.body = test::Description().Main("Total", 1).Text() + ";" + std::string(8000, 'x');
    server.Serve("/vt/update.ini", endless);

    Process p;
    HWND wizard = StartWizard(p, m_dir);
    ASSERT_NE(wizard, nullptr);
    PressButton(wizard, IDOK);
    EXPECT_TRUE(WaitStatus(wizard, L"连接服务器失败！"));
    EXPECT_EQ(ItemText(wizard, IDOK), L"完成");
    PressButton(wizard, IDCANCEL);
    EXPECT_EQ(p.WaitExit(), 0u);
    EXPECT_EQ(ReadFileBytes(m_dir + L"Update.ini"), m_local);
}

}  // namespace
}  // namespace vt::e2e
