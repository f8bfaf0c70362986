// The loader's fuzz check without libFuzzer: the seed corpus, random
// buffers and damaged real records go through the same entry point.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "assistant/reminders/ReminderCodec.h"
#include "fuzz/ReminderFuzzInput.h"
#include "fuzz/ReminderLoadCheck.h"
#include "tests/native/reminders/ReminderTestSupport.h"

namespace vt {
namespace {

namespace fs = std::filesystem;

fs::path CorpusDir() {
    return fs::path(__FILE__).parent_path().parent_path().parent_path().parent_path() / "fuzz" / "corpus" /
           "reminder_load";
}

std::string Check(const std::vector<unsigned char>& bytes) {
    return fuzz::CheckReminderLoad(bytes.data(), bytes.size());
}

TEST(ReminderLoadReplay, EverySeedOfTheCorpus) {
    ASSERT_TRUE(fs::is_directory(CorpusDir())) << CorpusDir();
    int seeds = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(CorpusDir())) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(Check(fuzz::ReminderFileOfInput(bytes.data(), bytes.size())), "") << entry.path();
        ++seeds;
    }
    EXPECT_GE(seeds, 4);
}

TEST(ReminderLoadReplay, RandomBuffersOfEveryInterestingLength) {
    std::mt19937 rng(20261206);
    const std::size_t n = kReminderItemSize;
    for (std::size_t len : {std::size_t{0}, std::size_t{1}, n - 1, n, n + 1, 2 * n + n / 2, 3 * n}) {
        for (int round = 0; round < 4; ++round) {
            std::vector<unsigned char> bytes(len);
            for (unsigned char& b : bytes) b = static_cast<unsigned char>(rng());
            ASSERT_EQ(Check(bytes), "") << "length " << len;
        }
    }
}

TEST(ReminderLoadReplay, SoundRecordsWithOneFieldDamaged) {
    std::mt19937 rng(7);
    const std::int32_t hostile[] = {INT32_MIN, -1, 0, 7, 13, 32, 60, INT32_MAX};
    std::int32_t ReminderItem::*const fields[] = {&ReminderItem::year,      &ReminderItem::month, &ReminderItem::day,
                                                  &ReminderItem::repeat,    &ReminderItem::hour,  &ReminderItem::minute,
                                                  &ReminderItem::alertTicks};
    for (std::size_t field = 0; field < std::size(fields); ++field)
        for (std::int32_t value : hostile) {
            ReminderItem item = test::MakeReminder(RepeatKind::Weekly, 2026, 12, 9, 8, 30, "x");
            item.*fields[field] = value;
            item.state = static_cast<std::int32_t>(rng() % 5);
            std::vector<unsigned char> bytes = SerializeReminders({item, item});
            ASSERT_EQ(Check(bytes), "") << "field " << field << " = " << value;
        }
}

// The fuzz target's short form: what it makes of an input decides what the
// fuzzer can reach.
TEST(ReminderLoadReplay, ShortInputsBecomeWholeRecordsAndAFragment) {
    std::vector<unsigned char> in = {0};
    auto record = [&in](unsigned char fill, std::vector<std::vector<unsigned char>> pieces) {
        for (int k = 0; k < 24; ++k) in.push_back(fill);
        for (const auto& piece : pieces) {
            in.push_back(static_cast<unsigned char>(piece.size()));
            in.insert(in.end(), piece.begin(), piece.end());
        }
        for (int k = 0; k < 8; ++k) in.push_back(k == 0 ? 3 : 0);  // Expired
    };
    record(1, {{'a', 'b', 'c'}, {}, {0xD6}, {'x'}, {7}});
    for (int r = 0; r < 3; ++r) record(2, {{}, {}, {}, {}, {}});
    const std::vector<unsigned char> file = fuzz::ReminderFileOfInput(in.data(), in.size());
    const std::size_t shortRecord = 24 + 5 + 8;
    ASSERT_EQ(file.size(), 3 * kReminderItemSize + shortRecord);  // the fourth stays a fragment
    const ReminderItem first = DecodeReminder(file.data());
    EXPECT_EQ(first.year, 0x01010101);
    EXPECT_EQ(std::string(first.title, 5), "abcab");
    EXPECT_EQ(first.title[kReminderTextSize - 1], "abc"[(kReminderTextSize - 1) % 3]);  // no terminator
    EXPECT_EQ(first.content[0], 0);
    EXPECT_EQ(static_cast<unsigned char>(first.command[kReminderTextSize - 1]), 0xD6);  // a cut character
    EXPECT_EQ(first.state, 3);
    EXPECT_EQ(first.reserved2[sizeof first.reserved2 - 1], 7);
    EXPECT_EQ(Check(file), "");
    // An odd first byte: the rest is the file as it stands.
    const std::vector<unsigned char> raw = {1, 9, 8, 7};
    EXPECT_EQ(fuzz::ReminderFileOfInput(raw.data(), raw.size()), (std::vector<unsigned char>{9, 8, 7}));
}

}  // namespace
}  // namespace vt
