// The real assistant in the updater's way: the updater asks it to end
// itself, so what the user changed since the last save reaches Notify.dat
// and no dead tray icon stays behind.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "tests/e2e/Driver.h"
#include "tests/support/DescriptionBuilder.h"
#include "tests/support/NotifyRecord.h"
#include "tests/win/updater/TestHttpServer.h"
#include "updater/UpdaterNames.h"

namespace vt::e2e {
namespace {

using test::GetRecordInt;
using test::kRecordSize;
using test::kStateOffset;
using test::kTicksOffset;

// One Notify.dat record: a reminder of kind Once, Ready, due at `at`, titled
// "开会" (code page 936).
std::string OnceReminderNow(const SYSTEMTIME& at) {
    return test::NotifyRecord(RepeatKind::Once, {at.wYear, at.wMonth, at.wDay, at.wHour, at.wMinute},
                              "\xBF\xAA\xBB\xE1");
}

class UpdaterHandOver : public AssistantTest {
protected:
    void SetUp() override {
        AssistantTest::SetUp();
        ASSERT_TRUE(server.Listening());
        ASSERT_TRUE(CopyInto(m_dir, BuildBinDir(), L"Update.exe"));
    }
    test::TestHttpServer server;
};

TEST_F(UpdaterHandOver, TheRunningAssistantSavesItsRemindersAndTakesItsTrayIconAlong) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string original = OnceReminderNow(now);
    WriteFileBytes(m_dir + L"Notify.dat", original);

    Process assistant;
    HWND main = Start(assistant);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitFor([&] { return HasTrayIcon(main); }));
    // The reminder alerts and is put off: a change that only the assistant's
    // exit writes to Notify.dat.
    wchar_t caption[64];
    swprintf(caption, 64, L"开会 - 时间到了！(%d:%02d)", now.wHour, now.wMinute);
    HWND alert = assistant.WaitWindow(caption);
    ASSERT_NE(alert, nullptr);
    PressButton(alert, IDCANCEL);  // "在忙，等一会"
    ASSERT_TRUE(WaitFor([&] { return !IsVisible(alert); }));
    ASSERT_EQ(ReadFileBytes(m_dir + L"Notify.dat"), original) << "nothing saved yet";

    // A fully automatic update of a file that the running assistant holds.
    const std::string iniUrl = server.Url("/vt/update.ini");
    WriteFileBytes(m_dir + L"Update.ini", test::LocalDescription(iniUrl, 1, {{"Data", "1.0"}}));
    WriteFileBytes(m_dir + L"Data.dat", "old data");
    const std::string description = test::Description()
                                        .Main("IniUrl", iniUrl)
                                        .Main("ServerMode", 2)
                                        .Total()
                                        .Offer("Data", "1.1", "Data.dat", "/vt/")
                                        .Key("needclose", "Vantrel.exe");
    server.Serve("/vt/update.ini", description);
    server.Serve("/vt/Data.dat", "new data");

    Process updater;
    ASSERT_TRUE(updater.Start(m_dir + L"Update.exe"));
    EXPECT_EQ(assistant.WaitExit(20000), 0u);
    EXPECT_EQ(updater.WaitExit(30000), 0u);
    EXPECT_EQ(ReadFileBytes(m_dir + L"Data.dat"), "new data");

    const std::string saved = ReadFileBytes(m_dir + L"Notify.dat");
    ASSERT_EQ(saved.size(), kRecordSize);
    EXPECT_EQ(GetRecordInt(saved, kStateOffset), 0) << "put off is written as ready";
    EXPECT_GE(GetRecordInt(saved, kTicksOffset), 1) << "the change made since the last save";
    EXPECT_EQ(saved.substr(0, kStateOffset), original.substr(0, kStateOffset));
    EXPECT_FALSE(HasTrayIcon(main)) << "no icon of an ended program in the tray";
}

}  // namespace
}  // namespace vt::e2e
