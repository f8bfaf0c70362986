#include "shared/core/VersionRule.h"

#include <gtest/gtest.h>

#include <cfloat>

namespace vt {
namespace {

TEST(VersionRule, ServerIsNewerOnlyWhenItsNumberIsStrictlyGreater) {
    const struct {
        const char *server, *local;
        bool newer;
    } cases[] = {
        {"1.3", "1.3", false},     {"1.10", "1.9", false}, {"0.1", "0.0", true},     {"abc", "0.0", false},
        {"1.2.4", "1.2.3", false}, {"+2", "1.9", true},    {" 2", "1.9", true},      {"1e1", "9.99", true},
        {"inf", "0.0", false},     {"nan", "0.0", false},  {"0.0", "nan", false},    {"0x10", "1", false},
        {"1,5", "1", false},       {"-1", "", false},      {"1e400", "99999", true}, {"1e400", "1e500", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsNewerVersion(c.server, c.local), c.newer) << c.server << " vs " << c.local;
}

TEST(VersionRule, ReadsTheLongestLeadingDecimalNumberAndStaysFinite) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"1.2.3", 1.2},
        {"\t\n 2.5x", 2.5},
        {"-3", -3},
        {".5", 0.5},
        {"5.", 5},
        {"2E-1", 0.2},
        {"1e", 1},
        {"1e+", 1},
        {"infinity", 0},
        {".", 0},
        {"+-1", 0},
        {"1e400", DBL_MAX},
        {"-1e99999999999999999999", -DBL_MAX},
        {"0.0001e313", DBL_MAX},
        {"1e-400", 0},
        {"100000e-400", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadVersionNumber(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace vt
