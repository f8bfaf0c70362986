#pragma once
#include "assistant/mainwnd/PowerActions.h"

namespace vt::win {

// The real shutdown privilege, ExitWindowsEx, SetSuspendState and
// LockWorkStation. None of their results is acted on: a refused shutdown
// still ends the assistant, a refused sleep leaves it running as it was.
class WinPower : public IPowerActions {
public:
    void EnableShutdownPrivilege() override;
    void ExitSession(std::uint32_t flags) override;
    void SetExecutionState(std::uint32_t flags) override;
    void Suspend(bool hibernate) override;
    bool CanHibernate() override;
    void Lock() override;
};

}  // namespace vt::win
