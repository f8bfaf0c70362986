// The assistant loads sound, COM and the file chooser only when it first
// needs them (they are delay-loaded): started, it runs without the file
// chooser's DLL, the volume read once its message loop runs brings in the
// sound DLLs, and the first "..." of the reminder editor loads the chooser
// and shows it. Each first call goes through a delay-load stub; a stub that
// did not resolve would take the program down.
#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include "assistant/res/resource.h"
#include "tests/e2e/Driver.h"

namespace vt::e2e {
namespace {

std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

// The DLLs loaded in the process, in lower case.
std::vector<std::wstring> ModulesOf(DWORD processId) {
    std::vector<std::wstring> names;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE) return names;
    MODULEENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32FirstW(snapshot, &entry); more; more = Module32NextW(snapshot, &entry))
        names.push_back(Lower(entry.szModule));
    CloseHandle(snapshot);
    return names;
}

bool HasModule(DWORD processId, const std::wstring& name) {
    const std::vector<std::wstring> names = ModulesOf(processId);
    return std::find(names.begin(), names.end(), name) != names.end();
}

// A visible window of the process whose title starts with prefix.
HWND WindowStartingWith(const Process& process, const std::wstring& prefix) {
    for (HWND hwnd : process.TopLevelWindows(true))
        if (WindowText(hwnd).compare(0, prefix.size(), prefix) == 0) return hwnd;
    return nullptr;
}

using DelayLoadEndToEnd = AssistantTest;

TEST_F(DelayLoadEndToEnd, SoundAndTheFileChooserLoadWhenFirstNeededAndWork) {
    Process process;
    HWND main = Start(process);
    ASSERT_TRUE(main);
    Settle(main);  // the message loop runs
    ASSERT_TRUE(HasModule(process.Id(), L"user32.dll")) << "the process's modules cannot be listed";
    EXPECT_FALSE(HasModule(process.Id(), L"comdlg32.dll")) << "the file chooser loaded at start-up";
    // The first volume read, posted at start, has come through its stubs.
    EXPECT_TRUE(WaitFor([&] { return HasModule(process.Id(), L"winmm.dll"); }, 5000));
    EXPECT_TRUE(HasModule(process.Id(), L"ole32.dll"));
    PostCommand(main, ID_TRAY_STEREO);  // sets the volume through the same stubs
    Settle(main);
    ASSERT_TRUE(process.Running());

    PostCommand(main, ID_TRAY_REMINDERS);
    HWND manager = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (manager = WindowStartingWith(process, L"提醒管理器")) != nullptr; }));
    PressButton(manager, IDC_NEW_REMINDER);
    HWND editor = process.WaitWindow(L"新建提醒");
    ASSERT_TRUE(editor);
    EXPECT_FALSE(HasModule(process.Id(), L"comdlg32.dll"));
    const std::vector<HWND> before = process.TopLevelWindows(true);

    PressButton(editor, IDC_BROWSE_COMMAND);
    EXPECT_TRUE(WaitFor([&] { return HasModule(process.Id(), L"comdlg32.dll"); }));
    HWND chooser = nullptr;
    EXPECT_TRUE(WaitFor([&] {
        for (HWND hwnd : process.TopLevelWindows(true))
            if (std::find(before.begin(), before.end(), hwnd) == before.end()) chooser = hwnd;
        return chooser != nullptr;
    })) << "no file chooser came up";
    if (chooser) PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(chooser) || !IsVisible(chooser); }));
    EXPECT_EQ(ItemText(editor, IDC_COMMAND), L"") << "a canceled choice leaves the box as it was";

    PressButton(editor, IDCANCEL);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(editor) || !IsVisible(editor); }));
    PostCommand(main, ID_TRAY_EXIT);
    EXPECT_EQ(process.WaitExit(), 0u);
}

}  // namespace
}  // namespace vt::e2e
