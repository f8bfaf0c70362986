#include "assistant/reminders/ReminderLaunch.h"

namespace vt {

std::string QuotedPath(const std::string& path) {
    std::string quoted;
    quoted.reserve(path.size() + 2);
    quoted += '"';
    quoted += path;
    quoted += '"';
    return quoted;
}

std::vector<LaunchRequest> LaunchRequestsFor(const ReminderItem& item) {
    std::vector<LaunchRequest> launches;
    for (const std::string& path : {GetText(item.command), GetText(item.music)})
        if (!path.empty()) launches.push_back(LaunchRequest{QuotedPath(path)});
    return launches;
}

}  // namespace vt
