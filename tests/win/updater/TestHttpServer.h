#pragma once
// A small HTTP/1.1 server on the loopback interface for the updater's tests:
// canned responses by path, each connection answered on a thread of its own.
#include <winsock2.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vt::test {

struct CannedResponse {
    enum class Length {
        Exact,     // Content-Length is the body's size
        None,      // no Content-Length: the body ends when the connection closes
        Announce,  // Content-Length is `announced` (more than the body: a cut transfer)
    };
    int status = 200;
    std::string body;
    Length length = Length::Exact;
    std::size_t announced = 0;
    // After the body the connection is reset instead of closed in order.
    bool reset = false;
    // After the body the server keeps silent this long before it closes.
    unsigned stallMs = 0;
    // More header lines, each ending in "\r\n".
    std::string headers;

    // What a hostile or broken server does instead of answering plainly.
    enum class Misbehave {
        None,
        Chunked,       // the body in chunked encoding, with its last chunk
        ChunkedNoEnd,  // chunked, and the connection closes before the last chunk
        Endless,       // the body never ends (no length, sent until the client goes)
        Trickle,       // the body one byte per `trickleMs`
        Silent,        // reads the request and never answers
    };
    Misbehave misbehave = Misbehave::None;
    unsigned trickleMs = 1000;
};

class TestHttpServer {
public:
    TestHttpServer();  // listens on 127.0.0.1 at a free port
    ~TestHttpServer();
    TestHttpServer(const TestHttpServer&) = delete;
    TestHttpServer& operator=(const TestHttpServer&) = delete;

    bool Listening() const { return m_listener != INVALID_SOCKET; }
    int Port() const { return m_nPort; }
    // "http://127.0.0.1:<port>" followed by path.
    std::string Url(const std::string& path) const;

    // A path without a canned response gets a 404.
    void Serve(const std::string& path, const CannedResponse& response);
    void Serve(const std::string& path, const std::string& body);
    // A redirect (status 302 unless given) to location, as the server writes it.
    void Redirect(const std::string& path, const std::string& location, int status = 302);

    int Requests(const std::string& path) const;
    std::vector<std::string> RequestedPaths() const;
    // The protocol of each request line ("HTTP/1.0"), in order.
    std::vector<std::string> RequestVersions() const;

    // A port on which nothing listens (free a moment ago).
    static int ClosedPort();

private:
    void Loop();
    void Handle(SOCKET client);
    bool SendBody(SOCKET client, const CannedResponse& response);

    SOCKET m_listener = INVALID_SOCKET;
    int m_nPort = 0;
    std::atomic<bool> m_bStop{false};
    mutable std::mutex m_mutex;
    std::map<std::string, CannedResponse> m_responses;
    std::vector<std::string> m_requested;
    std::vector<std::string> m_versions;
    std::thread m_thread;
    std::vector<std::thread> m_handlers;  // only the accepting thread adds
};

}  // namespace vt::test
