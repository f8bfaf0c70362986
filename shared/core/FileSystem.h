#pragma once
// File access for the portable core. Paths are UTF-8; contents are raw bytes.
// The native build uses StdFileSystem; the Windows build has its own
// implementation on the W file functions.
#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vt {

// A file being written from the start; nothing is kept unless Close succeeds.
class IFileWriter {
public:
    virtual ~IFileWriter() = default;
    virtual bool Write(const void* data, std::size_t size) = 0;
    // Flushes and closes; false when any write or the flush failed.
    virtual bool Close() = 0;
};

// A file being read from the start.
class IFileReader {
public:
    virtual ~IFileReader() = default;
    // The size when it was opened; a file may still grow or shrink meanwhile.
    virtual std::size_t SizeWhenOpened() const = 0;
    // Reads up to size bytes into data; got is 0 at the end. False on a read
    // error.
    virtual bool Read(void* data, std::size_t size, std::size_t& got) = 0;
};

class IFileSystem {
public:
    virtual ~IFileSystem() = default;
    // Whole file; false when it cannot be opened or read.
    virtual bool ReadAll(const std::string& path, std::vector<unsigned char>& out) = 0;
    // Opens path so that a caller can read it straight into where its bytes
    // are to stay; null when it cannot be opened. The default reads the
    // whole file through ReadAll first (null when that fails).
    virtual std::unique_ptr<IFileReader> OpenForReading(const std::string& path);
    // Creates or empties path for writing; null when it cannot be created.
    virtual std::unique_ptr<IFileWriter> Create(const std::string& path) = 0;
    // Opens path (creating it when missing) to be rewritten in place, for a
    // folder that refuses new files but lets an existing one be written.
    // Nothing is cut off until Close, which ends the file where the writes
    // ended; a writer dropped without Close leaves what it wrote (nothing
    // written: the file unchanged), and a failed write is not undone.
    // Null when the file cannot be opened for writing (the default: this
    // file system cannot write in place).
    virtual std::unique_ptr<IFileWriter> OpenInPlace(const std::string& path) {
        (void)path;
        return nullptr;
    }
    // Replaces `to` by `from` in one step (the old `to` stays intact on failure).
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
    // Copies `from` over `to`, overwriting it.
    virtual bool Copy(const std::string& from, const std::string& to) = 0;
    virtual bool Exists(const std::string& path) = 0;
    virtual bool Remove(const std::string& path) = 0;
};

// The bytes of a whole file, read from memory: what OpenForReading gives by
// default.
class BufferedFileReader : public IFileReader {
public:
    explicit BufferedFileReader(std::vector<unsigned char> bytes) : m_bytes(std::move(bytes)) {}
    std::size_t SizeWhenOpened() const override { return m_bytes.size(); }
    bool Read(void* data, std::size_t size, std::size_t& got) override;

private:
    std::vector<unsigned char> m_bytes;
    std::size_t m_pos = 0;
};

}  // namespace vt
