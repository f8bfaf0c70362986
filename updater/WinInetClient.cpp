#include "updater/WinInetClient.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "shared/win/Encoding.h"

namespace vt::win {
namespace {

// Context value of every handle; nothing uses status callbacks.
constexpr DWORD_PTR kContext = 1;

// WinINet's synchronous calls block until the network answers, for as long
// as the server likes. Each request therefore makes its calls on a thread of
// its own, while the caller's thread waits in short slices and runs the
// request's wait handler between them (the wizard pumps its window's
// messages there). A call that the handler gives up, or that has waited a
// whole receive timeout without an answer, is abandoned: the request fails
// at once, and its thread ends when the call returns (the handle is closed
// under it, which ends a blocked WinINet call). Everything that thread
// touches lives in the shared state below, never in the caller's frames.
class NetworkThread {
public:
    NetworkThread() : m_shared(std::make_shared<Shared>()) {
        std::shared_ptr<Shared> shared = m_shared;
        std::thread([shared] { Run(*shared); }).detach();
    }
    ~NetworkThread() {
        std::lock_guard<std::mutex> lock(m_shared->mutex);
        m_shared->quit = true;
        m_shared->wake.notify_all();
    }
    NetworkThread(const NetworkThread&) = delete;
    NetworkThread& operator=(const NetworkThread&) = delete;

    // Runs call on the thread. ERROR_SUCCESS when it ran to its end (then
    // its result is in the state it wrote), otherwise why it was abandoned.
    DWORD Call(std::function<void()> call, const HttpWaitHandler& keepWaiting, DWORD timeoutMs) {
        Shared& s = *m_shared;
        std::unique_lock<std::mutex> lock(s.mutex);
        if (s.busy) return ERROR_INTERNET_INCORRECT_HANDLE_STATE;  // an abandoned call still runs
        s.call = std::move(call);
        s.busy = true;
        s.wake.notify_all();
        const DWORD start = GetTickCount();
        for (;;) {
            if (s.done.wait_for(lock, std::chrono::milliseconds(kSliceMs), [&s] { return !s.busy; }))
                return ERROR_SUCCESS;
            // Not under the lock: the handler dispatches window messages.
            lock.unlock();
            const bool wait = !keepWaiting || keepWaiting();
            lock.lock();
            if (!s.busy) return ERROR_SUCCESS;
            if (!wait) return ERROR_INTERNET_OPERATION_CANCELLED;
            if (timeoutMs && GetTickCount() - start >= timeoutMs) return ERROR_INTERNET_TIMEOUT;
        }
    }

    // Where the thread's calls put what they read.
    std::vector<char>& Buffer() { return m_shared->buffer; }

private:
    static constexpr unsigned kSliceMs = 50;

    struct Shared {
        std::mutex mutex;
        std::condition_variable wake, done;
        std::function<void()> call;
        bool busy = false;
        bool quit = false;
        std::vector<char> buffer;
    };

    static void Run(Shared& s) {
        std::unique_lock<std::mutex> lock(s.mutex);
        for (;;) {
            s.wake.wait(lock, [&s] { return s.quit || (s.busy && s.call); });
            if (s.quit) return;
            std::function<void()> call = std::move(s.call);
            s.call = nullptr;
            lock.unlock();
            call();
            lock.lock();
            s.busy = false;
            s.done.notify_all();
        }
    }

    std::shared_ptr<Shared> m_shared;
};

bool ContainsNoCase(std::string text, const char* word) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text.find(word) != std::string::npos;
}

class WinInetRequest : public IHttpRequest {
public:
    WinInetRequest(HINTERNET request, DWORD timeoutMs) : m_request(request), m_nTimeoutMs(timeoutMs) {}
    // Closing the handle also ends a call still blocked on it: it is closed
    // first, before the network thread is told to end.
    ~WinInetRequest() override { m_request.Reset(); }
    WinInetRequest(const WinInetRequest&) = delete;
    WinInetRequest& operator=(const WinInetRequest&) = delete;

    void SetWaitHandler(HttpWaitHandler handler) override { m_keepWaiting = std::move(handler); }

