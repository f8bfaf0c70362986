#include "updater/UrlParts.h"

#include <cstddef>

namespace vt {

namespace {

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

bool StartsWithNoCase(const std::string& text, const char* prefix) {
    std::size_t i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (i >= text.size()) return false;
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

// An empty port text means "the scheme's own", as in "host:/path".
bool ReadPort(const std::string& text, int& port) {
    if (text.empty()) return true;
    if (text.size() > 5) return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > 65535) return false;
    port = value;
    return true;
}

}  // namespace

bool ParseUpdateUrl(const std::string& url, UrlParts& out) {
    for (char c : url) {
        if (IsControl(static_cast<unsigned char>(c))) return false;
    }

    UrlParts parts;
    std::size_t pos;
    if (StartsWithNoCase(url, "http://")) {
        pos = 7;
    } else if (StartsWithNoCase(url, "https://")) {
        pos = 8;
        parts.secure = true;
        parts.port = 443;
    } else {
        return false;
    }

    const std::size_t authorityEnd = url.find_first_of("/?#", pos);
    std::string authority = url.substr(pos, authorityEnd == std::string::npos ? std::string::npos : authorityEnd - pos);
    const std::size_t at = authority.rfind('@');
    if (at != std::string::npos) authority.erase(0, at + 1);

    std::string portText;
    const bool bracketed = !authority.empty() && authority[0] == '[';
    if (at != std::string::npos && (authority.empty() || authority[0] == ':')) {
        // User information and then no host: the address names no server,
        // whatever stands after it, and connecting to it fails.
        parts.host.clear();
    } else if (bracketed) {
        const std::size_t close = authority.find(']');
        if (close == std::string::npos) return false;
        parts.host = authority.substr(1, close - 1);
        const std::string rest = authority.substr(close + 1);
        if (!rest.empty()) {
            if (rest[0] != ':') return false;
            portText = rest.substr(1);
        }
    } else {
        const std::size_t colon = authority.rfind(':');
        parts.host = authority.substr(0, colon);
        if (colon != std::string::npos) portText = authority.substr(colon + 1);
    }
    if (parts.host.empty() && at == std::string::npos) return false;
    if (parts.host.find_first_of(" \\[]") != std::string::npos) return false;
    // Outside brackets a colon can only start the port.
    if (!bracketed && parts.host.find(':') != std::string::npos) return false;
    if (!parts.host.empty() && !ReadPort(portText, parts.port)) return false;

    std::string object;
    if (authorityEnd != std::string::npos) {
        object = url.substr(authorityEnd);
        const std::size_t hash = object.find('#');
        if (hash != std::string::npos) object.erase(hash);
    }
    if (object.empty() || object[0] != '/') object.insert(0, "/");
    parts.object = object;

    out = parts;
    return true;
}

}  // namespace vt
