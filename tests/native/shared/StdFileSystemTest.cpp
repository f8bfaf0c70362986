#include "shared/core/StdFileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/support/TempDir.h"

namespace vt {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<unsigned char>;

class StdFileSystemTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        dir = fs::path(m_dir).parent_path();
    }
    std::string P(const std::string& name) const { return (dir / fs::u8path(name)).u8string(); }
    bool WriteFile(const std::string& path, const Bytes& bytes) {
        auto w = files.Create(path);
        return w && w->Write(bytes.data(), bytes.size()) && w->Close();
    }

    fs::path dir;
    StdFileSystem files;
};

TEST_F(StdFileSystemTest, WrittenBytesReadBackExactly) {
    Bytes bytes;
    for (int i = 0; i < 200000; ++i) bytes.push_back(static_cast<unsigned char>(i * 7));
    bytes[10] = '\r';
    bytes[11] = '\n';
    bytes[12] = 0x1A;  // no text translation anywhere
    ASSERT_TRUE(WriteFile(P("a.dat"), bytes));
    Bytes back;
    ASSERT_TRUE(files.ReadAll(P("a.dat"), back));
    EXPECT_EQ(back, bytes);

    ASSERT_TRUE(WriteFile(P("empty.dat"), {}));
    EXPECT_TRUE(files.Exists(P("empty.dat")));
    ASSERT_TRUE(files.ReadAll(P("empty.dat"), back));
    EXPECT_TRUE(back.empty());
}

TEST_F(StdFileSystemTest, MissingFilesAndDirectoriesFailCleanly) {
    Bytes back{1};
    EXPECT_FALSE(files.ReadAll(P("none.dat"), back));
    EXPECT_TRUE(back.empty());
    EXPECT_EQ(files.Create(P("no/such/dir/x.dat")), nullptr);
    EXPECT_FALSE(files.Replace(P("none.dat"), P("b.dat")));
    EXPECT_FALSE(files.Copy(P("none.dat"), P("b.dat")));
    EXPECT_FALSE(files.Remove(P("none.dat")));
    EXPECT_FALSE(files.Exists(P("none.dat")));
}

TEST_F(StdFileSystemTest, AbandonedWriterLeavesNoFileBehind) {
    {
        auto w = files.Create(P("half.dat"));
        ASSERT_TRUE(w);
        w->Write("abc", 3);
    }
    EXPECT_FALSE(files.Exists(P("half.dat")));
}

TEST_F(StdFileSystemTest, ReplaceAndCopyOverwriteTheTarget) {
    ASSERT_TRUE(WriteFile(P("old.dat"), {1, 1, 1, 1}));
    ASSERT_TRUE(WriteFile(P("new.dat"), {2, 2}));
    ASSERT_TRUE(files.Replace(P("new.dat"), P("old.dat")));
    Bytes back;
    ASSERT_TRUE(files.ReadAll(P("old.dat"), back));
    EXPECT_EQ(back, (Bytes{2, 2}));
    EXPECT_FALSE(files.Exists(P("new.dat")));

    ASSERT_TRUE(WriteFile(P("c.dat"), {3}));
    ASSERT_TRUE(files.Copy(P("old.dat"), P("c.dat")));
    ASSERT_TRUE(files.ReadAll(P("c.dat"), back));
    EXPECT_EQ(back, (Bytes{2, 2}));
    EXPECT_TRUE(files.Remove(P("c.dat")));
}

TEST_F(StdFileSystemTest, PathsAreUtf8) {
    const std::string name = "提醒 文件.dat";
    ASSERT_TRUE(WriteFile(P(name), {9}));
    EXPECT_TRUE(fs::exists(dir / fs::u8path(name)));
    Bytes back;
    ASSERT_TRUE(files.ReadAll(P(name), back));
    EXPECT_EQ(back, (Bytes{9}));
}

TEST_F(StdFileSystemTest, InPlaceWriterOverwritesCutsAtCloseAndNeverRemoves) {
    std::string path = P("Notify.dat");
    ASSERT_TRUE(WriteFile(path, Bytes(100, 'a')));
    {
        auto w = files.OpenInPlace(path);
        ASSERT_TRUE(w);
    }  // dropped unwritten: the file is as it was
    Bytes read;
    ASSERT_TRUE(files.ReadAll(path, read));
    EXPECT_EQ(read, Bytes(100, 'a'));

    auto w = files.OpenInPlace(path);
    ASSERT_TRUE(w);
    ASSERT_TRUE(w->Write("bbbb", 4));
    ASSERT_TRUE(w->Close());
    ASSERT_TRUE(files.ReadAll(path, read));
    EXPECT_EQ(read, Bytes(4, 'b'));

    std::string fresh = P("new.dat");
    w = files.OpenInPlace(fresh);
    ASSERT_TRUE(w) << "a missing file is created";
    ASSERT_TRUE(w->Close());
    EXPECT_TRUE(files.Exists(fresh));
    EXPECT_FALSE(files.OpenInPlace(dir.u8string())) << "a directory is no file to write";
}

}  // namespace
}  // namespace vt
