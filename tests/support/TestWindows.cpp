#include "tests/support/TestWindows.h"

#include "shared/win/Dialog.h"

namespace vt::test {
namespace {

constexpr int kBoxTextId = 0xFFFF;

bool IsOurs(HWND dialog) { return win::Dialog::FromHandle(dialog) != nullptr; }

// Waits until the window is gone or hidden, so the next one found is a new one.
void WaitGone(HWND hwnd, int tries) {
    for (int i = 0; i < tries && IsWindow(hwnd) && IsWindowVisible(hwnd); ++i) Sleep(5);
}

}  // namespace

std::wstring WindowText(HWND hwnd) {
    wchar_t buf[2048] = {};
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(buf), SMTO_ABORTIFHUNG, 5000, nullptr);
    return buf;
}

std::wstring MessageBoxText(HWND box) {
    HWND text = GetDlgItem(box, kBoxTextId);
    return text ? WindowText(text) : std::wstring();
}

HWND FindMessageBox(DWORD thread) {
    return FindDialogWindow(thread, [](HWND hwnd) { return !IsOurs(hwnd) && GetDlgItem(hwnd, kBoxTextId); });
}

HWND FindDialog(DWORD thread, const std::wstring& caption) {
    return FindDialogWindow(thread, [&caption](HWND hwnd) { return IsOurs(hwnd) && WindowText(hwnd) == caption; });
}

void Click(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void PressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
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
        seen.text = MessageBoxText(box);
        seen.hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
        BoxReply reply;
        if (m_seen.size() < m_replies.size())
            reply = m_replies[m_seen.size()];
        else
            reply.button = seen.hasCancel ? IDCANCEL : IDOK;
        m_seen.push_back(seen);
        if (reply.whileOpen) reply.whileOpen(box);
        PressButton(box, reply.button);
        WaitGone(box, 1000);
    }
}

ModalStep AnswerBox(int button, std::wstring* text, std::wstring* caption) {
    ModalStep step;
    step.find = [](DWORD thread) { return FindMessageBox(thread); };
    step.act = [button, text, caption](HWND box) {
        if (caption) *caption = WindowText(box);
        if (text) *text = MessageBoxText(box);
        PressButton(box, button);
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

std::size_t ModalDriver::Finish() {
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
        WaitGone(hwnd, 2000);
        ++m_done;
    }
}

std::size_t RunAnswering(const std::function<void()>& action, std::vector<ModalStep> steps) {
    ModalDriver driver(GetCurrentThreadId(), std::move(steps));
    action();
    // Whatever the action left queued (a posted question) runs now too.
    PumpMessages();
    return driver.Finish();
}

}  // namespace vt::test
