// The updater against a hostile or broken server, over real WinINet: bodies
// cut before their end, a description without end, a server that trickles
// or keeps silent, redirect loops, and a cancel in the middle of it all.
#include <atomic>
#include <functional>
#include <thread>

#include "tests/support/ProgramImage.h"
#include "tests/win/updater/UpdaterWinSupport.h"
#include "updater/Downloader.h"
#include "updater/MessagePump.h"
#include "updater/ProgramKind.h"
#include "updater/UpdateTexts.h"

namespace vt::test {
namespace {

// A view whose pump really takes the thread's messages, as the wizard's does.
class PumpingView : public RecordingView {
public:
    void PumpMessages(int attempts) override {
        win::PumpWaitingMessages(nullptr, attempts);
        RecordingView::PumpMessages(attempts);
    }
};

// Asks a window of the test's thread, from a thread of its own, to answer an
// empty message again and again, and keeps the longest wait for an answer.
class ResponsivenessProbe {
public:
    ResponsivenessProbe() {
        m_hWnd = CreateWindowExW(0, L"STATIC", L"probe", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        m_thread = std::thread([this] {
            while (!m_bStop) {
                const DWORD start = GetTickCount();
                DWORD_PTR result = 0;
                if (!SendMessageTimeoutW(m_hWnd, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &result)) ++m_nUnanswered;
                const DWORD took = GetTickCount() - start;
                if (took > m_nLongestMs) m_nLongestMs = took;
                Sleep(20);
            }
            m_bFinished = true;
        });
    }
    ~ResponsivenessProbe() {
        Stop();
        DestroyWindow(m_hWnd);
    }
    void Stop() {
        m_bStop = true;
        // The probe's last message may wait for a pump that no longer comes.
        if (!m_thread.joinable()) return;
        while (!m_bFinished) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
            Sleep(5);
        }
        m_thread.join();
    }
    DWORD LongestMs() const { return m_nLongestMs; }
    int Unanswered() const { return m_nUnanswered; }

private:
    HWND m_hWnd = nullptr;
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bFinished{false};
    std::atomic<DWORD> m_nLongestMs{0};
    std::atomic<int> m_nUnanswered{0};
    std::thread m_thread;
};

class UpdaterHostileServer : public UpdaterWinTest {
protected:
    UpdateServices PumpingServices() {
        const UpdateServices s = Services();
        return UpdateServices{pumping, s.codec,    s.http,      s.files,  s.processes,
                              s.shell, s.localIni, s.serverIni, s.crypto, s.publisherKey};
    }
    std::unique_ptr<UpdateWizard> Wizard() { return std::make_unique<UpdateWizard>(PumpingServices(), paths); }
    FetchResult Fetch(const std::string& object) {
        ctx = std::make_unique<UpdateContext>(PumpingServices(), paths);
        ctx->connection = http.Connect("127.0.0.1", server.Port(), false);
        FetchOptions options;
        options.interactive = true;
        return FetchToFile(*ctx, object, Target(), options);
    }
    std::string Target() { return paths.tempDir + "comp.dat"; }

    // One installed component "A" 1.0, and a server offering 2.0 at /files/a.dll.
    // A fresh wizard past its check, the newer A on offer and its file
    // served as given; it stands at the install step when all went well.
    std::unique_ptr<UpdateWizard> WizardOfferingA(const CannedResponse& file) {
        OfferNewerA();
        server.Serve("/files/a.dll", file);
        pumping = PumpingView{};
        auto wizard = Wizard();
        wizard->Start();
        wizard->Press();
        return wizard;
    }
    void OfferNewerA() {
        WriteLocal(0, {{"A", "1.0"}});
        WriteFileBytes(m_appDir + L"a.dll", "old a");
        server.Serve(kIniPath, Description().Total().File("A", "2").Download("a.dll"));
    }

