#pragma once
// The one tray icon of the main window: one NOTIFYICONDATA record, reused for
// every add, modify and delete, always for icon id 1000.
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace vt {

class TrayIcon {
public:
    static constexpr UINT kIconId = 1000;

    void Init(HWND owner, UINT callbackMessage, HICON icon);
    // Adds the icon with its tip (also after the taskbar was re-created).
    void Add(const std::wstring& tip);
    // Adds the icon back with the tip it had when it was deleted.
    void Restore();
    void SetTip(const std::wstring& tip);
    // Another picture for the icon (the caller keeps owning it); shown at
    // once when the icon is there, else at the next Add.
    void SetIcon(HICON icon);
    void ShowBalloon(const std::wstring& text, const std::wstring& title);
    void Delete();

private:
    // The shell's answer is not acted on anywhere: a failed add leaves the
    // program without an icon until the taskbar is created again.
    void Notify(DWORD message);
    void ResetHeader();

    NOTIFYICONDATAW m_record = {};
    UINT m_uCallbackMessage = 0;
};

}  // namespace vt
