#include "assistant/mainwnd/WinVolumeDevice.h"

#include <endpointvolume.h>
#include <mmdeviceapi.h>
#include <mmsystem.h>

#include <cmath>

#include "shared/win/Ignored.h"

namespace vt::win {
namespace {

float ScalarFromLevel(std::uint32_t level) { return static_cast<float>(level & 0xFFFF) / 65535.0f; }

std::uint32_t LevelFromScalar(float scalar) {
    if (!(scalar > 0.0f)) return 0;
    if (scalar >= 1.0f) return 65535;
    return static_cast<std::uint32_t>(std::lround(scalar * 65535.0f));
}

}  // namespace

// COM joins this thread at the first volume call, not at start-up: ole32
// is delay-loaded and the first second never needs it.
WinVolumeDevice::WinVolumeDevice() = default;

WinVolumeDevice::~WinVolumeDevice() {
    if (m_bComInitialised) CoUninitialize();
}

bool WinVolumeDevice::ComReady() {
    if (!m_bComTried) {
        m_bComTried = true;
        HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        // A thread already in the multithreaded apartment can use COM as it
        // is; only our own initialisation is ours to undo.
        m_bComInitialised = SUCCEEDED(hr);
        m_bComReady = m_bComInitialised || hr == RPC_E_CHANGED_MODE;
    }
    return m_bComReady;
}

// The default endpoint is looked up at each use, so a change of the default
// device is followed. Null when there is none, or when it cannot report its
// channels separately (then the wave-out device is used).
ComPtr<IAudioEndpointVolume> WinVolumeDevice::Endpoint() {
    ComPtr<IAudioEndpointVolume> volume;
    if (!ComReady()) return volume;
    ComPtr<IMMDeviceEnumerator> enumerator;
    if (FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
                                reinterpret_cast<void**>(enumerator.Put()))))
        return volume;
    ComPtr<IMMDevice> device;
    if (FAILED(enumerator->GetDefaultAudioEndpoint(eRender, eConsole, device.Put()))) return volume;
    device->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr, reinterpret_cast<void**>(volume.Put()));
    UINT channels = 0;
    if (volume && (FAILED(volume->GetChannelCount(&channels)) || channels == 0)) volume.Reset();
    return volume;
}

bool WinVolumeDevice::UsesEndpoint() { return static_cast<bool>(Endpoint()); }

bool WinVolumeDevice::GetVolume(std::uint32_t& value) {
    if (ComPtr<IAudioEndpointVolume> endpoint = Endpoint()) {
        UINT channels = 0;
        float left = 0, right = 0;
        BOOL muted = FALSE;
        bool ok = SUCCEEDED(endpoint->GetChannelCount(&channels)) &&
                  SUCCEEDED(endpoint->GetChannelVolumeLevelScalar(0, &left));
        if (ok) {
            if (channels < 2 || FAILED(endpoint->GetChannelVolumeLevelScalar(1, &right))) right = left;
            endpoint->GetMute(&muted);
        }
        if (!ok) return false;
        // A muted endpoint is silent on both channels, whatever its levels.
        value = muted ? 0 : LevelFromScalar(left) | (LevelFromScalar(right) << 16);
        return true;
    }
    DWORD volume = 0;
    if (waveOutGetVolume(reinterpret_cast<HWAVEOUT>(0), &volume) != MMSYSERR_NOERROR) return false;
    value = volume;
    return true;
}

void WinVolumeDevice::SetVolume(std::uint32_t value) {
    // Failures only reach the debug output: without a device nothing can be
    // heard anyway.
    if (ComPtr<IAudioEndpointVolume> endpoint = Endpoint()) {
        UINT channels = 0;
        endpoint->GetChannelCount(&channels);
        HRESULT hr = endpoint->SetChannelVolumeLevelScalar(0, ScalarFromLevel(value), nullptr);
        if (FAILED(hr)) NoteIgnored(L"SetChannelVolumeLevelScalar(0)", hr);
        if (channels >= 2 &&
            FAILED(hr = endpoint->SetChannelVolumeLevelScalar(1, ScalarFromLevel(value >> 16), nullptr)))
            NoteIgnored(L"SetChannelVolumeLevelScalar(1)", hr);
        if (value != 0 && FAILED(hr = endpoint->SetMute(FALSE, nullptr))) NoteIgnored(L"SetMute", hr);
        return;
    }
    if (MMRESULT r = waveOutSetVolume(reinterpret_cast<HWAVEOUT>(0), value)) NoteIgnored(L"waveOutSetVolume", r);
}

}  // namespace vt::win
