#include "assistant/mainwnd/MinutesParser.h"

#include <gtest/gtest.h>

#include <string>

namespace vt {

namespace {

struct Case {
    const char* text;
    MinutesRead result;
    std::uint32_t value;
};

void ExpectParses(const Case& c) {
    const MinutesParse p = ParseMinutes(c.text);
    EXPECT_EQ(p.result, c.result) << '"' << c.text << '"';
    if (c.result != MinutesRead::NotANumber) {
        EXPECT_EQ(p.value, c.value) << '"' << c.text << '"';
    }
}

}  // namespace

TEST(ParseMinutes, AcceptsNumbersWithBlanksTabsAndPlus) {
    for (const Case& c :
         {Case{"1", MinutesRead::Ok, 1}, Case{"65535", MinutesRead::Ok, 65535}, Case{"+5", MinutesRead::Ok, 5},
          Case{" 7 ", MinutesRead::Ok, 7}, Case{"\t12\t ", MinutesRead::Ok, 12}, Case{"007", MinutesRead::Ok, 7}}) {
        ExpectParses(c);
    }
}

TEST(ParseMinutes, RejectsTextThatIsNotANumber) {
    for (const char* text : {"", "   ", "abc", "-1", " -0", "7x", "7 8", "+", "+0", "+ 5", "0x10", "1.5", "５", "中"}) {
        ExpectParses({text, MinutesRead::NotANumber, 0});
    }
}

TEST(ParseMinutes, ReportsNumbersOutsideTheRangeButKeepsThem) {
    for (const Case& c : {Case{"0", MinutesRead::OutOfRange, 0}, Case{"000", MinutesRead::OutOfRange, 0},
                          Case{"65536", MinutesRead::OutOfRange, 65536}, Case{"70000", MinutesRead::OutOfRange, 70000},
                          Case{"4294967295", MinutesRead::OutOfRange, 4294967295u},
                          Case{"4294967296", MinutesRead::OutOfRange, 4294967295u},
                          Case{"99999999999", MinutesRead::OutOfRange, 4294967295u},
                          Case{"99999999999999999999999999", MinutesRead::OutOfRange, 4294967295u}}) {
        ExpectParses(c);
    }
}

TEST(ParseMinutes, LooksOnlyAtTheFirst31Characters) {
    const std::string blanks29(29, ' ');
    // The junk starts at character 32 and is never seen.
    ExpectParses({("7" + blanks29 + " x").c_str(), MinutesRead::Ok, 7});
    // One character earlier it is seen.
    ExpectParses({("7" + blanks29 + "x").c_str(), MinutesRead::NotANumber, 0});
    // A number cut in two by the limit reads as its first part.
    ExpectParses({(std::string(29, ' ') + "12345").c_str(), MinutesRead::Ok, 12});
    // Non-ASCII text past the limit does not matter.
    ExpectParses({("3" + std::string(30, '\t') + "中").c_str(), MinutesRead::Ok, 3});
}

}  // namespace vt
