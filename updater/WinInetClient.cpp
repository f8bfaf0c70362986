#include "updater/WinInetClient.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
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

// What the network thread and its caller share. It lives as long as either
// needs it: a call abandoned by the caller still finds it when it returns.
struct NetworkState {
    std::mutex mutex;
    // wake: a new call, room in the ring, or the end; done: a call ended or
    // bytes were read.
    std::condition_variable wake, done;
    std::function<void()> call;
    bool busy = false;
    bool quit = false;
    // The body as the reading call passes it on: a ring of the bytes read
    // and not yet taken (produced - consumed of them, from consumed on).
    std::vector<char> ring;
    std::uint64_t produced = 0, consumed = 0;
    bool ended = false;
    DWORD error = 0;  // why the reading stopped early
};

// WinINet's synchronous calls block until the network answers, for as long
// as the server likes. Each request therefore makes its calls on a thread of
// its own, while the caller's thread waits in short slices and runs the
// request's wait handler between them (the wizard pumps its window's
// messages there). A wait that the handler gives up, or that has lasted a
// whole receive timeout, is abandoned: the request fails at once, and the
// thread ends when its call returns (the handle is closed under it, which
// ends a blocked WinINet call). Everything that thread touches lives in
// NetworkState, never in the caller's frames.
class NetworkThread {
public:
    NetworkThread() : m_state(std::make_shared<NetworkState>()) {
        std::shared_ptr<NetworkState> state = m_state;
        std::thread([state] { Run(*state); }).detach();
    }
    ~NetworkThread() {
        std::lock_guard<std::mutex> lock(m_state->mutex);
        m_state->quit = true;
        m_state->wake.notify_all();
    }
    NetworkThread(const NetworkThread&) = delete;
    NetworkThread& operator=(const NetworkThread&) = delete;

    // Runs call on the thread and waits for its end. ERROR_SUCCESS when it
    // ran to its end (then its result is in the state it wrote), otherwise
    // why it was abandoned.
    DWORD Call(std::function<void()> call, const HttpWaitHandler& keepWaiting, DWORD timeoutMs) {
        if (!Start(std::move(call))) return ERROR_INTERNET_INCORRECT_HANDLE_STATE;
        return Wait([](const NetworkState& s) { return !s.busy; }, keepWaiting, timeoutMs);
    }

    // Starts call on the thread; false while an earlier one still runs.
    bool Start(std::function<void()> call) {
        NetworkState& s = *m_state;
        std::lock_guard<std::mutex> lock(s.mutex);
        if (s.busy) return false;
        s.call = std::move(call);
        s.busy = true;
        s.wake.notify_all();
        return true;
    }

    // Waits until ready holds (asked under the lock, whenever the thread
    // reports). ERROR_SUCCESS, or why the wait was given up.
    DWORD Wait(const std::function<bool(const NetworkState&)>& ready, const HttpWaitHandler& keepWaiting,
               DWORD timeoutMs) {
        NetworkState& s = *m_state;
        std::unique_lock<std::mutex> lock(s.mutex);
        const DWORD start = GetTickCount();
        for (;;) {
            if (s.done.wait_for(lock, std::chrono::milliseconds(kSliceMs), [&] { return ready(s); }))
                return ERROR_SUCCESS;
            // Not under the lock: the handler dispatches window messages.
            lock.unlock();
            const bool wait = !keepWaiting || keepWaiting();
            lock.lock();
            if (ready(s)) return ERROR_SUCCESS;
            if (!wait) return ERROR_INTERNET_OPERATION_CANCELLED;
            if (timeoutMs && GetTickCount() - start >= timeoutMs) return ERROR_INTERNET_TIMEOUT;
        }
    }

    const std::shared_ptr<NetworkState>& State() const { return m_state; }

private:
    // How often a waiting caller runs its wait handler: well within the
    // schedule the handler keeps by itself (the wizard's PumpPacer).
    static constexpr unsigned kSliceMs = 10;

