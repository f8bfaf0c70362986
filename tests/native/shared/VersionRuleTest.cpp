#include "shared/core/VersionRule.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <string>

namespace vt {
namespace {

TEST(VersionRule, ServerIsNewerOnlyWhenStrictlyGreater) {
    struct Case {
        const char* server;
        const char* local;
        bool newer;
    };
    const Case cases[] = {
        {"1.3", "1.3", false},  {"1.10", "1.9", false}, {"1.9", "1.10", true},
        {"0.1", "0.0", true},   {"abc", "0.0", false},  {"1.2.3", "1.2", false},
        {"1.2.4", "1.2.3", false}, {"+2", "1.9", true}, {" 2", "1.9", true},
        {"1e1", "9.99", true},  {"inf", "0.0", false},  {"nan", "0.0", false},
        {"0.0", "nan", false},  {"0x10", "1", false},   {"1,5", "1", false},
        {"-1", "0.0", false},   {"", "0.0", false},     {"2", "  1.5beta", true},
        {"1e400", "99999", true}, {"1e400", "1e500", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsNewerVersion(c.server, c.local), c.newer) << c.server << " vs " << c.local;
}

TEST(VersionRule, ReadsTheLongestLeadingDecimalNumber) {
    EXPECT_EQ(ReadVersionNumber("1.10"), 1.1);
    EXPECT_EQ(ReadVersionNumber("1.2.3"), 1.2);
    EXPECT_EQ(ReadVersionNumber("\t\n 2.5x"), 2.5);
    EXPECT_EQ(ReadVersionNumber("-3"), -3.0);
    EXPECT_EQ(ReadVersionNumber(".5"), 0.5);
    EXPECT_EQ(ReadVersionNumber("5."), 5.0);
    EXPECT_EQ(ReadVersionNumber("1e1"), 10.0);
    EXPECT_EQ(ReadVersionNumber("2E-1"), 0.2);
    EXPECT_EQ(ReadVersionNumber("1e"), 1.0);
    EXPECT_EQ(ReadVersionNumber("1e+"), 1.0);
    EXPECT_EQ(ReadVersionNumber("1,5"), 1.0);
    EXPECT_EQ(ReadVersionNumber("0x10"), 0.0);
    EXPECT_EQ(ReadVersionNumber("infinity"), 0.0);
    EXPECT_EQ(ReadVersionNumber("."), 0.0);
    EXPECT_EQ(ReadVersionNumber("+-1"), 0.0);
}

TEST(VersionRule, OutOfRangeStaysFinite) {
    EXPECT_EQ(ReadVersionNumber("1e400"), DBL_MAX);
    EXPECT_EQ(ReadVersionNumber("-1e99999999999999999999"), -DBL_MAX);
    EXPECT_EQ(ReadVersionNumber("0.0001e313"), DBL_MAX);
    EXPECT_EQ(ReadVersionNumber("1e-400"), 0.0);
    EXPECT_EQ(ReadVersionNumber("100000e-400"), 0.0);
    EXPECT_EQ(ReadVersionNumber(std::string(400, '9')), DBL_MAX);
}

}  // namespace
}  // namespace vt
