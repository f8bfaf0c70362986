// instprobe: what the installer test asks of a Wine prefix from inside it.
//   instprobe windows <title>   prints how many top-level windows (hidden ones
//                               too) have exactly that title
//   instprobe tray <title>      exit 0 when the window of that title holds its
//                               tray icon (id 1000) in the shell
//   instprobe shortcut <lnk>    prints the shortcut's target, arguments and
//                               working directory, one a line
//   instprobe path <csidl>      prints a shell folder (e.g. 28 local app data)
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

const wchar_t* g_title;
int g_count;

BOOL CALLBACK Count(HWND hwnd, LPARAM) {
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    if (wcscmp(text, g_title) == 0) ++g_count;
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
    if (verb == L"tray") {
        HWND owner = FindWindowW(nullptr, argv[2]);
        if (!owner) return 1;
        // Modifying nothing succeeds only for an icon the shell holds.
        NOTIFYICONDATAW nid = {};
        nid.cbSize = sizeof nid;
        nid.hWnd = owner;
        nid.uID = 1000;
        return Shell_NotifyIconW(NIM_MODIFY, &nid) ? 0 : 1;
    }
    if (verb == L"shortcut") return Shortcut(argv[2]);
    if (verb == L"path") {
        wchar_t path[MAX_PATH] = {};
        if (FAILED(SHGetFolderPathW(nullptr, static_cast<int>(wcstol(argv[2], nullptr, 0)), nullptr, 0, path)))
            return 1;
        PrintUtf8(path);
        return 0;
    }
    return 2;
}
