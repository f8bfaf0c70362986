#include "assistant/settings/SettingsModel.h"

namespace vt {
namespace {

// ShowInfo: written at every exit, as it always was; nothing reads it.
constexpr std::uint32_t kShowInfo = 0;

}  // namespace

SettingsModel::SettingsModel(IRegistry& registry, IHotkeyRegistrar& registrar)
    : m_autorun(registry), m_store(registry), m_settings(m_store.Load()), m_hotkeys(registrar) {}

void SettingsModel::SaveOnExit(const std::string& exePath) {
    m_autorun.Save(m_autoRun, exePath);
    m_autorun.SaveShowInfo(kShowInfo);
}

std::string SettingsModel::RegisterHotkeys() {
    const HotkeyOutcomes outcomes = m_hotkeys.Apply(m_settings.hotkeys);
    NoteRefused(m_settings.hotkeys, outcomes);
    return HotkeyConflictText(RefusedHotkeys(m_settings.hotkeys, outcomes));
}

void SettingsModel::NoteRefused(const HotkeyValues& requested, const HotkeyOutcomes& outcomes) {
    for (int i = 0; i < kHotkeySlotCount; ++i) m_refused[i] = outcomes[i] == HotkeyOutcome::Refused ? requested[i] : 0;
}

bool SettingsModel::SetEndAction(EndAction action) {
    if (action == m_settings.endAction) return false;
    m_settings.endAction = action;
    m_store.SaveEndAction(action);
    return true;
}

void SettingsModel::SetClockMinute(std::uint32_t minute) {
    if (minute == m_settings.clockMinute) return;
    m_settings.clockMinute = minute;
    m_store.SaveClockMinute(minute);
}

void SettingsModel::SetJobCondition(const JobCondition& condition) {
    const JobCondition& kept = m_settings.jobCondition;
    if (condition.kind == kept.kind && condition.program == kept.program && condition.minutes == kept.minutes) return;
    m_settings.jobCondition = condition;
    m_store.SaveJobCondition(condition);
}

SettingsChoice SettingsModel::CurrentChoice(HotkeyOutcomes& outcomes) const {
    SettingsChoice choice;
    choice.hotkeys = m_hotkeys.InForce();
    for (int i = 0; i < kHotkeySlotCount; ++i) {
        outcomes[i] = m_refused[i] ? HotkeyOutcome::Refused : HotkeyOutcome::InForce;
        if (m_refused[i]) choice.hotkeys[i] = m_refused[i];
    }
    choice.autoRun = m_autoRun;
    choice.endAction = m_settings.endAction;
    choice.thresholds = m_settings.thresholds;
    return choice;
}

HotkeyOutcomes SettingsModel::ApplyChoice(const SettingsChoice& choice) {
    const HotkeyOutcomes outcomes = m_hotkeys.Apply(choice.hotkeys);
    NoteRefused(choice.hotkeys, outcomes);
    for (HotkeySlot slot : kHotkeySlots) {
        const int i = SlotIndex(slot);
        if (outcomes[i] != HotkeyOutcome::InForce) continue;
        m_settings.hotkeys[i] = m_hotkeys.InForce()[i];
        m_store.SaveHotkey(slot, m_settings.hotkeys[i]);
    }
    m_autoRun = choice.autoRun;
    SetEndAction(choice.endAction);
    // The window refuses thresholds out of range; whatever else comes is the default.
    const IdleThresholds thresholds =
        IdleThresholdsFromStored(choice.thresholds.networkKBps, choice.thresholds.cpuPercent);
    if (thresholds.networkKBps != m_settings.thresholds.networkKBps ||
        thresholds.cpuPercent != m_settings.thresholds.cpuPercent) {
        m_settings.thresholds = thresholds;
        m_store.SaveThresholds(thresholds);
    }
    return outcomes;
}

}  // namespace vt
