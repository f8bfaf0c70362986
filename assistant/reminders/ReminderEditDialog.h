#pragma once
// The modal dialog in which the user creates or changes a reminder
// (template 137). The caller hands it a record with SetEditItem, runs it
// and, on IDOK, takes the record back with GetEditItem: every byte the
// dialog has no control for comes back as it went in.
#include "assistant/reminders/ReminderEditing.h"
#include "assistant/reminders/ReminderItem.h"
#include "assistant/reminders/SelectAllEdit.h"
#include "shared/core/Clock.h"
#include "shared/win/ChineseDialogFont.h"
#include "shared/win/Dialog.h"
#include "shared/win/DpiIcons.h"

namespace vt {

class ReminderEditDialog : public win::Dialog {
public:
    // The clock gives a new reminder its date and time.
    explicit ReminderEditDialog(const IClock& clock);

    // New: starts from a zero-filled record (item is not used). Edit: from
    // a copy of item.
    void SetEditItem(EditMode mode, const ReminderItem& item);
    const ReminderItem& GetEditItem() const { return m_working; }

    // The chosen recurrence kind and the two pop-up menus, for tests.
    int Kind() const { return m_nKind; }
    HMENU DayMenu() const { return GetSubMenu(m_dayMenu.Get(), 0); }
    HMENU TimeMenu() const { return GetSubMenu(m_timeMenu.Get(), 0); }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR* header, LRESULT& result) override;

private:
    void FillControls(const EditorFields& fields);
    void BuildDayMenu();
    void UpdateDayButton();
    void UpdateTimeButton();
    void ShowPopup(HMENU popup);
    void OnTimeChosen(int hour, int minute);
    void ChooseFile(int editId, const wchar_t* defaultExtension, const wchar_t* filter);

    SYSTEMTIME PickerTime(int id) const;
    void SetPickerTime(int id, const SYSTEMTIME& time);
    CalendarDate PickedDate() const;

    ChineseDialogFont m_font;
    const IClock& m_clock;
    EditMode m_mode = EditMode::New;
    ReminderItem m_working;
    int m_nKind = 0;
    win::MenuHandle m_dayMenu;
    win::MenuHandle m_timeMenu;
    SelectAllEdit m_title;
    SelectAllEdit m_content;
    SelectAllEdit m_music;
};

}  // namespace vt
