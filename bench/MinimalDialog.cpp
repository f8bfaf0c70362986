// The baseline of the start-up benchmark: the least a Win32 dialog program
// does (one hidden modeless dialog from a template, a message loop).
// Built a second time with VT_COMMON_CONTROLS: the same with the common
// controls 6 of the assistant's manifest, initialised as the assistant does
// (what any program with a list view or a trackbar pays).
#include <windows.h>
#ifdef VT_COMMON_CONTROLS
#include <commctrl.h>
#endif

static INT_PTR CALLBACK Proc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
#ifdef VT_COMMON_CONTROLS
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
#endif
    HWND dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(1), nullptr, Proc, 0);
    if (!dialog) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
