// Download throughput of the updater's own path: WinINet behind WinInetClient,
// the core's DownloadFile streaming 2048-byte blocks to a file, with the
// wizard's message pump (up to ten messages) after every block. Prints the
// milliseconds of each run and the best, then checks the size of what arrived.
//   download_bench <host> <port> <object> <target file> [runs] [pump|nopump] [sha256]
// With "nopump" the view takes no messages: the transfer alone. With a
// sha256 (64 hex digits) the body is checked against it on the way, with
// CNG, as the updater checks a component that names its digest.
#include <windows.h>

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

// The wizard's window as far as a download touches it: the progress bar is
// not there, the message pump is the dialog's own.
class PumpingView : public vt::IUpdateView {
public:
    bool pump = true;
    void SetStatus(const std::string&) override {}
    void ClearList() override {}
    void AddListLine(const std::string&) override {}
    void SetProgress(int) override {}
    void SetButtonText(const std::string&) override {}
    bool AskOkCancel(const std::string&, const std::string&) override { return false; }
    void ShowError(const std::string&) override {}
    void Close() override {}
    void SetWaitCursor(bool) override {}
    void PumpMessages(int attempts) override {
        if (pump) vt::win::PumpWaitingMessages(nullptr, attempts);
    }
};

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(freq.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: download_bench <host> <port> <object> <target file> [runs]\n");
        return 2;
    }
    const std::string host = vt::win::ToUtf8(argv[1]);
    const int port = _wtoi(argv[2]);
    const std::string object = vt::win::ToUtf8(argv[3]);
    const std::string target = vt::win::ToUtf8(argv[4]);
    const int runs = argc > 5 ? std::max(1, _wtoi(argv[5])) : 3;

    PumpingView view;
    view.pump = !(argc > 6 && std::wcscmp(argv[6], L"nopump") == 0);
    vt::Sha256Digest digest{};
    const bool checked = argc > 7;
    if (checked && !vt::ParseSha256Hex(vt::win::ToUtf8(argv[7]), digest)) {
        std::fprintf(stderr, "not a sha256: %ls\n", argv[7]);
        return 2;
    }
    vt::win::WinTextCodec codec;
    vt::win::WinInetClient http(L"Update");
    vt::win::WinFileSystem files;
    vt::win::WinProcesses processes;
    vt::win::WinShell shell;
    vt::win::WinCrypto crypto;
    vt::win::WinProfile localIni(target + ".local.ini"), serverIni(target + ".server.ini");
    const vt::UpdateServices services{view, codec, http, files, processes, shell, localIni, serverIni, crypto};

    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        vt::UpdateContext ctx(services, vt::MakeUpdatePaths("", ""));
        ctx.connection = http.Connect(host, port, false);
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        const bool ok = vt::DownloadFile(ctx, object, target, checked ? &digest : nullptr);
        QueryPerformanceCounter(&t1);
        if (!ok) {
            std::fprintf(stderr, "download failed\n");
            return 1;
        }
        times.push_back(Milliseconds(t0, t1));
        std::printf("run %d: %.1f ms\n", i + 1, times.back());
    }
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExW(argv[4], GetFileExInfoStandard, &data);
    std::printf("bytes %llu\n", (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    std::printf("best %.1f\n", *std::min_element(times.begin(), times.end()));
    return 0;
}
