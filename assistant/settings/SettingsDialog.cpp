#include "assistant/settings/SettingsDialog.h"

#include <commctrl.h>

#include <optional>

#include "assistant/AssistantNames.h"
#include "resource.h"
#include "shared/core/Text.h"
#include "shared/win/Encoding.h"

namespace vt {
namespace {

static_assert(kHotkeyShift == HOTKEYF_SHIFT && kHotkeyControl == HOTKEYF_CONTROL && kHotkeyAlt == HOTKEYF_ALT &&
              kHotkeyExt == HOTKEYF_EXT);
static_assert(IDC_HOTKEY_MUTE - IDC_HOTKEY_LEFT == kHotkeySlotCount - 1 &&
              IDC_CLEAR_MUTE - IDC_CLEAR_LEFT == kHotkeySlotCount - 1 &&
              IDC_NOTE_MUTE - IDC_NOTE_LEFT == kHotkeySlotCount - 1);

const wchar_t* NoteFor(HotkeyOutcome outcome) {
    switch (outcome) {
    case HotkeyOutcome::Refused:
        return L"已被其他程序占用";
    case HotkeyOutcome::Duplicate:
        return L"与上面一行相同";
    case HotkeyOutcome::InForce:
        break;
    }
    return L"";
}

// A threshold's box: nothing when it holds no number within range.
std::optional<std::uint32_t> ReadThreshold(const win::Dialog& window, int id, bool (*valid)(std::uint32_t)) {
    BOOL read = FALSE;
    const UINT value = GetDlgItemInt(window.Hwnd(), id, &read, FALSE);
    if (!read || !valid(value)) return std::nullopt;
    return value;
}

}  // namespace

SettingsDialog::SettingsDialog(ISettingsHost& host) : Dialog(IDD_SETTINGS), m_host(host) {}

void SettingsDialog::Open() {
    if (!Hwnd() && !Create(nullptr)) return;
    Fill();
    Show(SW_SHOW);
    SetForegroundWindow(Hwnd());
}

BOOL SettingsDialog::OnInitDialog() {
    SetProgramIcon(IDI_MAIN);
    for (int row = 0; row < kHotkeySlotCount; ++row) {
        // A key alone or with Shift alone would take it from every program:
        // such a combination gets Ctrl.
        SendDlgItemMessageW(Hwnd(), IDC_HOTKEY_LEFT + row, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S,
                            MAKELPARAM(HOTKEYF_CONTROL, 0));
    }
    for (EndAction action : kEndActions)
        SendDlgItemMessageW(Hwnd(), IDC_SETTINGS_END_ACTION, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(win::FromUtf8(EndActionName(action)).c_str()));
    return TRUE;
}

void SettingsDialog::Fill() {
    HotkeyOutcomes outcomes;
    outcomes.fill(HotkeyOutcome::InForce);
    SettingsChoice choice = m_host.CurrentChoice(outcomes);
    for (int row = 0; row < kHotkeySlotCount; ++row) SetHotkey(row, choice.hotkeys[row]);
    ShowOutcomes(outcomes);
    ShowAutoRun(choice.autoRun);
    ShowEndAction(choice.endAction);
    SetDlgItemInt(Hwnd(), IDC_NETWORK_KBPS, choice.thresholds.networkKBps, FALSE);
    SetDlgItemInt(Hwnd(), IDC_CPU_PERCENT, choice.thresholds.cpuPercent, FALSE);
}

void SettingsDialog::ShowAutoRun(bool on) {
    if (Hwnd()) SetChecked(IDC_SETTINGS_AUTORUN, on);
}

void SettingsDialog::ShowEndAction(EndAction action) {
    if (Hwnd()) SendDlgItemMessageW(Hwnd(), IDC_SETTINGS_END_ACTION, CB_SETCURSEL, static_cast<WPARAM>(action), 0);
}

void SettingsDialog::SetHotkey(int row, std::uint32_t value) {
    SendDlgItemMessageW(Hwnd(), IDC_HOTKEY_LEFT + row, HKM_SETHOTKEY, value, 0);
}

SettingsChoice SettingsDialog::ReadChoice() const {
    SettingsChoice choice;
    for (int row = 0; row < kHotkeySlotCount; ++row)
        choice.hotkeys[row] =
            static_cast<std::uint32_t>(SendDlgItemMessageW(Hwnd(), IDC_HOTKEY_LEFT + row, HKM_GETHOTKEY, 0, 0)) &
            0xFFFF;
    choice.autoRun = IsChecked(IDC_SETTINGS_AUTORUN);
    LRESULT selected = SendDlgItemMessageW(Hwnd(), IDC_SETTINGS_END_ACTION, CB_GETCURSEL, 0, 0);
    choice.endAction =
        EndActionFromValue(selected == CB_ERR ? 0 : static_cast<std::uint32_t>(selected)).value_or(EndAction::ShutDown);
    return choice;
}

void SettingsDialog::ShowOutcomes(const HotkeyOutcomes& outcomes) {
    for (int row = 0; row < kHotkeySlotCount; ++row) SetItemText(IDC_NOTE_LEFT + row, NoteFor(outcomes[row]));
}

// Thresholds out of range are refused with a message, and nothing is applied.
bool SettingsDialog::ReadThresholds(IdleThresholds& thresholds) {
    const auto network = ReadThreshold(*this, IDC_NETWORK_KBPS, ValidNetworkKBps);
    const auto cpu = ReadThreshold(*this, IDC_CPU_PERCENT, ValidCpuPercent);
    if (network && cpu) {
        thresholds = {*network, *cpu};
        return true;
    }
    const std::string text =
        network ? Format("CPU 空闲的界限请填入%u到%u之间的百分数。", kMinCpuPercent, kMaxCpuPercent)
                : Format("网络空闲的界限请填入%u到%u之间的 KB/s 数。", kMinNetworkKBps, kMaxNetworkKBps);
    ShowMessage(win::FromUtf8(text), kProductName, MB_OK | MB_ICONEXCLAMATION);
    HWND box = Item(network ? IDC_CPU_PERCENT : IDC_NETWORK_KBPS);
    SetFocus(box);
    SendMessageW(box, EM_SETSEL, 0, -1);
    return false;
}

bool SettingsDialog::OnApply() {
    SettingsChoice choice = ReadChoice();
    if (!ReadThresholds(choice.thresholds)) return false;
    HotkeyOutcomes outcomes = m_host.ApplyChoice(choice);
    ShowOutcomes(outcomes);
    for (HotkeyOutcome outcome : outcomes)
        if (outcome != HotkeyOutcome::InForce) return false;
    return true;
}

void SettingsDialog::OnOK() {
    if (OnApply()) Show(SW_HIDE);
}

void SettingsDialog::OnCancel() { Show(SW_HIDE); }

void SettingsDialog::OnClear(int row) {
    SetHotkey(row, 0);
    OnHotkeyChanged(row);
}

void SettingsDialog::OnRestoreDefaults() {
    HotkeyValues defaults = DefaultHotkeys();
    for (int row = 0; row < kHotkeySlotCount; ++row) {
        SetHotkey(row, defaults[row]);
        OnHotkeyChanged(row);
    }
}

// A note speaks of the combination it was shown for.
void SettingsDialog::OnHotkeyChanged(int row) { SetItemText(IDC_NOTE_LEFT + row, L""); }

bool SettingsDialog::OnCommand(WORD id, WORD code, HWND control) {
    if (id >= IDC_CLEAR_LEFT && id <= IDC_CLEAR_MUTE) {
        if (code == BN_CLICKED) OnClear(id - IDC_CLEAR_LEFT);
        return true;
    }
    if (id >= IDC_HOTKEY_LEFT && id <= IDC_HOTKEY_MUTE) {
        if (code == EN_CHANGE) OnHotkeyChanged(id - IDC_HOTKEY_LEFT);
        return true;
    }
    switch (id) {
    case IDC_RESTORE_DEFAULTS:
        if (code == BN_CLICKED) OnRestoreDefaults();
        return true;
    case IDC_APPLY:
        if (code == BN_CLICKED) OnApply();
        return true;
    }
    return false;
}

}  // namespace vt
