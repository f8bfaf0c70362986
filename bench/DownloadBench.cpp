// Download throughput of the updater's own path against WinINet's own loop,
// side by side in one process:
//   - "wininet-file": InternetReadFile in 64 KiB reads, each written to the file
//     with WriteFile, flushed at the end as the updater flushes every
//     download, nothing else (the floor for a download to disk);
//   - "wininet-read": the same loop without the file (what the network gives);
//   - "updater": the core's DownloadFile behind WinInetClient, with the
//     wizard's message pump and the progress rule, streamed to the file;
//   - "checked": the same with the body's sha256 checked on the way, as a
//     component that names its digest is;
//   - "sha256": the updater's hash (WinCrypto's, on a thread of its own)
//     taking as many bytes from memory, as the check does (the floor of the
//     checked download where hashing is slower than the network).
// The variants take turns (one run of each, then the next round), so a burst
// of load on a shared machine slows all of them alike. Prints every run, and
// the best and the median of each variant.
//   download_bench <host> <port> <object> <target file> [runs] [sha256]
// Without a sha256 (64 hex digits) the checked variant is left out.
#include <windows.h>

#include <wininet.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "shared/win/Encoding.h"
#include "shared/win/Platform.h"
#include "shared/win/WinProfile.h"
#include "updater/DigestText.h"
#include "updater/Downloader.h"
#include "updater/MessagePump.h"
#include "updater/WinCrypto.h"
#include "updater/WinInetClient.h"
#include "updater/WinProcesses.h"
#include "updater/WinTextCodec.h"

namespace {

// The wizard's window as far as a download touches it: no progress bar, the
// message pump is the dialog's own.
class PumpingView : public vt::IUpdateView {
public:
    void SetStatus(const std::string&) override {}
    void ClearList() override {}
    void AddListLine(const std::string&) override {}
    void SetProgress(int) override {}
    void SetButtonText(const std::string&) override {}
    bool AskOkCancel(const std::string&, const std::string&) override { return false; }
    void ShowError(const std::string&) override {}
    void Close() override {}
    void SetWaitCursor(bool) override {}
    void PumpMessages(int attempts) override { vt::win::PumpWaitingMessages(nullptr, attempts); }
};

double NowMs() {
    LARGE_INTEGER freq, now;
    QueryPerformanceFrequency(&freq);
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(freq.QuadPart);
}

struct Target {
    std::wstring host;
    int port = 0;
    std::wstring object;
    std::wstring file;
};

// WinINet's own loop: 64 KiB reads, optionally each written to the file and
// the file flushed at the end.
// False when anything failed.
bool PlainLoop(const Target& t, bool toFile) {
    using vt::win::InternetHandle;
    InternetHandle session(InternetOpenW(L"Update", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    InternetHandle connection(InternetConnectW(session.Get(), t.host.c_str(), static_cast<INTERNET_PORT>(t.port),
                                               nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 1));
    const DWORD flags = INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    InternetHandle request(
        HttpOpenRequestW(connection.Get(), L"GET", t.object.c_str(), L"HTTP/1.0", nullptr, nullptr, flags, 1));
    if (!request || !HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0)) return false;
    vt::win::KernelHandle file;
    if (toFile) {
        file.Reset(CreateFileW(t.file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
    }
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        DWORD got = 0;
        if (!InternetReadFile(request.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got)) return false;
        // The updater flushes every download before it counts as done.
        if (got == 0) return !toFile || FlushFileBuffers(file.Get());
        DWORD written = 0;
        if (toFile && (!WriteFile(file.Get(), buffer.data(), got, &written, nullptr) || written != got)) return false;
    }
}

struct Variant {
    explicit Variant(const char* n) : name(n) {}
    const char* name;
    std::vector<double> times;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: download_bench <host> <port> <object> <target file> [runs] [sha256]\n");
        return 2;
    }
    const Target t{argv[1], _wtoi(argv[2]), argv[3], argv[4]};
    const std::string host = vt::win::ToUtf8(argv[1]);
    const std::string object = vt::win::ToUtf8(argv[3]);
    const std::string target = vt::win::ToUtf8(argv[4]);
    const int runs = argc > 5 ? std::max(1, _wtoi(argv[5])) : 3;
    vt::Sha256Digest digest{};
    const bool checked = argc > 6;
    if (checked && !vt::ParseSha256Hex(vt::win::ToUtf8(argv[6]), digest)) {
        std::fprintf(stderr, "not a sha256: %ls\n", argv[6]);
        return 2;
    }

    PumpingView view;
    vt::win::WinTextCodec codec;
    vt::win::WinInetClient http(L"Update");
    vt::win::WinFileSystem files;
    vt::win::WinProcesses processes;
    vt::win::WinShell shell;
    vt::win::WinCrypto crypto;
    vt::win::WinProfile localIni(target + ".local.ini"), serverIni(target + ".server.ini");
    const vt::UpdateServices services{view, codec, http, files, processes, shell, localIni, serverIni, crypto};
    auto updater = [&](const vt::Sha256Digest* expected) {
        vt::UpdateContext ctx(services, vt::MakeUpdatePaths("", ""));
        ctx.connection = http.Connect(host, t.port, false);
        return vt::DownloadFile(ctx, object, target, expected);
    };

    Variant wininet("wininet-file"), wininetRead("wininet-read"), ours("updater"), ourChecked("checked"),
        hashOnly("sha256");
    std::vector<Variant*> variants{&wininet, &wininetRead, &ours};
    if (checked) variants.insert(variants.end(), {&ourChecked, &hashOnly});
    auto hashAlone = [&] {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        if (!GetFileAttributesExW(t.file.c_str(), GetFileExInfoStandard, &data)) return false;
        static const std::vector<char> block(vt::kTransferBlockSize, 'h');
        std::unique_ptr<vt::ISha256> hash = crypto.NewSha256();
        if (!hash) return false;
        for (unsigned long long left = data.nFileSizeLow | static_cast<unsigned long long>(data.nFileSizeHigh) << 32;
             left;) {
            const std::size_t n = static_cast<std::size_t>(std::min<unsigned long long>(left, block.size()));
            hash->Update(block.data(), n);
            left -= n;
        }
        vt::Sha256Digest out;
        return hash->Finish(out);
    };
    for (int i = 0; i < runs; ++i) {
        for (Variant* v : variants) {
            const double start = NowMs();
            bool ok = false;
            if (v == &wininet) ok = PlainLoop(t, true);
            if (v == &wininetRead) ok = PlainLoop(t, false);
            if (v == &ours) ok = updater(nullptr);
            if (v == &ourChecked) ok = updater(&digest);
            if (v == &hashOnly) ok = hashAlone();
            const double took = NowMs() - start;
            if (!ok) {
                std::fprintf(stderr, "%s: download failed\n", v->name);
                return 1;
            }
            v->times.push_back(took);
            std::printf("run %d %s: %.1f ms\n", i + 1, v->name, took);
        }
    }
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(argv[4], GetFileExInfoStandard, &data);
    std::printf("bytes %llu\n", (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    for (Variant* v : variants) {
        std::sort(v->times.begin(), v->times.end());
        std::printf("best %s %.1f\n", v->name, v->times.front());
        std::printf("median %s %.1f\n", v->name, v->times[v->times.size() / 2]);
    }
    return 0;
}
