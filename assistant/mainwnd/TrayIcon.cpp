#include "assistant/mainwnd/TrayIcon.h"

namespace vt {
namespace {

template <size_t N>
void CopyField(wchar_t (&field)[N], const std::wstring& text) {
    // The shell's fields are fixed: tip 128, balloon 256, title 64 characters.
    lstrcpynW(field, text.c_str(), static_cast<int>(N));
}

}  // namespace

void TrayIcon::Init(HWND owner, UINT callbackMessage, HICON icon) {
    m_nid = {};
    m_nid.hWnd = owner;
    m_nid.hIcon = icon;
    m_uCallbackMessage = callbackMessage;
    ResetHeader();
}

void TrayIcon::ResetHeader() {
    m_nid.cbSize = sizeof(NOTIFYICONDATAW);
    m_nid.uID = kIconId;
    m_nid.uCallbackMessage = m_uCallbackMessage;
}

void TrayIcon::Add(const std::wstring& tip) {
    ResetHeader();
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    CopyField(m_nid.szTip, tip);
    Notify(NIM_ADD);
}

void TrayIcon::Restore() {
    ResetHeader();
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    Notify(NIM_ADD);
}

void TrayIcon::SetTip(const std::wstring& tip) {
    ResetHeader();
    m_nid.uFlags = NIF_TIP;
    CopyField(m_nid.szTip, tip);
    Notify(NIM_MODIFY);
}

void TrayIcon::SetIcon(HICON icon) {
    m_nid.hIcon = icon;
    ResetHeader();
    m_nid.uFlags = NIF_ICON;
    Notify(NIM_MODIFY);
}

void TrayIcon::ShowBalloon(const std::wstring& text, const std::wstring& title) {
    ResetHeader();
    m_nid.uFlags = NIF_INFO;
    m_nid.uTimeout = 1000;
    m_nid.dwInfoFlags = NIIF_INFO;
    CopyField(m_nid.szInfo, text);
    CopyField(m_nid.szInfoTitle, title);
    Notify(NIM_MODIFY);
}

void TrayIcon::Delete() {
    ResetHeader();
    Notify(NIM_DELETE);
}

}  // namespace vt
