// Entry point of Vantrel.exe.
#include <windows.h>

#include "assistant/app/AssistantApp.h"
#include "assistant/app/CommandHandOff.h"
#include "shared/win/StartupStamps.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    vt::win::StartupStamp("entry");
    vt::AssistantApp app;
    return app.Run(vt::ProgramArguments());
}
