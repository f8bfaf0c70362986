#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "UpdaterFakes.h"
#include "updater/Downloader.h"
#include "updater/ProgramKind.h"

namespace vt {
namespace {

TEST(DownloadProgress, IntegerShareWithoutOverflow) {
    EXPECT_EQ(ProgressPercent(0, 100), 0);
    EXPECT_EQ(ProgressPercent(1, 3), 33);
    EXPECT_EQ(ProgressPercent(2048, 5000), 40);
    // 30 MB received of 50 MB: received * 100 does not fit 32 bits.
    EXPECT_EQ(ProgressPercent(30000000, 50000000), 60);
    EXPECT_EQ(ProgressPercent(3000000000000000000ull, 4000000000000000000ull), 75);
    const std::uint64_t max = std::numeric_limits<std::uint64_t>::max();
    EXPECT_EQ(ProgressPercent(max - 1, max), 99);
    EXPECT_EQ(ProgressPercent(max, max), 100);
    EXPECT_EQ(ProgressPercent(5000, 100), 100);  // more than announced: a full bar
}

TEST(DownloadProgress, ContentLengthTakesLeadingDigits) {
    EXPECT_EQ(ParseContentLength("1234"), 1234u);
    EXPECT_EQ(ParseContentLength(" 42abc"), 42u);
    EXPECT_EQ(ParseContentLength(""), 0u);
    EXPECT_EQ(ParseContentLength("abc"), 0u);
    EXPECT_EQ(ParseContentLength("-5"), 0u);
    EXPECT_EQ(ParseContentLength("99999999999999999999999"), std::numeric_limits<std::uint64_t>::max());
}

TEST(DownloadProgress, ErrorPageTestIgnoresLetterCaseOnly) {
    EXPECT_TRUE(LooksLikeErrorPage("<html><body>", 12));
    EXPECT_TRUE(LooksLikeErrorPage("<HTML>", 6));
    EXPECT_TRUE(LooksLikeErrorPage("<HtMl", 5));
    EXPECT_FALSE(LooksLikeErrorPage("<htm", 4));
    EXPECT_FALSE(LooksLikeErrorPage(" <html", 6));
    EXPECT_FALSE(LooksLikeErrorPage("[Main]", 6));
}

class DownloadFileTest : public test::UpdaterTest {
protected:
    void SetUp() override {
        UpdaterTest::SetUp();
        ctx = MakeContext();
        target = paths.tempDir + "a.dll";
    }
    void Serve(const test::FakeResponse& r) { http.responses["/a.dll"] = r; }
    FetchResult Fetch(const Sha256Digest* digest = nullptr) {
        FetchOptions options;
        options.interactive = true;
        options.expectedDigest = digest;
        return FetchToFile(*ctx, "/a.dll", target, options);
    }
    bool TargetExists() { return std::filesystem::exists(target); }

