// The baseline of the start-up benchmark: the least a Win32 dialog program
// does (one hidden modeless dialog from a template, a message loop), shown
// by the same posted command that shows the assistant's main window, so the
// benchmark times every program up to its message loop running.
// Built twice more, to show what the assistant's start-up is made of:
// - VT_COMMON_CONTROLS: with the common controls 6 of the assistant's
//   manifest, initialised as the assistant does (what any program with a
//   list view or a trackbar pays);
// - VT_MAIN_TEMPLATE as well: the assistant's own resources and its main
//   window's template (nine controls, an up-down among them), titled during
//   its initialisation as the main window is, so that the window is found
//   only once the dialog is built. What the assistant takes beyond this is
//   its own code.
#include <windows.h>
#ifdef VT_COMMON_CONTROLS
#include <commctrl.h>
#endif

#include "assistant/res/resource.h"

#ifdef VT_MAIN_TEMPLATE
constexpr int kTemplate = IDD_SHUTDOWN;
#else
constexpr int kTemplate = 1;
#endif

static INT_PTR CALLBACK Proc(HWND dialog, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_INITDIALOG:
#ifdef VT_MAIN_TEMPLATE
        SetWindowTextW(dialog, L"MinimalBench");
#endif
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) != ID_TRAY_SHOW) return FALSE;
        ShowWindow(dialog, SW_SHOW);
        return TRUE;
    }
    return FALSE;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
#ifdef VT_COMMON_CONTROLS
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
#endif
    HWND dialog = CreateDialogParamW(instance, MAKEINTRESOURCEW(kTemplate), nullptr, Proc, 0);
    if (!dialog) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
