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
        ctx->pacer = PumpPacer([this] { return nowMs; });
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
    std::uint64_t nowMs = 1000;  // the pacer's clock
};

TEST_F(DownloadFileTest, StoresTheBodyAsItArrivesWithProgress) {
    test::FakeResponse r;
    r.body = std::string(5000, 'x');
    r.maxPerRead = 2048;
    Serve(r);
    EXPECT_TRUE(DownloadFile(*ctx, "/a.dll", target));
    EXPECT_EQ(test::ReadText(target), r.body);
    EXPECT_EQ(view.progresses, (std::vector<int>{40, 81, 100}));
    EXPECT_EQ(view.pumpAttempts, (std::vector<int>{kPumpAttempts}));  // the clock stood still

    // A byte at a time: every share shows once, and the bar is full only
    // with the last byte.
    r.body = std::string(1000, 'y');
    r.maxPerRead = 1;
    Serve(r);
    view.progresses.clear();
    EXPECT_TRUE(DownloadFile(*ctx, "/a.dll", target));
    EXPECT_EQ(test::ReadText(target), r.body);
    ASSERT_EQ(view.progresses.size(), 101u);
    for (int i = 0; i <= 100; ++i) EXPECT_EQ(view.progresses[i], i);

    // What has arrived is taken in blocks of up to 64 KiB, never more.
    int reads = 0;
    http.onRead = [&] { ++reads; };
    r.body = std::string(3 * 65536 + 10, 'z');
    r.maxPerRead = 0;
    Serve(r);
    EXPECT_TRUE(DownloadFile(*ctx, "/a.dll", target));
    EXPECT_EQ(test::ReadText(target), r.body);
    EXPECT_EQ(reads, 5);  // three whole blocks, the rest, the end
}

// The window's messages are taken by the clock: however many blocks come
// in between, never longer apart than the interval and one read, and not
// after every block.
TEST_F(DownloadFileTest, PumpsByTimeNotPerBlock) {
    test::FakeResponse r;
    r.body = std::string(100 * 100, 'p');
    r.maxPerRead = 100;
    Serve(r);
    constexpr std::uint64_t kReadMs = 10;
    http.onRead = [&] { nowMs += kReadMs; };
    std::vector<std::uint64_t> pumpedAt;
    view.onPump = [&] { pumpedAt.push_back(nowMs); };
    EXPECT_TRUE(DownloadFile(*ctx, "/a.dll", target));
    ASSERT_FALSE(pumpedAt.empty());
    EXPECT_EQ(pumpedAt.front(), 1000 + kReadMs);  // the first block
    for (std::size_t i = 1; i < pumpedAt.size(); ++i) {
        EXPECT_GE(pumpedAt[i] - pumpedAt[i - 1], kPumpIntervalMs);
        EXPECT_LE(pumpedAt[i] - pumpedAt[i - 1], kPumpIntervalMs + kReadMs);
    }
    EXPECT_EQ(pumpedAt.size(), 34u);  // of 100 blocks
}

// The error page test sees the body's first five bytes however the server
// parcels them out; the bytes held back for it reach the file in order.
TEST_F(DownloadFileTest, ErrorPageTestWaitsForFiveBytes) {
    struct Case {
        const char* body;
        std::size_t perRead;
        FetchResult expected;
    };
    const Case cases[] = {
        {"<HtMl><body>gone</body>", 1, FetchResult::ErrorPage},
        {"<html", 2, FetchResult::ErrorPage},
        {"<htm", 1, FetchResult::Ok},  // shorter than the test: data
        {"<htmX and on", 3, FetchResult::Ok},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(target);
        test::FakeResponse r;
        r.body = c.body;
        r.maxPerRead = c.perRead;
        Serve(r);
        EXPECT_EQ(Fetch(), c.expected) << c.body;
        EXPECT_EQ(TargetExists(), c.expected == FetchResult::Ok) << c.body;
        if (c.expected == FetchResult::Ok) {
            EXPECT_EQ(test::ReadText(target), c.body);
        }
    }
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
