#pragma once
// IFileSystem on the standard library (<cstdio> and std::filesystem), for the
// native build and its tests. Create writes the path itself; Close flushes
// the C library's buffer and then the system's (fsync) so that a Replace that
// follows cannot publish a file whose bytes are still only in memory.
#include <memory>
#include <string>
#include <vector>

#include "shared/core/FileSystem.h"

namespace vt {

class StdFileSystem : public IFileSystem {
public:
    // Reading.
    bool Exists(const std::string& path) override;
    bool ReadAll(const std::string& path, std::vector<unsigned char>& out) override;
    // Writing.
    std::unique_ptr<IFileWriter> Create(const std::string& path) override;
    std::unique_ptr<IFileWriter> OpenInPlace(const std::string& path) override;
    bool Copy(const std::string& from, const std::string& to) override;
    bool Replace(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;
};

}  // namespace vt
