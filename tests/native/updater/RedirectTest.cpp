// Which redirects the updater follows, how long a description may be, and
// what a transfer does with them.
#include <gtest/gtest.h>

#include "UpdaterFakes.h"
#include "updater/Downloader.h"
#include "updater/Redirect.h"
#include "updater/VersionCheck.h"

namespace vt {
namespace {

UrlParts Url(const std::string& text) { return test::ParsedUrl(text); }

std::string Resolved(const std::string& from, const std::string& location) {
    UrlParts to;
    if (!ResolveRedirect(Url(from), location, to)) return "<refused>";
    return (to.secure ? "https://" : "http://") + to.host + ":" + std::to_string(to.port) + to.object;
}

TEST(RedirectRule, ResolvesEveryFormOfLocation) {
    const std::string from = "http://up.example.com:8080/soft/update.ini?v=1";
    EXPECT_EQ(Resolved(from, "http://other.example.com/x.ini"), "http://other.example.com:80/x.ini");
    EXPECT_EQ(Resolved(from, "HTTPS://other.example.com:444/x#frag"), "https://other.example.com:444/x");
    EXPECT_EQ(Resolved(from, "//cdn.example.com/x.ini"), "http://cdn.example.com:80/x.ini");
    EXPECT_EQ(Resolved("https://up.example.com/a", "//cdn.example.com/x"), "https://cdn.example.com:443/x");
    EXPECT_EQ(Resolved(from, "/moved/update.ini"), "http://up.example.com:8080/moved/update.ini");
    EXPECT_EQ(Resolved(from, "new.ini"), "http://up.example.com:8080/soft/new.ini");
    EXPECT_EQ(Resolved(from, "../up.ini#x"), "http://up.example.com:8080/soft/../up.ini");
    EXPECT_EQ(Resolved(from, "?v=2"), "http://up.example.com:8080/soft/update.ini?v=2");
    EXPECT_EQ(Resolved("http://h/", "a"), "http://h:80/a");
}

TEST(RedirectRule, RefusesLocationsThatNameNoServer) {
    const std::string from = "http://up.example.com/update.ini";
    EXPECT_EQ(Resolved(from, ""), "<refused>");
    EXPECT_EQ(Resolved(from, "ftp://files.example.com/update.ini"), "<refused>");
    EXPECT_EQ(Resolved(from, "file:///c:/windows/win.ini"), "<refused>");
    EXPECT_EQ(Resolved(from, "http:///nohost"), "<refused>");
    EXPECT_EQ(Resolved(from, "http://u@:81/a"), "<refused>");
    EXPECT_EQ(Resolved(from, "/a\r\nSet-Cookie: x"), "<refused>");
    EXPECT_EQ(Resolved(from, "/a b"), "<refused>");
}

TEST(RedirectRule, AtMostFiveAndNeverFromTlsToPlainHttp) {
    const UrlParts plain = Url("http://a.example.com/x"), tls = Url("https://a.example.com/x");
    for (int followed = 0; followed < kMaxRedirects; ++followed) {
        EXPECT_TRUE(MayFollowRedirect(plain, plain, followed)) << followed;
        EXPECT_TRUE(MayFollowRedirect(plain, tls, followed)) << followed;
        EXPECT_TRUE(MayFollowRedirect(tls, tls, followed)) << followed;
        EXPECT_FALSE(MayFollowRedirect(tls, plain, followed)) << followed;
    }
    EXPECT_EQ(kMaxRedirects, 5);
    EXPECT_FALSE(MayFollowRedirect(plain, plain, kMaxRedirects));
    EXPECT_TRUE(IsRedirectStatus(301) && IsRedirectStatus(302) && IsRedirectStatus(303) && IsRedirectStatus(307) &&
                IsRedirectStatus(308));
    EXPECT_FALSE(IsRedirectStatus(300) || IsRedirectStatus(304) || IsRedirectStatus(200));
}

TEST(RedirectRule, SameServerIgnoresOnlyTheLetterCaseOfTheHost) {
    EXPECT_TRUE(SameServer(Url("http://Up.Example.com/a"), Url("http://up.example.COM/b")));
    EXPECT_FALSE(SameServer(Url("http://up.example.com/a"), Url("http://up.example.com:81/a")));
    EXPECT_FALSE(SameServer(Url("http://up.example.com:443/a"), Url("https://up.example.com/a")));
    EXPECT_FALSE(SameServer(Url("http://up.example.com/a"), Url("http://up2.example.com/a")));
}

class HostileTransfer : public test::UpdaterTest {
protected:
    void SetUp() override {
        UpdaterTest::SetUp();
        ctx = MakeContext();
        ctx->server = Url("http://update.example.com/soft/update.ini");
    }
    test::FakeResponse RedirectTo(const std::string& location, int status = 302) {
        test::FakeResponse r;
        r.status = status;
        r.location = location;
        r.body = "<html>moved</html>";
        return r;
    }
    FetchResult Fetch(const std::string& object, std::uint64_t maxBytes = 0) {
        FetchOptions options;
        options.maxBytes = maxBytes;
        return FetchToFile(*ctx, object, paths.tempDir + "got.bin", options);
    }
    std::string Got() { return test::ReadText(paths.tempDir + "got.bin"); }

