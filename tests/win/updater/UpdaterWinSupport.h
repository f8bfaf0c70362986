#pragma once
// What the updater's Windows tests share: scratch directories for the
// application and the downloads, and the real WinINet, toolhelp and file
// services wired to a loopback server.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "shared/win/Encoding.h"
#include "shared/win/Platform.h"
#include "shared/win/WinProfile.h"
#include "tests/support/CoreFakes.h"
#include "tests/support/DescriptionBuilder.h"
#include "tests/support/RecordingView.h"
#include "tests/support/TestFiles.h"
#include "tests/win/updater/TestHttpServer.h"
#include "updater/UpdateWizard.h"
#include "updater/WinCrypto.h"
#include "updater/WinInetClient.h"
#include "updater/WinProcesses.h"
#include "updater/WinTextCodec.h"

namespace vt::test {

// "<missing>" for a file that is not there, so that an absent file never
// passes for an empty one.
inline std::string ReadBytes(const std::wstring& path) { return ReadFileBytes(path, "<missing>"); }

// size bytes of every value, the same for the same seed: a body that no
// text conversion or line-end rule leaves alone.
inline std::string Binary(std::size_t size, unsigned seed = 12345) {
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 16);
    }
    return bytes;
}

// Application and download directories on disk, a loopback server and the
// real services; the wizard is made on demand.
class UpdaterWinTest : public ::testing::Test {
protected:
    static constexpr const char* kIniPath = "/soft/update.ini";

    void SetUp() override;
    void TearDown() override;

    // The local description of the installed (title, version) pairs; iniUrl
    // empty: the loopback server's kIniPath.
    void WriteLocal(int localMode, const std::vector<std::pair<std::string, std::string>>& installed,
                    const std::string& iniUrl = "");
    std::string AppFile(const std::string& name) { return ReadBytes(m_appDir + win::FromUtf8(name)); }

    UpdateServices Services();
    std::unique_ptr<UpdateWizard> MakeWizard();

    TestHttpServer server;
    std::optional<ScratchDir> m_app, m_temp;
    std::wstring m_appDir;
    std::wstring m_tempDir;
    UpdatePaths paths;
    RecordingView view;
    RecordingShell shell;
    win::WinTextCodec codec;
    win::WinInetClient http{L"Update"};
    win::WinFileSystem files;
    win::WinProcesses processes;
    win::WinCrypto crypto;
    const P256PublicKey* publisherKey = nullptr;  // set: signed mode
    std::unique_ptr<win::WinProfile> localIni;
    std::unique_ptr<win::WinProfile> serverIni;
};

}  // namespace vt::test
