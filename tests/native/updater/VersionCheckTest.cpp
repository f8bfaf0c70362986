#include <gtest/gtest.h>

#include "UpdaterFakes.h"
#include "updater/UpdateTexts.h"
#include "updater/VersionCheck.h"

namespace vt {
namespace {

using Strings = std::vector<std::string>;

class VersionCheckTest : public test::UpdaterTest {
protected:
    CheckOutcome Check(int localMode = 0) {
        ctx = MakeContext(localMode);
        return CheckVersions(*ctx);
    }
    std::unique_ptr<UpdateContext> ctx;
};

TEST_F(VersionCheckTest, ListsOnlyStrictlyNewerComponentsInIndexOrder) {
    WriteLocal(0, {{"A", "1.0", "a.dll"}, {"B", "2.0", "b.dll"}, {"C", "1.3", "c.dll"}, {"E", "1.9", "e.dll"}});
    const std::string served = ServeServer(0, {{"A", "1.1", "a.dll"},
                                               {"B", "1.5", "b.dll"},    // older
                                               {"C", "1.3", "c.dll"},    // equal
                                               {"E", "1.10", "e.dll"},   // 1.10 < 1.9
                                               {"F", "0.1", "f.dll"}});  // not installed
    view.list = {"installed"};
    EXPECT_EQ(Check(), CheckOutcome::Newer);
    EXPECT_EQ(view.list, (Strings{"发现新版本：A 1.1", "发现新版本：F 0.1"}));
    EXPECT_EQ(view.statuses, (Strings{"正在连接到服务器...", "读取版本信息...", "发现新的版本！"}));
    EXPECT_TRUE(view.progresses.empty());
    EXPECT_EQ(test::ReadText(paths.serverIni), served);  // saved byte for byte
    EXPECT_EQ(http.requested, (Strings{kIniObject}));
}

TEST_F(VersionCheckTest, NothingNewerOrNoComponentsIsUpToDate) {
    WriteLocal(0, {{"A", "1.3", "a.dll"}});
    ServeServer(0, {{"A", "1.3", "a.dll"}});
    EXPECT_EQ(Check(), CheckOutcome::UpToDate);
    EXPECT_EQ(view.list, (Strings{"您现在使用的版本是最新的！"}));
    EXPECT_EQ(view.statuses.back(), "您现在使用的版本是最新的！");

    ServeServer(0, {});
    EXPECT_EQ(Check(), CheckOutcome::UpToDate);
}

TEST_F(VersionCheckTest, ServerModeCountsOnlyForAnAutomaticStart) {
    WriteLocal(0, {});
    ServeServer(2, {});
    Check(0);
    EXPECT_EQ(ctx->serverMode, ServerMode::WaitForUser);
    Check(1);
    EXPECT_EQ(ctx->serverMode, ServerMode::Unattended);
    Check(2);  // a number no start writes is not "by the user"
    EXPECT_EQ(ctx->serverMode, ServerMode::Unattended);
}

TEST_F(VersionCheckTest, EveryConnectionFailureKeepsTheList) {
    WriteLocal(0, {{"A", "1.0", "a.dll"}});
    const std::string good = ServeServer(0, {{"A", "2.0", "a.dll"}});
    struct Case {
        const char* name;
        bool sent;
        int status;
        std::string body;
        std::string length;
        long failAfter;
    };
    const std::string kLength = std::to_string(good.size());
    const Case cases[] = {
        {"not sent", false, 200, good, kLength, -1},
        {"status 199", true, 199, good, kLength, -1},
        {"status 404", true, 404, good, kLength, -1},
        {"status 500", true, 500, good, kLength, -1},
        {"html page", true, 200, "<html><body>404</body></html>", "", -1},
        {"HTML page", true, 200, "<HTML>\r\n<BODY>", "", -1},
        {"cut short", true, 200, good.substr(0, 20), kLength, -1},
    };
    for (const Case& c : cases) {
        test::FakeResponse r;
        r.sent = c.sent;
        r.status = c.status;
        r.body = c.body;
        r.contentLength = c.length;
        r.failAfter = c.failAfter;
        http.responses[kIniObject] = r;
        view.statuses.clear();
        view.list = {"A  版本：1.0"};

        EXPECT_EQ(Check(), CheckOutcome::ConnectionFailed) << c.name;
        const Strings expected = c.sent ? Strings{"正在连接到服务器...", "读取版本信息...", "连接服务器失败！"}
                                        : Strings{"正在连接到服务器...", "连接服务器失败！"};
        EXPECT_EQ(view.statuses, expected) << c.name;
        EXPECT_EQ(view.list, Strings{"A  版本：1.0"}) << c.name;
    }
}

TEST_F(VersionCheckTest, BrokenTransferIsAnErrorThatLeavesStatusAndList) {
    WriteLocal(0, {{"A", "1.0", "a.dll"}});
    ServeServer(0, {{"A", "2.0", "a.dll"}});
    http.responses[kIniObject].failAfter = 10;
    http.responses[kIniObject].errorText = "connection reset";
    view.list = {"A  版本：1.0"};
    EXPECT_EQ(Check(), CheckOutcome::TransferError);
    EXPECT_EQ(view.statuses, (Strings{"正在连接到服务器...", "读取版本信息..."}));
    EXPECT_EQ(view.list, Strings{"A  版本：1.0"});
    EXPECT_EQ(ctx->transferError, "connection reset");

    // The saved description cannot even be created: no description of it.
    http.responses[kIniObject].failAfter = -1;
    std::filesystem::remove_all(m_dir + "tmp");
    EXPECT_EQ(Check(), CheckOutcome::TransferError);
    EXPECT_EQ(ctx->transferError, "");
    EXPECT_EQ(view.status, "读取版本信息...");
}

TEST_F(VersionCheckTest, NoConnectionObjectIsAConnectionFailure) {
    WriteLocal(0, {});
    ServeServer(0, {});
    ctx = MakeContext();
    ctx->connection.reset();
    EXPECT_EQ(CheckVersions(*ctx), CheckOutcome::ConnectionFailed);
    EXPECT_EQ(view.status, "连接服务器失败！");
}

}  // namespace
}  // namespace vt
