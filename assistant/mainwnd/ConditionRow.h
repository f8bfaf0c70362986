#pragma once
// The countdown form's "当" row: the drop-down of the conditions and the
// value the chosen one needs, a program (an editable drop-down of the
// programs running when it opens) or minutes. It moves a JobCondition
// between those controls; the form decides what to do with it.
#include <windows.h>

#include "assistant/mainwnd/JobCondition.h"
#include "shared/win/Dialog.h"

namespace vt {

class ConditionRow {
public:
    ConditionRow(win::Dialog& window, IJobSampler& sampler) : m_window(window), m_sampler(sampler) {}

    void Init(const JobCondition& kept);
    // The row's own notifications; false for other controls.
    bool OnCommand(WORD id, WORD code);
    void Show(const JobCondition& condition);
    // As the controls hold it; minutes that are no number read as 0.
    JobCondition Read() const;
    void Enable(bool on);
    // The control whose value is wrong, for the focus after a message.
    HWND ValueControl() const;

private:
    void OnKindChosen();
    void OnProgramDropDown();
    JobConditionKind SelectedKind() const;
    // The program box or the minutes box with "分钟", as the kind needs.
    void ShowValueFor(JobConditionKind kind);

    win::Dialog& m_window;
    IJobSampler& m_sampler;
};

}  // namespace vt
