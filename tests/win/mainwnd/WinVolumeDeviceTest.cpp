// The real sound device as this machine has it. Without a playback device a
// read must say it failed; with one, setting and reading agree. The user's
// volume is put back afterwards.
#include <windows.h>

#include <mmsystem.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <thread>

#include "assistant/mainwnd/WinVolumeDevice.h"

namespace vt::win {
namespace {

bool Near(std::uint32_t a, std::uint32_t b) {
    return std::abs(int(a & 0xFFFF) - int(b & 0xFFFF)) <= 1 && std::abs(int(a >> 16) - int(b >> 16)) <= 1;
}

}  // namespace

TEST(WinVolumeDevice, ReadFailsWithoutADeviceAndSettingNeverBreaksReading) {
    WinVolumeDevice device;
    std::uint32_t original = 0;
    const bool readable = device.GetVolume(original);
    if (!device.UsesEndpoint() && waveOutGetNumDevs() == 0) {
        EXPECT_FALSE(readable);
    }

    device.SetVolume(0x40002000);
    std::uint32_t value = 0;
    EXPECT_EQ(device.GetVolume(value), readable);
    // Only the endpoint keeps levels exactly; the wave-out stand-in may round.
    if (readable && device.UsesEndpoint()) {
        EXPECT_TRUE(Near(value, 0x40002000)) << std::hex << value;
        device.SetVolume(0);
        ASSERT_TRUE(device.GetVolume(value));
        EXPECT_EQ(value, 0u);
    }
    if (readable) device.SetVolume(original);
}

TEST(WinVolumeDevice, LeavesTheThreadsOwnComInitialisationAlone) {
    // A thread in the multithreaded apartment: the device must use COM as it
    // finds it and must not undo the thread's own initialisation.
    HRESULT before = E_FAIL, after = E_FAIL;
    bool readable = false, readableOnSta = false;
    std::thread([&] {
        before = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        {
            WinVolumeDevice device;
            std::uint32_t value = 0;
            readable = device.GetVolume(value);
        }
        after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);  // S_FALSE: still initialised
        CoUninitialize();
        CoUninitialize();
    }).join();
    {
        WinVolumeDevice device;
        std::uint32_t value = 0;
        readableOnSta = device.GetVolume(value);
    }
    EXPECT_EQ(before, S_OK);
    EXPECT_EQ(after, S_FALSE);
    EXPECT_EQ(readable, readableOnSta);
}

}  // namespace vt::win