    static void Run(NetworkState& s) {
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

    std::shared_ptr<NetworkState> m_state;
};

// The most one read asks of WinINet, and the ring the reading call fills
// ahead of the caller: bounded, so a body is never held whole.
constexpr DWORD kReadBytes = 64 * 1024;
constexpr std::size_t kRingBytes = 16 * kReadBytes;
// What InternetQueryDataAvailable reports at most when the data flows, and
// how quickly a whole block must come for the data to count as flowing.
constexpr DWORD kFlowingBytes = 8 * 1024;
constexpr ULONGLONG kFlowingMs = 20;

// Reads the body of request into the ring until its end, an error, or the
// caller's quit, passing on every read at once: a read that waits for the
// network never holds back what came before it. Runs on the network thread.
void ReadBody(NetworkState& s, HINTERNET request) {
    // The last read asked for a whole block and had it at once: the data
    // flows, and the next read need not ask what has arrived first.
    bool flowing = false;
    for (;;) {
        char* at = nullptr;
        DWORD room = 0;
        {
            std::unique_lock<std::mutex> lock(s.mutex);
            // A full ring waits until half of it is free again, so that the
            // two threads do not take turns for every block.
            auto hasRoom = [&s] { return s.produced - s.consumed <= s.ring.size() / 2; };
            if (s.produced - s.consumed == s.ring.size()) s.wake.wait(lock, [&] { return s.quit || hasRoom(); });
            if (s.quit) return;
            const std::size_t pos = static_cast<std::size_t>(s.produced % s.ring.size());
            const std::size_t free = s.ring.size() - static_cast<std::size_t>(s.produced - s.consumed);
            room = static_cast<DWORD>(std::min<std::size_t>({free, s.ring.size() - pos, kReadBytes}));
            at = s.ring.data() + pos;
        }
        DWORD got = 0, error = 0, want = room;
        // Otherwise waits for the first byte or the end. WinINet reports at
        // most what its own buffer holds (8 KiB): a full report means the
        // data flows, and a whole read returns at the network's speed; less
        // is all there is, read alone, so that a slow server's bytes show as
        // they come.
        DWORD available = 0;
        if (!flowing && !InternetQueryDataAvailable(request, &available, 0, 0)) {
            error = GetLastError();
        } else {
            if (available && available < kFlowingBytes) want = std::min(available, room);
            const ULONGLONG start = GetTickCount64();
            if (!InternetReadFile(request, at, want, &got)) error = GetLastError();
            flowing = got == want && want >= kFlowingBytes && GetTickCount64() - start < kFlowingMs;
        }
        // A read that returns nothing is the end of the body.
        const bool ended = !error && got == 0;
        std::lock_guard<std::mutex> lock(s.mutex);
        s.produced += got;
        if (error) s.error = error;
        s.ended = ended;
        s.done.notify_all();
        if (error || ended) return;
    }
}

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
        // The network thread reads the body into the ring from the first
        // Read on; each Read takes what is there, and waits only while
        // nothing is.
        if (m_bChunked) m_nError = ERROR_HTTP_INVALID_SERVER_RESPONSE;
        if (m_nError) return -1;
        NetworkState& s = *m_thread.State();
        if (!m_bReading) {
            std::shared_ptr<NetworkState> state = m_thread.State();
            state->ring.resize(kRingBytes);
            HINTERNET request = m_request.Get();
            if (m_bAbandoned || !m_thread.Start([state, request] { ReadBody(*state, request); })) {
                m_nError = ERROR_INTERNET_INCORRECT_HANDLE_STATE;
                return -1;
            }
            m_bReading = true;
        }
        const DWORD why = m_thread.Wait(
            [](const NetworkState& st) { return st.produced > st.consumed || st.ended || st.error || !st.busy; },
            m_keepWaiting, m_nTimeoutMs);
        if (why != ERROR_SUCCESS) {
            m_bAbandoned = true;
            m_nError = why;
            return -1;
        }
        std::lock_guard<std::mutex> lock(s.mutex);
        if (s.produced > s.consumed) {
            // Bytes read before an error or the end are taken first.
            const std::size_t pos = static_cast<std::size_t>(s.consumed % s.ring.size());
            const std::size_t n = std::min<std::size_t>(
                {capacity, static_cast<std::size_t>(s.produced - s.consumed), s.ring.size() - pos});
            std::memcpy(buffer, s.ring.data() + pos, n);
            const bool wasFull = s.produced - s.consumed > s.ring.size() / 2;
            s.consumed += n;
            // The thread waits for half the ring (ReadBody): woken once then.
            if (wasFull && s.produced - s.consumed <= s.ring.size() / 2) s.wake.notify_all();
            return static_cast<long>(n);
        }
        if (s.ended) return 0;
        m_nError = s.error ? s.error : ERROR_INTERNET_CONNECTION_ABORTED;
        return -1;
    }

    std::string ErrorText() const override { return m_nError ? InternetErrorText(m_nError) : std::string(); }

private:
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
    bool m_bReading = false;  // the thread reads the body
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
