#include "updater/UpdateDialog.h"

#include <utility>

#include "shared/win/AppDirectory.h"
#include "shared/win/Encoding.h"
#include "shared/win/Handles.h"
#include "updater/MessagePump.h"
#include "updater/res/resource.h"

namespace vt {
namespace {

// A copy of bitmap drawn width x height, halftoned so the shrunk or grown
// picture keeps its shading.
win::BitmapHandle Stretched(HBITMAP bitmap, int width, int height) {
    BITMAP source = {};
    GetObjectW(bitmap, sizeof source, &source);
    const win::WindowDc screen(nullptr);
    win::BitmapHandle fitted(CreateCompatibleBitmap(screen.Get(), width, height));
    const win::MemoryDcHandle from(CreateCompatibleDC(screen.Get())), to(CreateCompatibleDC(screen.Get()));
    const win::Selection fromPicture(from.Get(), bitmap), toPicture(to.Get(), fitted.Get());
    SetStretchBltMode(to.Get(), HALFTONE);
    SetBrushOrgEx(to.Get(), 0, 0, nullptr);
    StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, source.bmWidth, source.bmHeight, SRCCOPY);
    return fitted;
}

}  // namespace

UpdateDialog::UpdateDialog(const UpdateDialogServices& services, UpdatePaths paths)
    : win::Dialog(IDD_UPDATE),
      m_services(services),
      m_paths(std::move(paths)),
      m_localIni(m_paths.localIni),
      m_serverIni(m_paths.serverIni) {}

// The wizard goes before the codec and profiles it uses, the picture with
// the object and the window after both, with the base.
UpdateDialog::~UpdateDialog() = default;

BOOL UpdateDialog::OnInitDialog() {
    SetProgramIcon(IDI_MAIN);
    SendDlgItemMessageW(Hwnd(), IDC_PROGRESS, PBM_SETRANGE32, 0, 100);
    FitPicture();
    CenterOnScreen();

    const UpdateServices services{
        *this,      m_codec,     m_services.http,   m_services.files,       m_services.processes, m_services.shell,
        m_localIni, m_serverIni, m_services.crypto, m_services.publisherKey};
    m_wizard = std::make_unique<UpdateWizard>(services, m_paths);
    // An automatic start runs its first step here, before the window shows;
    // a run that ends by itself ends the dialog before it is ever seen.
    m_wizard->Start();
    return TRUE;
}

void UpdateDialog::OnOK() {
    if (m_wizard) m_wizard->Press();
}

// "取消", Esc and the close box. During a download the wizard ends when the
// step's work has returned.
void UpdateDialog::OnCancel() {
    m_nResult = IDCANCEL;
    if (m_wizard)
        m_wizard->Cancel();
    else
        EndDialog(IDCANCEL);
}

// The strip is measured in dialog units, the picture in pixels: with
// another font or screen resolution they part, and the picture would leave
// a bare band below or beside it. It is drawn to the strip's size instead.
void UpdateDialog::FitPicture() {
    HWND picture = Item(IDC_PICTURE);
    if (!picture) return;
    RECT strip = {0, 0, 112, 185};
    MapDialogRect(Hwnd(), &strip);
    RECT client;
    GetClientRect(Hwnd(), &client);
    const int width = strip.right, height = client.bottom > 0 ? client.bottom : strip.bottom;

    const win::BitmapHandle original(static_cast<HBITMAP>(
        LoadImageW(win::ResourceModule(), MAKEINTRESOURCEW(IDB_WIZARD), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!original) return;
    win::BitmapHandle fitted = Stretched(original.Get(), width, height);

    // The control takes the size of its new image. What it loaded from the
    // template is its own to free.
    SendMessageW(picture, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(fitted.Get()));
    SetWindowPos(picture, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    m_picture = std::move(fitted);
}

// The template puts the wizard in the corner of the screen; it opens in the
// middle of the screen it is on instead.
void UpdateDialog::CenterOnScreen() {
    RECT window;
    GetWindowRect(Hwnd(), &window);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(Hwnd(), MONITOR_DEFAULTTOPRIMARY), &monitor)) return;
    const RECT& work = monitor.rcWork;
    const int w = window.right - window.left, h = window.bottom - window.top;
    const int x = work.left + (work.right - work.left - w) / 2;
    const int y = work.top + (work.bottom - work.top - h) / 2;
    SetWindowPos(Hwnd(), nullptr, x > work.left ? x : work.left, y > work.top ? y : work.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool UpdateDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
    case WM_SETCURSOR:
        if (!OnSetCursor()) return false;
        result = TRUE;
        return true;
    }
    return Dialog::OnMessage(msg, wParam, lParam, result);
}

// The wait cursor holds over the whole window while files are transferred,
// also where the mouse moves during the message pump.
bool UpdateDialog::OnSetCursor() {
    if (!m_bWaitCursor) return false;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return true;
}

void UpdateDialog::SetStatus(const std::string& text) {
    SetItemText(IDC_STATUS, win::FromUtf8(text));
    // The check pumps no messages: paint the line now, or it would show
    // only when the step is over.
    if (HWND status = Item(IDC_STATUS)) UpdateWindow(status);
}

void UpdateDialog::ClearList() { SendDlgItemMessageW(Hwnd(), IDC_COMPONENT_LIST, LB_RESETCONTENT, 0, 0); }

void UpdateDialog::AddListLine(const std::string& text) {
    const std::wstring line = win::FromUtf8(text);
    SendDlgItemMessageW(Hwnd(), IDC_COMPONENT_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
}

void UpdateDialog::SetProgress(int percent) {
    SendDlgItemMessageW(Hwnd(), IDC_PROGRESS, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
}

void UpdateDialog::SetButtonText(const std::string& text) { SetItemText(IDOK, win::FromUtf8(text)); }

bool UpdateDialog::AskOkCancel(const std::string& text, const std::string& caption) {
    return ShowMessage(win::FromUtf8(text), win::FromUtf8(caption), MB_OKCANCEL | MB_ICONHAND) == IDOK;
}

void UpdateDialog::ShowError(const std::string& text) {
    ShowMessage(win::FromUtf8(text), win::ProgramName(), MB_OK | MB_ICONHAND);
}

// Only marks the dialog to end: this runs inside a step's work, whose
// callers are still on the stack.
void UpdateDialog::Close() { EndDialog(m_nResult); }

void UpdateDialog::SetWaitCursor(bool on) {
    if (on == m_bWaitCursor) return;
    m_bWaitCursor = on;
    if (on)
        m_hCursorBeforeWait = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    else
        SetCursor(m_hCursorBeforeWait ? m_hCursorBeforeWait : LoadCursorW(nullptr, IDC_ARROW));
}

void UpdateDialog::PumpMessages(int attempts) { win::PumpWaitingMessages(Hwnd(), attempts); }

}  // namespace vt
