#pragma once
// What the end-to-end tests of the updater know of its wizard: the title
// (UpdaterNames.h), the status line and the component list, and how long
// one step may take under Wine.
#include <windows.h>

#include "updater/UpdaterNames.h"
#include "updater/res/resource.h"

namespace vt::e2e {

inline constexpr int kStatus = IDC_STATUS;
inline constexpr int kList = IDC_COMPONENT_LIST;
inline constexpr DWORD kStepTimeoutMs = 20000;

}  // namespace vt::e2e
