#include "updater/MessagePump.h"

namespace vt::win {

void PumpWaitingMessages(HWND dialog, int attempts) {
    for (int i = 0; i < attempts; ++i) {
        MSG msg;
        // Nothing waiting now means nothing waiting a moment later either:
        // PeekMessageW has already delivered any sent messages, and under
        // Wine every further look is a round trip to its server.
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return;
        if (msg.message == WM_QUIT) {
            // Not ours to take: the loop that owns it must still see it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        // Esc, Enter and Tab keep working as in the dialog's own loop.
        if (dialog && IsDialogMessageW(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace vt::win
