#include "assistant/reminders/ReminderBook.h"

#include <algorithm>
#include <functional>

namespace vt {

ReminderBook::ReminderBook(IFileSystem& fs, std::string path)
    : m_fs(fs), m_strPath(std::move(path)) {}

ReminderId ReminderBook::Add(const ReminderItem& item) {
    ReminderId id = m_nextId++;
    m_rows.push_back(Row{id, item, 0});
    return id;
}

bool ReminderBook::Replace(int row, const ReminderItem& item) {
    if (!IsRow(row)) return false;
    Row& r = m_rows[static_cast<std::size_t>(row)];
    if (r.item.state != item.state && (IsAlertOpen(r.item) || IsAlertOpen(item))) ++r.alertChanges;
    r.item = item;
    return true;
}

bool ReminderBook::Remove(int row) {
    if (!IsRow(row)) return false;
    m_rows.erase(m_rows.begin() + row);
    return true;
}

void ReminderBook::RemoveRows(std::vector<int> rows) {
    // From the highest index down, so the indices still to go stay valid.
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int row : rows) Remove(row);
}

const ReminderItem* ReminderBook::At(int row) const {
    return IsRow(row) ? &m_rows[static_cast<std::size_t>(row)].item : nullptr;
}

ReminderId ReminderBook::IdAt(int row) const {
    return IsRow(row) ? m_rows[static_cast<std::size_t>(row)].id : kNoReminder;
}

std::uint32_t ReminderBook::AlertChangesAt(int row) const {
    return IsRow(row) ? m_rows[static_cast<std::size_t>(row)].alertChanges : 0;
}

int ReminderBook::RowOf(ReminderId id) const {
    if (id == kNoReminder) return -1;
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].id == id) return static_cast<int>(i);
    return -1;
}

ReminderLoadReport ReminderBook::Load() {
    std::vector<ReminderItem> items;
    ReminderLoadReport report = LoadReminderFile(m_fs, m_strPath, items);
    Take(items, report);
    return report;
}

ReminderLoadReport ReminderBook::LoadBytes(const unsigned char* data, std::size_t size) {
    std::vector<ReminderItem> items;
    ReminderLoadReport report = ReadReminderBytes(data, size, items);
    Take(items, report);
    return report;
}

void ReminderBook::Take(const std::vector<ReminderItem>& items, const ReminderLoadReport& report) {
    // Room for all rows at once: growing row by row would copy every
    // 8 KiB record again at each step.
    m_rows.reserve(m_rows.size() + items.size());
    for (const ReminderItem& item : items) Add(item);
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
    return SaveReminderFile(m_fs, m_strPath, Records());
}

bool ReminderBook::SaveAtExit() {
    for (Row& row : m_rows) {
        if (!IsAlertOpen(row.item)) continue;
        SetState(row.item, ReminderState::Ready);
        ++row.alertChanges;
    }
    return Save();
}

std::vector<ReminderItem> ReminderBook::Records() const {
    std::vector<ReminderItem> items;
    items.reserve(m_rows.size());
    for (const Row& row : m_rows) items.push_back(row.item);
    return items;
}

}  // namespace vt
