// instprobe: what the installer test asks of a Wine prefix from inside it.
//   instprobe windows <title>   prints how many top-level windows (hidden ones
//                               too) have exactly that title
//   instprobe hwnd <title>      prints the handle of the window of that title
//   instprobe tray <title|#hwnd> exit 0 when the window of that title (or
//                               handle) holds its tray icon (id 1000) in the
//                               shell
//   instprobe answer <title> <id> [ms]
//                               waits for a dialog or message box of that
//                               title (or title start, with '*') with button
//                               id enabled, prints its texts and clicks it
//   instprobe ready <title> <id> [ms]
//                               the same without the click
//   instprobe shortcut <lnk>    prints the shortcut's target, arguments and
//                               working directory, one a line
//   instprobe lock <file> <ms> holds the file open, shared with nobody, that
//                               long
//   instprobe path <csidl>      prints a shell folder (e.g. 28 local app data)
#include <windows.h>

#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "tests/support/WindowLookup.h"

namespace {

const wchar_t* g_title;
int g_count;

BOOL CALLBACK Count(HWND hwnd, LPARAM) {
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    if (wcscmp(text, g_title) == 0) ++g_count;
    return TRUE;
}

// A dialog or message box of any program titled title, with the button id
// there to be pressed.
HWND FindBox(const wchar_t* title, int id) {
    return vt::test::FindDialogWindow(0, [title, id](HWND hwnd) {
        wchar_t text[512] = {};
        GetWindowTextW(hwnd, text, 512);
        // A title ending in '*' names every one whose title begins with the rest.
        const size_t n = wcslen(title);
        const bool prefix = n > 0 && title[n - 1] == L'*';
        const bool titled = prefix ? wcsncmp(text, title, n - 1) == 0 : wcscmp(text, title) == 0;
        // A message box shares its caption with the program's own dialog
        // window; it is the one with that button, once the button may be
        // pressed.
        HWND button = GetDlgItem(hwnd, id);
        return titled && button && IsWindowVisible(button) && IsWindowEnabled(button);
    });
}

BOOL CALLBACK CollectStatic(HWND hwnd, LPARAM param) {
    wchar_t cls[64] = {}, text[1024] = {};
    GetClassNameW(hwnd, cls, 64);
    if (_wcsicmp(cls, L"Static") == 0 && GetWindowTextW(hwnd, text, 1024) > 0) {
        std::wstring& all = *reinterpret_cast<std::wstring*>(param);
        all += text;
    }
    return TRUE;
}

void PrintUtf8(const std::wstring& text) {
    char out[4096] = {};
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out, sizeof out - 1, nullptr, nullptr);
    std::printf("%s\n", out);
}

int Shortcut(const wchar_t* path) {
    if (FAILED(CoInitialize(nullptr))) return 1;
    IShellLinkW* link = nullptr;
    int rc = 1;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            if (SUCCEEDED(file->Load(path, STGM_READ))) {
                wchar_t target[MAX_PATH] = {}, args[MAX_PATH] = {}, dir[MAX_PATH] = {};
                link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
                link->GetArguments(args, MAX_PATH);
                link->GetWorkingDirectory(dir, MAX_PATH);
                PrintUtf8(target);
                PrintUtf8(args);
                PrintUtf8(dir);
                rc = 0;
            }
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return rc;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    std::wstring verb = argv[1];
    if (verb == L"windows") {
        g_title = argv[2];
        EnumWindows(Count, 0);
        std::printf("%d\n", g_count);
        return 0;
    }
    if (verb == L"hwnd") {
        HWND hwnd = FindWindowW(nullptr, argv[2]);
        if (!hwnd) return 1;
        std::printf("%lu\n", static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(hwnd)));
        return 0;
    }
    if ((verb == L"answer" || verb == L"ready") && argc >= 4) {
        const int id = static_cast<int>(wcstol(argv[3], nullptr, 0));
        const DWORD wait = argc >= 5 ? static_cast<DWORD>(wcstoul(argv[4], nullptr, 0)) : 10000;
        const DWORD start = GetTickCount();
        HWND box = nullptr;
        while (!(box = FindBox(argv[2], id))) {
            if (GetTickCount() - start > wait) return 1;
            Sleep(50);
        }
        std::wstring text;
        EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&text));
        for (wchar_t& c : text)
            if (c == L'\r' || c == L'\n') c = L' ';
        PrintUtf8(text);
        if (verb == L"ready") return 0;
        return PostMessageW(GetDlgItem(box, id), BM_CLICK, 0, 0) ? 0 : 1;
    }
    if (verb == L"tray") {
        HWND owner = argv[2][0] == L'#'
                         ? reinterpret_cast<HWND>(static_cast<ULONG_PTR>(wcstoul(argv[2] + 1, nullptr, 10)))
                         : FindWindowW(nullptr, argv[2]);
        if (!owner) return 1;
        return vt::test::HasTrayIcon(owner) ? 0 : 1;
    }
    if (verb == L"shortcut") return Shortcut(argv[2]);
    if (verb == L"lock" && argc >= 4) {
        HANDLE file = CreateFileW(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return 1;
        Sleep(static_cast<DWORD>(wcstoul(argv[3], nullptr, 0)));
        CloseHandle(file);
        return 0;
    }
    if (verb == L"path") {
        wchar_t path[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, static_cast<int>(wcstol(argv[2], nullptr, 0)), nullptr, 0, path)))
            return 1;
        PrintUtf8(path);
        return 0;
    }
    return 2;
}
