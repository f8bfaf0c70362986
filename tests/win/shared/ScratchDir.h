#pragma once
// A fresh directory for one Windows test, removed with everything in it
// afterwards, plus whole-file helpers that bypass the profile functions.
#include <windows.h>

#include <string>

#include "shared/win/Encoding.h"

namespace vt::win::test {

class ScratchDir {
public:
    // name: a readable part of the directory name (may hold any characters).
    explicit ScratchDir(const std::wstring& name = L"dir") {
        static unsigned counter = 0;
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_dir = std::wstring(temp) + L"vt-win-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(++counter) + L"-" + name + L"\\";
        RemoveTree(m_dir);
        CreateDirectoryW(m_dir.c_str(), nullptr);
    }
    ~ScratchDir() { RemoveTree(m_dir); }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::wstring& Wide() const { return m_dir; }
    std::string Utf8() const { return ToUtf8(m_dir); }
    std::wstring operator/(const std::wstring& name) const { return m_dir + name; }

    static void Put(const std::wstring& path, const std::string& bytes) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        if (!bytes.empty()) WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(f);
    }
    static std::string Contents(const std::wstring& path) {
        HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
        if (f == INVALID_HANDLE_VALUE) return {};
        std::string out;
        char buffer[65536];
        DWORD n = 0;
        while (ReadFile(f, buffer, sizeof buffer, &n, nullptr) && n > 0) out.append(buffer, n);
        CloseHandle(f);
        return out;
    }
    static bool Exists(const std::wstring& path) {
        return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

private:
    static void RemoveTree(const std::wstring& dir) {
        WIN32_FIND_DATAW data;
        HANDLE find = FindFirstFileW((dir + L"*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = data.cFileName;
                if (name == L"." || name == L"..") continue;
                const std::wstring path = dir + name;
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(path + L"\\");
                else
                    DeleteFileW(path.c_str());
            } while (FindNextFileW(find, &data));
            FindClose(find);
        }
        RemoveDirectoryW(dir.c_str());
    }

    std::wstring m_dir;
};

}  // namespace vt::win::test
