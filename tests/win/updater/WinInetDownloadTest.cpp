// Component downloads over real WinINet, and a download that breaks off.
#include <algorithm>

#include "tests/support/ProgramImage.h"
#include "tests/win/updater/UpdaterWinSupport.h"
#include "updater/Downloader.h"
#include "updater/ProgramKind.h"

namespace vt::test {
namespace {

using Strings = std::vector<std::string>;

class UpdaterWinInetDownload : public UpdaterWinTest {
protected:
    void SetUp() override {
        UpdaterWinTest::SetUp();
        ctx = std::make_unique<UpdateContext>(Services(), paths);
        ctx->connection = http.Connect("127.0.0.1", server.Port(), false);
        ASSERT_NE(ctx->connection, nullptr);
    }
    std::string Target() { return paths.tempDir + "comp.dat"; }
    FetchResult Fetch() {
        FetchOptions options;
        options.interactive = true;
        return FetchToFile(*ctx, "/files/comp.dat", Target(), options);
    }

    std::unique_ptr<UpdateContext> ctx;
};

// Blocks of what has arrived, however WinINet parcels the body out: the
// file is whole, the bar rises and is full only at the end, and the window's
// messages were looked at.
TEST_F(UpdaterWinInetDownload, WholeBodyArrivesWithTheBarFullAtTheEnd) {
    const std::string body = Binary(300000);
    server.Serve("/files/comp.dat", body);
    EXPECT_TRUE(DownloadFile(*ctx, "/files/comp.dat", Target()));
    EXPECT_EQ(ReadBytes(win::FromUtf8(Target())), body);
    ASSERT_FALSE(view.progresses.empty());
    EXPECT_EQ(view.progresses.back(), 100);
    EXPECT_TRUE(std::is_sorted(view.progresses.begin(), view.progresses.end()));
    EXPECT_EQ(std::count(view.progresses.begin(), view.progresses.end(), 100), 1);
    EXPECT_GE(view.PumpedAttempts(), kPumpAttempts);
}

TEST_F(UpdaterWinInetDownload, BodyWithoutLengthRunsToItsEnd) {
    CannedResponse r;
    r.body = Binary(5000);
    r.length = CannedResponse::Length::None;
    server.Serve("/files/comp.dat", r);
    EXPECT_EQ(Fetch(), FetchResult::Ok);
    EXPECT_EQ(ReadBytes(win::FromUtf8(Target())), r.body);
    EXPECT_TRUE(view.progresses.empty());  // nothing to measure against
}

// Fewer bytes than announced is never a file: an orderly close reads as an
// early end of the body; a reset reads either way, depending on when the
// socket error reaches WinINet (before or after the last bytes were taken).
TEST_F(UpdaterWinInetDownload, CutBodyIsNoDownload) {
    for (bool reset : {false, true}) {
        CannedResponse r;
        r.body = Binary(5000);
        r.length = CannedResponse::Length::Announce;
        r.announced = 10000;
        r.reset = reset;
        server.Serve("/files/comp.dat", r);
        FetchResult result = Fetch();
        if (reset && result == FetchResult::ReadFailed) continue;
        EXPECT_EQ(result, FetchResult::ShortBody) << reset;
    }
}

TEST_F(UpdaterWinInetDownload, BrokenTransferKeepsTheStepForAnotherTry) {
    WriteLocal(0, {{"A", "1.0"}});
    WriteFileBytes(m_appDir + L"a.dll", "old a");
    server.Serve(kIniPath, Description().Total().File("A", "2").Download("a.dll"));
    // The server stops sending mid-body: the read fails once the wait for
    // more runs out (a reset, by contrast, reads as an early end).
    CannedResponse stalling;
    stalling.body = Binary(3000);
    stalling.length = CannedResponse::Length::Announce;
    stalling.announced = 100000;
    stalling.stallMs = 1500;
    server.Serve("/files/a.dll", stalling);
    http.SetReceiveTimeout(200);

    auto wizard = MakeWizard();
    wizard->Start();
    wizard->Press();
    wizard->Press();
    // In the system's words, or the general text where it has none.
    ASSERT_EQ(view.errors.size(), 1u);
    EXPECT_FALSE(view.errors[0].empty());
    EXPECT_EQ(wizard->Step(), WizardStep::Install);
    EXPECT_EQ(view.status, "正在下载文件:a.dll");
    EXPECT_EQ(AppFile("a.dll"), "old a");

    const std::string newA = test::ProgramImage(kOwnMachine, "new a");
    server.Serve("/files/a.dll", newA);
    wizard->Press();
    EXPECT_TRUE(wizard->IsUpdated());
    EXPECT_EQ(AppFile("a.dll"), newA);
}

TEST(UpdaterInternetErrorText, SaysWhatWentWrongInOneLine) {
    for (DWORD code :
         {DWORD{ERROR_INTERNET_TIMEOUT}, DWORD{ERROR_INTERNET_CANNOT_CONNECT}, DWORD{ERROR_ACCESS_DENIED}}) {
        const std::string text = win::InternetErrorText(code);
        EXPECT_FALSE(text.empty()) << code;
        EXPECT_EQ(text.find_last_of("\r\n"), std::string::npos) << code;
    }
}

}  // namespace
}  // namespace vt::test
