#include "tests/win/updater/TestHttpServer.h"

#include <ws2tcpip.h>

namespace vt::test {
namespace {

const char* Reason(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 303:
        return "See Other";
    case 307:
        return "Temporary Redirect";
    case 308:
        return "Permanent Redirect";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

bool SendAll(SOCKET s, const std::string& data) {
    std::size_t sent = 0;
    while (sent < data.size()) {
        int n = send(s, data.data() + sent, static_cast<int>(data.size() - sent), 0);
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

TestHttpServer::TestHttpServer() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    int len = sizeof addr;
    if (m_listener == INVALID_SOCKET || bind(m_listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        listen(m_listener, 8) != 0 || getsockname(m_listener, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        if (m_listener != INVALID_SOCKET) closesocket(m_listener);
        m_listener = INVALID_SOCKET;
        return;
    }
    m_nPort = ntohs(addr.sin_port);
    m_thread = std::thread([this] { Loop(); });
}

TestHttpServer::~TestHttpServer() {
    m_bStop = true;
    if (m_thread.joinable()) m_thread.join();
    for (std::thread& handler : m_handlers) handler.join();
    if (m_listener != INVALID_SOCKET) closesocket(m_listener);
    WSACleanup();
}

std::string TestHttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(m_nPort) + path;
}

void TestHttpServer::Serve(const std::string& path, const CannedResponse& response) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_responses[path] = response;
}

void TestHttpServer::Serve(const std::string& path, const std::string& body) {
    CannedResponse r;
    r.body = body;
    Serve(path, r);
}

std::vector<std::string> TestHttpServer::RequestVersions() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_versions;
}

void TestHttpServer::Redirect(const std::string& path, const std::string& location, int status) {
    CannedResponse r;
    r.status = status;
    r.headers = "Location: " + location + "\r\n";
    Serve(path, r);
}

int TestHttpServer::Requests(const std::string& path) const {
    std::lock_guard<std::mutex> lock(m_mutex);
    int n = 0;
    for (const std::string& p : m_requested) n += p == path;
    return n;
}

std::vector<std::string> TestHttpServer::RequestedPaths() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requested;
}

int TestHttpServer::ClosedPort() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int len = sizeof addr;
    bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
    closesocket(s);
    WSACleanup();
    return ntohs(addr.sin_port);
}

void TestHttpServer::Loop() {
    // Polls, so that the destructor can stop it without closing the socket
    // under a blocked accept.
    while (!m_bStop) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_listener, &readable);
        timeval wait = {0, 50 * 1000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0) continue;
        SOCKET client = accept(m_listener, nullptr, nullptr);
        if (client == INVALID_SOCKET) continue;
        // A connection of its own for each: a stalled one holds up no other.
        m_handlers.emplace_back([this, client] { Handle(client); });
    }
}

void TestHttpServer::Handle(SOCKET client) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        int n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        head.append(buffer, static_cast<std::size_t>(n));
    }
    // "GET /path HTTP/1.1"
    std::size_t start = head.find(' ');
    std::size_t end = start == std::string::npos ? start : head.find(' ', start + 1);
    std::string path = end == std::string::npos ? std::string() : head.substr(start + 1, end - start - 1);

    CannedResponse response;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_requested.push_back(path);
        const std::size_t lineEnd = head.find("\r\n");
        m_versions.push_back(end == std::string::npos || lineEnd == std::string::npos || lineEnd < end
                                 ? std::string()
                                 : head.substr(end + 1, lineEnd - end - 1));
        auto it = m_responses.find(path);
        if (it != m_responses.end()) {
            response = it->second;
        } else {
            response.status = 404;
            response.body = "<html><body>Not Found</body></html>";
        }
    }

    using Misbehave = CannedResponse::Misbehave;
    if (response.misbehave == Misbehave::Silent) {
        // Until the client gives up or the server stops.
        DWORD wait = 50;
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&wait), sizeof wait);
        while (!m_bStop) {
            int n = recv(client, buffer, sizeof buffer, 0);
            if (n == 0 || (n < 0 && WSAGetLastError() != WSAETIMEDOUT)) break;
        }
        closesocket(client);
        return;
    }
    const bool chunked = response.misbehave == Misbehave::Chunked || response.misbehave == Misbehave::ChunkedNoEnd;
    if (chunked) {
        response.length = CannedResponse::Length::None;
        response.headers += "Transfer-Encoding: chunked\r\n";
    } else if (response.misbehave == Misbehave::Endless) {
        response.length = CannedResponse::Length::None;
    }

    std::string reply = "HTTP/1.1 " + std::to_string(response.status) + " " + Reason(response.status) +
                        "\r\nContent-Type: application/octet-stream\r\nConnection: close\r\n" + response.headers;
    if (response.length == CannedResponse::Length::Exact)
        reply += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
    else if (response.length == CannedResponse::Length::Announce)
        reply += "Content-Length: " + std::to_string(response.announced) + "\r\n";
    reply += "\r\n";
    if (response.misbehave == Misbehave::None) {
        reply += response.body;
        SendAll(client, reply);
    } else {
        SendAll(client, reply);
        SendBody(client, response);
    }
    if (response.stallMs) Sleep(response.stallMs);

    if (response.reset) {
        linger abort = {1, 0};
        setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
    } else {
        shutdown(client, SD_SEND);
        // Let the client read everything before the socket goes.
        DWORD timeout = 2000;
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
        while (recv(client, buffer, sizeof buffer, 0) > 0) {}
    }
    closesocket(client);
}

// The body of a misbehaving response; false once the client has gone.
bool TestHttpServer::SendBody(SOCKET client, const CannedResponse& response) {
    using Misbehave = CannedResponse::Misbehave;
    const std::string& body = response.body;
    switch (response.misbehave) {
    case Misbehave::Chunked:
    case Misbehave::ChunkedNoEnd: {
        // Chunks of 1000 bytes, sizes in hex as the encoding writes them.
        for (std::size_t at = 0; at < body.size(); at += 1000) {
            const std::string chunk = body.substr(at, 1000);
            char size[16];
            wsprintfA(size, "%x\r\n", static_cast<unsigned>(chunk.size()));
            if (!SendAll(client, size + chunk + "\r\n")) return false;
        }
        if (response.misbehave == Misbehave::Chunked) return SendAll(client, "0\r\n\r\n");
        return true;
    }
    case Misbehave::Endless: {
        // A short send wait, so that a client that stops reading cannot hold
        // the server's shutdown.
        DWORD wait = 200;
        setsockopt(client, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&wait), sizeof wait);
        const std::string block = body.empty() ? std::string(4096, 'x') : body;
        while (!m_bStop) {
            int n = send(client, block.data(), static_cast<int>(block.size()), 0);
            if (n <= 0 && WSAGetLastError() != WSAETIMEDOUT) return false;
        }
        return false;
    }
    case Misbehave::Trickle:
        for (char c : body) {
            for (unsigned waited = 0; waited < response.trickleMs; waited += 10) {
                if (m_bStop) return false;
                Sleep(10);
            }
            if (send(client, &c, 1, 0) != 1) return false;
        }
        return true;
    default:
        return SendAll(client, body);
    }
}

}  // namespace vt::test
