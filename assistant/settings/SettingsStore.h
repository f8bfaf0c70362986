#pragma once
// The assistant's settings, per user, under one registry key: the four
// hotkeys, what the countdown does at its end and the last target it was
// set to. Every default is in DefaultSettings; whatever is missing or makes
// no sense in the registry reads as its default, without a word to the user.
#include <cstdint>

#include "assistant/settings/EndAction.h"
#include "assistant/settings/HotkeyBinding.h"
#include "shared/core/Registry.h"

namespace vt {

// The last target "设置时间" loaded: a number of minutes, or a time of day.
struct CountdownTarget {
    bool atClock = false;
    std::uint32_t minutes = 1;      // the minutes box, 1 to 65535
    std::uint32_t clockMinute = 0;  // the time of day, minutes after midnight (0 to 1439)

    bool operator==(const CountdownTarget& other) const {
        return atClock == other.atClock && minutes == other.minutes && clockMinute == other.clockMinute;
    }
    bool operator!=(const CountdownTarget& other) const { return !(*this == other); }
};

struct Settings {
    HotkeyValues hotkeys{};
    EndAction endAction = EndAction::ShutDown;
    CountdownTarget target;
};

Settings DefaultSettings();

class SettingsStore {
public:
    static constexpr const char* kKey = "Software\\Orvane\\Vantrel";
    static constexpr const char* kEndActionValue = "EndAction";
    static constexpr const char* kMinutesValue = "CountdownMinutes";
    static constexpr const char* kClockValue = "CountdownClock";
    static constexpr const char* kAtClockValue = "CountdownAtClock";

    explicit SettingsStore(IRegistry& registry) : m_registry(registry) {}

    Settings Load();
    // Each setting is written when it changes; a failed write only means the
    // next start has the old value.
    void SaveHotkey(HotkeySlot slot, std::uint32_t value);
    void SaveEndAction(EndAction action);
    void SaveTarget(const CountdownTarget& target);

private:
    std::optional<std::uint32_t> Read(const char* name);
    void Write(const char* name, std::uint32_t value);

    IRegistry& m_registry;
};

}  // namespace vt