    HttpResponseHead Send() override {
        HttpResponseHead head;
        auto sent = std::make_shared<std::pair<BOOL, DWORD>>(FALSE, 0);
        HINTERNET request = m_request.Get();
        if (!Call([request, sent] {
                sent->first = HttpSendRequestW(request, nullptr, 0, nullptr, 0);
                sent->second = sent->first ? 0 : GetLastError();
            }) ||
            !sent->first) {
            if (!m_nError) m_nError = sent->second;
            return head;
        }
        head.sent = true;

        DWORD status = 0, size = sizeof status;
        if (HttpQueryInfoW(m_request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
            head.statusCode = static_cast<int>(status);
        }
        head.contentLength = QueryText(HTTP_QUERY_CONTENT_LENGTH);
        head.location = QueryText(HTTP_QUERY_LOCATION);
        // WinINet ends a chunked body that the connection cut before its
        // last chunk as if it were whole. The requests say HTTP/1.0, which a
        // server answers with a length or by closing, never in chunks; one
        // that sends chunks anyway sends a body whose end cannot be told,
        // and that is no transfer to install.
        m_bChunked = ContainsNoCase(QueryText(HTTP_QUERY_TRANSFER_ENCODING), "chunked");
        return head;
    }

    long Read(void* buffer, std::size_t capacity) override {
        // The thread reads what has arrived, up to a chunk; blocks are cut
        // from it here. Short reads never show as short blocks: the caller
        // counts on whole ones.
        if (m_bChunked) m_nError = ERROR_HTTP_INVALID_SERVER_RESPONSE;
        if (m_nError) return -1;
        char* out = static_cast<char*>(buffer);
        std::size_t filled = 0;
        std::vector<char>& chunk = m_thread.Buffer();
        while (filled < capacity) {
            if (m_nChunkPos == m_nChunkSize) {
                if (m_bEnded || !ReadChunk()) break;
                if (m_nError) return -1;
                if (m_bEnded) break;
            }
            const std::size_t n = std::min(capacity - filled, m_nChunkSize - m_nChunkPos);
            std::memcpy(out + filled, chunk.data() + m_nChunkPos, n);
            m_nChunkPos += n;
            filled += n;
        }
        if (m_nError) return -1;
        return static_cast<long>(filled);
    }

    std::string ErrorText() const override { return m_nError ? InternetErrorText(m_nError) : std::string(); }

private:
    static constexpr DWORD kChunkBytes = 64 * 1024;

    // The next bytes the server has sent, waiting for at least one. False
    // with m_nError set when the read failed or was abandoned; m_bEnded at
    // the end of the body.
    bool ReadChunk() {
        struct Result {
            BOOL ok = FALSE;
            DWORD got = 0, error = 0;
        };
        auto result = std::make_shared<Result>();
        HINTERNET request = m_request.Get();
        std::vector<char>* chunk = &m_thread.Buffer();
        if (chunk->size() < kChunkBytes) chunk->resize(kChunkBytes);
        // The chunk lives in the thread's state, so an abandoned read still
        // has somewhere to write.
        if (!Call([request, result, chunk] {
                DWORD available = 0;
                // Waits for the first byte; then only what is there is read.
                if (!InternetQueryDataAvailable(request, &available, 0, 0)) {
                    result->error = GetLastError();
                    return;
                }
                DWORD want = available == 0 || available > kChunkBytes ? kChunkBytes : available;
                result->ok = InternetReadFile(request, chunk->data(), want, &result->got);
                if (!result->ok) result->error = GetLastError();
            })) {
            return false;
        }
        if (!result->ok) {
            m_nError = result->error ? result->error : ERROR_INTERNET_CONNECTION_ABORTED;
            return false;
        }
        m_nChunkPos = 0;
        m_nChunkSize = result->got;
        if (result->got == 0) m_bEnded = true;
        return true;
    }

    // False when the call was abandoned (m_nError says why) or an earlier
    // one was.
    bool Call(std::function<void()> call) {
        if (m_bAbandoned) return false;
        const DWORD why = m_thread.Call(std::move(call), m_keepWaiting, m_nTimeoutMs);
        if (why == ERROR_SUCCESS) return true;
        m_bAbandoned = true;
        m_nError = why;
        return false;
    }

    // A header as text; empty when the response has none.
    std::string QueryText(DWORD header) {
        std::wstring text(64, L'\0');
        for (int attempt = 0; attempt < 2; ++attempt) {
            DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
            if (HttpQueryInfoW(m_request.Get(), header, &text[0], &size, nullptr)) {
                text.resize(size / sizeof(wchar_t));
                return ToUtf8(text);
            }
            if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
            text.assign(size / sizeof(wchar_t) + 1, L'\0');
        }
        return {};
    }

    InternetHandle m_request;
    DWORD m_nTimeoutMs;  // 0: wait as long as WinINet does
    HttpWaitHandler m_keepWaiting;
    NetworkThread m_thread;
    std::size_t m_nChunkPos = 0, m_nChunkSize = 0;
    bool m_bEnded = false;
    bool m_bAbandoned = false;
    bool m_bChunked = false;
    DWORD m_nError = 0;
};

class WinInetConnection : public IHttpConnection {
public:
    WinInetConnection(HINTERNET connection, bool secure, DWORD receiveTimeoutMs)
        : m_connection(connection), m_bSecure(secure), m_nReceiveTimeoutMs(receiveTimeoutMs) {}
    WinInetConnection(const WinInetConnection&) = delete;
    WinInetConnection& operator=(const WinInetConnection&) = delete;

