#include "assistant/app/CommandHandOff.h"

#include <commctrl.h>
#include <shellapi.h>

#include "shared/win/Encoding.h"
#include "shared/win/Ignored.h"

namespace vt {
namespace {

constexpr UINT_PTR kReceiverSubclass = 1;
// The running copy may be busy for a moment (a message box of its own
// still serves sent messages); a hung one is not waited for.
constexpr UINT kHandOffTimeoutMs = 10000;

}  // namespace

std::vector<std::string> ProgramArguments() {
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv) {
        win::NoteIgnored(L"CommandLineToArgvW");
        return args;
    }
    for (int i = 1; i < count; ++i) args.push_back(win::ToUtf8(argv[i]));
    LocalFree(argv);
    return args;
}

int HandCommandOver(HWND runningMain, const std::vector<std::string>& args) {
    const std::string payload = EncodeCommandPayload(args);
    COPYDATASTRUCT data = {};
    data.dwData = kCommandCopyDataTag;
    data.cbData = static_cast<DWORD>(payload.size());
    data.lpData = const_cast<char*>(payload.data());
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutW(runningMain, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                             kHandOffTimeoutMs, &answer))
        return kExitNoRunningWindow;
    return answer == 1 ? kExitAccepted : kExitRefused;
}

LRESULT AnswerCommandCopyData(LPARAM lParam, const CommandSink& sink) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (!data) return 0;
    std::optional<LaunchCommand> command = DecodeCommandPayload(data->dwData, data->lpData, data->cbData);
    return command && sink && sink(*command) ? 1 : 0;
}

CommandReceiver::~CommandReceiver() {
    if (m_window && IsWindow(m_window)) RemoveWindowSubclass(m_window, Proc, kReceiverSubclass);
}

bool CommandReceiver::Attach(HWND window, CommandSink sink) {
    m_sink = std::move(sink);
    if (!SetWindowSubclass(window, Proc, kReceiverSubclass, reinterpret_cast<DWORD_PTR>(this))) return false;
    m_window = window;
    return true;
}

LRESULT CALLBACK CommandReceiver::Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
    switch (msg) {
    case WM_COPYDATA:
        return AnswerCommandCopyData(lParam, reinterpret_cast<CommandReceiver*>(self)->m_sink);
    case WM_NCDESTROY:
        RemoveWindowSubclass(hwnd, Proc, kReceiverSubclass);
        reinterpret_cast<CommandReceiver*>(self)->m_window = nullptr;
        break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

}  // namespace vt
