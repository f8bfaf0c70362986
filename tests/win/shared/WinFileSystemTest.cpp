// Whole-file reads of the Windows file system: the reminder file can be tens
// of megabytes and is read in one piece at its size.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shared/win/Encoding.h"
#include "shared/win/Platform.h"
#include "tests/support/TestFiles.h"

namespace vt::win::test {
namespace {

using vt::test::ScratchDir;

std::string Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131 + i / 977) & 0xFF);
    return bytes;
}

TEST(WinFileSystemReadAll, ReadsFilesOfEverySizeExactly) {
    ScratchDir dir(L"读取");
    WinFileSystem fs;
    // Empty, smaller than, equal to and just past a 64 KiB step, and many
    // reminder records with a damaged tail.
    for (std::size_t size :
         {std::size_t{0}, std::size_t{1}, std::size_t{65536}, std::size_t{65537}, std::size_t{8276 * 300 + 17}}) {
        const std::wstring path = dir / (L"f" + std::to_wstring(size));
        const std::string bytes = Pattern(size);
        ScratchDir::Put(path, bytes);
        std::vector<unsigned char> out(5, 0xAB);  // whatever was there goes
        ASSERT_TRUE(fs.ReadAll(ToUtf8(path), out)) << size;
        EXPECT_EQ(std::string(out.begin(), out.end()), bytes) << size;
    }
}

TEST(WinFileSystemReadAll, AMissingFileOrAFolderIsNotRead) {
    ScratchDir dir;
    WinFileSystem fs;
    std::vector<unsigned char> out(3, 1);
    EXPECT_FALSE(fs.ReadAll(ToUtf8(dir / L"missing.dat"), out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(fs.ReadAll(dir.Utf8(), out));
    EXPECT_TRUE(out.empty());
}

TEST(WinFileSystemReadAll, AFileOpenForWritingElsewhereIsReadAsItStands) {
    ScratchDir dir;
    WinFileSystem fs;
    const std::wstring path = dir / L"Notify.dat";
    ScratchDir::Put(path, Pattern(100000));
    // Another writer holds it open and has added to it since: every byte
    // there now is read.
    HANDLE writer = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    SetFilePointer(writer, 0, nullptr, FILE_END);
    const std::string more = Pattern(70000);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(writer, more.data(), static_cast<DWORD>(more.size()), &written, nullptr));
    std::vector<unsigned char> out;
    EXPECT_TRUE(fs.ReadAll(ToUtf8(path), out));
    CloseHandle(writer);
    EXPECT_EQ(std::string(out.begin(), out.end()), Pattern(100000) + more);
}

}  // namespace
}  // namespace vt::win::test
