// Entry point of Update.exe.
#include <windows.h>

#include "updater/UpdateApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    vt::UpdateApp app;
    return app.Run();
}
