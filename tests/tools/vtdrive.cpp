// vtdrive: pokes the running programs from a shell script (the screenshot
// script uses it). Windows are named by their exact title, or by the start of
// it followed by '*'.
//   vtdrive wait <title> [ms]              wait until a window with that title exists
//   vtdrive post <title> <msg> <wp> <lp>   post a message (numbers: decimal or 0x..)
//   vtdrive send <title> <msg> <wp> <lp>   send it and print the window's answer
//   vtdrive command <title> <id>           post WM_COMMAND id
//   vtdrive click <title> <id>             click button id of that window
//   vtdrive senditem <title> <id> <msg> <wp> <lp>  send a message to control id
//   vtdrive rect <title>                   print "x y w h" of the window
//   vtdrive text <title> <id>              print the text of control id (UTF-8)
//   vtdrive cursor <x> <y>                 move the mouse pointer
//   vtdrive foreground <title>             bring the window to the front
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

HWND g_found;
const wchar_t* g_title;

BOOL CALLBACK Match(HWND hwnd, LPARAM) {
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    // A title ending in '*' names every window whose title begins with the
    // rest (for captions that change, like a clock in the title bar).
    size_t n = wcslen(g_title);
    bool prefix = n > 0 && g_title[n - 1] == L'*';
    if (prefix ? wcsncmp(text, g_title, n - 1) == 0 : wcscmp(text, g_title) == 0) {
        g_found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND Find(const wchar_t* title, DWORD waitMs) {
    DWORD start = GetTickCount();
    g_title = title;
    for (;;) {
        g_found = nullptr;
        EnumWindows(Match, 0);
        if (g_found || GetTickCount() - start > waitMs) return g_found;
        Sleep(50);
    }
}

long Num(const wchar_t* s) { return static_cast<long>(wcstoul(s, nullptr, 0)); }

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    std::wstring verb = argv[1];
    if (verb == L"cursor" && argc >= 4) return SetCursorPos(Num(argv[2]), Num(argv[3])) ? 0 : 1;
    DWORD wait = verb == L"wait" && argc >= 4 ? static_cast<DWORD>(Num(argv[3])) : 5000;
    HWND hwnd = Find(argv[2], wait);
    if (!hwnd) {
        fwprintf(stderr, L"no window titled %ls\n", argv[2]);
        return 1;
    }
    if (verb == L"wait") return 0;
    if (verb == L"post" && argc >= 6)
        return PostMessageW(hwnd, static_cast<UINT>(Num(argv[3])), static_cast<WPARAM>(Num(argv[4])),
                            static_cast<LPARAM>(Num(argv[5])))
                   ? 0
                   : 1;
    if (verb == L"send" && argc >= 6) {
        DWORD_PTR answer = 0;
        if (!SendMessageTimeoutW(hwnd, static_cast<UINT>(Num(argv[3])), static_cast<WPARAM>(Num(argv[4])),
                                 static_cast<LPARAM>(Num(argv[5])), SMTO_ABORTIFHUNG, 10000, &answer))
            return 1;
        wprintf(L"%lu\n", static_cast<unsigned long>(answer));
        return 0;
    }
    if (verb == L"command" && argc >= 4) return PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(Num(argv[3]), 0), 0) ? 0 : 1;
    if (verb == L"click" && argc >= 4) {
        HWND button = GetDlgItem(hwnd, static_cast<int>(Num(argv[3])));
        return button && PostMessageW(button, BM_CLICK, 0, 0) ? 0 : 1;
    }
    if (verb == L"senditem" && argc >= 7) {
        HWND item = GetDlgItem(hwnd, static_cast<int>(Num(argv[3])));
        DWORD_PTR answer = 0;
        return item && SendMessageTimeoutW(item, static_cast<UINT>(Num(argv[4])), static_cast<WPARAM>(Num(argv[5])),
                                           static_cast<LPARAM>(Num(argv[6])), SMTO_ABORTIFHUNG, 10000, &answer)
                   ? 0
                   : 1;
    }
    if (verb == L"rect") {
        RECT rc;
        GetWindowRect(hwnd, &rc);
        wprintf(L"%ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
        return 0;
    }
    if (verb == L"text" && argc >= 4) {
        wchar_t text[512] = {};
        GetWindowTextW(GetDlgItem(hwnd, static_cast<int>(Num(argv[3]))), text, 512);
        char utf8[1536] = {};
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
        std::printf("%s\n", utf8);
        return 0;
    }
    if (verb == L"foreground") return SetForegroundWindow(hwnd) ? 0 : 1;
    return 2;
}
