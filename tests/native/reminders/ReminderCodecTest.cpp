#include "assistant/reminders/ReminderCodec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

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

TEST(DoneBlock, WrittenIntoZeroBytesAfterAlertTicksAndReadBack) {
    ReminderItem item = test::MakeReminder(RepeatKind::Daily, 2026, 12, 6, 8, 30, "abc");
    item.alertTicks = 7;
    EXPECT_EQ(ReadDoneBlock(item).kind, DoneBlockKind::Empty);
    unsigned char before[kReminderItemSize];
    EncodeReminder(item, before);

    const LocalMinute moment = 29424990;  // 2025-12-12 0:30
    ASSERT_TRUE(WriteDoneBlock(item, moment));
    DoneBlock read = ReadDoneBlock(item);
    EXPECT_EQ(read.kind, DoneBlockKind::Ours);
    EXPECT_EQ(read.doneThrough, moment);

    unsigned char after[kReminderItemSize];
    EncodeReminder(item, after);
    EXPECT_EQ(Bytes(after, after + kDoneBlockOffset), Bytes(before, before + kDoneBlockOffset))
        << "an older program reads the first 4140 bytes as before";
    const unsigned char block[12] = {'V', 't', 'D', 'n', 0x5E, 0xFD, 0xC0, 0x01, 0, 0, 0, 0};
    EXPECT_EQ(Bytes(after + kDoneBlockOffset, after + kDoneBlockOffset + 12), Bytes(block, block + 12));
    for (std::size_t i = kDoneBlockOffset + kDoneBlockSize; i < kReminderItemSize; ++i)
        ASSERT_EQ(after[i], 0) << "offset " << i;

    // Ours is rewritten in place, a moment before 1970 and "nothing done" too.
    for (LocalMinute m : {LocalMinute{-5}, kNothingDone, moment + 1}) {
        ASSERT_TRUE(WriteDoneBlock(item, m));
        EXPECT_EQ(ReadDoneBlock(DecodeReminder([&] {
                      EncodeReminder(item, after);
                      return after;
                  }()))
                      .doneThrough,
                  m);
    }
}

TEST(DoneBlock, AnotherWritersBytesAreNeverTakenForItNorOverwritten) {
    ReminderItem ours = test::MakeReminder(RepeatKind::Daily, 2026, 12, 6, 8, 30);
    ASSERT_TRUE(WriteDoneBlock(ours, 1000));

    std::vector<ReminderItem> foreign;
    ReminderItem text = ours;  // a writer that put text there
    std::memcpy(text.reserved2, "note: call back", 16);
    foreign.push_back(text);
    ReminderItem badCheck = ours;  // our tag, but the value changed behind it
    badCheck.reserved2[5] ^= 1;
    foreign.push_back(badCheck);
    ReminderItem oneByte = test::MakeReminder(RepeatKind::Daily, 2026, 12, 6, 8, 30);
    oneByte.reserved2[15] = 1;
    foreign.push_back(oneByte);
    foreign.push_back(DecodeReminder(PatternedRecord(3, 0).data()));

    for (std::size_t i = 0; i < foreign.size(); ++i) {
        ReminderItem item = foreign[i];
        EXPECT_EQ(ReadDoneBlock(item).kind, DoneBlockKind::Foreign) << i;
        EXPECT_FALSE(WriteDoneBlock(item, 2000)) << i;
        EXPECT_EQ(std::memcmp(&item, &foreign[i], sizeof item), 0) << i;
    }
    // What lies after the block is another writer's affair and stays.
    ReminderItem after = test::MakeReminder(RepeatKind::Daily, 2026, 12, 6, 8, 30);
    after.reserved2[kDoneBlockSize] = 0x77;
    EXPECT_TRUE(WriteDoneBlock(after, 3000));
    EXPECT_EQ(after.reserved2[kDoneBlockSize], 0x77);
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
    EXPECT_EQ(SerializeReminders(parsed.items), Bytes(file.begin(), file.begin() + 2 * kReminderItemSize));
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
