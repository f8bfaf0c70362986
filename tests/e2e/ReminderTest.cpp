// Reminders as a user meets them in the real program: a reminder due at
// start-up alerts, is put off and reaches Notify.dat at exit; a damaged
// Notify.dat is kept aside and the user is told where.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "assistant/res/resource.h"
#include "tests/e2e/Driver.h"

namespace vt::e2e {
namespace {

constexpr size_t kRecordSize = 8276;
constexpr size_t kStateOffset = 4132;
constexpr size_t kTicksOffset = 4136;

void PutInt(std::string& rec, size_t offset, std::int32_t value) {
    for (int i = 0; i < 4; ++i) rec[offset + i] = static_cast<char>((static_cast<std::uint32_t>(value) >> (8 * i)) & 0xFF);
}

std::int32_t GetInt(const std::string& rec, size_t offset) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(rec[offset + i])) << (8 * i);
    return static_cast<std::int32_t>(v);
}

void PutText(std::string& rec, size_t offset, const std::wstring& text) {
    char bytes[1024] = {};
    WideCharToMultiByte(936, 0, text.c_str(), -1, bytes, 1023, nullptr, nullptr);
    std::memcpy(&rec[offset], bytes, std::strlen(bytes));
}

// One Notify.dat record: a reminder of kind Once in state Ready.
std::string OnceReminder(const SYSTEMTIME& at, const std::wstring& title, const std::wstring& content) {
    std::string rec(kRecordSize, '\0');
    PutInt(rec, 0, at.wYear);
    PutInt(rec, 4, at.wMonth);
    PutInt(rec, 8, at.wDay);
    PutInt(rec, 12, 0);
    PutInt(rec, 16, at.wHour);
    PutInt(rec, 20, at.wMinute);
    PutText(rec, 24, title);
    PutText(rec, 1048, content);
    return rec;
}

using ReminderEndToEnd = AssistantTest;

TEST_F(ReminderEndToEnd, AReminderDueAtStartAlertsIsPutOffAndIsSavedReadyAtExit) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string original = OnceReminder(now, L"开会", L"十点在三楼会议室开周会");
    WriteFileBytes(m_dir + L"Notify.dat", original);

    Process p;
    HWND main = Start(p);
    ASSERT_NE(main, nullptr);
    wchar_t caption[64];
    swprintf(caption, 64, L"开会 - 时间到了！(%d:%02d)", now.wHour, now.wMinute);
    HWND alert = p.WaitWindow(caption);
    ASSERT_NE(alert, nullptr) << "the alert opens by itself, the manager window hidden";
    EXPECT_EQ(ItemText(alert, IDC_ALERT_CONTENT), L"十点在三楼会议室开周会");

    PressButton(alert, IDCANCEL);  // "在忙，等一会"
    EXPECT_TRUE(WaitFor([&] { return !IsVisible(alert); }));
    EXPECT_TRUE(p.Running());

    PostCommand(main, ID_TRAY_EXIT);  // 退出
    EXPECT_EQ(p.WaitExit(), 0u);
    std::string saved = ReadFileBytes(m_dir + L"Notify.dat");
    ASSERT_EQ(saved.size(), kRecordSize);
    EXPECT_EQ(GetInt(saved, kStateOffset), 0) << "put off (snoozed) is written as ready at exit";
    EXPECT_GE(GetInt(saved, kTicksOffset), 1) << "the ticks it spent alerting";
    EXPECT_EQ(saved.substr(0, kStateOffset), original.substr(0, kStateOffset));
    EXPECT_EQ(saved.substr(kTicksOffset + 4), original.substr(kTicksOffset + 4));
    EXPECT_FALSE(FileExists(m_dir + L"Notify.dat.tmp"));
}

