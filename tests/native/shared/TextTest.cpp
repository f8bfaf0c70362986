#include "shared/core/Text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vt {

TEST(CopyBounded, KeepsAtMostFieldMinusOneBytesAndZeroesTheRest) {
    char field[8];
    std::memset(field, 'x', sizeof field);
    CopyBounded(field, sizeof field, "abcdefghijk");
    EXPECT_EQ(std::string(field), "abcdefg");
    EXPECT_EQ(field[7], '\0');

    std::memset(field, 'x', sizeof field);
    CopyBounded(field, sizeof field, "ab");
    for (int i = 2; i < 8; ++i) EXPECT_EQ(field[i], '\0') << i;
}

TEST(FieldText, StopsAtTerminatorOrFieldEnd) {
    const char withZero[6] = {'a', 'b', 0, 'c', 'd', 0};
    EXPECT_EQ(FieldText(withZero, sizeof withZero), "ab");
    const char full[3] = {'x', 'y', 'z'};
    EXPECT_EQ(FieldText(full, sizeof full), "xyz");
}

TEST(Format, FormatsLikePrintf) {
    EXPECT_EQ(Format("%d:%02d", 9, 5), "9:05");
    EXPECT_EQ(Format("%s", ""), "");
}

}  // namespace vt
