// The main window's answer to a command line handed over by a new copy,
// on a plain window with the receiver attached.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assistant/app/CommandHandOff.h"

namespace vt {
namespace {

class CommandReceiverTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(m_window);
        ASSERT_TRUE(m_receiver.Attach(m_window, [this](const LaunchCommand& c) {
            m_taken.push_back(c);
            return m_accept;
        }));
    }
    void TearDown() override { DestroyWindow(m_window); }
    LRESULT Send(ULONG_PTR tag, const std::string& payload) {
        COPYDATASTRUCT data = {tag, static_cast<DWORD>(payload.size()), const_cast<char*>(payload.data())};
        return SendMessageW(m_window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
    }

    HWND m_window = nullptr;
    CommandReceiver m_receiver;
    std::vector<LaunchCommand> m_taken;
    bool m_accept = true;
};

TEST_F(CommandReceiverTest, TakesACommandLineOfOursAndAnswersWhatTheSinkSaid) {
    EXPECT_EQ(Send(kCommandCopyDataTag, EncodeCommandPayload({"/in", "5", "/action", "sleep"})), 1);
    ASSERT_EQ(m_taken.size(), 1u);
    ASSERT_TRUE(m_taken[0].request);
    EXPECT_EQ(m_taken[0].request->minutes, 5u);
    EXPECT_EQ(m_taken[0].request->action, EndAction::Sleep);
    m_accept = false;
    EXPECT_EQ(Send(kCommandCopyDataTag, EncodeCommandPayload({"/cancel"})), 0) << "the sink could not";
    EXPECT_EQ(m_taken.size(), 2u);
}

TEST_F(CommandReceiverTest, RefusesForeignOrBrokenDataWithoutBotheringTheSink) {
    EXPECT_EQ(Send(kCommandCopyDataTag + 1, EncodeCommandPayload({"/in", "5"})), 0);
    EXPECT_EQ(Send(kCommandCopyDataTag, EncodeCommandPayload({"/in", "0"})), 0);
    EXPECT_EQ(Send(kCommandCopyDataTag, std::string("/in\0"
                                                    "5",
                                                    5)),
              0);
    EXPECT_EQ(Send(kCommandCopyDataTag, ""), 0);
    EXPECT_EQ(SendMessageW(m_window, WM_COPYDATA, 0, 0), 0) << "no data at all";
    EXPECT_TRUE(m_taken.empty());
}

}  // namespace
}  // namespace vt
