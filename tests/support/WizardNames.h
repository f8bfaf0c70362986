#pragma once
// What the end-to-end tests of the updater know of its wizard: the title
// (UpdaterNames.h), the status line and the component list, the status
// texts they wait for, and how long one step may take under Wine.
#include <windows.h>

#include <string>

#include "shared/win/Encoding.h"
#include "updater/UpdateTexts.h"
#include "updater/UpdaterNames.h"
#include "updater/res/resource.h"

namespace vt::e2e {

inline constexpr int kStatus = IDC_STATUS;
inline constexpr int kList = IDC_COMPONENT_LIST;
inline constexpr DWORD kStepTimeoutMs = 20000;

// The status lines as the wizard shows them; the native tests check each
// letter for letter (tests/native/updater), these only say which one shows.
inline const std::wstring kNewerFound = win::FromUtf8(updtext::kStatusNewer);
inline const std::wstring kUpToDate = win::FromUtf8(updtext::kUpToDate);
inline const std::wstring kUpdated = win::FromUtf8(updtext::kStatusUpdated);
inline const std::wstring kDownloadFailed = win::FromUtf8(updtext::kStatusDownloadFailed);
inline const std::wstring kCopyFailed = win::FromUtf8(updtext::kStatusCopyFailed);
inline const std::wstring kBadSignature = win::FromUtf8(updtext::kStatusBadSignature);
inline const std::wstring kNoDigest = win::FromUtf8(updtext::kStatusNoDigest);

}  // namespace vt::e2e
