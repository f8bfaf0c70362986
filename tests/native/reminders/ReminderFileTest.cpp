#include "assistant/reminders/ReminderBook.h"
#include "assistant/reminders/ReminderCodec.h"
#include "assistant/reminders/ReminderFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "tests/native/reminders/ReminderTestSupport.h"

namespace vt {
namespace {

using test::Bytes;
using test::MemoryFileSystem;
using test::PatternedRecord;

const std::string kPath = "app/Notify.dat";

Bytes ThreeRecords() {
    Bytes file;
    test::Append(file, PatternedRecord(1, 3));
    test::Append(file, PatternedRecord(2, 1));
    test::Append(file, PatternedRecord(3, 2));
    return file;
}

TEST(ReminderFile, MissingFileIsAnEmptyListAndNothingToKeep) {
    MemoryFileSystem fs;
    ReminderBook book(fs, kPath);
    ReminderLoadReport report = book.Load();
    EXPECT_FALSE(report.found);
    EXPECT_EQ(book.Count(), 0);
    EXPECT_FALSE(book.BackupPending());
}

TEST(ReminderFile, EmptyListSavesAsZeroLengthFileAndLoadsBackEmpty) {
    MemoryFileSystem fs;
    ReminderBook book(fs, kPath);
    ASSERT_TRUE(book.Save());
    ASSERT_TRUE(fs.files.count(kPath));
    EXPECT_TRUE(fs.files[kPath].empty());
    EXPECT_EQ(fs.files.size(), 1u) << "no temporary file left behind";

    ReminderBook again(fs, kPath);
    ReminderLoadReport report = again.Load();
    EXPECT_TRUE(report.found);
    EXPECT_EQ(again.Count(), 0);
}

TEST(ReminderFile, LoadThenSaveKeepsEveryByteButTheStateRule) {
    MemoryFileSystem fs;
    fs.files[kPath] = ThreeRecords();
    ReminderBook book(fs, kPath);
    book.Load();
    ASSERT_EQ(book.Count(), 3);
    ASSERT_TRUE(book.Save());

    Bytes expected;
    test::Append(expected, PatternedRecord(1, 3));  // Expired stays
    test::Append(expected, PatternedRecord(2, 0));  // Alerting -> Ready
    test::Append(expected, PatternedRecord(3, 0));  // Snoozed -> Ready
    EXPECT_EQ(fs.files[kPath], expected);
}

TEST(ReminderFile, PlainSaveWritesLiveStatesAndExitSaveWritesThemAsReady) {
    MemoryFileSystem fs;
    ReminderBook book(fs, kPath);
    for (ReminderState s :
         {ReminderState::Ready, ReminderState::Alerting, ReminderState::Snoozed, ReminderState::Expired})
        book.Add(test::MakeReminder(RepeatKind::Daily, 2026, 1, 1, 8, 0, "x", s));

    ASSERT_TRUE(book.Save());
    ParsedReminders raw;
    const Bytes& plain = fs.files[kPath];
    for (int i = 0; i < 4; ++i) raw.items.push_back(DecodeReminder(plain.data() + i * kReminderItemSize));
    EXPECT_EQ(raw.items[1].state, 1);
    EXPECT_EQ(raw.items[2].state, 2);

    ASSERT_TRUE(book.SaveAtExit());
    const Bytes& atExit = fs.files[kPath];
    const std::int32_t expected[] = {0, 0, 0, 3};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(DecodeReminder(atExit.data() + i * kReminderItemSize).state, expected[i]) << i;
        EXPECT_EQ(book.At(i)->state, expected[i]) << "in memory too, row " << i;
    }
}

// A reader that hands out a few bytes at a time, may have been told another
// size than the bytes it has (the file grew or shrank after it was opened),
// and may fail after some bytes.
class TrickleFileSystem : public MemoryFileSystem {
public:
    std::size_t claimedSize = 0;
    std::size_t failAfter = SIZE_MAX;

