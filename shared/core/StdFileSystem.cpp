#include "shared/core/StdFileSystem.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#if defined(_WIN32)
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vt {

namespace fs = std::filesystem;

namespace {

fs::path PathOf(const std::string& utf8) { return fs::u8path(utf8); }

std::FILE* OpenFile(const std::string& utf8, bool forWriting) {
#if defined(_WIN32)
    return _wfopen(PathOf(utf8).c_str(), forWriting ? L"wb" : L"rb");
#else
    return std::fopen(utf8.c_str(), forWriting ? "wb" : "rb");
#endif
}

bool SyncToDisk(std::FILE* file) {
#if defined(_WIN32)
    return _commit(_fileno(file)) == 0;
#else
    return ::fsync(fileno(file)) == 0;
#endif
}

// A rename is only lasting once the directory entry itself is on disk.
void SyncDirectoryOf(const std::string& utf8) {
#if !defined(_WIN32)
    fs::path dir = PathOf(utf8).parent_path();
    if (dir.empty()) dir = ".";
    int fd = ::open(dir.c_str(), O_RDONLY);
    if (fd < 0) return;
    ::fsync(fd);  // best effort: some file systems refuse fsync on directories
    ::close(fd);
#else
    (void)utf8;  // no directory handle to flush there
#endif
}

class StdFileWriter : public IFileWriter {
public:
    StdFileWriter(std::FILE* file, std::string path) : m_pFile(file), m_strPath(std::move(path)) {}

    ~StdFileWriter() override {
        // Abandoned before Close: a half-written file must not stay behind.
        if (m_pFile) {
            std::fclose(m_pFile);
            std::error_code ec;
            fs::remove(PathOf(m_strPath), ec);
        }
    }

    bool Write(const void* data, std::size_t size) override {
        if (!m_pFile || m_bFailed) return false;
        if (size > 0 && std::fwrite(data, 1, size, m_pFile) != size) m_bFailed = true;
        return !m_bFailed;
    }

    bool Close() override {
        if (!m_pFile) return false;
        bool ok = !m_bFailed;
        if (std::fflush(m_pFile) != 0 || std::ferror(m_pFile)) ok = false;
        if (ok && !SyncToDisk(m_pFile)) ok = false;
        if (std::fclose(m_pFile) != 0) ok = false;
        m_pFile = nullptr;
        if (!ok) {
            std::error_code ec;
            fs::remove(PathOf(m_strPath), ec);
        }
        return ok;
    }

private:
    std::FILE* m_pFile;
    std::string m_strPath;
    bool m_bFailed = false;
};

// Rewrites an existing file from its start. Unlike StdFileWriter it never
// removes the file: it is the only copy there is.
class InPlaceFileWriter : public IFileWriter {
public:
    explicit InPlaceFileWriter(std::FILE* file) : m_pFile(file) {}
    ~InPlaceFileWriter() override {
        if (m_pFile) std::fclose(m_pFile);
    }

    bool Write(const void* data, std::size_t size) override {
        if (!m_pFile || m_bFailed) return false;
        if (size > 0 && std::fwrite(data, 1, size, m_pFile) != size) m_bFailed = true;
        if (!m_bFailed) m_nWritten += size;
        return !m_bFailed;
    }

    bool Close() override {
        if (!m_pFile) return false;
        bool ok = !m_bFailed;
        if (std::fflush(m_pFile) != 0 || std::ferror(m_pFile)) ok = false;
        // Only a complete rewrite may cut the old tail off.
        if (ok && !CutAt(m_nWritten)) ok = false;
        if (ok && !SyncToDisk(m_pFile)) ok = false;
        if (std::fclose(m_pFile) != 0) ok = false;
        m_pFile = nullptr;
        return ok;
    }

private:
    bool CutAt(std::size_t length) {
#if defined(_WIN32)
        return _chsize_s(_fileno(m_pFile), static_cast<long long>(length)) == 0;
#else
        return ::ftruncate(fileno(m_pFile), static_cast<off_t>(length)) == 0;
#endif
    }

    std::FILE* m_pFile;
    std::size_t m_nWritten = 0;
    bool m_bFailed = false;
};

}  // namespace

bool StdFileSystem::ReadAll(const std::string& path, std::vector<unsigned char>& out) {
    out.clear();
    std::FILE* file = OpenFile(path, false);
    if (!file) return false;
    unsigned char buf[65536];
    bool ok = true;
    for (;;) {
        std::size_t n = std::fread(buf, 1, sizeof buf, file);
        out.insert(out.end(), buf, buf + n);
        if (n < sizeof buf) {
            ok = !std::ferror(file);
            break;
        }
    }
    std::fclose(file);
    if (!ok) out.clear();
    return ok;
}

std::unique_ptr<IFileWriter> StdFileSystem::Create(const std::string& path) {
    std::FILE* file = OpenFile(path, true);
    if (!file) return nullptr;
    return std::make_unique<StdFileWriter>(file, path);
}

std::unique_ptr<IFileWriter> StdFileSystem::OpenInPlace(const std::string& path) {
    // "r+b" writes over the old bytes without cutting them off first.
#if defined(_WIN32)
    std::FILE* file = _wfopen(PathOf(path).c_str(), L"r+b");
#else
    std::FILE* file = std::fopen(path.c_str(), "r+b");
#endif
    if (!file && !Exists(path)) file = OpenFile(path, true);
    if (!file) return nullptr;
    return std::make_unique<InPlaceFileWriter>(file);
}

bool StdFileSystem::Replace(const std::string& from, const std::string& to) {
    std::error_code ec;
    fs::rename(PathOf(from), PathOf(to), ec);
    if (ec) return false;
    SyncDirectoryOf(to);
    return true;
}

bool StdFileSystem::Copy(const std::string& from, const std::string& to) {
    std::error_code ec;
    return fs::copy_file(PathOf(from), PathOf(to), fs::copy_options::overwrite_existing, ec) && !ec;
}

bool StdFileSystem::Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(PathOf(path), ec) && !ec;
}

bool StdFileSystem::Remove(const std::string& path) {
    std::error_code ec;
    return fs::remove(PathOf(path), ec) && !ec;
}

}  // namespace vt
