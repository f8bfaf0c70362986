// libFuzzer target: the URL reader on arbitrary addresses.
#include <cstring>
#include <string>

#include "fuzz/FuzzCheck.h"
#include "updater/UrlParts.h"

namespace {

bool StartsNoCase(const std::string& s, const char* prefix) {
    const std::size_t n = std::strlen(prefix);
    if (s.size() < n) return false;
    for (std::size_t i = 0; i < n; ++i) {
        char c = s[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i]) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string url(reinterpret_cast<const char*>(data), size);
    vt::UrlParts parts;
    parts.host = "untouched";
    parts.port = -1;
    const bool ok = vt::ParseUpdateUrl(url, parts);
    if (!ok) {
        VT_FUZZ_CHECK(parts.host == "untouched" && parts.port == -1);
        return 0;
    }
    VT_FUZZ_CHECK(StartsNoCase(url, "http://") || StartsNoCase(url, "https://"));
    VT_FUZZ_CHECK(parts.secure == StartsNoCase(url, "https://"));
    VT_FUZZ_CHECK(parts.port >= 1 && parts.port <= 65535);
    VT_FUZZ_CHECK(!parts.object.empty() && parts.object[0] == '/');
    VT_FUZZ_CHECK(parts.object.find('#') == std::string::npos);
    for (char c : url) VT_FUZZ_CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
    // What goes to the connection is one host, never a piece of the rest.
    VT_FUZZ_CHECK(parts.host.find_first_of(" \\/?#@[]") == std::string::npos);
    const std::size_t from = StartsNoCase(url, "https://") ? 8 : 7;
    const std::size_t authorityEnd = url.find_first_of("/?#", from);
    const std::string authority =
        url.substr(from, authorityEnd == std::string::npos ? std::string::npos : authorityEnd - from);
    if (parts.host.empty()) {
        VT_FUZZ_CHECK(authority.find('@') != std::string::npos);
        return 0;
    }
    const bool bracketed = parts.host.find(':') != std::string::npos;
    VT_FUZZ_CHECK(authority.find(bracketed ? "[" + parts.host + "]" : parts.host) != std::string::npos);
    // Written back out, the parts read as themselves.
    const std::string again = std::string(parts.secure ? "https://" : "http://") +
                              (bracketed ? "[" + parts.host + "]" : parts.host) + ":" + std::to_string(parts.port) +
                              parts.object;
    vt::UrlParts reread;
    VT_FUZZ_CHECK(vt::ParseUpdateUrl(again, reread));
    VT_FUZZ_CHECK(reread.host == parts.host && reread.port == parts.port && reread.secure == parts.secure &&
                  reread.object == parts.object);
    return 0;
}