    std::unique_ptr<UpdateContext> ctx;
};

TEST_F(HostileTransfer, FollowsFiveRedirectsButNotASixth) {
    for (int i = 0; i < 6; ++i) http.responses["/r" + std::to_string(i)] = RedirectTo("/r" + std::to_string(i + 1));
    http.responses["/r6"].body = "the file";
    EXPECT_EQ(Fetch("/r1"), FetchResult::Ok);  // r1 .. r5 redirect: five
    EXPECT_EQ(Got(), "the file");
    http.requested.clear();
    EXPECT_EQ(Fetch("/r0"), FetchResult::BadRedirect);  // six
    EXPECT_EQ(http.requested, (std::vector<std::string>{"/r0", "/r1", "/r2", "/r3", "/r4", "/r5"}));
}

TEST_F(HostileTransfer, ARedirectLoopEndsAfterFiveTurns) {
    http.responses["/a"] = RedirectTo("/b", 301);
    http.responses["/b"] = RedirectTo("http://update.example.com/a", 307);
    EXPECT_EQ(Fetch("/a"), FetchResult::BadRedirect);
    EXPECT_EQ(http.requested.size(), 6u);
    // All on the wizard's own connection: the same server.
    EXPECT_EQ(http.connects.size(), 1u);
}

TEST_F(HostileTransfer, ARedirectToAnotherServerGoesOutOnAConnectionOfItsOwn) {
    http.responses["/a"] = RedirectTo("https://cdn.example.com:8443/files/a");
    http.responses["/files/a"].body = "from the cdn";
    EXPECT_EQ(Fetch("/a"), FetchResult::Ok);
    EXPECT_EQ(Got(), "from the cdn");
    EXPECT_EQ(http.connects, (std::vector<std::string>{"update.example.com:80", "cdn.example.com:8443:tls"}));
}

TEST_F(HostileTransfer, TlsIsNeverFollowedToPlainHttp) {
    ctx->server = Url("https://update.example.com/soft/update.ini");
    http.responses["/soft/update.ini"] = RedirectTo("http://update.example.com/soft/update.ini");
    EXPECT_EQ(Fetch("/soft/update.ini"), FetchResult::BadRedirect);
    EXPECT_EQ(http.requested.size(), 1u);
    // Nor after a first hop to another TLS server.
    http.responses["/a"] = RedirectTo("https://mirror.example.com/b");
    http.responses["/b"] = RedirectTo("http://mirror.example.com/c");
    http.responses["/c"].body = "plain";
    EXPECT_EQ(Fetch("/a"), FetchResult::BadRedirect);
}

TEST_F(HostileTransfer, ARedirectWithoutLocationIsTheAnswerItself) {
    http.responses["/a"].status = 302;
    http.responses["/a"].body = "kept as before";
    EXPECT_EQ(Fetch("/a"), FetchResult::Ok);
    EXPECT_EQ(Got(), "kept as before");
}

TEST_F(HostileTransfer, ABodyOverTheLimitFailsWhetherAnnouncedOrNot) {
    http.responses["/big"].body = std::string(5000, 'x');
    EXPECT_EQ(Fetch("/big", 5000), FetchResult::Ok);
    EXPECT_EQ(Fetch("/big", 4999), FetchResult::TooLarge);
    // Announced as small, sent without end: stopped at the limit, not at the end.
    http.responses["/big"].contentLength = "";
    http.responses["/big"].body = std::string(100000, 'x');
    EXPECT_EQ(Fetch("/big", 4096), FetchResult::TooLarge);
    http.responses["/big"].contentLength = "999999999";
    EXPECT_EQ(Fetch("/big", 4096), FetchResult::TooLarge);
}

TEST_F(HostileTransfer, ADescriptionOverOneMebibyteFailsTheCheckAsAConnectionFailure) {
    const std::string head = test::Description().Total().Text() + ";";
    http.responses[kIniObject].body = head + std::string(kMaxDescriptionBytes - head.size(), 'x');
    http.responses[kIniObject].contentLength = "";
    EXPECT_EQ(CheckVersions(*ctx), CheckOutcome::UpToDate);
    http.responses[kIniObject].body += "x";
    EXPECT_EQ(CheckVersions(*ctx), CheckOutcome::ConnectionFailed);
    EXPECT_EQ(view.status, "连接服务器失败！");
    EXPECT_TRUE(view.errors.empty());
}

TEST_F(HostileTransfer, TheCheckPumpsMessagesAndHearsACancel) {
    http.responses[kIniObject].body = test::Description().Total().Text() + std::string(10000, ';');
    view.onPump = [this] { ctx->cancelRequested = true; };
    EXPECT_EQ(CheckVersions(*ctx), CheckOutcome::ConnectionFailed);
    EXPECT_EQ(view.pumpAttempts, std::vector<int>{10});  // after the first block
    EXPECT_EQ(view.status, "正在连接到服务器...");
}

}  // namespace
}  // namespace vt