TEST_F(ReminderEndToEnd, ADamagedFileIsKeptAsideAndTheUserIsToldWhere) {
    SYSTEMTIME later = {};
    later.wYear = 2036;
    later.wMonth = 1;
    later.wDay = 1;
    std::string damaged = OnceReminder(later, L"将来", L"");
    damaged += std::string(100, 'U');
    WriteFileBytes(m_dir + L"Notify.dat", damaged);

    Process p;
    HWND main = Start(p);
    ASSERT_NE(main, nullptr);
    HWND box = p.WaitWindow(L"Vantrel");
    ASSERT_NE(box, nullptr);
    std::wstring text = MessageBoxText(box);
    EXPECT_NE(text.find(L"只读出了1条提醒"), std::wstring::npos);
    EXPECT_NE(text.find(m_dir + L"Notify.dat.bak"), std::wstring::npos);
    EXPECT_EQ(ReadFileBytes(m_dir + L"Notify.dat.bak"), damaged);
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));

    PostCommand(main, ID_TRAY_EXIT);
    EXPECT_EQ(p.WaitExit(), 0u);
    EXPECT_EQ(ReadFileBytes(m_dir + L"Notify.dat"), damaged.substr(0, kRecordSize));
    EXPECT_EQ(ReadFileBytes(m_dir + L"Notify.dat.bak"), damaged) << "the copy is left alone";
}

TEST_F(ReminderEndToEnd, ALogoffCanceledElsewhereLeavesTheTrayIconAndTheRemindersRunning) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    WriteFileBytes(m_dir + L"Notify.dat", OnceReminder(now, L"开会", L"三楼"));
    Process p;
    HWND main = Start(p);
    ASSERT_NE(main, nullptr);
    wchar_t caption[64];
    swprintf(caption, 64, L"开会 - 时间到了！(%d:%02d)", now.wHour, now.wMinute);
    HWND alert = p.WaitWindow(caption);
    ASSERT_NE(alert, nullptr);
    ASSERT_TRUE(WaitFor([&] { return HasTrayIcon(main); }));

    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(main, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_FALSE(HasTrayIcon(main));
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(alert); })) << "the alert closed at the way out";
    // Another program refuses the logoff.
    ASSERT_TRUE(SendMessageTimeoutW(main, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_TRUE(HasTrayIcon(main));
    HWND again = p.WaitWindow(caption);
    ASSERT_NE(again, nullptr) << "the reminder whose alert was closed fires again";
    PressButton(again, IDCANCEL);  // "在忙，等一会"
    EXPECT_TRUE(WaitFor([&] { return !IsVisible(again); })) << "and its answer is taken";

    PostCommand(main, ID_TRAY_EXIT);
    EXPECT_EQ(p.WaitExit(), 0u);
    EXPECT_EQ(ReadFileBytes(m_dir + L"Notify.dat").size(), kRecordSize);
}

TEST_F(ReminderEndToEnd, AFolderWhereNoReminderCanBeKeptIsNamedOnceAtStart) {
    SYSTEMTIME later = {};
    later.wYear = 2036;
    later.wMonth = 1;
    later.wDay = 1;
    const std::string original = OnceReminder(later, L"将来", L"");
    WriteFileBytes(m_dir + L"Notify.dat", original);
    // No new file can go beside it, and another program holds Notify.dat so
    // that it can be read but not written (Wine lets root write anything a
    // permission would refuse).
    ASSERT_TRUE(CreateDirectoryW((m_dir + L"Notify.dat.tmp").c_str(), nullptr));
    HANDLE lock = CreateFileW((m_dir + L"Notify.dat").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);

    Process p;
    HWND main = Start(p);
    ASSERT_NE(main, nullptr);
    HWND box = p.WaitWindow(L"Vantrel");
    ASSERT_NE(box, nullptr);
    const std::wstring folder = m_dir.substr(0, m_dir.size() - 1);
    std::wstring text = MessageBoxText(box);
    EXPECT_EQ(text.rfind(L"无法在文件夹“" + folder + L"”中保存提醒", 0), 0u);
    EXPECT_NE(text.find(L"丢失"), std::wstring::npos);
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_TRUE(HasTrayIcon(main)) << "everything else as ever";

    PostCommand(main, ID_TRAY_EXIT);
    EXPECT_EQ(p.WaitExit(), 0u);
    EXPECT_TRUE(p.FindWindowTitled(L"Vantrel") == nullptr);
    CloseHandle(lock);
    EXPECT_EQ(ReadFileBytes(m_dir + L"Notify.dat"), original);
    RemoveDirectoryW((m_dir + L"Notify.dat.tmp").c_str());
}

}  // namespace
}  // namespace vt::e2e
