#include "tests/win/mainwnd/MainWindowHarness.h"

#include <commctrl.h>

namespace vt::test {
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

void MainWindowTest::SetUpTestSuite() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
}

void MainWindowTest::SetUp() {
    m_now.now.year = 2026;
    m_now.now.hour = 8;
    CreateMainWindow();
}

void MainWindowTest::CreateMainWindow() {
    m_dialog.reset();
    MainWindowServices services{m_registry, m_power,      m_volume, m_shell, [this] { ++m_updateRequests; },
                                kExePath,   &m_reminders, &m_now,   &m_jobs, [this] { return m_seconds; }};
    m_dialog = std::make_unique<ShutdownDialog>(std::move(services));
    ASSERT_TRUE(m_dialog->Create(nullptr));
    // The start's deferred work, as when the loop first idles.
    Send(WM_TIMER, kStartTimerId, 0);
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
