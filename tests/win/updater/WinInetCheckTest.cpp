// The version check over real WinINet against a loopback server.
#include "tests/win/updater/UpdaterWinSupport.h"
#include "updater/UpdateTexts.h"

namespace vt::test {
namespace {

using Strings = std::vector<std::string>;

// "助手" and "升级器" in code page 936, as a server description holds them.
const std::string kTitleHelper = "\xD6\xFA\xCA\xD6";
const std::string kTitleUpdater = "\xC9\xFD\xBC\xB6\xC6\xF7";

class UpdaterWinInetCheck : public UpdaterWinTest {
protected:
    Description ServerText() {
        return Description().Main("IniUrl", server.Url(kIniPath)).Main("ServerMode", 0).Total();
    }
};

TEST_F(UpdaterWinInetCheck, FindsNewerComponentsAndSavesTheDescriptionByteForByte) {
    WriteLocal(0, {{kTitleHelper, "1.0"}, {kTitleUpdater, "2.0"}});
    // Lines of every kind of ending and a last line without one: all kept.
    std::string served = ServerText().File(kTitleHelper, "1.1").File(kTitleUpdater, "2.0");
    served.replace(served.find("[File0]\r\n"), 9, "[File0]\n");
    served.resize(served.size() - 2);
    server.Serve(kIniPath, served);

    auto wizard = MakeWizard();
    ASSERT_TRUE(wizard->Start());
    EXPECT_EQ(view.list, (Strings{"助手  版本：1.0", "升级器  版本：2.0"}));
    wizard->Press();

    EXPECT_EQ(view.statuses, (Strings{updtext::kStatusConnecting, updtext::kStatusReading, updtext::kStatusNewer}));
    EXPECT_EQ(view.list, Strings{"发现新版本：助手 1.1"});
    EXPECT_EQ(view.button, "更新");
    EXPECT_EQ(wizard->Step(), WizardStep::Install);
    EXPECT_EQ(ReadBytes(win::FromUtf8(paths.serverIni)), served);
    // The port of the address was used: the server's is never 80.
    EXPECT_EQ(server.RequestedPaths(), Strings{kIniPath});
}

TEST_F(UpdaterWinInetCheck, EveryCheckAsksTheServerAgain) {
    WriteLocal(0, {{"A", "1.0"}});
    // The server says the description keeps an hour. (Wine's WinINet keeps
    // no cache; Windows' would answer the second check from it.)
    CannedResponse cacheable;
    cacheable.headers = "Cache-Control: public, max-age=3600\r\nLast-Modified: Mon, 01 Jan 2024 00:00:00 GMT\r\n";
    cacheable.body = ServerText().File("A", "1.0");
    server.Serve(kIniPath, cacheable);
    auto first = MakeWizard();
    first->Start();
    first->Press();
    EXPECT_EQ(view.status, updtext::kUpToDate);

    // Published a moment later under the same address: no cache may hide it.
    cacheable.body = ServerText().File("A", "1.5");
    server.Serve(kIniPath, cacheable);
    view = RecordingView{};
    auto second = MakeWizard();
    second->Start();
    second->Press();
    EXPECT_EQ(view.status, updtext::kStatusNewer);
    EXPECT_EQ(server.Requests(kIniPath), 2);
}

TEST_F(UpdaterWinInetCheck, UnreachableServerErrorPageAndMissingFileFailTheConnection) {
    struct Case {
        const char* name;
        std::string url;
        CannedResponse response;
        bool reachesTheServer;
    };
    CannedResponse page;
    page.body = "<HTML><BODY>Service busy</BODY></HTML>";
    CannedResponse missing;
    missing.status = 404;
    missing.body = Description().Main("Total", 1).Text();
    CannedResponse failing;
    failing.status = 500;
    const Case cases[] = {
        {"closed port", "http://127.0.0.1:" + std::to_string(TestHttpServer::ClosedPort()) + "/u.ini", {}, false},
        {"error page", "", page, true},
        {"404", "", missing, true},
        {"500", "", failing, true},
    };
    for (const Case& c : cases) {
        WriteLocal(0, {{"A", "1.0"}}, c.url);
        server.Serve(kIniPath, c.response);
        view = RecordingView{};
        auto wizard = MakeWizard();
        ASSERT_TRUE(wizard->Start()) << c.name;
        wizard->Press();
        const Strings expected =
            c.reachesTheServer
                ? Strings{updtext::kStatusConnecting, updtext::kStatusReading, updtext::kStatusConnectFailed}
                : Strings{updtext::kStatusConnecting, updtext::kStatusConnectFailed};
        EXPECT_EQ(view.statuses, expected) << c.name;
        EXPECT_EQ(view.list, Strings{"A  版本：1.0"}) << c.name;
        EXPECT_EQ(wizard->Step(), WizardStep::Finish) << c.name;
        EXPECT_EQ(view.button, "完成") << c.name;
        EXPECT_EQ(view.progresses, std::vector<int>{100}) << c.name;
        EXPECT_TRUE(view.errors.empty()) << c.name;
    }
}

}  // namespace
}  // namespace vt::test
