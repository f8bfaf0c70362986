// The reminder file on a real disk, through StdFileSystem.
#include <gtest/gtest.h>

#include <filesystem>

#include "assistant/reminders/ReminderBook.h"
#include "shared/core/StdFileSystem.h"
#include "tests/native/reminders/ReminderTestSupport.h"
#include "tests/support/TempDir.h"

namespace vt {
namespace {

namespace fs = std::filesystem;

class ReminderFileOnDisk : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        dir = fs::path(m_dir).parent_path();
        path = (dir / "Notify.dat").string();
    }
    test::Bytes Read(const std::string& p) {
        test::Bytes b;
        files.ReadAll(p, b);
        return b;
    }

    fs::path dir;
    std::string path;
    StdFileSystem files;
};

TEST_F(ReminderFileOnDisk, SavedRecordsLoadBackInOrder) {
    ReminderBook book(files, path);
    book.Add(test::MakeReminder(RepeatKind::Daily, 2026, 12, 6, 8, 30, "abc"));
    book.Add(test::MakeReminder(RepeatKind::Once, 2027, 1, 2, 9, 5, "def", ReminderState::Expired));
    ASSERT_TRUE(book.Save());
    EXPECT_EQ(fs::file_size(path), 2 * kReminderItemSize);
    EXPECT_FALSE(fs::exists(path + ".tmp"));

    ReminderBook again(files, path);
    again.Load();
    ASSERT_EQ(again.Count(), 2);
    EXPECT_EQ(GetText(again.At(0)->title).Bytes(), "abc");
    EXPECT_EQ(again.At(1)->state, 3);
}

TEST_F(ReminderFileOnDisk, SaveThatCannotCreateItsNewFileRewritesTheOldOneInPlace) {
    ReminderBook book(files, path);
    book.Add(test::MakeReminder(RepeatKind::Daily, 2026, 12, 6, 8, 30, "old"));
    ASSERT_TRUE(book.Save());

    // A directory in the way of the new file: refused even to root.
    fs::create_directory(path + ".tmp");
    book.Add(test::MakeReminder(RepeatKind::Daily, 2026, 12, 6, 8, 30, "new"));
    EXPECT_TRUE(book.Save());
    EXPECT_EQ(fs::file_size(path), 2 * kReminderItemSize);
    EXPECT_TRUE(fs::is_directory(path + ".tmp")) << "what stood in the way is left alone";

    book.Remove(0);
    ASSERT_TRUE(book.Save());
    EXPECT_EQ(fs::file_size(path), kReminderItemSize) << "the old tail is cut off";
    ReminderBook again(files, path);
    again.Load();
    ASSERT_EQ(again.Count(), 1);
    EXPECT_EQ(GetText(again.At(0)->title), Gbk("new"));
}

TEST_F(ReminderFileOnDisk, ProbeFindsAFolderWhereNoSaveCanSucceed) {
    EXPECT_TRUE(CanSaveReminderFile(files, path));
    EXPECT_TRUE(fs::is_empty(dir)) << "the probe leaves nothing behind";

    fs::create_directory(path + ".tmp");
    EXPECT_TRUE(CanSaveReminderFile(files, path)) << "Notify.dat itself can still be written";
    EXPECT_FALSE(fs::exists(path)) << "and the probe did not create it";

    fs::create_directory(path);  // neither a new file nor Notify.dat can be written
    EXPECT_FALSE(CanSaveReminderFile(files, path));
    ReminderBook book(files, path);
    book.Add(test::MakeReminder(RepeatKind::Daily, 2026, 12, 6, 8, 30, "x"));
    EXPECT_FALSE(book.Save());
}

}  // namespace
}  // namespace vt
