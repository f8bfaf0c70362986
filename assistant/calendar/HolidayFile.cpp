#include "assistant/calendar/HolidayFile.h"

#include <utility>

namespace vt {

HolidayFile::HolidayFile(IFileSystem& fs, std::string path) : m_fs(fs), m_strPath(std::move(path)) {}

bool HolidayFile::Refresh() {
    std::vector<unsigned char> bytes;
    const bool present = m_fs.ReadAll(m_strPath, bytes);
    if (!present) bytes.clear();
    if (m_bRead && present == m_bPresent && bytes == m_bytes) return false;
    m_bRead = true;
    m_bPresent = present;
    m_bytes.swap(bytes);
    m_schedule = HolidaySchedule::Parse(std::string(m_bytes.begin(), m_bytes.end()));
    return true;
}

std::string HolidaysPathBeside(const std::string& siblingPath) {
    const std::string::size_type cut = siblingPath.find_last_of("\\/");
    return (cut == std::string::npos ? std::string() : siblingPath.substr(0, cut + 1)) + "Holidays.txt";
}

}  // namespace vt
