#include "updater/WinInetClient.h"

#include "shared/win/Encoding.h"

namespace vt::win {
namespace {

// Context value of every handle; nothing uses status callbacks.
constexpr DWORD_PTR kContext = 1;

class WinInetRequest : public IHttpRequest {
public:
    explicit WinInetRequest(HINTERNET request) : m_hRequest(request) {}
    ~WinInetRequest() override { InternetCloseHandle(m_hRequest); }
    WinInetRequest(const WinInetRequest&) = delete;
    WinInetRequest& operator=(const WinInetRequest&) = delete;

    HttpResponseHead Send() override {
        HttpResponseHead head;
        if (!HttpSendRequestW(m_hRequest, nullptr, 0, nullptr, 0)) return head;
        head.sent = true;

        DWORD status = 0, size = sizeof status;
        if (HttpQueryInfoW(m_hRequest, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                           nullptr)) {
            head.statusCode = static_cast<int>(status);
        }
        head.contentLength = QueryText(HTTP_QUERY_CONTENT_LENGTH);
        return head;
    }

    long Read(void* buffer, std::size_t capacity) override {
        // InternetReadFile may return less than asked before the body ends;
        // the caller counts on whole blocks.
        char* out = static_cast<char*>(buffer);
        std::size_t filled = 0;
        while (filled < capacity) {
            DWORD want = static_cast<DWORD>(capacity - filled), got = 0;
            if (!InternetReadFile(m_hRequest, out + filled, want, &got)) {
                m_nError = GetLastError();
                return -1;
            }
            if (got == 0) break;
            filled += got;
        }
        return static_cast<long>(filled);
    }

    std::string ErrorText() const override { return m_nError ? InternetErrorText(m_nError) : std::string(); }

private:
    // A header as text; empty when the response has none.
    std::string QueryText(DWORD header) {
        std::wstring text(64, L'\0');
        for (int attempt = 0; attempt < 2; ++attempt) {
            DWORD size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
            if (HttpQueryInfoW(m_hRequest, header, &text[0], &size, nullptr)) {
                text.resize(size / sizeof(wchar_t));
                return ToUtf8(text);
            }
            if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
            text.assign(size / sizeof(wchar_t) + 1, L'\0');
        }
        return {};
    }

    HINTERNET m_hRequest;
    DWORD m_nError = 0;
};

class WinInetConnection : public IHttpConnection {
public:
    WinInetConnection(HINTERNET connection, bool secure, DWORD receiveTimeoutMs)
        : m_hConnection(connection), m_bSecure(secure), m_nReceiveTimeoutMs(receiveTimeoutMs) {}
    ~WinInetConnection() override { InternetCloseHandle(m_hConnection); }
    WinInetConnection(const WinInetConnection&) = delete;
    WinInetConnection& operator=(const WinInetConnection&) = delete;

    std::unique_ptr<IHttpRequest> OpenGet(const std::string& object) override {
        // Always from the server: a cached description or file would hide
        // the update that was just published.
        DWORD flags = INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
        if (m_bSecure) flags |= INTERNET_FLAG_SECURE;
        HINTERNET request = HttpOpenRequestW(m_hConnection, L"GET", FromGbk(Gbk(object)).c_str(), nullptr, nullptr,
                                             nullptr, flags, kContext);
        if (!request) return nullptr;
        // Set on the request itself: not every WinINet passes it down from
        // the session.
        if (m_nReceiveTimeoutMs) {
            DWORD timeout = m_nReceiveTimeoutMs;
            InternetSetOptionW(request, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
        }
        return std::make_unique<WinInetRequest>(request);
    }

private:
    HINTERNET m_hConnection;
    bool m_bSecure;
    DWORD m_nReceiveTimeoutMs;
};

}  // namespace

WinInetClient::WinInetClient(const std::wstring& userAgent)
    : m_hSession(InternetOpenW(userAgent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)) {}

WinInetClient::~WinInetClient() {
    if (m_hSession) InternetCloseHandle(m_hSession);
}

void WinInetClient::SetReceiveTimeout(DWORD milliseconds) { m_nReceiveTimeoutMs = milliseconds; }

std::unique_ptr<IHttpConnection> WinInetClient::Connect(const std::string& host, int port, bool secure) {
    if (!m_hSession) return nullptr;
    // Sends nothing: the first request opens the network connection.
    HINTERNET connection = InternetConnectW(m_hSession, FromGbk(Gbk(host)).c_str(), static_cast<INTERNET_PORT>(port),
                                            nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, kContext);
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
    wchar_t* text = nullptr;
    DWORD n = FormatMessageW(flags, source, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = n && text ? std::wstring(text, n) : std::wstring();
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    return ToUtf8(message);
}

}  // namespace vt::win
