#include "tests/win/updater/UpdaterWinSupport.h"

namespace vt::test {

std::wstring MakeUpdaterDir(const std::wstring& name) {
    return MakeScratchDir(L"vt-upd-" + name + L"-" + std::to_wstring(GetCurrentProcessId()));
}

void UpdaterWinTest::SetUp() {
    ASSERT_TRUE(server.Listening());
    m_appDir = MakeUpdaterDir(CurrentTestName() + L"-app");
    m_tempDir = MakeUpdaterDir(CurrentTestName() + L"-tmp");
    paths = MakeUpdatePaths(win::ToUtf8(m_appDir), win::ToUtf8(m_tempDir));
    localIni = std::make_unique<win::WinProfile>(paths.localIni);
    serverIni = std::make_unique<win::WinProfile>(paths.serverIni);
}

void UpdaterWinTest::TearDown() {
    RemoveTree(m_appDir);
    RemoveTree(m_tempDir);
}

void UpdaterWinTest::WriteLocal(int localMode, const std::vector<std::pair<std::string, std::string>>& installed,
                                const std::string& iniUrl) {
    WriteFileBytes(win::FromUtf8(paths.localIni),
                   LocalDescription(iniUrl.empty() ? server.Url(kIniPath) : iniUrl, localMode, installed));
}

UpdateServices UpdaterWinTest::Services() {
    return UpdateServices{view, codec, http, files, processes, shell, *localIni, *serverIni, crypto, publisherKey};
}

std::unique_ptr<UpdateWizard> UpdaterWinTest::MakeWizard() { return std::make_unique<UpdateWizard>(Services(), paths); }

}  // namespace vt::test
