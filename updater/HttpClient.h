#pragma once
// HTTP as the updater uses it: one connection to the update server, GET
// requests on it, the status code, the Content-Length header and the body
// in blocks. The Windows side implements it on WinINet (InternetConnect,
// HttpOpenRequest with INTERNET_FLAG_EXISTING_CONNECT, and INTERNET_FLAG_SECURE
// for TLS); the tests implement it with canned responses.
//
// Failures are results, never exceptions. Host and object names are passed
// as they stand in the update descriptions (code page 936 bytes; in practice
// ASCII).
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace vt {

struct HttpResponseHead {
    bool sent = false;  // false: the request could not be sent at all
    int statusCode = 0;
    // The raw Content-Length header text; empty when there is none.
    std::string contentLength;
    // The raw Location header text; empty when there is none. Redirects are
    // never followed by the platform: the updater decides (Redirect.h).
    std::string location;
};

// What a request calls, on the caller's thread and a few times a second,
// while Send or Read waits for the network. Returning false gives the wait
// up: the call then fails at once.
using HttpWaitHandler = std::function<bool()>;

class IHttpRequest {
public:
    virtual ~IHttpRequest() = default;  // closes the request
    virtual HttpResponseHead Send() = 0;
    // Reads the body bytes that have arrived into buffer, up to capacity;
    // waits only while none have. Returns the count read (a slow server gives
    // short counts), 0 at the end of the body, or -1 when the transfer
    // failed, also when the body ended before its encoding said it would (a
    // chunked body without its last chunk).
    virtual long Read(void* buffer, std::size_t capacity) = 0;
    // Why the last Read failed, UTF-8, for the user; empty when the platform
    // has no description.
    virtual std::string ErrorText() const { return {}; }
    // A request whose calls never wait (a stand-in) may ignore it.
    virtual void SetWaitHandler(HttpWaitHandler handler) { (void)handler; }
};

class IHttpConnection {
public:
    virtual ~IHttpConnection() = default;  // closes the connection
    // A GET request for object on this connection; null when it cannot be
    // opened.
    virtual std::unique_ptr<IHttpRequest> OpenGet(const std::string& object) = 0;
};

class IHttpClient {
public:
    virtual ~IHttpClient() = default;
    // Sends nothing yet; null when no connection object can be made.
    virtual std::unique_ptr<IHttpConnection> Connect(const std::string& host, int port, bool secure) = 0;
};

}  // namespace vt
