#pragma once
// An in-memory file system that can be told to fail the way a disk does:
// the stand-in for IFileSystem in the native tests.
#include <cstddef>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "shared/core/FileSystem.h"

namespace vt::test {

using Bytes = std::vector<unsigned char>;

class MemoryFileSystem : public IFileSystem {
public:
    std::map<std::string, Bytes> files;
    std::set<std::string> unreadable;  // exist, but reading fails
    bool failCreate = false;           // the folder refuses new files
    bool failInPlace = false;          // existing files cannot be written either
    long writeBudget = -1;             // bytes until the disk is full; -1 = no limit
    bool failClose = false;            // the flush fails
    bool failReplace = false;
    bool failCopy = false;
    bool keepFailedFiles = false;  // a writer that leaves what it wrote on failure

    bool ReadAll(const std::string& path, Bytes& out) override {
        out.clear();
        auto it = files.find(path);
        if (it == files.end() || unreadable.count(path)) return false;
        out = it->second;
        return true;
    }

    std::unique_ptr<IFileWriter> Create(const std::string& path) override {
        if (failCreate) return nullptr;
        files[path].clear();
        return std::make_unique<Writer>(*this, path);
    }

    // Writes over the old bytes from the start; Close cuts the file where
    // the writes ended. Nothing is undone on failure.
    std::unique_ptr<IFileWriter> OpenInPlace(const std::string& path) override {
        if (failInPlace || (failCreate && !files.count(path))) return nullptr;
        files[path];
        return std::make_unique<InPlaceWriter>(*this, path);
    }

    bool Replace(const std::string& from, const std::string& to) override {
        auto it = files.find(from);
        if (failReplace || it == files.end()) return false;
        Bytes moved = std::move(it->second);
        files.erase(it);
        files[to] = std::move(moved);
        return true;
    }

    bool Copy(const std::string& from, const std::string& to) override {
        auto it = files.find(from);
        if (failCopy || it == files.end() || unreadable.count(from)) return false;
        files[to] = it->second;
        return true;
    }

    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    bool Remove(const std::string& path) override { return files.erase(path) != 0; }

private:
    class Writer : public IFileWriter {
    public:
        Writer(MemoryFileSystem& fs, std::string path) : m_fs(fs), m_path(std::move(path)) {}
        ~Writer() override {
            if (!m_closed && !m_fs.keepFailedFiles) m_fs.files.erase(m_path);
        }
        bool Write(const void* data, std::size_t size) override {
            Bytes& file = m_fs.files[m_path];
            const unsigned char* p = static_cast<const unsigned char*>(data);
            if (m_fs.writeBudget < 0) {
                file.insert(file.end(), p, p + size);
                return !m_failed;
            }
            for (std::size_t i = 0; i < size; ++i) {
                if (m_fs.writeBudget == 0) {
                    m_failed = true;
                    return false;
                }
                if (m_fs.writeBudget > 0) --m_fs.writeBudget;
                file.push_back(p[i]);
            }
            return !m_failed;
        }
        bool Close() override {
            m_closed = true;
            bool ok = !m_failed && !m_fs.failClose;
            if (!ok && !m_fs.keepFailedFiles) m_fs.files.erase(m_path);
            return ok;
        }

    private:
        MemoryFileSystem& m_fs;
        std::string m_path;
        bool m_failed = false;
        bool m_closed = false;
    };

    class InPlaceWriter : public IFileWriter {
    public:
        InPlaceWriter(MemoryFileSystem& fs, std::string path) : m_fs(fs), m_path(std::move(path)) {}
        bool Write(const void* data, std::size_t size) override {
            Bytes& file = m_fs.files[m_path];
            const unsigned char* p = static_cast<const unsigned char*>(data);
            for (std::size_t i = 0; i < size && !m_failed; ++i) {
                if (m_fs.writeBudget == 0) {
                    m_failed = true;
                    break;
                }
                if (m_fs.writeBudget > 0) --m_fs.writeBudget;
                if (m_pos < file.size())
                    file[m_pos] = p[i];
                else
                    file.push_back(p[i]);
                ++m_pos;
            }
            return !m_failed;
        }
        bool Close() override {
            if (m_failed || m_fs.failClose) return false;
            m_fs.files[m_path].resize(m_pos);
            return true;
        }

    private:
        MemoryFileSystem& m_fs;
        std::string m_path;
        std::size_t m_pos = 0;
        bool m_failed = false;
    };
};

}  // namespace vt::test
