#pragma once
// Windows as the Windows tests and the end-to-end tests see them from
// outside: their texts, the message boxes and dialogs a thread has open, the
// tray icon, and helper threads that answer the modal windows a UI thread is
// stuck in. Texts travel through WM_GETTEXT, so all of it works on windows of
// another thread or another process.
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/WindowLookup.h"

namespace vt::test {

std::wstring WindowText(HWND hwnd);
// The text of a message box (its static 0xFFFF).
std::wstring MessageBoxText(HWND box);
// The open message box of a thread (a visible #32770 window with the text
// static 0xFFFF that is not one of our own dialogs), or null.
HWND FindMessageBox(DWORD thread);
// A visible dialog of ours on that thread with exactly that caption, or null.
HWND FindDialog(DWORD thread, const std::wstring& caption);

// A button click as the button itself reports it: sent, so it is handled on
// return (Click), or posted, for a window whose thread may be stuck
// (PressButton).
void Click(HWND dialog, int id);
void PressButton(HWND dialog, int id);

// Dispatches whatever is queued for this thread, leaving a quit message in place.
void PumpMessages();
// Takes a posted quit message out of the queue; true when there was one.
bool TakeQuitMessage();

// A message box as the helper thread found it.
struct SeenBox {
    std::wstring caption;
    std::wstring text;
    bool hasCancel = false;
};

// What to do with one message box: optionally something while it is open
// (run on the helper thread), then press a button.
struct BoxReply {
    BoxReply(int button = IDOK, std::function<void(HWND box)> whileOpen = {})
        : button(button), whileOpen(std::move(whileOpen)) {}
    int button;
    std::function<void(HWND box)> whileOpen;
};

// Answers the message boxes that windows of one thread open, from a thread
// of its own: the thread that opened a box is stuck in the box's loop. Boxes
// beyond the replies are answered with Cancel (or OK) and still recorded.
class BoxAnswerer {
public:
    BoxAnswerer(DWORD uiThread, std::vector<BoxReply> replies);
    ~BoxAnswerer();
    // Stops the helper; the boxes it saw, in order.
    std::vector<SeenBox> Finish();

private:
    void Run();
    DWORD m_uiThread;
    std::vector<BoxReply> m_replies;
    std::vector<SeenBox> m_seen;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// One modal window to deal with: which one, and what to do with it (on the
// helper thread; SendMessage to it works, its thread serves it).
struct ModalStep {
    std::function<HWND(DWORD uiThread)> find;
    std::function<void(HWND)> act;
};
// A message box: its text is stored in *text, then button is pressed.
ModalStep AnswerBox(int button, std::wstring* text = nullptr, std::wstring* caption = nullptr);
ModalStep WithDialog(const std::wstring& caption, std::function<void(HWND)> act);

// Works through the steps in order from a thread of its own, each once its
// window appears; Finish stops it and tells how many steps were done.
class ModalDriver {
public:
    ModalDriver(DWORD uiThread, std::vector<ModalStep> steps);
    ~ModalDriver();
    std::size_t Finish();

private:
    void Run();
    DWORD m_uiThread;
    std::vector<ModalStep> m_steps;
    std::atomic<std::size_t> m_done{0};
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// Runs action on this thread while the driver answers what it opens.
std::size_t RunAnswering(const std::function<void()>& action, std::vector<ModalStep> steps);

}  // namespace vt::test
