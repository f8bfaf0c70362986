#include "assistant/reminders/ReminderLaunch.h"

#include <string>
#include <utility>

namespace vt {

Gbk QuotedPath(const Gbk& path) {
    std::string quoted;
    quoted.reserve(path.size() + 2);
    quoted += '"';
    quoted += path.Bytes();
    quoted += '"';
    return Gbk(std::move(quoted));
}

std::vector<LaunchRequest> LaunchRequestsFor(const ReminderItem& item) {
    std::vector<LaunchRequest> launches;
    for (const Gbk& path : {GetText(item.command), GetText(item.music)})
        if (!path.empty()) launches.push_back(LaunchRequest{QuotedPath(path)});
    return launches;
}

}  // namespace vt
