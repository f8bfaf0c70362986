// The baseline of the start-up benchmark: the least a Win32 dialog program
// does (one hidden modeless dialog from a template, a message loop).
#include <windows.h>

static INT_PTR CALLBACK Proc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    HWND dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(1), nullptr, Proc, 0);
    if (!dialog) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
