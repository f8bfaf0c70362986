// The wizard's window on its real template, with WinINet and a loopback
// server behind it.
#include "tests/win/updater/UpdaterWinSupport.h"

#include <commctrl.h>

#include "shared/win/Encoding.h"
#include "tests/support/ProgramImage.h"
#include "updater/ProgramKind.h"
#include "updater/UpdateDialog.h"
#include "updater/UpdateTexts.h"
#include "updater/res/resource.h"

namespace vt::test {
namespace {

using WStrings = std::vector<std::wstring>;

class UpdaterDialog : public UpdaterWinTest {
protected:
    void SetUp() override {
        UpdaterWinTest::SetUp();
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&icc);
    }

    // Modeless, so that the test can look at it between the steps.
    void Open() {
        dialog = std::make_unique<UpdateDialog>(UpdateDialogServices{http, processes, files, shell, crypto}, paths);
        ASSERT_TRUE(dialog->Create(nullptr));
    }
    void Press(int id) { SendMessageW(dialog->Hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    std::wstring Text(int id) { return dialog->ItemText(id); }
    WStrings ListLines() {
        WStrings lines;
        HWND list = dialog->Item(IDC_COMPONENT_LIST);
        int n = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            std::wstring line(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
            line.resize(static_cast<size_t>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&line[0]))));
            lines.push_back(line);
        }
        return lines;
    }
    int Progress() { return static_cast<int>(SendDlgItemMessageW(dialog->Hwnd(), IDC_PROGRESS, PBM_GETPOS, 0, 0)); }

    void ServeOneNewerComponent(const std::string& body) {
        WriteLocal(0, {{"\xD6\xFA\xCA\xD6", "1.0"}});
        WriteFileBytes(m_appDir + L"a.dll", "old a");
        server.Serve(
            kIniPath,
            Description().Total().Main("MainExe", "Vantrel.exe").File("\xD6\xFA\xCA\xD6", "1.1").Download("a.dll"));
        server.Serve("/files/a.dll", body);
    }

    std::unique_ptr<UpdateDialog> dialog;
};

TEST_F(UpdaterDialog, WalksThroughTheStepsShowingEachOne) {
    // A library of the updater's own kind: programs of another are refused.
    const std::string newA = test::ProgramImage(kOwnMachine, "new a");
    ServeOneNewerComponent(newA);
    Open();
    EXPECT_EQ(dialog->Text(), L"在线升级");
    EXPECT_EQ(ListLines(), WStrings{L"助手  版本：1.0"});
    EXPECT_EQ(Text(IDC_STATUS), L"点击下一步查看可用的更新");
    EXPECT_EQ(Text(IDOK), L"下一步(&N)");
    EXPECT_NE(SendMessageW(dialog->Hwnd(), WM_QUERYDRAGICON, 0, 0), 0);

    Press(IDOK);
    EXPECT_EQ(Text(IDC_STATUS), win::FromUtf8(updtext::kStatusNewer));
    EXPECT_EQ(ListLines(), WStrings{L"发现新版本：助手 1.1"});
    EXPECT_EQ(Text(IDOK), L"更新");
    EXPECT_EQ(Progress(), 0);

    Press(IDOK);
    EXPECT_EQ(Text(IDC_STATUS), win::FromUtf8(updtext::kStatusUpdated));
    EXPECT_EQ(ListLines(), WStrings{L"助手更新完成!"});
    EXPECT_EQ(Text(IDOK), L"完成");
    EXPECT_EQ(Progress(), 100);
    EXPECT_EQ(AppFile("a.dll"), newA);

    Press(IDOK);
    EXPECT_TRUE(dialog->Wizard()->IsClosed());
    EXPECT_FALSE(dialog->IsVisible());
    EXPECT_EQ(shell.opened, std::vector<std::string>{paths.appDir + "Vantrel.exe"});
}

TEST_F(UpdaterDialog, CancelArrivingDuringTheDownloadStopsIt) {
    ServeOneNewerComponent(std::string(200000, 'x'));
    Open();
    Press(IDOK);
    ASSERT_EQ(Text(IDOK), L"更新");
    // Waits in the queue until the download lets messages through.
    PostMessageW(dialog->Hwnd(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    Press(IDOK);
    EXPECT_TRUE(dialog->Wizard()->IsClosed());
    EXPECT_FALSE(dialog->Wizard()->IsUpdated());
    EXPECT_EQ(AppFile("a.dll"), "old a");
    EXPECT_TRUE(shell.opened.empty());
}

}  // namespace
}  // namespace vt::test
