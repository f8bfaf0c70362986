#include "tests/win/updater/UpdaterWinSupport.h"

namespace vt::test {

void UpdaterWinTest::SetUp() {
    ASSERT_TRUE(server.Listening());
    m_appDir = m_app.emplace(L"upd-" + CurrentTestName() + L"-app").Wide();
    m_tempDir = m_temp.emplace(L"upd-" + CurrentTestName() + L"-tmp").Wide();
    paths = MakeUpdatePaths(win::ToUtf8(m_appDir), win::ToUtf8(m_tempDir));
    localIni = std::make_unique<win::WinProfile>(paths.localIni);
    serverIni = std::make_unique<win::WinProfile>(paths.serverIni);
}

void UpdaterWinTest::TearDown() {
    m_app.reset();
    m_temp.reset();
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
