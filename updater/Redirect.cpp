#include "updater/Redirect.h"

#include <cstddef>

namespace vt {

namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

bool HasScheme(const std::string& text) {
    const std::size_t colon = text.find(':');
    const std::size_t slash = text.find('/');
    return colon != std::string::npos && (slash == std::string::npos || colon < slash);
}

}  // namespace

bool IsRedirectStatus(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool ResolveRedirect(const UrlParts& from, const std::string& location, UrlParts& to) {
    if (location.empty()) return false;
    for (char c : location) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == ' ' || c == '\\') return false;
    }
    if (location.compare(0, 2, "//") == 0) {
        return ResolveRedirect(from, (from.secure ? "https:" : "http:") + location, to);
    }
    if (HasScheme(location)) {
        // Another scheme (ftp:, file:) is refused by the parser.
        UrlParts parts;
        if (!ParseUpdateUrl(location, parts) || parts.host.empty()) return false;
        to = parts;
        return true;
    }

    std::string object = location;
    if (object[0] != '/' && object[0] != '?') {
        // Relative to the directory of the object asked for, query aside.
        const std::string path = from.object.substr(0, from.object.find('?'));
        const std::size_t slash = path.rfind('/');
        object = (slash == std::string::npos ? std::string("/") : path.substr(0, slash + 1)) + object;
    } else if (object[0] == '?') {
        object = from.object.substr(0, from.object.find('?')) + object;
    }
    const std::size_t hash = object.find('#');
    if (hash != std::string::npos) object.erase(hash);
    to = from;
    to.object = object;
    return true;
}

bool MayFollowRedirect(const UrlParts& from, const UrlParts& to, int followed) {
    if (followed >= kMaxRedirects) return false;
    return !(from.secure && !to.secure);
}

bool SameServer(const UrlParts& a, const UrlParts& b) {
    return a.secure == b.secure && a.port == b.port && EqualNoCase(a.host, b.host);
}

}  // namespace vt
