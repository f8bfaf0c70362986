#pragma once
// A fresh directory for one Windows test, removed with everything in it
// afterwards, plus whole-file helpers that bypass the profile functions.
#include <windows.h>

#include <string>

#include "shared/win/Encoding.h"
#include "tests/support/TestFiles.h"

namespace vt::win::test {

class ScratchDir {
public:
    // name: a readable part of the directory name (may hold any characters).
    explicit ScratchDir(const std::wstring& name = L"dir") {
        static unsigned counter = 0;
        m_dir = vt::test::MakeScratchDir(L"vt-win-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                         std::to_wstring(++counter) + L"-" + name);
    }
    ~ScratchDir() { vt::test::RemoveTree(m_dir); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::wstring& Wide() const { return m_dir; }
    std::string Utf8() const { return ToUtf8(m_dir); }
    std::wstring operator/(const std::wstring& name) const { return m_dir + name; }

    static void Put(const std::wstring& path, const std::string& bytes) { vt::test::WriteFileBytes(path, bytes); }
    // "" for a missing file.
    static std::string Contents(const std::wstring& path) { return vt::test::ReadFileBytes(path); }

private:
    std::wstring m_dir;
};

}  // namespace vt::win::test
