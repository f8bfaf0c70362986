#pragma once
// The wizard's second step: download every newer component, then replace
// the installed files, then the local description.
#include "updater/UpdateContext.h"

namespace vt {

enum class InstallOutcome {
    Updated,    // every file and the local description replaced
    Failed,     // a download or a copy failed; shown in status and list
    Refused,    // the user would not have a running program ended
    Cancelled,  // the user cancelled during a download; nothing replaced
    // A download broke off (see BrokeOff); nothing replaced, the status line
    // still names the file, ctx.transferError tells why.
    TransferError,
};

// Appended to the updater's own executable when a new one takes its place;
// the next start removes what is left under that name.
constexpr char kSelfAsideSuffix[] = ".old";

// Appended to an installed file for the copy kept while the update runs: a
// failed replacement puts every file replaced before it back from these.
// A complete update removes them.
constexpr char kKeptCopySuffix[] = ".bak";

InstallOutcome DownloadAndReplace(UpdateContext& ctx);

// The progress position after `replaced` files: 20 per file, then 90 until
// the end (100 is set only when the whole update is done).
int ReplaceProgress(int replaced);

// Whether two full paths name the same file on a system that ignores the
// case of letters and accepts either slash.
bool SamePath(const std::string& a, const std::string& b);

}  // namespace vt
