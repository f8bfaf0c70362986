#pragma once
// The address of the server description, split for the HTTP connection.
#include <string>

namespace vt {

struct UrlParts {
    std::string host;  // empty only after user information without a host
    int port = 80;
    bool secure = false;  // https: TLS on the connection
    std::string object;   // path and query, always starting with '/'
};

// Accepts absolute http and https addresses (scheme in any letter case).
// A port written in the address is used; without one http goes to 80 and
// https to 443. User information is skipped, a fragment is dropped.
// False for an empty text, another scheme, no host, a bad port, a host with
// a colon outside brackets or with brackets inside, or control characters or
// blanks where an address cannot have them. User information followed by no
// host ("http://u@:81/a") is read with an empty host: the address names no
// server, and the check fails as a connection failure.
bool ParseUpdateUrl(const std::string& url, UrlParts& out);

}  // namespace vt
