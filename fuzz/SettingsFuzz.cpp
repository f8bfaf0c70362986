// libFuzzer target: the settings as a hostile or broken registry may hold
// them (any DWORD, any value missing or of another type), then the hotkeys
// applied against a Windows that refuses what the input says. Whatever was
// stored, the assistant must start with sensible settings, and the
// combinations in force must be ones that were asked for or held before.
#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include "assistant/settings/SettingsStore.h"
#include "fuzz/FuzzCheck.h"

namespace {

using namespace vt;

// The two countdown values earlier versions kept are in the input too: they
// must change nothing.
const char* const kNames[] = {"HotkeyLeft",   "HotkeyRight",      "HotkeyStereo",    "HotkeyMute",
                              "EndAction",    "CountdownMinutes", "CountdownClock",  "CountdownAtClock",
                              "JobCondition", "JobMinutes",       "NetworkIdleKBps", "CpuIdlePercent"};

// Per value: one byte says present, missing or another type; four bytes the DWORD.
struct InputRegistry : IRegistry {
    std::map<std::string, std::uint32_t> dwords;
    bool HasValue(RegistryHive, const std::string&, const std::string& name) override {
        return dwords.count(name) != 0;
    }
    bool ReadDword(RegistryHive hive, const std::string& key, const std::string& name, std::uint32_t& value) override {
        VT_FUZZ_CHECK(hive == RegistryHive::CurrentUser && key == SettingsStore::kKey);
        auto it = dwords.find(name);
        if (it == dwords.end()) return false;
        value = it->second;
        return true;
    }
    bool ReadString(RegistryHive, const std::string&, const std::string&, std::string&) override { return false; }
    bool WriteString(RegistryHive, const std::string&, const std::string&, const std::string&) override { return true; }
    bool WriteDword(RegistryHive, const std::string&, const std::string& name, std::uint32_t value) override {
        dwords[name] = value;
        return true;
    }
    bool DeleteValue(RegistryHive, const std::string&, const std::string& name) override {
        return dwords.erase(name), true;
    }
};

// Refuses a registration when the input's next bit says so.
struct InputRegistrar : IHotkeyRegistrar {
    const std::uint8_t* bits = nullptr;
    std::size_t count = 0, next = 0;
    std::map<HotkeySlot, std::uint32_t> held;
    bool Register(HotkeySlot slot, std::uint32_t modifiers, std::uint32_t key) override {
        VT_FUZZ_CHECK(held.count(slot) == 0);  // never registered twice without letting go
        VT_FUZZ_CHECK((modifiers & ~7u) == 0 && key != 0 && key <= 0xFF);
        const bool refused = count && (bits[next / 8 % count] >> (next % 8) & 1);
        ++next;
        if (refused) return false;
        held[slot] = modifiers | key << 16;
        return true;
    }
    void Unregister(HotkeySlot slot) override {
        VT_FUZZ_CHECK(held.count(slot) == 1);
        held.erase(slot);
    }
};

std::uint32_t Take(const std::uint8_t*& data, std::size_t& size) {
    std::uint32_t value = 0;
    const std::size_t n = size < 4 ? size : 4;
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

void CheckSensible(const Settings& s) {
    for (std::uint32_t value : s.hotkeys) {
        VT_FUZZ_CHECK(IsSensibleHotkey(value));
        VT_FUZZ_CHECK((value == 0) == HotkeyText(value).empty());
    }
    VT_FUZZ_CHECK(EndActionFromValue(static_cast<std::uint32_t>(s.endAction)).has_value());
    VT_FUZZ_CHECK(s.clockMinute < 24 * 60);
    VT_FUZZ_CHECK(JobConditionKindFromValue(static_cast<std::uint32_t>(s.jobCondition.kind)).has_value());
    VT_FUZZ_CHECK(s.jobCondition.minutes >= kMinJobMinutes && s.jobCondition.minutes <= kMaxJobMinutes);
    VT_FUZZ_CHECK(ValidNetworkKBps(s.thresholds.networkKBps) && ValidCpuPercent(s.thresholds.cpuPercent));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputRegistry registry;
    for (const char* name : kNames) {
        if (size == 0) break;
        const std::uint8_t kind = *data++;
        --size;
        const std::uint32_t value = Take(data, size);
        if (kind % 3 == 0) registry.dwords[name] = value;  // else missing, or a string: not a DWORD
    }
    SettingsStore store(registry);
    const Settings loaded = store.Load();
    CheckSensible(loaded);

    // What is kept reads back the same.
    for (HotkeySlot slot : kHotkeySlots) store.SaveHotkey(slot, loaded.hotkeys[SlotIndex(slot)]);
    store.SaveEndAction(loaded.endAction);
    store.SaveClockMinute(loaded.clockMinute);
    const Settings again = store.Load();
    VT_FUZZ_CHECK(again.hotkeys == loaded.hotkeys && again.endAction == loaded.endAction &&
                  again.clockMinute == loaded.clockMinute);

    // The rest of the input: refusals, then a second request of raw values.
    InputRegistrar windows;
    windows.bits = data;
    windows.count = size;
    HotkeyBindings bindings(windows);
    HotkeyValues before = bindings.InForce();
    HotkeyValues asked = loaded.hotkeys;
    for (int round = 0; round < 2; ++round) {
        const HotkeyOutcomes outcomes = bindings.Apply(asked);
        for (int i = 0; i < kHotkeySlotCount; ++i) {
            const std::uint32_t now = bindings.InForce()[i];
            VT_FUZZ_CHECK(IsSensibleHotkey(now));
            if (outcomes[i] == HotkeyOutcome::InForce)
                VT_FUZZ_CHECK(SameCombination(now, IsSensibleHotkey(asked[i]) ? asked[i] : 0));
            else
                VT_FUZZ_CHECK(now == before[i] || now == 0);
            // What Windows holds for the slot is what is in force.
            auto held = windows.held.find(kHotkeySlots[i]);
            VT_FUZZ_CHECK((now == 0) == (held == windows.held.end()));
            if (now != 0) {
                VT_FUZZ_CHECK(held->second == HotkeyLParam(now));
                VT_FUZZ_CHECK(bindings.SlotForLParam(HotkeyLParam(now)).has_value());
            }
        }
        before = bindings.InForce();
        for (int i = 0; i < kHotkeySlotCount; ++i) asked[i] = Take(data, size) & 0x1FFFF;
    }
    return 0;
}
