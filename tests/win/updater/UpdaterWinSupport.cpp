#include "tests/win/updater/UpdaterWinSupport.h"

namespace vt::test {

std::wstring MakeScratchDir(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring dir = std::wstring(temp) + L"vt-upd-" + name + L"-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    RemoveScratchDir(dir);
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

void RemoveScratchDir(const std::wstring& dir) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((dir + L"*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveScratchDir(dir + name + L"\\");
            else
                DeleteFileW((dir + name).c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    RemoveDirectoryW(dir.c_str());
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(f);
}

std::string ReadBytes(const std::wstring& path) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return "<missing>";
    std::string out;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(f, buf, sizeof buf, &n, nullptr) && n > 0) out.append(buf, n);
    CloseHandle(f);
    return out;
}

void UpdaterWinTest::SetUp() {
    ASSERT_TRUE(server.Listening());
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    m_appDir = MakeScratchDir(win::FromUtf8(name) + L"-app");
    m_tempDir = MakeScratchDir(win::FromUtf8(name) + L"-tmp");
    paths = MakeUpdatePaths(win::ToUtf8(m_appDir), win::ToUtf8(m_tempDir));
    localIni = std::make_unique<win::WinProfile>(paths.localIni);
    serverIni = std::make_unique<win::WinProfile>(paths.serverIni);
}

void UpdaterWinTest::TearDown() {
    RemoveScratchDir(m_appDir);
    RemoveScratchDir(m_tempDir);
}

void UpdaterWinTest::WriteLocal(int localMode, const std::string& componentsText, const std::string& iniUrl) {
    WriteBytes(win::FromUtf8(paths.localIni),
               "[Main]\r\nIniUrl=" + (iniUrl.empty() ? server.Url(kIniPath) : iniUrl) +
                   "\r\nLocalMode=" + std::to_string(localMode) + "\r\n" + componentsText);
}

UpdateServices UpdaterWinTest::Services() {
    return UpdateServices{view, codec, http, files, processes, shell, *localIni, *serverIni};
}

std::unique_ptr<UpdateWizard> UpdaterWinTest::MakeWizard() { return std::make_unique<UpdateWizard>(Services(), paths); }

}  // namespace vt::test
