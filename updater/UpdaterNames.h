#pragma once
// The names both sides of a message use, for Update.exe, its tests and the
// programs that drive it from outside.
#include "shared/version.h"  // the product's name and version

namespace vt {

// The wizard's title (also the caption of its template).
inline constexpr wchar_t kWizardTitle[] = L"在线升级";

// The named mutex that makes the first copy the only one.
inline constexpr wchar_t kUpdaterMutexName[] = L"UPDATE_MUTEX_NAME";

}  // namespace vt
