// The loader's fuzz check without libFuzzer: the seed corpus, random
// buffers and damaged real records go through the same entry point.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "assistant/reminders/ReminderCodec.h"
#include "fuzz/ReminderLoadCheck.h"
#include "tests/native/reminders/ReminderTestSupport.h"

namespace vt {
namespace {

namespace fs = std::filesystem;

fs::path CorpusDir() {
    return fs::path(__FILE__).parent_path().parent_path().parent_path().parent_path() / "fuzz" /
           "corpus" / "reminder_load";
}

std::string Check(const std::vector<unsigned char>& bytes) {
    return fuzz::CheckReminderLoad(bytes.data(), bytes.size());
}

TEST(ReminderLoadReplay, EverySeedOfTheCorpus) {
    ASSERT_TRUE(fs::is_directory(CorpusDir())) << CorpusDir();
    int seeds = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(CorpusDir())) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
        EXPECT_EQ(Check(bytes), "") << entry.path();
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
    std::int32_t ReminderItem::*const fields[] = {&ReminderItem::year,   &ReminderItem::month,
                                                  &ReminderItem::day,    &ReminderItem::repeat,
                                                  &ReminderItem::hour,   &ReminderItem::minute,
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

}  // namespace
}  // namespace vt
