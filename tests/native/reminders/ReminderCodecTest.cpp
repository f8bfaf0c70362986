#include "assistant/reminders/ReminderCodec.h"

#include <gtest/gtest.h>

#include "tests/native/reminders/ReminderTestSupport.h"

namespace vt {
namespace {

using test::Bytes;
using test::PatternedRecord;

TEST(ReminderRecord, DailyExampleEncodesByteForByte) {
    ReminderItem item = test::MakeReminder(RepeatKind::Daily, 2026, 12, 6, 8, 30, "abc");
    unsigned char bytes[kReminderItemSize];
    EncodeReminder(item, bytes);

    const unsigned char head[24] = {0xEA, 0x07, 0, 0, 0x0C, 0, 0, 0, 0x06, 0, 0, 0,
                                    0x01, 0,    0, 0, 0x08, 0, 0, 0, 0x1E, 0, 0, 0};
    for (int i = 0; i < 24; ++i) EXPECT_EQ(bytes[i], head[i]) << "offset " << i;
    EXPECT_EQ(bytes[24], 'a');
    EXPECT_EQ(bytes[25], 'b');
    EXPECT_EQ(bytes[26], 'c');
    for (int i = 27; i < 24 + 1024; ++i) ASSERT_EQ(bytes[i], 0) << "offset " << i;
}

TEST(ReminderRecord, TextKeepsAtMost1023BytesAndZeroesTheRest) {
    ReminderItem item = ZeroReminder();
    std::memset(item.content, 'x', sizeof item.content);
    SetText(item.content, Gbk(std::string(2000, 'y')));
    EXPECT_EQ(GetText(item.content).Bytes(), std::string(1023, 'y'));
    EXPECT_EQ(item.content[1023], '\0');

    SetText(item.content, Gbk("\xC4\xDA"));  // a code page 936 character stays two raw bytes
    EXPECT_EQ(GetText(item.content).Bytes(), "\xC4\xDA");
    for (int i = 2; i < 1024; ++i) ASSERT_EQ(item.content[i], '\0') << i;
}

TEST(ReminderRecord, TextIsNeverCutInsideATwoByteCharacter) {
    ReminderItem item = ZeroReminder();
    std::string chinese;
    for (int i = 0; i < 600; ++i) chinese += "\xC4\xDA";  // 内, 1200 bytes
    SetText(item.title, Gbk(chinese));
    EXPECT_EQ(GetText(item.title).Bytes(), chinese.substr(0, 1022)) << "511 whole characters";
    EXPECT_EQ(item.title[1022], '\0');

    SetText(item.title, Gbk("a" + chinese));
    EXPECT_EQ(GetText(item.title).size(), 1023u) << "1 + 511 characters fill the field exactly";

    // A trail byte may look like ASCII (0x40..0x7E): it still belongs to its lead.
    std::string mixed = std::string(1021, 'x') + "\x81\x40" + "yz";
    SetText(item.title, Gbk(mixed));
    EXPECT_EQ(GetText(item.title).Bytes(), mixed.substr(0, 1023));
    SetText(item.title, Gbk(std::string(1022, 'x') + "\x81\x40"));
    EXPECT_EQ(GetText(item.title).Bytes(), std::string(1022, 'x'));
}

TEST(ReminderRecord, DecodeThenEncodeKeepsEveryByte) {
    for (std::int32_t state : {0, 1, 2, 3, 7, -1}) {
        Bytes in = PatternedRecord(5, state);
        unsigned char out[kReminderItemSize];
        EncodeReminder(DecodeReminder(in.data()), out);
        EXPECT_EQ(Bytes(out, out + kReminderItemSize), in) << "state " << state;
    }
}

TEST(ReminderParse, OnlyExpiredSurvivesTheLoadEverythingElseBecomesReady) {
    Bytes file;
    for (std::int32_t state : {0, 1, 2, 3, 4, -3}) test::Append(file, PatternedRecord(1, state));
    ParsedReminders parsed = ParseReminderBytes(file.data(), file.size());
    ASSERT_EQ(parsed.items.size(), 6u);
    const std::int32_t expected[] = {0, 0, 0, 3, 0, 0};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(parsed.items[i].state, expected[i]) << i;
}

TEST(ReminderParse, TrailingFragmentIsCountedButNeverLoaded) {
    Bytes file = PatternedRecord(1, 3);
    test::Append(file, PatternedRecord(2, 3));
    Bytes half = PatternedRecord(9, 0);
    file.insert(file.end(), half.begin(), half.begin() + kReminderItemSize / 2);

    ParsedReminders parsed = ParseReminderBytes(file.data(), file.size());
    ASSERT_EQ(parsed.items.size(), 2u);
    EXPECT_EQ(parsed.fragmentBytes, kReminderItemSize / 2);
    EXPECT_EQ(SerializeReminders(parsed.items),
              Bytes(file.begin(), file.begin() + 2 * kReminderItemSize));
}

TEST(ReminderParse, EmptyAndTinyInputsGiveNoRecords) {
    EXPECT_TRUE(ParseReminderBytes(nullptr, 0).items.empty());
    unsigned char one = 0x41;
    ParsedReminders parsed = ParseReminderBytes(&one, 1);
    EXPECT_TRUE(parsed.items.empty());
    EXPECT_EQ(parsed.fragmentBytes, 1u);
    EXPECT_TRUE(SerializeReminders({}).empty());
}

}  // namespace
}  // namespace vt
