// libFuzzer target: where a server's Location header may send the updater.
// The first byte picks the address the request went to; the rest is the
// header as the server wrote it.
#include <string>

#include "fuzz/FuzzCheck.h"
#include "updater/Redirect.h"

namespace {

const char* const kFrom[] = {
    "http://update.example.com/soft/update.ini",
    "https://update.example.com:8443/a/b/update.ini?v=1",
    "http://[::1]:81/",
    "https://h/x",
};

bool HasScheme(const std::string& text) {
    const std::size_t colon = text.find(':');
    const std::size_t slash = text.find('/');
    return colon != std::string::npos && (slash == std::string::npos || colon < slash);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    vt::UrlParts from;
    VT_FUZZ_CHECK(vt::ParseUpdateUrl(kFrom[data[0] % 4], from));
    const std::string location(reinterpret_cast<const char*>(data + 1), size - 1);
    vt::UrlParts to;
    to.host = "untouched";
    if (!vt::ResolveRedirect(from, location, to)) {
        VT_FUZZ_CHECK(to.host == "untouched");
        return 0;
    }
    // Whatever was written, the next request is a plain path on a named server.
    VT_FUZZ_CHECK(!to.host.empty());
    VT_FUZZ_CHECK(!to.object.empty() && to.object[0] == '/');
    VT_FUZZ_CHECK(to.object.find('#') == std::string::npos);
    for (char c : to.object) {
        const unsigned char u = static_cast<unsigned char>(c);
        VT_FUZZ_CHECK(u >= 0x20 && u != 0x7F && c != ' ' && c != '\\');
    }
    VT_FUZZ_CHECK(to.port >= 1 && to.port <= 65535);
    // Only an address with a scheme or a host of its own leaves the server.
    if (!HasScheme(location) && location.compare(0, 2, "//") != 0) VT_FUZZ_CHECK(vt::SameServer(from, to));
    // TLS is never given up, however many redirects came before.
    for (int followed = 0; followed <= vt::kMaxRedirects; ++followed) {
        if (vt::MayFollowRedirect(from, to, followed)) {
            VT_FUZZ_CHECK(followed < vt::kMaxRedirects);
            VT_FUZZ_CHECK(!from.secure || to.secure);
        }
    }
    return 0;
}
