#pragma once
// Whole files and scratch directories for the Windows tests, straight through
// the Win32 file calls so that nothing under test stands between a test and
// the disk. Paths are Windows paths; directories end in a backslash.
#include <string>

namespace vt::test {

// The running test's name, widened (test names are plain ASCII).
std::wstring CurrentTestName();

// Creates or truncates the file (even a read-only one); false if it cannot.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The file's bytes, or ifMissing when it cannot be opened.
std::string ReadFileBytes(const std::wstring& path, const std::string& ifMissing = std::string());
bool FileExists(const std::wstring& path);

// A fresh directory %TEMP%\vt-<name>-<process>-<n>\ for one test, removed
// with everything in it (read-only files included) when it goes. The
// Windows half of the tests' scratch directories; the portable tests have
// TempDirTest (tests/support/TempDir.h).
class ScratchDir {
public:
    // name: a readable part of the directory name (may hold any characters).
    explicit ScratchDir(const std::wstring& name = L"dir");
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::wstring& Wide() const { return m_dir; }  // ends in a backslash
    std::string Utf8() const;
    std::wstring operator/(const std::wstring& name) const { return m_dir + name; }

    static void Put(const std::wstring& path, const std::string& bytes) { WriteFileBytes(path, bytes); }
    // "" for a missing file.
    static std::string Contents(const std::wstring& path) { return ReadFileBytes(path); }

private:
    std::wstring m_dir;
};

}  // namespace vt::test
