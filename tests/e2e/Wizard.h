#pragma once
// Driving the real Update.exe: start it, find its wizard, wait for a step.
#include <optional>
#include <string>

#include "tests/e2e/Driver.h"
#include "tests/support/DescriptionBuilder.h"
#include "tests/support/ProgramImage.h"
#include "tests/support/TestFiles.h"
#include "tests/support/WizardNames.h"
#include "tests/win/updater/TestHttpServer.h"
#include "updater/ProgramKind.h"

namespace vt::e2e {

// Update.exe of dir started, and its wizard once it shows; null when either
// fails.
inline HWND StartWizard(Process& p, const std::wstring& dir) {
    if (!p.Start(dir + L"Update.exe")) return nullptr;
    return p.WaitWindow(kWizardTitle);
}

// Waits for the status line to read status; the step's other texts are set
// by then.
inline bool WaitStatus(HWND wizard, const std::wstring& status, DWORD timeoutMs = kStepTimeoutMs) {
    if (!wizard || !WaitFor([&] { return ItemText(wizard, kStatus) == status; }, timeoutMs)) return false;
    Settle(wizard);
    return true;
}

// An application directory of the test's own holding an Update.exe of this
// build, and a loopback server to update it from.
class UpdaterFixture : public ::testing::Test {
protected:
    void SetUp() override { SetUpWith(L"Update.exe"); }
    // program: the build's file that runs as the directory's Update.exe.
    void SetUpWith(const std::wstring& program) {
        ASSERT_TRUE(server.Listening());
        m_dir = m_scratch.emplace(L"e2e-" + test::CurrentTestName()).Wide();
        ASSERT_TRUE(CopyFileW((BuildBinDir() + program).c_str(), (m_dir + L"Update.exe").c_str(), FALSE));
    }
    std::string IniUrl() const { return server.Url("/vt/update.ini"); }

    // The program a finish after an update starts ("MainExe=Started.bat"):
    // it leaves a mark beside itself.
    void WriteStartedProgram() {
        WriteFileBytes(m_dir + L"Started.bat", "@echo off\r\necho started>\"%~dp0started.txt\"\r\n");
    }
    bool WasStarted(DWORD timeoutMs = 10000) {
        return WaitFor([&] { return FileExists(m_dir + L"started.txt"); }, timeoutMs);
    }
    // The server's description, its components still to be added; a finish
    // after an update starts the mark-leaving program.
    test::Description Published(int serverMode) const {
        return test::Description()
            .Main("IniUrl", IniUrl())
            .Main("ServerMode", serverMode)
            .Total()
            .Main("MainExe", "Started.bat");
    }

    test::TestHttpServer server;
    std::optional<test::ScratchDir> m_scratch;
    std::wstring m_dir;  // with a trailing backslash
};

}  // namespace vt::e2e
