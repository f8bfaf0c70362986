// Entry point of Vantrel.exe.
#include <windows.h>

#include "assistant/app/AssistantApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    vt::AssistantApp app;
    return app.Run();
}
