#pragma once
// The computer's sound output as one volume value (left level in the low 16
// bits, right in the high 16 bits). On current Windows that is the default
// playback endpoint: wave-out volume would only change this program's own
// audio session. Where the endpoint's per-channel volume is not available,
// wave-out device 0 stands in.
#include <windows.h>

#include "assistant/mainwnd/VolumeDevice.h"
#include "shared/win/Handles.h"

struct IAudioEndpointVolume;

namespace vt::win {

class WinVolumeDevice : public IVolumeDevice {
public:
    WinVolumeDevice();
    ~WinVolumeDevice() override;
    WinVolumeDevice(const WinVolumeDevice&) = delete;
    WinVolumeDevice& operator=(const WinVolumeDevice&) = delete;

    bool GetVolume(std::uint32_t& value) override;
    void SetVolume(std::uint32_t value) override;
    bool UsesEndpoint();

private:
    ComPtr<IAudioEndpointVolume> Endpoint();
    bool ComReady();
    bool m_bComTried = false;
    bool m_bComReady = false;
    bool m_bComInitialised = false;
};

}  // namespace vt::win
