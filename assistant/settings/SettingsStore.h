#pragma once
// The assistant's settings, per user, under one registry key: the four
// hotkeys, what the countdown does at its end, the time of day it was last
// set to, the condition it last waited for and the thresholds of the quiet
// conditions. Every default is in DefaultSettings; whatever is missing or
// makes no sense in the registry reads as its default, without a word to the
// user. The countdown's minutes are not among them: every start begins with
// one minute (values "CountdownMinutes" and "CountdownAtClock" that earlier
// versions left are neither read nor removed).
#include <cstdint>

#include "assistant/settings/EndAction.h"
#include "assistant/settings/HotkeyBinding.h"
#include "assistant/settings/JobConditionSetting.h"
#include "shared/core/Registry.h"

namespace vt {

struct Settings {
    HotkeyValues hotkeys{};
    EndAction endAction = EndAction::ShutDown;
    std::uint32_t clockMinute = 0;  // the time picker, minutes after midnight (0 to 1439)
    JobCondition jobCondition{};    // "当": the kind chosen, its program and minutes
    IdleThresholds thresholds{};
};

Settings DefaultSettings();

class SettingsStore {
public:
    // The product's key, in HKCU for the settings and (Autorun) for ShowInfo.
    static constexpr const char* kKey = "Software\\Orvane\\Vantrel";
    static constexpr const char* kEndActionValue = "EndAction";
    static constexpr const char* kClockValue = "CountdownClock";
    static constexpr const char* kJobKindValue = "JobCondition";
    static constexpr const char* kJobProgramValue = "JobProgram";  // a string
    static constexpr const char* kJobMinutesValue = "JobMinutes";
    static constexpr const char* kNetworkKBpsValue = "NetworkIdleKBps";
    static constexpr const char* kCpuPercentValue = "CpuIdlePercent";

    explicit SettingsStore(IRegistry& registry) : m_registry(registry) {}

    Settings Load();
    // Each setting is written when it changes; a failed write only means the
    // next start has the old value.
    void SaveHotkey(HotkeySlot slot, std::uint32_t value);
    void SaveEndAction(EndAction action);
    void SaveClockMinute(std::uint32_t minute);
    void SaveJobCondition(const JobCondition& condition);
    void SaveThresholds(const IdleThresholds& thresholds);

private:
    std::optional<std::uint32_t> Read(const char* name);
    void Write(const char* name, std::uint32_t value);

    IRegistry& m_registry;
};

}  // namespace vt