    std::unique_ptr<IFileReader> OpenForReading(const std::string& path) override {
        auto it = files.find(path);
        if (it == files.end()) return nullptr;
        return std::make_unique<Reader>(it->second, claimedSize, failAfter);
    }

private:
    class Reader : public IFileReader {
    public:
        Reader(Bytes bytes, std::size_t claimed, std::size_t failAfter)
            : m_bytes(std::move(bytes)), m_claimed(claimed), m_failAfter(failAfter) {}
        std::size_t SizeWhenOpened() const override { return m_claimed; }
        bool Read(void* data, std::size_t size, std::size_t& got) override {
            got = 0;
            if (m_pos >= m_failAfter) return false;
            got = std::min({size, m_bytes.size() - m_pos, std::size_t{1000}});
            std::memcpy(data, m_bytes.data() + m_pos, got);
            m_pos += got;
            return true;
        }

    private:
        Bytes m_bytes;
        std::size_t m_claimed, m_failAfter, m_pos = 0;
    };
};

TEST(ReminderFile, RecordsReadInPiecesAreTheFileWhetherItGrewOrShrankMeanwhile) {
    Bytes file = ThreeRecords();
    file.insert(file.end(), 50, 0x77);
    ParsedReminders expected = ParseReminderBytes(file.data(), file.size());
    for (std::size_t claimed :
         {file.size(), std::size_t{0}, kReminderItemSize, 2 * kReminderItemSize + 9, 10 * kReminderItemSize}) {
        TrickleFileSystem fs;
        fs.files[kPath] = file;
        fs.claimedSize = claimed;
        std::vector<ReminderItem> items{test::MakeReminder(RepeatKind::Once, 2026, 1, 1, 0, 0, "before")};
        ReminderLoadReport report = LoadReminderFile(fs, kPath, items);
        EXPECT_TRUE(report.readable) << claimed;
        EXPECT_EQ(report.records, 3u) << claimed;
        EXPECT_EQ(report.fragmentBytes, 50u) << claimed;
        ASSERT_EQ(items.size(), 4u) << claimed;
        EXPECT_EQ(GetText(items[0].title), Gbk("before"));
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(std::memcmp(&items[i + 1], &expected.items[i], sizeof(ReminderItem)), 0) << claimed << " " << i;
    }
}

TEST(ReminderFile, AReadThatFailsMidwayLoadsNothingAndKeepsTheFile) {
    TrickleFileSystem fs;
    fs.files[kPath] = ThreeRecords();
    fs.claimedSize = 3 * kReminderItemSize;
    fs.failAfter = kReminderItemSize + 3000;
    ReminderBook book(fs, kPath);
    ReminderLoadReport report = book.Load();
    EXPECT_TRUE(report.found);
    EXPECT_FALSE(report.readable);
    EXPECT_EQ(book.Count(), 0);
    EXPECT_EQ(report.backupPath, kPath + ".bak");
    EXPECT_EQ(fs.files[kPath + ".bak"], ThreeRecords());
}

TEST(ReminderFile, FileOfTwoAndAHalfRecordsLoadsTwoAndKeepsACopy) {
    MemoryFileSystem fs;
    Bytes file;
    test::Append(file, PatternedRecord(1, 3));
    test::Append(file, PatternedRecord(2, 3));
    Bytes third = PatternedRecord(3, 3);
    file.insert(file.end(), third.begin(), third.begin() + kReminderItemSize / 2);
    fs.files[kPath] = file;

    ReminderBook book(fs, kPath);
    ReminderLoadReport report = book.Load();
    EXPECT_EQ(book.Count(), 2);
    EXPECT_EQ(report.fragmentBytes, kReminderItemSize / 2);
    EXPECT_EQ(report.backupPath, kPath + ".bak");
    EXPECT_EQ(fs.files[kPath + ".bak"], file);

    ASSERT_TRUE(book.Save());
    EXPECT_EQ(fs.files[kPath].size(), 2 * kReminderItemSize);
    EXPECT_EQ(fs.files[kPath + ".bak"], file) << "the copy outlives the save";
}

TEST(ReminderFile, AnEarlierBackupIsNeverOverwritten) {
    MemoryFileSystem fs;
    fs.files[kPath + ".bak"] = Bytes{1, 2, 3};
    fs.files[kPath] = Bytes(10, 0x55);
    std::vector<ReminderItem> items;
    ReminderLoadReport report = LoadReminderFile(fs, kPath, items);
    EXPECT_EQ(report.backupPath, kPath + ".bak2");
    EXPECT_EQ(fs.files[kPath + ".bak"], (Bytes{1, 2, 3}));
    EXPECT_EQ(fs.files[kPath + ".bak2"], Bytes(10, 0x55));
}

TEST(ReminderFile, DamagedFileIsNotReplacedUntilItsCopyExists) {
    MemoryFileSystem fs;
    Bytes damaged = PatternedRecord(1, 3);
    damaged.push_back(0x99);
    fs.files[kPath] = damaged;
    fs.failCopy = true;

    ReminderBook book(fs, kPath);
    book.Load();
    EXPECT_TRUE(book.BackupPending());
    EXPECT_FALSE(book.Save());
    EXPECT_EQ(fs.files[kPath], damaged);

    fs.failCopy = false;
    ASSERT_TRUE(book.Save());
    EXPECT_FALSE(book.BackupPending());
    EXPECT_EQ(fs.files[book.BackupPath()], damaged);
    EXPECT_EQ(fs.files[kPath].size(), kReminderItemSize);
}

TEST(ReminderFile, UnreadableFileIsKeptBeforeAnEmptyListReplacesIt) {
    MemoryFileSystem fs;
    fs.files[kPath] = ThreeRecords();
    fs.unreadable.insert(kPath);

    ReminderBook book(fs, kPath);
    ReminderLoadReport report = book.Load();
    EXPECT_TRUE(report.found);
    EXPECT_FALSE(report.readable);
    EXPECT_EQ(book.Count(), 0);
    EXPECT_TRUE(book.BackupPending()) << "a file that cannot be read cannot be copied either";
    EXPECT_FALSE(book.Save());
    EXPECT_EQ(fs.files[kPath], ThreeRecords());

    fs.unreadable.clear();
    ASSERT_TRUE(book.Save());
    EXPECT_EQ(fs.files[book.BackupPath()], ThreeRecords());
}

// Three records loaded from a folder that refuses new files but lets
// Notify.dat itself be written.
struct InPlaceOnly {
    InPlaceOnly() {
        fs.files[kPath] = ThreeRecords();
        fs.failCreate = true;
        book.Load();
    }
    MemoryFileSystem fs;
    ReminderBook book{fs, kPath};
};

// A folder that refuses new files but lets Notify.dat itself be written:
// the plain rewrite still keeps every change.
TEST(ReminderFile, FolderRefusingNewFilesGetsTheFileRewrittenInPlace) {
    InPlaceOnly folder;
    MemoryFileSystem& fs = folder.fs;
    ReminderBook& book = folder.book;
    book.Add(test::MakeReminder(RepeatKind::Once, 2026, 5, 1, 9, 0, "four"));
    ASSERT_TRUE(book.Save());
    EXPECT_EQ(fs.files.size(), 1u) << "no temporary file, no other file";
    ASSERT_EQ(fs.files[kPath].size(), 4 * kReminderItemSize);

    // Shorter than before: the old tail must not survive as a fragment.
    book.RemoveRows({0, 1, 2});
    ASSERT_TRUE(book.SaveAtExit());
    ASSERT_EQ(fs.files[kPath].size(), kReminderItemSize);
    ReminderBook again(fs, kPath);
    ReminderLoadReport report = again.Load();
    EXPECT_EQ(report.fragmentBytes, 0u);
    ASSERT_EQ(again.Count(), 1);
    EXPECT_EQ(GetText(again.At(0)->title), Gbk("four"));
}

TEST(ReminderFile, InPlaceRewriteThatFailsIsReportedAsFailed) {
    InPlaceOnly folder;
    MemoryFileSystem& fs = folder.fs;
    ReminderBook& book = folder.book;
    fs.writeBudget = 100;  // full midway
    EXPECT_FALSE(book.Save());
    fs.writeBudget = -1;
    fs.failClose = true;
    EXPECT_FALSE(book.Save());
    fs.failClose = false;
    ASSERT_TRUE(book.Save()) << "the next save mends what the failed one left";
    ReminderBook again(fs, kPath);
    EXPECT_EQ(again.Load().fragmentBytes, 0u);
    EXPECT_EQ(again.Count(), 3);
}

TEST(ReminderFile, SaveProbeSaysWhetherAnySaveCanSucceedAndChangesNothing) {
    struct Case {
        bool fileThere, failCreate, failInPlace, canSave;
    };
    const Case cases[] = {
        {true, false, false, true},   // an ordinary folder
        {false, false, false, true},  // first start in an ordinary folder
        {true, true, false, true},    // the folder refuses new files, the file may be written
        {true, true, true, false},    // read-only folder and file
        {false, true, false, false},  // read-only folder, no file yet
        {true, false, true, true},    // read-only file in a folder that takes new files: the rename works
    };
    for (const Case& c : cases) {
        MemoryFileSystem fs;
        if (c.fileThere) fs.files[kPath] = ThreeRecords();
        fs.failCreate = c.failCreate;
        fs.failInPlace = c.failInPlace;
        EXPECT_EQ(CanSaveReminderFile(fs, kPath), c.canSave) << c.fileThere << c.failCreate << c.failInPlace;
        EXPECT_EQ(fs.files.size(), c.fileThere ? 1u : 0u);
        if (c.fileThere) {
            EXPECT_EQ(fs.files[kPath], ThreeRecords());
        }
    }
}

TEST(ReminderFile, StartUpTellsTheDamagedFileFirstAndAnUnsavableFolderOtherwise) {
    ReminderLoadReport fine;
    fine.found = fine.readable = true;
    EXPECT_EQ(DecideStartupNotice(fine, true), StartupNotice::None);
    EXPECT_EQ(DecideStartupNotice(fine, false), StartupNotice::CannotSave);
    ReminderLoadReport missing;
    EXPECT_EQ(DecideStartupNotice(missing, false), StartupNotice::CannotSave);
    ReminderLoadReport damaged = fine;
    damaged.fragmentBytes = 10;
    EXPECT_EQ(DecideStartupNotice(damaged, false), StartupNotice::LoadProblem);
    EXPECT_EQ(DecideStartupNotice(damaged, true), StartupNotice::LoadProblem);
}

// Every way a save can fail leaves the previous file exactly as it was.
class FailedSave : public ::testing::TestWithParam<int> {};

TEST_P(FailedSave, LeavesTheOldFileByteForByte) {
    MemoryFileSystem fs;
    fs.files[kPath] = ThreeRecords();
    ReminderBook book(fs, kPath);
    book.Load();
    book.Add(test::MakeReminder(RepeatKind::Once, 2026, 5, 1, 9, 0));

    switch (GetParam()) {
    case 0:
        fs.failCreate = true;
        fs.failInPlace = true;
        break;  // read-only directory
    case 1:
        fs.writeBudget = 0;
        break;  // disk already full
    case 2:
        fs.writeBudget = static_cast<long>(kReminderItemSize) + 100;
        break;  // full midway
    case 3:
        fs.failClose = true;
        break;  // flush fails
    case 4:
        fs.failReplace = true;
        break;
    case 5:
        fs.writeBudget = 100;
        fs.keepFailedFiles = true;
        break;
    case 6:
        fs.failClose = true;
        fs.keepFailedFiles = true;
        break;
    }
    EXPECT_FALSE(book.Save());
    EXPECT_FALSE(book.SaveAtExit());
    EXPECT_EQ(fs.files[kPath], ThreeRecords());
    EXPECT_EQ(fs.files.size(), 1u) << "temporary file removed";
    EXPECT_EQ(book.Count(), 4) << "the list in memory is unaffected";
}

INSTANTIATE_TEST_SUITE_P(Reminders, FailedSave, ::testing::Range(0, 7));

}  // namespace
}  // namespace vt
