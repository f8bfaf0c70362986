#include "assistant/mainwnd/ConditionRow.h"

#include "assistant/mainwnd/MinutesParser.h"
#include "resource.h"
#include "shared/win/Encoding.h"

namespace vt {

void ConditionRow::Init(const JobCondition& kept) {
    for (JobConditionKind kind : kJobConditionKinds)
        SendDlgItemMessageW(m_window.Hwnd(), IDC_JOB_KIND, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(win::FromUtf8(JobConditionKindName(kind)).c_str()));
    Show(kept);
}

bool ConditionRow::OnCommand(WORD id, WORD code) {
    switch (id) {
    case IDC_JOB_KIND:
        if (code == CBN_SELCHANGE) OnKindChosen();
        return true;
    case IDC_JOB_PROGRAM:
        if (code == CBN_DROPDOWN) OnProgramDropDown();
        return true;
    case IDC_JOB_MINUTES:
        return true;
    }
    return false;
}

void ConditionRow::Show(const JobCondition& condition) {
    SendDlgItemMessageW(m_window.Hwnd(), IDC_JOB_KIND, CB_SETCURSEL, static_cast<WPARAM>(condition.kind), 0);
    m_window.SetItemText(IDC_JOB_PROGRAM, win::FromUtf8(condition.program));
    m_window.SetItemText(IDC_JOB_MINUTES, std::to_wstring(condition.minutes));
    ShowValueFor(condition.kind);
}

JobCondition ConditionRow::Read() const {
    JobCondition condition;
    condition.kind = SelectedKind();
    condition.program = win::ToUtf8(m_window.ItemText(IDC_JOB_PROGRAM));
    const MinutesParse minutes = ParseMinutes(win::ToUtf8(m_window.ItemText(IDC_JOB_MINUTES)));
    condition.minutes = minutes.result == MinutesRead::NotANumber ? 0 : minutes.value;
    return condition;
}

void ConditionRow::Enable(bool on) {
    for (int id : {IDC_JOB_KIND, IDC_JOB_PROGRAM, IDC_JOB_MINUTES}) EnableWindow(m_window.Item(id), on);
}

HWND ConditionRow::ValueControl() const {
    return m_window.Item(SelectedKind() == JobConditionKind::ProgramExit ? IDC_JOB_PROGRAM : IDC_JOB_MINUTES);
}

// Each kind starts from its own default minutes.
void ConditionRow::OnKindChosen() {
    const JobConditionKind kind = SelectedKind();
    m_window.SetItemText(IDC_JOB_MINUTES, std::to_wstring(DefaultJobMinutes(kind)));
    ShowValueFor(kind);
}

// Filled afresh at every opening; what is typed stays in the box.
void ConditionRow::OnProgramDropDown() {
    const std::wstring typed = m_window.ItemText(IDC_JOB_PROGRAM);
    HWND box = m_window.Item(IDC_JOB_PROGRAM);
    SendMessageW(box, CB_RESETCONTENT, 0, 0);
    std::vector<std::string> names;
    for (RunningProcess& process : m_sampler.Processes().value_or(std::vector<RunningProcess>{}))
        names.push_back(std::move(process.name));
    for (const std::string& name : ProgramChoices(std::move(names)))
        SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(win::FromUtf8(name).c_str()));
    m_window.SetItemText(IDC_JOB_PROGRAM, typed);
}

JobConditionKind ConditionRow::SelectedKind() const {
    const LRESULT selected = SendDlgItemMessageW(m_window.Hwnd(), IDC_JOB_KIND, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return JobConditionKind::ProgramExit;
    return JobConditionKindFromValue(static_cast<std::uint32_t>(selected)).value_or(JobConditionKind::ProgramExit);
}

void ConditionRow::ShowValueFor(JobConditionKind kind) {
    const bool program = kind == JobConditionKind::ProgramExit;
    ShowWindow(m_window.Item(IDC_JOB_PROGRAM), program ? SW_SHOW : SW_HIDE);
    ShowWindow(m_window.Item(IDC_JOB_MINUTES), program ? SW_HIDE : SW_SHOW);
    ShowWindow(m_window.Item(IDC_JOB_UNIT), program ? SW_HIDE : SW_SHOW);
}

}  // namespace vt
