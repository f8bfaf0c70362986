#include "shared/core/FileSystem.h"

#include <algorithm>
#include <cstring>

namespace vt {

std::unique_ptr<IFileReader> IFileSystem::OpenForReading(const std::string& path) {
    std::vector<unsigned char> bytes;
    if (!ReadAll(path, bytes)) return nullptr;
    return std::make_unique<BufferedFileReader>(std::move(bytes));
}

bool BufferedFileReader::Read(void* data, std::size_t size, std::size_t& got) {
    got = std::min(size, m_bytes.size() - m_pos);
    if (got > 0) std::memcpy(data, m_bytes.data() + m_pos, got);
    m_pos += got;
    return true;
}

}  // namespace vt
