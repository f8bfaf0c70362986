#include "shared/win/Platform.h"

#include <shellapi.h>

#include <algorithm>

#include "shared/win/Encoding.h"
#include "shared/win/Handles.h"

namespace vt::win {

LocalTime WinClock::Now() const {
    SYSTEMTIME st;
    GetLocalTime(&st);
    LocalTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.day = st.wDay;
    t.weekday = st.wDayOfWeek;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    return t;
}

bool WinShell::Open(const std::string& file, const std::string& parameters, const std::string& directory,
                    ShowMode show) {
    int command = show == ShowMode::Hidden ? SW_HIDE : show == ShowMode::Maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    std::wstring wfile = FromUtf8(file), wparams = FromUtf8(parameters), wdir = FromUtf8(directory);
    HINSTANCE result = ShellExecuteW(m_hOwner, L"open", wfile.c_str(), wparams.empty() ? nullptr : wparams.c_str(),
                                     wdir.empty() ? nullptr : wdir.c_str(), command);
    // ShellExecute reports success as a value above 32.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

namespace {

// WriteFile takes a DWORD count: large buffers go in slices of 1 GiB.
bool WriteAll(HANDLE file, const void* data, size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size), written = 0;
        if (!WriteFile(file, p, chunk, &written, nullptr) || written != chunk) return false;
        p += chunk;
        size -= chunk;
    }
    return true;
}

// The writers close their files by hand, not through a KernelHandle: for a
// file just written, CloseHandle is where a full disk or a lost network
// share may show, and a close that fails means the bytes are not all there.
class WinFileWriter : public IFileWriter {
public:
    WinFileWriter(HANDLE file, std::wstring path) : m_hFile(file), m_strPath(std::move(path)) {}
    // A file that was not closed successfully is incomplete: it is not kept.
    ~WinFileWriter() override {
        if (m_hFile != INVALID_HANDLE_VALUE) {
            CloseHandle(m_hFile);
            DeleteFileW(m_strPath.c_str());
        }
    }
    bool Write(const void* data, size_t size) override {
        if (m_bOk && !WriteAll(m_hFile, data, size)) m_bOk = false;
        return m_bOk;
    }
    bool Close() override {
        if (m_hFile == INVALID_HANDLE_VALUE) return false;
        if (!FlushFileBuffers(m_hFile)) m_bOk = false;
        if (!CloseHandle(m_hFile)) m_bOk = false;
        m_hFile = INVALID_HANDLE_VALUE;
        if (!m_bOk) DeleteFileW(m_strPath.c_str());
        return m_bOk;
    }

private:
    HANDLE m_hFile;
    std::wstring m_strPath;
    bool m_bOk = true;
};

// Rewrites an existing file from its start; the file is never deleted, since
// it is the only copy there is. Close ends it where the writes ended.
class InPlaceFileWriter : public IFileWriter {
public:
    explicit InPlaceFileWriter(HANDLE file) : m_hFile(file) {}
    ~InPlaceFileWriter() override {
        if (m_hFile != INVALID_HANDLE_VALUE) CloseHandle(m_hFile);
    }
    bool Write(const void* data, size_t size) override {
        if (m_bOk && !WriteAll(m_hFile, data, size)) m_bOk = false;
        return m_bOk;
    }
    bool Close() override {
        if (m_hFile == INVALID_HANDLE_VALUE) return false;
        // Only a complete rewrite may cut the old tail off.
        if (m_bOk && !SetEndOfFile(m_hFile)) m_bOk = false;
        if (!FlushFileBuffers(m_hFile)) m_bOk = false;
        if (!CloseHandle(m_hFile)) m_bOk = false;
        m_hFile = INVALID_HANDLE_VALUE;
        return m_bOk;
    }

private:
    HANDLE m_hFile;
    bool m_bOk = true;
};

class WinFileReader : public IFileReader {
public:
    WinFileReader(HANDLE file, std::size_t size) : m_file(file), m_size(size) {}
    std::size_t SizeWhenOpened() const override { return m_size; }
    bool Read(void* data, std::size_t size, std::size_t& got) override {
        got = 0;
        // ReadFile takes a DWORD: larger requests go in pieces.
        DWORD want = static_cast<DWORD>(std::min<std::size_t>(size, 0x40000000));
        DWORD read = 0;
        if (!ReadFile(m_file.Get(), data, want, &read, nullptr)) return false;
        got = read;
        return true;
    }

private:
    KernelHandle m_file;
    std::size_t m_size;
};

}  // namespace

std::unique_ptr<IFileReader> WinFileSystem::OpenForReading(const std::string& path) {
    HANDLE file = CreateFileW(FromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER size = {};
    std::size_t known = 0;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < 0x40000000)
        known = static_cast<std::size_t>(size.QuadPart);
    return std::make_unique<WinFileReader>(file, known);
}

bool WinFileSystem::ReadAll(const std::string& path, std::vector<unsigned char>& out) {
    out.clear();
    KernelHandle owned(CreateFileW(FromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!owned) return false;
    HANDLE file = owned.Get();
    // One buffer of the file's size, read into where the bytes stay: a large
    // file (ten thousand reminders are 80 MiB) is not grown and copied chunk
    // by chunk. Whatever a file that grows meanwhile has beyond that size is
    // read on to its end.
    LARGE_INTEGER size = {};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart < 0x40000000)
        out.resize(static_cast<std::size_t>(size.QuadPart));
    bool ok = true;
    std::size_t filled = 0;
    while (filled < out.size()) {
        DWORD read = 0;
        if (!ReadFile(file, out.data() + filled, static_cast<DWORD>(out.size() - filled), &read, nullptr)) {
            ok = false;
            break;
        }
        if (read == 0) break;
        filled += read;
    }
    out.resize(filled);
    unsigned char buffer[64 * 1024];
    while (ok) {
        DWORD read = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &read, nullptr))
            ok = false;
        else if (read == 0)
            break;
        else
            out.insert(out.end(), buffer, buffer + read);
    }
    if (!ok) out.clear();
    return ok;
}

std::unique_ptr<IFileWriter> WinFileSystem::Create(const std::string& path) {
    std::wstring wpath = FromUtf8(path);
    HANDLE file = CreateFileW(wpath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<WinFileWriter>(file, std::move(wpath));
}

std::unique_ptr<IFileWriter> WinFileSystem::OpenInPlace(const std::string& path) {
    // OPEN_ALWAYS keeps the old bytes until they are written over.
    HANDLE file = CreateFileW(FromUtf8(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<InPlaceFileWriter>(file);
}

bool WinFileSystem::Replace(const std::string& from, const std::string& to) {
    return MoveFileExW(FromUtf8(from).c_str(), FromUtf8(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool WinFileSystem::Copy(const std::string& from, const std::string& to) {
    return CopyFileW(FromUtf8(from).c_str(), FromUtf8(to).c_str(), FALSE) != 0;
}

bool WinFileSystem::Exists(const std::string& path) {
    return GetFileAttributesW(FromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WinFileSystem::Remove(const std::string& path) { return DeleteFileW(FromUtf8(path).c_str()) != 0; }

}  // namespace vt::win
