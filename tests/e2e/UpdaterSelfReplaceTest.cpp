// The updater installing its own new version while it runs: Windows will not
// copy over a running program, so the real Update.exe has to get out of its
// own way, and the next start clears what it left behind.
#include <gtest/gtest.h>

#include "tests/e2e/Wizard.h"
#include "tests/support/DescriptionBuilder.h"
#include "tests/win/updater/TestHttpServer.h"

namespace vt::e2e {
namespace {

TEST(UpdaterSelfReplace, RunningUpdaterInstallsItsOwnNewVersion) {
    test::TestHttpServer server;
    ASSERT_TRUE(server.Listening());
    const test::ScratchDir scratch(L"e2e-upd-self");
    const std::wstring dir = scratch.Wide();
    ASSERT_TRUE(CopyInto(dir, BuildBinDir(), L"Update.exe"));
    const std::wstring self = dir + L"Update.exe", aside = self + L".old";
    const std::string oldBytes = ReadFileBytes(self);
    ASSERT_FALSE(oldBytes.empty());
    // Still a program that starts, and told apart from the old one by what
    // follows its image.
    const std::string newBytes = oldBytes + std::string("\0new build", 10);

    const std::string url = server.Url("/vt/update.ini");
    WriteFileBytes(dir + L"Update.ini", test::LocalDescription(url, 0, {{"U", "1.0"}}));
    const std::string served =
        test::Description().Main("IniUrl", url).Main("ServerMode", 0).Total().Offer("U", "1.1", "Update.exe", "/vt/");
    server.Serve("/vt/update.ini", served);
    server.Serve("/vt/Update.exe", newBytes);

    {
        Process p;
        ASSERT_TRUE(p.Start(self));
        HWND wizard = p.WaitWindow(kWizardTitle);
        ASSERT_NE(wizard, nullptr);
        PressButton(wizard, IDOK);
        ASSERT_TRUE(WaitStatus(wizard, kNewerFound));
        PressButton(wizard, IDOK);
        ASSERT_TRUE(WaitStatus(wizard, kUpdated));
        EXPECT_EQ(ListBoxLines(wizard, kList), std::vector<std::wstring>{L"U更新完成!"});
        EXPECT_TRUE(ReadFileBytes(self) == newBytes);
        EXPECT_TRUE(ReadFileBytes(aside) == oldBytes);
        EXPECT_EQ(ReadFileBytes(dir + L"Update.ini"), served);
        PressButton(wizard, IDOK);
        EXPECT_EQ(p.WaitExit(), 0u);
    }

    // The new version starts and clears the old one away; nothing is newer now.
    Process next;
    ASSERT_TRUE(next.Start(self));
    HWND wizard = next.WaitWindow(kWizardTitle);
    ASSERT_NE(wizard, nullptr);
    EXPECT_TRUE(WaitFor([&] { return !FileExists(aside); }));
    PressButton(wizard, IDCANCEL);
    EXPECT_EQ(next.WaitExit(), 0u);
    EXPECT_TRUE(ReadFileBytes(self) == newBytes);
}

}  // namespace
}  // namespace vt::e2e
