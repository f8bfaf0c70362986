#include "tests/support/WindowLookup.h"

#include <shellapi.h>

#include "assistant/mainwnd/TrayIcon.h"

namespace vt::test {
namespace {

struct Search {
    const std::function<bool(HWND)>* wanted;
    HWND found = nullptr;
};

BOOL CALLBACK LookForDialog(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(hwnd) || !(*search->wanted)(hwnd)) return TRUE;
    search->found = hwnd;
    return FALSE;
}

}  // namespace

HWND FindDialogWindow(DWORD thread, const std::function<bool(HWND)>& wanted) {
    Search search{&wanted};
    if (thread)
        EnumThreadWindows(thread, LookForDialog, reinterpret_cast<LPARAM>(&search));
    else
        EnumWindows(LookForDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool HasTrayIcon(HWND owner) {
    // Modifying nothing succeeds only for an icon the shell holds.
    NOTIFYICONDATAW nid = {};
    nid.cbSize = sizeof nid;
    nid.hWnd = owner;
    nid.uID = TrayIcon::kIconId;
    return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

}  // namespace vt::test
