#include "tests/win/reminders/ReminderWindowHarness.h"

#include "assistant/reminders/ReminderCodec.h"
#include "shared/win/Encoding.h"
#include "tests/support/TestFiles.h"

namespace vt::test {
namespace {

struct Search {
    const std::wstring* caption = nullptr;  // null: a message box
    HWND found = nullptr;
};

BOOL CALLBACK LookForWindow(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    bool ours = win::Dialog::FromHandle(hwnd) != nullptr;
    if (search->caption ? (ours && WindowText(hwnd) == *search->caption) : (!ours && GetDlgItem(hwnd, 0xFFFF))) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

std::wstring WindowText(HWND hwnd) {
    wchar_t buf[2048] = {};
    GetWindowTextW(hwnd, buf, 2048);
    return buf;
}

HWND FindMessageBox(DWORD thread) {
    Search search;
    EnumThreadWindows(thread, LookForWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindDialog(DWORD thread, const std::wstring& caption) {
    Search search;
    search.caption = &caption;
    EnumThreadWindows(thread, LookForWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void Click(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

ModalStep AnswerBox(int button, std::wstring* text, std::wstring* caption) {
    ModalStep step;
    step.find = [](DWORD thread) { return FindMessageBox(thread); };
    step.act = [button, text, caption](HWND box) {
        if (caption) *caption = WindowText(box);
        if (text) {
            wchar_t buf[2048] = {};
            GetDlgItemTextW(box, 0xFFFF, buf, 2048);
            *text = buf;
        }
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
    };
    return step;
}

ModalStep WithDialog(const std::wstring& caption, std::function<void(HWND)> act) {
    ModalStep step;
    step.find = [caption](DWORD thread) { return FindDialog(thread, caption); };
    step.act = std::move(act);
    return step;
}

ModalDriver::ModalDriver(DWORD uiThread, std::vector<ModalStep> steps)
    : m_uiThread(uiThread), m_steps(std::move(steps)), m_thread([this] { Run(); }) {}

ModalDriver::~ModalDriver() { Finish(); }

size_t ModalDriver::Finish() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    return m_done;
}

void ModalDriver::Run() {
    DWORD start = GetTickCount();
    for (const ModalStep& step : m_steps) {
        HWND hwnd = nullptr;
        while (!m_stop && !(hwnd = step.find(m_uiThread))) {
            if (GetTickCount() - start > 20000) return;
            Sleep(5);
        }
        if (!hwnd) return;
        step.act(hwnd);
        // Gone or hidden before the next step looks, so it finds a new window.
        for (int i = 0; i < 2000 && IsWindow(hwnd) && IsWindowVisible(hwnd); ++i) Sleep(5);
        ++m_done;
    }
}

size_t RunAnswering(const std::function<void()>& action, std::vector<ModalStep> steps) {
    ModalDriver driver(GetCurrentThreadId(), std::move(steps));
    action();
    // Whatever the action left queued (a posted question) runs now too.
    PumpMessages();
    return driver.Finish();
}

std::vector<unsigned char> FileOf(const std::vector<ReminderItem>& items) { return SerializeReminders(items); }

ReminderItem Reminder(RepeatKind kind, int year, int month, int day, int hour, int minute,
                      const std::wstring& title, ReminderState state, const std::wstring& content) {
    ReminderItem item = MakeReminder(kind, year, month, day, hour, minute, win::ToGbk(title).Bytes(), state);
    SetText(item.content, win::ToGbk(content));
    return item;
}

void ReminderWindowTest::SetUpTestSuite() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
}

void ReminderWindowTest::SetUp() {
    m_dir = MakeScratchDir(L"vt-reminders-" + CurrentTestName());
    m_path = m_dir + L"Notify.dat";
    m_clock.Set(2026, 12, 7, 8, 0, 0);  // a Monday
}

void ReminderWindowTest::TearDown() {
    m_dialog.reset();
    PumpMessages();
    RemoveTree(m_dir);
}

void ReminderWindowTest::WriteFile(const std::vector<unsigned char>& bytes) {
    auto writer = m_files.Create(win::ToUtf8(m_path));
    ASSERT_TRUE(writer);
    if (!bytes.empty()) {
        ASSERT_TRUE(writer->Write(bytes.data(), bytes.size()));
    }
    ASSERT_TRUE(writer->Close());
}

void ReminderWindowTest::CreateManager() {
    m_dialog = std::make_unique<ReminderManagerDialog>(
        ReminderServices{m_files, m_clock, m_shell, win::ToUtf8(m_path)});
    ASSERT_TRUE(m_dialog->Create(nullptr));
    m_dialog->Show(SW_HIDE);
    KillTimer(Manager(), kReminderTimerId);
}

std::wstring ReminderWindowTest::Cell(int row, int column) const {
    wchar_t buf[2048] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buf;
    item.cchTextMax = 2048;
    SendMessageW(List(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return buf;
}

void ReminderWindowTest::Select(const std::vector<int>& rows) {
    LVITEMW clear = {};
    clear.stateMask = LVIS_SELECTED;
    SendMessageW(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
    for (int row : rows) {
        LVITEMW item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        SendMessageW(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
}

std::string ReminderWindowTest::FileBytes() const {
    std::vector<unsigned char> bytes;
    m_files.ReadAll(win::ToUtf8(m_path), bytes);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace vt::test
