#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "shared/core/Gbk.h"

namespace vt {
namespace {

// Code page 936 text and the core's UTF-8 never pass for each other.
static_assert(!std::is_convertible<std::string, Gbk>::value, "no implicit Gbk from bytes");
static_assert(!std::is_convertible<const char*, Gbk>::value, "no implicit Gbk from a literal");
static_assert(!std::is_convertible<Gbk, std::string>::value, "no implicit bytes from Gbk");
static_assert(std::is_constructible<Gbk, std::string>::value, "explicit construction");

TEST(Gbk, LeadAndTrailBytesAtTheirBoundaries) {
    EXPECT_FALSE(IsGbkLeadByte(0x80));  // the euro sign: one byte
    EXPECT_TRUE(IsGbkLeadByte(0x81));
    EXPECT_TRUE(IsGbkLeadByte(0xFE));
    EXPECT_FALSE(IsGbkLeadByte(0xFF));
    EXPECT_FALSE(IsGbkLeadByte('\\'));

    EXPECT_FALSE(IsGbkTrailByte(0x3F));
    EXPECT_TRUE(IsGbkTrailByte(0x40));
    EXPECT_TRUE(IsGbkTrailByte(0x5C));  // looks like a backslash
    EXPECT_TRUE(IsGbkTrailByte(0x7E));
    EXPECT_FALSE(IsGbkTrailByte(0x7F));
    EXPECT_TRUE(IsGbkTrailByte(0x80));
    EXPECT_TRUE(IsGbkTrailByte(0xFE));
    EXPECT_FALSE(IsGbkTrailByte(0xFF));
}

TEST(Gbk, CharLenTakesTheNextByteOnlyWhenThereIsOne) {
    const std::string s = "a\xD6\xD0\xD6";
    EXPECT_EQ(GbkCharLen(s, 0, s.size()), 1u);
    EXPECT_EQ(GbkCharLen(s, 1, s.size()), 2u);
    EXPECT_EQ(GbkCharLen(s, 3, s.size()), 1u) << "a lead byte at the end stands alone";
    EXPECT_EQ(GbkCharLen(s, 1, 2), 1u) << "the end given, not the string's";
}

TEST(Gbk, FitNeverCutsACharacterInHalf) {
    const Gbk text("ab\xD6\xD0\xCE\xC4");
    EXPECT_EQ(text.Fit(100), text);
    EXPECT_EQ(text.Fit(6), text);
    EXPECT_EQ(text.Fit(5).Bytes(), "ab\xD6\xD0");
    EXPECT_EQ(text.Fit(4).Bytes(), "ab\xD6\xD0");
    EXPECT_EQ(text.Fit(3).Bytes(), "ab");
    EXPECT_TRUE(text.Fit(0).empty());
    // A lead byte counts as two whatever follows it, so a byte that only
    // looks like a trail one is never split from it.
    EXPECT_EQ(Gbk("\x81"
                  "a")
                  .Fit(1)
                  .Bytes(),
              "");
    EXPECT_EQ(Gbk("x\x81").Fit(1).Bytes(), "x");
}

TEST(Gbk, ComparesByBytes) {
    EXPECT_EQ(Gbk("\xD6\xD0"), Gbk(std::string("\xD6\xD0")));
    EXPECT_NE(Gbk("\xD6\xD0"), Gbk("\xD6\xD1"));
    EXPECT_EQ(Gbk(std::string("a\0b", 3)).size(), 3u);
    EXPECT_TRUE(Gbk().empty());
}

}  // namespace
}  // namespace vt
