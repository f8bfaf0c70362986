#include "updater/UpdateDescription.h"

#include <algorithm>

#include "shared/core/Text.h"

namespace vt {

std::string ComponentSection(int index) { return Format("File%d", index); }

bool HasComponentSection(const IProfile& description, int index) {
    static const char* const kKeys[] = {"Title", "version", "uri", "filename", "needclose", "sha256"};
    const std::string section = ComponentSection(index);
    for (const char* key : kKeys) {
        if (!description.GetString(section, key, "").empty()) return true;
    }
    return false;
}

int ComponentScanCount(const IProfile& description, int total) {
    const int limit = std::min(total, kMaxComponents);
    int lastPresent = -1;
    for (int i = 0; i < limit; ++i) {
        if (HasComponentSection(description, i)) {
            lastPresent = i;
        } else if (i - lastPresent >= kMaxMissingRun) {
            return lastPresent + 1;
        }
    }
    return std::max(limit, 0);
}

Gbk ReadDescriptionText(const IProfile& description, const std::string& section, const char* key) {
    return Gbk(description.GetString(section, key, ""));
}

ServerComponent ReadServerComponent(const IProfile& server, int index) {
    const std::string section = ComponentSection(index);
    ServerComponent c;
    c.title = ReadDescriptionText(server, section, "Title");
    c.version = server.GetString(section, "version", "0.0");
    c.uri = server.GetString(section, "uri", "");
    c.filename = ReadDescriptionText(server, section, "filename");
    c.needclose = ReadDescriptionText(server, section, "needclose");
    c.sha256 = server.GetString(section, "sha256", "");
    return c;
}

std::string ReadLocalVersion(const IProfile& local, int index) {
    return local.GetString(ComponentSection(index), "version", "0.0");
}

}  // namespace vt