    std::unique_ptr<IHttpRequest> OpenGet(const std::string& object) override {
        // Always from the server: a cached description or file would hide
        // the update that was just published.
        // Redirects are the updater's to follow or refuse.
        DWORD flags = INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                      INTERNET_FLAG_NO_AUTO_REDIRECT;
        if (m_bSecure) flags |= INTERNET_FLAG_SECURE;
        HINTERNET request = HttpOpenRequestW(m_connection.Get(), L"GET", FromGbk(Gbk(object)).c_str(), L"HTTP/1.0",
                                             nullptr, nullptr, flags, kContext);
        if (!request) return nullptr;
        // Set on the request itself: not every WinINet passes it down from
        // the session.
        if (m_nReceiveTimeoutMs) {
            DWORD timeout = m_nReceiveTimeoutMs;
            for (DWORD option : {DWORD{INTERNET_OPTION_RECEIVE_TIMEOUT}, DWORD{INTERNET_OPTION_SEND_TIMEOUT},
                                 DWORD{INTERNET_OPTION_CONNECT_TIMEOUT}})
                InternetSetOptionW(request, option, &timeout, sizeof timeout);
        }
        return std::make_unique<WinInetRequest>(request, m_nReceiveTimeoutMs);
    }

private:
    InternetHandle m_connection;
    bool m_bSecure;
    DWORD m_nReceiveTimeoutMs;
};

}  // namespace

WinInetClient::WinInetClient(const std::wstring& userAgent)
    : m_session(InternetOpenW(userAgent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)) {}

void WinInetClient::SetReceiveTimeout(DWORD milliseconds) { m_nReceiveTimeoutMs = milliseconds; }

std::unique_ptr<IHttpConnection> WinInetClient::Connect(const std::string& host, int port, bool secure) {
    if (!m_session) return nullptr;
    // Sends nothing: the first request opens the network connection.
    HINTERNET connection =
        InternetConnectW(m_session.Get(), FromGbk(Gbk(host)).c_str(), static_cast<INTERNET_PORT>(port), nullptr,
                         nullptr, INTERNET_SERVICE_HTTP, 0, kContext);
    if (!connection) return nullptr;
    return std::make_unique<WinInetConnection>(connection, secure, m_nReceiveTimeoutMs);
}

std::string InternetErrorText(DWORD code) {
    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS;
    HMODULE source = nullptr;
    if (code >= INTERNET_ERROR_BASE && code <= INTERNET_ERROR_LAST) {
        source = GetModuleHandleW(L"wininet.dll");
        flags |= FORMAT_MESSAGE_FROM_HMODULE;
    } else {
        flags |= FORMAT_MESSAGE_FROM_SYSTEM;
    }
    LocalMemory<wchar_t> text;
    // With FORMAT_MESSAGE_ALLOCATE_BUFFER the buffer argument is where the
    // address of the text it allocates goes.
    const DWORD n = FormatMessageW(flags, source, code, 0, reinterpret_cast<wchar_t*>(text.Put()), 0, nullptr);
    std::wstring message = n && text ? std::wstring(text.Get(), n) : std::wstring();
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return ToUtf8(message);
}

}  // namespace vt::win
