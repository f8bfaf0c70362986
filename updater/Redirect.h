#pragma once
// Which redirects the updater follows. It follows them itself, one at a
// time, so that a server cannot send it round in circles or move a
// description fetched over TLS onto plain HTTP.
#include <string>

#include "updater/UrlParts.h"

namespace vt {

// A chain of more than this many redirects is a failed request.
constexpr int kMaxRedirects = 5;

// 301, 302, 303, 307 and 308: the answer is somewhere else.
bool IsRedirectStatus(int status);

// Where a Location header sends a request for `from`: an absolute http or
// https address, one without its scheme ("//host/path", the scheme of
// `from`), a path on the same server ("/path"), or a path relative to the
// directory of from.object. A fragment is dropped. False for an empty or
// unreadable location, or an absolute one that names no server.
bool ResolveRedirect(const UrlParts& from, const std::string& location, UrlParts& to);

// True when the redirect from `from` to `to` may be followed after
// `followed` others in the same chain: at most kMaxRedirects in all, and
// never from TLS to plain HTTP.
bool MayFollowRedirect(const UrlParts& from, const UrlParts& to, int followed);

// Same scheme, host (letter case aside) and port: one connection serves both.
bool SameServer(const UrlParts& a, const UrlParts& b);

}  // namespace vt
