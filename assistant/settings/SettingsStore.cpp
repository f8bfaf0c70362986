#include "assistant/settings/SettingsStore.h"

namespace vt {
namespace {

constexpr std::uint32_t kMinutesPerDay = 24 * 60;

}  // namespace

Settings DefaultSettings() {
    Settings settings;
    settings.hotkeys = DefaultHotkeys();
    return settings;
}

Settings SettingsStore::Load() {
    Settings settings = DefaultSettings();
    for (HotkeySlot slot : kHotkeySlots)
        settings.hotkeys[SlotIndex(slot)] = HotkeyFromStored(slot, Read(SlotInfo(slot).valueName));
    if (auto stored = Read(kEndActionValue))
        settings.endAction = EndActionFromValue(*stored).value_or(settings.endAction);
    if (auto clock = Read(kClockValue); clock && *clock < kMinutesPerDay) settings.clockMinute = *clock;
    if (auto kind = Read(kJobKindValue)) {
        std::string program;
        if (!m_registry.ReadString(RegistryHive::CurrentUser, kKey, kJobProgramValue, program)) program.clear();
        settings.jobCondition = JobConditionFromStored(*kind, program, Read(kJobMinutesValue).value_or(0));
    }
    settings.thresholds =
        IdleThresholdsFromStored(Read(kNetworkKBpsValue).value_or(0), Read(kCpuPercentValue).value_or(0));
    return settings;
}

void SettingsStore::SaveHotkey(HotkeySlot slot, std::uint32_t value) { Write(SlotInfo(slot).valueName, value); }

void SettingsStore::SaveEndAction(EndAction action) { Write(kEndActionValue, static_cast<std::uint32_t>(action)); }

void SettingsStore::SaveClockMinute(std::uint32_t minute) { Write(kClockValue, minute); }

void SettingsStore::SaveJobCondition(const JobCondition& condition) {
    Write(kJobKindValue, static_cast<std::uint32_t>(condition.kind));
    m_registry.WriteString(RegistryHive::CurrentUser, kKey, kJobProgramValue, condition.program);
    Write(kJobMinutesValue, condition.minutes);
}

void SettingsStore::SaveThresholds(const IdleThresholds& thresholds) {
    Write(kNetworkKBpsValue, thresholds.networkKBps);
    Write(kCpuPercentValue, thresholds.cpuPercent);
}

std::optional<std::uint32_t> SettingsStore::Read(const char* name) {
    std::uint32_t value = 0;
    if (!m_registry.ReadDword(RegistryHive::CurrentUser, kKey, name, value)) return std::nullopt;
    return value;
}

void SettingsStore::Write(const char* name, std::uint32_t value) {
    m_registry.WriteDword(RegistryHive::CurrentUser, kKey, name, value);
}

}  // namespace vt
