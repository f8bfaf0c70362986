#pragma once
// The assistant's settings while it runs: what the store keeps, the Run
// value, the hotkeys in force with the rows Windows refused, and the choice
// the settings window shows and hands back. The main window asks it and
// shows what it answers; nothing here needs a window.
#include <cstdint>
#include <string>

#include "assistant/settings/Autorun.h"
#include "assistant/settings/SettingsHost.h"
#include "assistant/settings/SettingsStore.h"

namespace vt {

class SettingsModel {
public:
    // Loads the store; nothing is registered yet.
    SettingsModel(IRegistry& registry, IHotkeyRegistrar& registrar);

    // No Run value in any hive: a first run, greeted with a balloon.
    bool FirstRun() { return !m_autorun.IsRegistered(); }
    // "开机自动运行": on at every start, whatever the registry holds; the
    // registry follows at SaveOnExit.
    bool AutoRun() const { return m_autoRun; }
    void SetAutoRun(bool on) { m_autoRun = on; }
    // At every way out: the Run value as the flag says, and ShowInfo.
    void SaveOnExit(const std::string& exePath);

    // Puts the stored combinations in force. The balloon naming those another
    // program holds ("" when every one could be had).
    std::string RegisterHotkeys();
    const HotkeyBindings& Hotkeys() const { return m_hotkeys; }

    EndAction GetEndAction() const { return m_settings.endAction; }
    // Keeps a new end action; false when it already was the one.
    bool SetEndAction(EndAction action);
    // The countdown's time of day, minutes after midnight; kept when it changes.
    std::uint32_t ClockMinute() const { return m_settings.clockMinute; }
    void SetClockMinute(std::uint32_t minute);
    // "当": the condition last chosen; kept when it changes.
    const JobCondition& GetJobCondition() const { return m_settings.jobCondition; }
    void SetJobCondition(const JobCondition& condition);
    // The quiet conditions' thresholds, set in the settings window.
    const IdleThresholds& Thresholds() const { return m_settings.thresholds; }

    // The settings as they are: the hotkeys in force, except on rows whose
    // last asked combination was refused, which show that one and are marked
    // in outcomes.
    SettingsChoice CurrentChoice(HotkeyOutcomes& outcomes) const;
    // Puts the choice in force at once and keeps what took. A refused
    // combination is not kept: the next start tries what was in force.
    HotkeyOutcomes ApplyChoice(const SettingsChoice& choice);

private:
    void NoteRefused(const HotkeyValues& requested, const HotkeyOutcomes& outcomes);

    Autorun m_autorun;
    SettingsStore m_store;
    Settings m_settings;  // as loaded, and as changed since
    HotkeyBindings m_hotkeys;
    // Per row, the combination last asked for and refused (0: none).
    HotkeyValues m_refused{};
    bool m_autoRun = true;
};

}  // namespace vt
