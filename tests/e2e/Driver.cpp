#include "tests/e2e/Driver.h"

#include <shellapi.h>

namespace vt::e2e {

const wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kProductKey[] = L"SOFTWARE\\Orvane\\Vantrel";

std::wstring BuildBinDir() {
    // The build directory is a Linux path; Wine shows the root as drive Z:.
    std::string dir = VT_BIN_DIR;
    std::wstring out = L"Z:";
    for (char c : dir) out += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    if (out.back() != L'\\') out += L'\\';
    return out;
}

bool CopyInto(const std::wstring& dir, const std::wstring& fromDir, const std::wstring& name) {
    return CopyFileW((fromDir + name).c_str(), (dir + name).c_str(), FALSE) != 0;
}

Process::~Process() {
    if (m_pi.hProcess) {
        if (Running()) Kill();
        CloseHandle(m_pi.hProcess);
        if (m_pi.hThread) CloseHandle(m_pi.hThread);
    }
}

bool Process::Start(const std::wstring& exePath) { return Start(exePath, L""); }

bool Process::Start(const std::wstring& exePath, const std::wstring& arguments) {
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    std::wstring cmd = L"\"" + exePath + L"\"";
    if (!arguments.empty()) cmd += L" " + arguments;
    std::wstring dir = exePath.substr(0, exePath.find_last_of(L'\\') + 1);
    return CreateProcessW(exePath.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &m_pi) != 0;
}

namespace {

std::string Utf8(const std::wstring& text) {
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    return out;
}

struct MainWindowSearch {
    std::wstring exePath;
    DWORD pid;
};

BOOL CALLBACK FindMainWindowOf(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<MainWindowSearch*>(lParam);
    if (test::WindowText(hwnd) != kMainWindowTitle) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return TRUE;
    wchar_t image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    bool ours = QueryFullProcessImageNameW(process, 0, image, &size) && lstrcmpiW(image, search->exePath.c_str()) == 0;
    CloseHandle(process);
    if (!ours) return TRUE;
    search->pid = pid;
    return FALSE;
}

}  // namespace

bool Process::StartFromUnix(const std::wstring& exePath, const std::vector<std::string>& environment, DWORD timeoutMs) {
    using Spawn = LONG(CDECL*)(char* const argv[], int wait);
    auto spawn = reinterpret_cast<Spawn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "__wine_unix_spawnvp")));
    if (!spawn) return false;
    char loader[MAX_PATH] = "wine";
    GetEnvironmentVariableA("VT_WINE_LOADER", loader, MAX_PATH);
    std::vector<std::string> args{"/usr/bin/env"};
    args.insert(args.end(), environment.begin(), environment.end());
    args.push_back(loader);
    args.push_back(Utf8(exePath));
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    if (spawn(argv.data(), 0) != 0) return false;
    MainWindowSearch search{exePath, 0};
    WaitFor([&] { return !EnumWindows(FindMainWindowOf, reinterpret_cast<LPARAM>(&search)) && search.pid; }, timeoutMs);
    if (!search.pid) return false;
    m_pi.dwProcessId = search.pid;
    m_pi.hProcess = OpenProcess(PROCESS_ALL_ACCESS, FALSE, search.pid);
    m_pi.hThread = nullptr;
    return m_pi.hProcess != nullptr;
}

DWORD Process::WaitExit(DWORD timeoutMs) {
    if (!m_pi.hProcess) return 0;
    WaitForSingleObject(m_pi.hProcess, timeoutMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_pi.hProcess, &code);
    return code;
}

void Process::Kill() {
    TerminateProcess(m_pi.hProcess, 1);
    WaitForSingleObject(m_pi.hProcess, 5000);
}

bool Process::Running() const { return m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT; }

namespace {
struct EnumState {
    DWORD pid;
    bool visibleOnly;
    std::vector<HWND> found;
};
BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam) {
    auto* state = reinterpret_cast<EnumState*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == state->pid && (!state->visibleOnly || IsWindowVisible(hwnd))) state->found.push_back(hwnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> Process::TopLevelWindows(bool visibleOnly) const {
    EnumState state{m_pi.dwProcessId, visibleOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

HWND Process::FindWindowTitled(const std::wstring& title) const {
    for (HWND hwnd : TopLevelWindows(true))
        if (WindowText(hwnd) == title) return hwnd;
    return nullptr;
}

HWND Process::WaitWindow(const std::wstring& title, DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindWindowTitled(title)) != nullptr; }, timeoutMs);
    return found;
}

HWND Process::WaitAnyWindow(const std::wstring& title, DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitFor(
        [&] {
            for (HWND hwnd : TopLevelWindows(false))
                if (WindowText(hwnd) == title) return (found = hwnd) != nullptr;
            return false;
        },
        timeoutMs);
    return found;
}

