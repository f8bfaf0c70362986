#include "tests/win/mainwnd/MainWindowHarness.h"

#include <commctrl.h>
#include <shellapi.h>

namespace vt::test {
namespace {

const char* HiveName(RegistryHive hive) { return hive == RegistryHive::LocalMachine ? "HKLM" : "HKCU"; }

std::string Where(RegistryHive hive, const std::string& key, const std::string& name) {
    return std::string(HiveName(hive)) + "\\" + key + "\\" + name;
}

std::wstring WindowText(HWND hwnd) {
    wchar_t buf[1024] = {};
    GetWindowTextW(hwnd, buf, 1024);
    return buf;
}

struct FindState {
    HWND found = nullptr;
};

BOOL CALLBACK LookForMessageBox(HWND hwnd, LPARAM lParam) {
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    if (!GetDlgItem(hwnd, 0xFFFF) || win::Dialog::FromHandle(hwnd)) return TRUE;
    reinterpret_cast<FindState*>(lParam)->found = hwnd;
    return FALSE;
}

}  // namespace

bool RecordingRegistry::HasValue(RegistryHive hive, const std::string& key, const std::string& name) {
    return values.count({hive, key, name}) != 0;
}

bool RecordingRegistry::WriteString(RegistryHive hive, const std::string& key, const std::string& name,
                                    const std::string& value) {
    log.push_back("write " + Where(hive, key, name) + " = " + value);
    values[{hive, key, name}] = value;
    return true;
}

bool RecordingRegistry::WriteDword(RegistryHive hive, const std::string& key, const std::string& name,
                                   std::uint32_t value) {
    log.push_back("write " + Where(hive, key, name) + " = " + std::to_string(value));
    values[{hive, key, name}] = std::to_string(value);
    return true;
}

bool RecordingRegistry::DeleteValue(RegistryHive hive, const std::string& key, const std::string& name) {
    log.push_back("delete " + Where(hive, key, name));
    values.erase({hive, key, name});
    return true;
}

namespace {

class MemoryWriter : public IFileWriter {
public:
    explicit MemoryWriter(std::vector<unsigned char>& file) : m_file(file) {}
    bool Write(const void* data, std::size_t size) override {
        auto* bytes = static_cast<const unsigned char*>(data);
        m_file.insert(m_file.end(), bytes, bytes + size);
        return true;
    }
    bool Close() override { return true; }

private:
    std::vector<unsigned char>& m_file;
};

}  // namespace

bool RecordingFiles::ReadAll(const std::string& path, std::vector<unsigned char>& out) {
    auto it = files.find(path);
    if (it == files.end()) return false;
    out = it->second;
    return true;
}

std::unique_ptr<IFileWriter> RecordingFiles::Create(const std::string& path) {
    log.push_back("save reminders");
    files[path].clear();
    return std::make_unique<MemoryWriter>(files[path]);
}

bool RecordingFiles::Replace(const std::string& from, const std::string& to) {
    auto it = files.find(from);
    if (it == files.end()) return false;
    files[to] = it->second;
    files.erase(from);
    return true;
}

bool RecordingFiles::Copy(const std::string& from, const std::string& to) {
    auto it = files.find(from);
    if (it == files.end()) return false;
    files[to] = it->second;
    return true;
}

HWND FindMessageBox(DWORD thread) {
    FindState state;
    EnumThreadWindows(thread, LookForMessageBox, reinterpret_cast<LPARAM>(&state));
    return state.found;
}

BoxAnswerer::BoxAnswerer(DWORD uiThread, std::vector<BoxReply> replies)
    : m_uiThread(uiThread), m_replies(std::move(replies)), m_thread([this] { Run(); }) {}

BoxAnswerer::~BoxAnswerer() { Finish(); }

std::vector<SeenBox> BoxAnswerer::Finish() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    return m_seen;
}

void BoxAnswerer::Run() {
    while (!m_stop) {
        HWND box = FindMessageBox(m_uiThread);
        if (!box) {
            Sleep(5);
            continue;
        }
        // The texts come through WM_GETTEXT, which the box's own loop serves.
        SeenBox seen;
        seen.caption = WindowText(box);
        wchar_t text[1024] = {};
        GetDlgItemTextW(box, 0xFFFF, text, 1024);
        seen.text = text;
        seen.hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
        BoxReply reply;
        if (m_seen.size() < m_replies.size())
            reply = m_replies[m_seen.size()];
        else
            reply.button = seen.hasCancel ? IDCANCEL : IDOK;
        m_seen.push_back(seen);
        if (reply.whileOpen) reply.whileOpen(box);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(reply.button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, reply.button)));
        // Wait for it to go, so the next box found is a new one.
        for (int i = 0; i < 1000 && IsWindow(box) && IsWindowVisible(box); ++i) Sleep(5);
    }
}

bool HasTrayIcon(HWND owner) {
    // Modifying nothing succeeds only for an icon the shell holds.
    NOTIFYICONDATAW nid = {};
    nid.cbSize = sizeof nid;
    nid.hWnd = owner;
    nid.uID = TrayIcon::kIconId;
    return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool TakeQuitMessage() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

void MainWindowTest::SetUpTestSuite() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
}

void MainWindowTest::SetUp() { CreateMainWindow(); }

void MainWindowTest::CreateMainWindow() {
    m_dialog.reset();
    MainWindowServices services{m_registry, m_power, m_volume, m_shell, [this] { ++m_updateRequests; }, kExePath,
                                &m_reminders};
    m_dialog = std::make_unique<ShutdownDialog>(std::move(services));
    ASSERT_TRUE(m_dialog->Create(nullptr));
    m_log.clear();
}

void MainWindowTest::TearDown() {
    m_dialog.reset();
    TakeQuitMessage();
    PumpMessages();
}

std::wstring MainWindowTest::Text(HWND hwnd) const { return WindowText(hwnd); }

std::vector<SeenBox> MainWindowTest::Answering(const std::function<void()>& action, std::vector<BoxReply> replies) {
    BoxAnswerer answerer(GetCurrentThreadId(), std::move(replies));
    action();
    return answerer.Finish();
}

void MainWindowTest::ShowForm() {
    Command(ID_TRAY_SHOW);
    SetForegroundWindow(Main());
    PumpMessages();
}

}  // namespace vt::test
