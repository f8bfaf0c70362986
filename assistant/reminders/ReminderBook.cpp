#include "assistant/reminders/ReminderBook.h"

#include <algorithm>
#include <functional>
#include <utility>

namespace vt {

ReminderBook::ReminderBook(IFileSystem& fs, std::string path)
    : m_fs(fs), m_strPath(std::move(path)) {}

ReminderId ReminderBook::Add(const ReminderItem& item) {
    ReminderId id = m_nextId++;
    m_items.push_back(item);
    m_info.push_back(RowInfo{id, 0});
    return id;
}

bool ReminderBook::Replace(int row, const ReminderItem& item) {
    if (!IsRow(row)) return false;
    ReminderItem& current = m_items[static_cast<std::size_t>(row)];
    if (current.state != item.state && (IsAlertOpen(current) || IsAlertOpen(item)))
        ++m_info[static_cast<std::size_t>(row)].alertChanges;
    current = item;
    return true;
}

bool ReminderBook::Remove(int row) {
    if (!IsRow(row)) return false;
    m_items.erase(m_items.begin() + row);
    m_info.erase(m_info.begin() + row);
    return true;
}

void ReminderBook::RemoveRows(std::vector<int> rows) {
    // From the highest index down, so the indices still to go stay valid.
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int row : rows) Remove(row);
}

const ReminderItem* ReminderBook::At(int row) const {
    return IsRow(row) ? &m_items[static_cast<std::size_t>(row)] : nullptr;
}

ReminderId ReminderBook::IdAt(int row) const {
    return IsRow(row) ? m_info[static_cast<std::size_t>(row)].id : kNoReminder;
}

std::uint32_t ReminderBook::AlertChangesAt(int row) const {
    return IsRow(row) ? m_info[static_cast<std::size_t>(row)].alertChanges : 0;
}

int ReminderBook::RowOf(ReminderId id) const {
    if (id == kNoReminder) return -1;
    for (std::size_t i = 0; i < m_info.size(); ++i)
        if (m_info[i].id == id) return static_cast<int>(i);
    return -1;
}

ReminderLoadReport ReminderBook::Load() {
    std::vector<ReminderItem> items;
    ReminderLoadReport report = LoadReminderFile(m_fs, m_strPath, items);
    Take(std::move(items), report);
    return report;
}

ReminderLoadReport ReminderBook::LoadBytes(const unsigned char* data, std::size_t size) {
    std::vector<ReminderItem> items;
    ReminderLoadReport report = ReadReminderBytes(data, size, items);
    Take(std::move(items), report);
    return report;
}

void ReminderBook::Take(std::vector<ReminderItem>&& items, const ReminderLoadReport& report) {
    // An empty book takes the parsed records as they are: appending would
    // copy every 8 KiB record once more.
    if (m_items.empty()) m_items = std::move(items);
    else m_items.insert(m_items.end(), items.begin(), items.end());
    m_info.reserve(m_items.size());
    while (m_info.size() < m_items.size()) m_info.push_back(RowInfo{m_nextId++, 0});
    m_bBackupPending = report.NeedsBackup() && report.backupPath.empty();
    if (!report.backupPath.empty()) m_strBackupPath = report.backupPath;
}

bool ReminderBook::Save() {
    // An original that has gone meanwhile leaves nothing to keep.
    if (m_bBackupPending && !m_fs.Exists(m_strPath)) m_bBackupPending = false;
    if (m_bBackupPending) {
        std::string backup = KeepBackup(m_fs, m_strPath);
        if (backup.empty()) return false;
        m_strBackupPath = backup;
        m_bBackupPending = false;
    }
    return SaveReminderFile(m_fs, m_strPath, m_items);
}

bool ReminderBook::SaveAtExit() {
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        if (!IsAlertOpen(m_items[i])) continue;
        SetState(m_items[i], ReminderState::Ready);
        ++m_info[i].alertChanges;
    }
    return Save();
}

}  // namespace vt
