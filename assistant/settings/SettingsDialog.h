#pragma once
// "Vantrel 设置": the four channel hotkeys, starting with Windows, the
// countdown's end action and the thresholds of the quiet conditions. Modeless, one window at a time; closing hides it
// and the next opening fills it afresh.
#include "assistant/settings/SettingsHost.h"
#include "shared/win/Dialog.h"

namespace vt {

class SettingsDialog : public win::Dialog {
public:
    explicit SettingsDialog(ISettingsHost& host);

    // Creates the window at the first call, fills it from the host and
    // brings it to the front.
    void Open();

    // While it is open, the same values changed elsewhere (the tray menu,
    // the countdown form) show here at once.
    void ShowAutoRun(bool on);
    void ShowEndAction(EndAction action);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;      // "确定": applies; closes unless a row was refused
    void OnCancel() override;  // "取消", Esc, the close box: hides without applying
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    void Fill();
    SettingsChoice ReadChoice() const;
    // False, after a message, when a threshold's box is wrong.
    bool ReadThresholds(IdleThresholds& thresholds);
    // True when every row is in force.
    bool OnApply();
    void OnClear(int row);
    void OnRestoreDefaults();
    void OnHotkeyChanged(int row);
    void ShowOutcomes(const HotkeyOutcomes& outcomes);
    void SetHotkey(int row, std::uint32_t value);

    ISettingsHost& m_host;
};

}  // namespace vt
