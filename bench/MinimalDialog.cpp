// The baseline of the start-up benchmark: the least a Win32 dialog program
// does (one hidden modeless dialog from a template, a message loop).
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

#ifdef VT_MAIN_TEMPLATE
#include "assistant/res/resource.h"
constexpr int kTemplate = IDD_SHUTDOWN;

static INT_PTR CALLBACK Proc(HWND dialog, UINT msg, WPARAM, LPARAM) {
    if (msg != WM_INITDIALOG) return FALSE;
    SetWindowTextW(dialog, L"MinimalBench");
    return TRUE;
}
#else
constexpr int kTemplate = 1;

static INT_PTR CALLBACK Proc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }
#endif

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