    std::unique_ptr<UpdateContext> ctx;
    std::string target;
};

TEST_F(DownloadFileTest, StoresTheBodyInBlocksWithProgressAndPumping) {
    test::FakeResponse r;
    r.body = std::string(5000, 'x');
    Serve(r);
    EXPECT_TRUE(DownloadFile(*ctx, "/a.dll", target));
    EXPECT_EQ(test::ReadText(target), r.body);
    EXPECT_EQ(view.progresses, (std::vector<int>{40, 81, 100}));
    EXPECT_EQ(view.pumpAttempts, (std::vector<int>{10, 10, 10}));
}

TEST_F(DownloadFileTest, MissingOrZeroLengthCompletesWithoutTouchingTheBar) {
    for (const char* length : {"", "0", "none"}) {
        view.progresses.clear();
        test::FakeResponse r;
        r.body = std::string(3000, 'y');
        r.contentLength = length;
        Serve(r);
        EXPECT_EQ(Fetch(), FetchResult::Ok) << length;
        EXPECT_EQ(test::ReadText(target), r.body) << length;
        EXPECT_TRUE(view.progresses.empty()) << length;
    }
}

TEST_F(DownloadFileTest, FailuresLeaveNoFileBehind) {
    struct Case {
        const char* name;
        test::FakeResponse response;
        FetchResult expected;
    };
    test::FakeResponse notSent;
    notSent.sent = false;
    test::FakeResponse missing;
    missing.status = 404;
    missing.body = "gone";
    test::FakeResponse informational;
    informational.status = 199;
    test::FakeResponse clientError;
    clientError.status = 400;
    test::FakeResponse errorPage;
    errorPage.body = "<HTML><body>Not found</body></HTML>";
    test::FakeResponse cut;  // connection dropped after 3000 of 5000 bytes
    cut.body = std::string(3000, 'z');
    cut.contentLength = "5000";
    test::FakeResponse broken;
    broken.body = std::string(5000, 'z');
    broken.failAfter = 2048;
    const Case cases[] = {
        {"not sent", notSent, FetchResult::NotSent},       {"404", missing, FetchResult::BadStatus},
        {"199", informational, FetchResult::BadStatus},    {"400", clientError, FetchResult::BadStatus},
        {"error page", errorPage, FetchResult::ErrorPage}, {"short body", cut, FetchResult::ShortBody},
        {"read error", broken, FetchResult::ReadFailed},
    };
    for (const Case& c : cases) {
        Serve(c.response);
        EXPECT_EQ(Fetch(), c.expected) << c.name;
        EXPECT_FALSE(TargetExists()) << c.name;
    }
}

TEST_F(DownloadFileTest, RedirectStatusesAreAccepted) {
    test::FakeResponse r;
    r.status = 399;
    r.body = "data";
    Serve(r);
    EXPECT_EQ(Fetch(), FetchResult::Ok);
}

TEST_F(DownloadFileTest, DigestMustMatchWhenGiven) {
    test::FakeResponse r;
    r.body = std::string(4097, 'q');
    Serve(r);
    const Sha256Digest right = test::DigestOf(r.body);
    EXPECT_EQ(Fetch(&right), FetchResult::Ok);

    Sha256Digest wrong = right;
    wrong[31] ^= 1;
    EXPECT_EQ(Fetch(&wrong), FetchResult::DigestMismatch);
    EXPECT_FALSE(TargetExists());
}

// The headers are read from the body as it streams by, across blocks: a
// header deep behind a long stub still counts, and a program of another
// kind leaves no file, as a wrong digest does.
TEST_F(DownloadFileTest, ProgramKindIsReadAcrossBlocks) {
    test::ProgramImageSpec deep;
    deep.peOffset = 5000;
    for (const std::uint16_t machine : {kMachineAmd64, kMachineI386}) {
        deep.machine = machine;
        std::filesystem::remove(target);
        test::FakeResponse r;
        r.body = test::ProgramImage(deep, std::string(70000, 'z'));
        Serve(r);
        FetchOptions options;
        options.programMachine = kMachineAmd64;
        EXPECT_EQ(FetchToFile(*ctx, "/a.dll", target, options),
                  machine == kMachineAmd64 ? FetchResult::Ok : FetchResult::WrongProgram);
        EXPECT_EQ(TargetExists(), machine == kMachineAmd64);
        options.programMachine = 0;  // a data file: not looked at
        EXPECT_EQ(FetchToFile(*ctx, "/a.dll", target, options), FetchResult::Ok);
    }
}

TEST_F(DownloadFileTest, UncreatableTargetFails) {
    test::FakeResponse r;
    r.body = "data";
    Serve(r);
    target = paths.tempDir + "no/such/dir/a.dll";
    EXPECT_EQ(Fetch(), FetchResult::NotCreatable);
}

TEST_F(DownloadFileTest, CancelDuringPumpStopsAfterTheBlock) {
    test::FakeResponse r;
    r.body = std::string(10000, 'c');
    Serve(r);
    view.onPump = [this] { ctx->cancelRequested = true; };
    EXPECT_EQ(Fetch(), FetchResult::Cancelled);
    EXPECT_EQ(view.pumpAttempts.size(), 1u);
    EXPECT_FALSE(TargetExists());
}

}  // namespace
}  // namespace vt
