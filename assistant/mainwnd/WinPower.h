#pragma once
#include "assistant/mainwnd/PowerActions.h"

namespace vt::win {

// The real shutdown privilege and ExitWindowsEx. None of their results is
// acted on: a refused shutdown still ends the assistant.
class WinPower : public IPowerActions {
public:
    void EnableShutdownPrivilege() override;
    void ExitSession(std::uint32_t flags) override;
    void SetExecutionState(std::uint32_t flags) override;
};

}  // namespace vt::win
