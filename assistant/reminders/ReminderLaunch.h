#pragma once
// What a firing reminder starts besides its alert: its program, then its
// music file, each opened through the shell (verb "open", no parameters, no
// directory, shown normally). Paths are enclosed in double quotes so that
// names with blanks reach the shell whole; they keep their full length (a
// record holds up to 1023 bytes) and stay code page 936 text, which the
// Windows layer converts. The quote is a single byte that never occurs
// inside a code page 936 character, so quoting the raw bytes is safe.
#include <vector>

#include "assistant/reminders/ReminderItem.h"

namespace vt {

struct LaunchRequest {
    Gbk file;  // quoted path
};

Gbk QuotedPath(const Gbk& path);

// The command first, then the music; empty fields start nothing.
std::vector<LaunchRequest> LaunchRequestsFor(const ReminderItem& item);

}  // namespace vt