HWND WaitMainWindow(const Process& process, DWORD timeoutMs) {
    HWND main = nullptr;
    WaitFor(
        [&] {
            for (HWND w : process.TopLevelWindows(false))
                if (WindowText(w) == kMainWindowTitle) return (main = w) != nullptr;
            return false;
        },
        timeoutMs);
    return main;
}

void Settle(HWND window) { SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, nullptr); }

std::wstring ItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item ? WindowText(item) : std::wstring();
}

std::vector<std::wstring> ListBoxLines(HWND dialog, int id) {
    // The system copies list box texts across processes, as it does window texts.
    std::vector<std::wstring> lines;
    HWND list = GetDlgItem(dialog, id);
    DWORD_PTR count = 0;
    if (!list || !SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count)) return lines;
    for (int i = 0; i < static_cast<int>(count); ++i) {
        wchar_t buf[1024] = {};
        SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000, nullptr);
        lines.push_back(buf);
    }
    return lines;
}

bool IsVisible(HWND hwnd) { return hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0; }

void PostCommand(HWND mainWindow, int id) { PostMessageW(mainWindow, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

bool ReadRegString(HKEY root, const wchar_t* key, const wchar_t* name, std::wstring& value) {
    wchar_t buf[2048] = {};
    DWORD size = sizeof buf - sizeof(wchar_t);
    DWORD type = 0;
    HKEY h;
    if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return false;
    LONG rc = RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(h);
    if (rc != ERROR_SUCCESS || type != REG_SZ) return false;
    value.assign(buf, size / sizeof(wchar_t));
    while (!value.empty() && value.back() == L'\0') value.pop_back();
    return true;
}

bool ReadRegDword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD& value) {
    DWORD size = sizeof value, type = 0;
    HKEY h;
    if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return false;
    LONG rc = RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(h);
    return rc == ERROR_SUCCESS && type == REG_DWORD;
}

void DeleteRegValue(HKEY root, const wchar_t* key, const wchar_t* name) {
    HKEY h;
    if (RegOpenKeyExW(root, key, 0, KEY_SET_VALUE, &h) != ERROR_SUCCESS) return;
    RegDeleteValueW(h, name);
    RegCloseKey(h);
}

namespace {

BOOL CALLBACK CollectBalloon(HWND hwnd, LPARAM out) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (lstrcmpiW(cls, L"tooltips_class32") != 0 || !IsVisible(hwnd)) return TRUE;
    wchar_t text[512] = {};
    DWORD_PTR n = 0;
    if (SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, &n))
        reinterpret_cast<std::vector<std::wstring>*>(out)->push_back(text);
    return TRUE;
}

const wchar_t kSettingsKey[] = L"Software\\Orvane\\Vantrel";

}  // namespace

std::vector<std::wstring> BalloonTexts() {
    std::vector<std::wstring> texts;
    EnumWindows(CollectBalloon, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

bool BalloonShown(const std::wstring& text, DWORD timeoutMs) {
    return WaitFor(
        [&] {
            for (const std::wstring& shown : BalloonTexts())
                if (shown == text) return true;
            return false;
        },
        timeoutMs);
}

void AssistantTest::SetUp() {
    ClearAutorun();
    ClearSettings();
    m_dir = m_scratch.emplace(L"e2e-" + test::CurrentTestName()).Wide();
    ASSERT_TRUE(CopyInto(m_dir, BuildBinDir(), L"Vantrel.exe"));
}

void AssistantTest::TearDown() {
    ClearAutorun();
    ClearSettings();
}

void AssistantTest::ClearSettings() {
    for (const wchar_t* name : {L"HotkeyLeft", L"HotkeyRight", L"HotkeyStereo", L"HotkeyMute", L"EndAction",
                                L"CountdownMinutes", L"CountdownClock", L"CountdownAtClock"})
        DeleteRegValue(HKEY_CURRENT_USER, kSettingsKey, name);
}

void AssistantTest::PutSetting(const wchar_t* name, DWORD value) {
    HKEY h;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &h, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExW(h, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value),
              ERROR_SUCCESS);
    RegCloseKey(h);
}

void AssistantTest::ClearAutorun() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        DeleteRegValue(root, kRunKey, L"Vantrel");
        DeleteRegValue(root, kProductKey, L"ShowInfo");
    }
}

HWND AssistantTest::Start(Process& process) {
    if (!process.Start(m_dir + L"Vantrel.exe")) return nullptr;
    return WaitMainWindow(process);
}

}  // namespace vt::e2e
