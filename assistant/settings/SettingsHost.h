#pragma once
// What the settings window shows and hands back: plain data, so the window
// never touches the store, the hotkeys or the main window itself.
#include "assistant/settings/EndAction.h"
#include "assistant/settings/HotkeyBinding.h"
#include "assistant/settings/JobConditionSetting.h"

namespace vt {

struct SettingsChoice {
    HotkeyValues hotkeys{};
    bool autoRun = true;
    EndAction endAction = EndAction::ShutDown;
    IdleThresholds thresholds{};  // "网络空闲：低于 N KB/s", "CPU 空闲：低于 N %"
};

// The main window's side.
class ISettingsHost {
public:
    virtual ~ISettingsHost() = default;
    // The settings as they are: the hotkeys in force, except on rows whose
    // last asked combination was refused, which show that one and are marked
    // in outcomes.
    virtual SettingsChoice CurrentChoice(HotkeyOutcomes& outcomes) = 0;
    // Puts the choice in force at once and keeps it; how each row fared.
    virtual HotkeyOutcomes ApplyChoice(const SettingsChoice& choice) = 0;
};

}  // namespace vt