    PumpingView pumping;
    std::unique_ptr<UpdateContext> ctx;
};

using Misbehave = CannedResponse::Misbehave;

CannedResponse Misbehaving(Misbehave how, std::string body = "") {
    CannedResponse r;
    r.misbehave = how;
    r.body = std::move(body);
    return r;
}

// WinINet reads a chunked body cut before its last chunk as a whole one, so
// the updater asks in HTTP/1.0 (never answered in chunks) and takes no
// chunked body at all: whole or cut, it is a failed transfer.
TEST_F(UpdaterHostileServer, ChunkedBodyIsAFailedTransferWhetherCutOrNot) {
    const std::string body = Binary(5500, 777);
    for (Misbehave how : {Misbehave::ChunkedNoEnd, Misbehave::Chunked}) {
        server.Serve("/files/comp.dat", Misbehaving(how, body));
        EXPECT_EQ(Fetch("/files/comp.dat"), FetchResult::ReadFailed);
        EXPECT_EQ(ReadBytes(win::FromUtf8(Target())), "<missing>");
    }
    // What a server sends to an HTTP/1.0 request: a length, or none and a close.
    server.Serve("/files/comp.dat", body);
    EXPECT_EQ(Fetch("/files/comp.dat"), FetchResult::Ok);
    EXPECT_EQ(ReadBytes(win::FromUtf8(Target())), body);
    EXPECT_EQ(server.RequestVersions(), std::vector<std::string>(3, "HTTP/1.0"));
}

// Cut in any way, a component is never installed, and the description of a
// check that did not arrive whole never lists anything.
TEST_F(UpdaterHostileServer, CutBodiesInstallNothing) {
    CannedResponse announced;
    announced.body = Binary(3000, 777);
    announced.length = CannedResponse::Length::Announce;
    announced.announced = 6000;
    for (const CannedResponse& cut : {announced, Misbehaving(Misbehave::ChunkedNoEnd, Binary(3000, 777))}) {
        auto wizard = WizardOfferingA(cut);
        ASSERT_EQ(wizard->Step(), WizardStep::Install);
        wizard->Press();
        EXPECT_FALSE(wizard->IsUpdated());
        EXPECT_EQ(AppFile("a.dll"), "old a");
        EXPECT_NE(pumping.status, updtext::kStatusUpdated);
    }

    const std::string description = Description().Total().File("A", "2").Key("uri", "/files/a.dll");
    CannedResponse cutDescription;
    cutDescription.body = description.substr(0, 30);
    cutDescription.length = CannedResponse::Length::Announce;
    cutDescription.announced = description.size();
    for (const CannedResponse& cut : {cutDescription, Misbehaving(Misbehave::ChunkedNoEnd, description)}) {
        WriteLocal(0, {{"A", "1.0"}});
        server.Serve(kIniPath, cut);
        pumping = PumpingView{};
        auto wizard = Wizard();
        wizard->Start();
        wizard->Press();
        EXPECT_NE(wizard->Step(), WizardStep::Install);
        EXPECT_NE(pumping.status, updtext::kStatusNewer);
    }
}

TEST_F(UpdaterHostileServer, EndlessDescriptionFailsTheCheckAtOneMebibyte) {
    WriteLocal(0, {});
    server.Serve(kIniPath,
                 Misbehaving(Misbehave::Endless, Description().Total().Text() + ";" + std::string(4000, 'x')));
    auto wizard = Wizard();
    wizard->Start();
    wizard->Press();
    EXPECT_EQ(pumping.status, updtext::kStatusConnectFailed);
    EXPECT_TRUE(pumping.errors.empty());
    EXPECT_EQ(wizard->Step(), WizardStep::Finish);
    // Reading stopped at the limit: what was saved is no longer than it.
    const std::string saved = ReadBytes(win::FromUtf8(paths.serverIni));
    EXPECT_LE(saved.size(), kMaxDescriptionBytes);
}

// A byte a second: the window answers all the while, each byte shows on
// the bar as it comes, and the file arrives.
TEST_F(UpdaterHostileServer, SlowServerKeepsTheWindowAnswering) {
    CannedResponse slow = Misbehaving(Misbehave::Trickle, "abc");
    slow.trickleMs = 1000;
    server.Serve("/files/comp.dat", slow);
    ResponsivenessProbe probe;
    const FetchResult result = Fetch("/files/comp.dat");
    probe.Stop();
    EXPECT_EQ(result, FetchResult::Ok);
    EXPECT_EQ(ReadBytes(win::FromUtf8(Target())), "abc");
    EXPECT_EQ(probe.Unanswered(), 0);
    EXPECT_LT(probe.LongestMs(), 500u);
    EXPECT_GT(pumping.PumpedAttempts(), 100);  // pumped while waiting, not only per block
    EXPECT_EQ(pumping.progresses, (std::vector<int>{33, 66, 100}));
}

// The wizard's timeout here is short; the program's is a minute.
TEST_F(UpdaterHostileServer, SilentServerFailsTheCheckWithinTheTimeout) {
    WriteLocal(0, {});
    server.Serve(kIniPath, Misbehaving(Misbehave::Silent));
    http.SetReceiveTimeout(700);
    ResponsivenessProbe probe;
    auto wizard = Wizard();
    wizard->Start();
    const DWORD start = GetTickCount();
    wizard->Press();
    const DWORD took = GetTickCount() - start;
    probe.Stop();
    EXPECT_EQ(pumping.status, updtext::kStatusConnectFailed);
    EXPECT_EQ(wizard->Step(), WizardStep::Finish);
    EXPECT_GE(took, 600u);
    EXPECT_LT(took, 10000u);
    EXPECT_EQ(probe.Unanswered(), 0);
}

TEST_F(UpdaterHostileServer, RedirectLoopFailsTheCheckAfterFiveTurns) {
    WriteLocal(0, {});
    server.Redirect(kIniPath, "/soft/loop.ini");
    server.Redirect("/soft/loop.ini", server.Url(kIniPath), 301);
    auto wizard = Wizard();
    wizard->Start();
    wizard->Press();
    EXPECT_EQ(pumping.status, updtext::kStatusConnectFailed);
    EXPECT_EQ(server.RequestedPaths().size(), 6u);  // the request and five redirects
}

TEST_F(UpdaterHostileServer, RedirectToAnotherServerIsFollowed) {
    TestHttpServer mirror;
    ASSERT_TRUE(mirror.Listening());
    OfferNewerA();
    mirror.Serve("/mirror/update.ini", Description().Total().File("A", "2").Download("a.dll"));
    server.Redirect(kIniPath, mirror.Url("/mirror/update.ini"), 307);
    server.Redirect("/files/a.dll", "/files/a2.dll");
    const std::string newA = test::ProgramImage(kOwnMachine, "new a");
    server.Serve("/files/a2.dll", newA);
    auto wizard = Wizard();
    wizard->Start();
    wizard->Press();
    EXPECT_EQ(pumping.status, updtext::kStatusNewer);
    wizard->Press();
    EXPECT_TRUE(wizard->IsUpdated());
    EXPECT_EQ(AppFile("a.dll"), newA);
    EXPECT_EQ(mirror.Requests("/mirror/update.ini"), 1);
}

// "取消" while a download runs, whether bytes are pouring in or the server
// keeps still: the download ends at once, nothing is replaced, the wizard
// closes.
TEST_F(UpdaterHostileServer, CancelEndsADownloadAtOnce) {
    CannedResponse stalled = Misbehaving(Misbehave::Trickle, "abcdef");
    stalled.trickleMs = 20000;
    for (const CannedResponse& file : {Misbehaving(Misbehave::Endless), stalled}) {
        auto wizard = WizardOfferingA(file);
        ASSERT_EQ(wizard->Step(), WizardStep::Install);
        int pumps = 0;
        DWORD cancelledAt = 0;
        pumping.onPump = [&] {
            if (++pumps == 20) {
                cancelledAt = GetTickCount();
                wizard->Cancel();
            }
        };
        wizard->Press();
        const DWORD took = GetTickCount() - cancelledAt;
        ASSERT_NE(cancelledAt, 0u);
        EXPECT_LT(took, 1000u);
        EXPECT_EQ(pumping.closeCount, 1);
        EXPECT_FALSE(wizard->IsUpdated());
        EXPECT_EQ(AppFile("a.dll"), "old a");
    }
}

// The pause after a program had to be ended by force runs on the wizard's
// thread too, and lasts as long as it always did.
TEST(UpdaterPauseAfterForcedEnd, KeepsTheWindowAnswering) {
    win::WinProcesses processes;
    ResponsivenessProbe probe;
    const DWORD start = GetTickCount();
    processes.Sleep(1500);
    const DWORD took = GetTickCount() - start;
    probe.Stop();
    EXPECT_GE(took, 1500u);
    EXPECT_EQ(probe.Unanswered(), 0);
    EXPECT_LT(probe.LongestMs(), 500u);
}

}  // namespace
}  // namespace vt::test
