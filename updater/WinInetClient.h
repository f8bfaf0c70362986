#pragma once
// The updater's HTTP on WinINet: one Internet session for the life of the
// program, one connection to the update server, GET requests on it.
#include <windows.h>

#include <wininet.h>

#include <string>

#include "shared/win/Handles.h"
#include "updater/HttpClient.h"

namespace vt::win {

// A WinINet handle (session, connection or request). Its owner is here and
// not in Handles.h with the others: only the updater talks WinINet, and
// wininet.h stays out of everything else.
using InternetHandle = Owned<handle_traits::Freed<HINTERNET, InternetCloseHandle>>;

class WinInetClient : public IHttpClient {
public:
    // The system's configured Internet and proxy settings apply.
    explicit WinInetClient(const std::wstring& userAgent);
    WinInetClient(const WinInetClient&) = delete;
    WinInetClient& operator=(const WinInetClient&) = delete;

    // How long a read waits for more of the body before it fails, for the
    // connections made from now on; without it the system's default holds.
    void SetReceiveTimeout(DWORD milliseconds);

    // Host names come as the descriptions write them (code page 936). Null
    // when no session could be made at start.
    std::unique_ptr<IHttpConnection> Connect(const std::string& host, int port, bool secure) override;

private:
    InternetHandle m_session;
    DWORD m_nReceiveTimeoutMs = 0;  // 0: the system's
};

// What the platform says about a WinINet or system error code, UTF-8 and
// without the line break at its end; empty when it has no text for it.
std::string InternetErrorText(DWORD code);

}  // namespace vt::win
