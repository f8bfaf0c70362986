#include "assistant/mainwnd/TrayIcon.h"

#include "shared/core/BuildArch.h"
#include "shared/win/Ignored.h"

namespace vt {
namespace {

template <size_t N>
void CopyField(wchar_t (&field)[N], const std::wstring& text) {
    // The shell's fields are fixed: tip 128, balloon 256, title 64 characters.
    lstrcpynW(field, text.c_str(), static_cast<int>(N));
}

}  // namespace

void TrayIcon::Init(HWND owner, UINT callbackMessage, HICON icon) {
    m_record = {};
    m_record.hWnd = owner;
    m_record.hIcon = icon;
    m_uCallbackMessage = callbackMessage;
    ResetHeader();
}

void TrayIcon::Notify(DWORD message) {
    if (!Shell_NotifyIconW(message, &m_record)) win::NoteIgnored(L"Shell_NotifyIconW");
}

// The whole Vista-and-later record (balloon icon and GUID included), as the
// shell of every supported Windows takes it: 956 bytes for x86, 976 for x64.
// A smaller cbSize would silently drop the balloon's own icon.
static_assert(sizeof(NOTIFYICONDATAW) == (kBuildIs64Bit ? 976 : 956), "NOTIFYICONDATAW of Vista and later");

void TrayIcon::ResetHeader() {
    m_record.cbSize = sizeof(NOTIFYICONDATAW);
    m_record.uID = kIconId;
    m_record.uCallbackMessage = m_uCallbackMessage;
}

void TrayIcon::Add(const std::wstring& tip) {
    ResetHeader();
    m_record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    CopyField(m_record.szTip, tip);
    Notify(NIM_ADD);
}

void TrayIcon::Restore() {
    ResetHeader();
    m_record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    Notify(NIM_ADD);
}

void TrayIcon::SetTip(const std::wstring& tip) {
    ResetHeader();
    m_record.uFlags = NIF_TIP;
    CopyField(m_record.szTip, tip);
    Notify(NIM_MODIFY);
}

void TrayIcon::SetIcon(HICON icon) {
    m_record.hIcon = icon;
    ResetHeader();
    m_record.uFlags = NIF_ICON;
    Notify(NIM_MODIFY);
}

void TrayIcon::ShowBalloon(const std::wstring& text, const std::wstring& title) {
    ResetHeader();
    m_record.uFlags = NIF_INFO;
    m_record.uTimeout = 1000;
    m_record.dwInfoFlags = NIIF_INFO;
    CopyField(m_record.szInfo, text);
    CopyField(m_record.szInfoTitle, title);
    Notify(NIM_MODIFY);
}

void TrayIcon::Delete() {
    ResetHeader();
    Notify(NIM_DELETE);
}

}  // namespace vt
