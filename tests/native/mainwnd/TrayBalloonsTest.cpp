#include "assistant/mainwnd/TrayBalloons.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace vt {

// Any program may send WM_SHOWBALLOON: a wParam it does not document (the
// uncovered-year balloon once answered 2, with whatever lParam came along)
// shows nothing.
TEST(PublicBalloon, AnswersTheTwoDocumentedRequestsAndNothingElse) {
    EXPECT_STREQ(PublicBalloonText(0), "我在这里哦～右击这里就可以操作我啦～");
    EXPECT_STREQ(PublicBalloonText(1), "提醒正在运行中是不可以编辑的哦～");
    for (std::uintptr_t other :
         {std::uintptr_t{2}, std::uintptr_t{3}, std::uintptr_t{7}, std::uintptr_t{0x465}, UINTPTR_MAX})
        EXPECT_EQ(PublicBalloonText(other), nullptr) << other;
}

}  // namespace vt
