#pragma once
// Whole files and scratch directories for the Windows tests, straight through
// the Win32 file calls so that nothing under test stands between a test and
// the disk. Paths are Windows paths; directories end in a backslash.
#include <string>

namespace vt::test {

// The running test's name, widened (test names are plain ASCII).
std::wstring CurrentTestName();

// %TEMP%\<leaf>\, emptied of anything an earlier run left there and created.
std::wstring MakeScratchDir(const std::wstring& leaf);
// A directory and everything in it, read-only files included.
void RemoveTree(const std::wstring& dir);

// Creates or truncates the file (even a read-only one); false if it cannot.
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The file's bytes, or ifMissing when it cannot be opened.
std::string ReadFileBytes(const std::wstring& path, const std::string& ifMissing = std::string());
bool FileExists(const std::wstring& path);

}  // namespace vt::test
