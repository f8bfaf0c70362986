// Entry point of Update.exe. Each Update program is compiled with its own
// PublisherKey.h (generated from the CMake option VANTREL_UPDATE_KEY).
#include <windows.h>

#include "PublisherKey.h"
#include "updater/UpdateApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
#ifdef VT_PUBLISHER_KEY_BYTES
    static const vt::P256PublicKey kKey = {VT_PUBLISHER_KEY_BYTES};
    vt::UpdateApp app(&kKey);
#else
    vt::UpdateApp app(nullptr);
#endif
    return app.Run();
}
