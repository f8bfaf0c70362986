#pragma once
// All reminders of the running assistant, in the order of the manager's list
// rows, each with an id that stays the same while the row moves up or down.
// Alerts and the editor name their reminder by id, so deleting rows above it
// cannot redirect an answer to another reminder; an id whose reminder was
// deleted simply no longer resolves. Ids are not stored in the file.
//
// The book also owns the reminder file: Load once at start-up, Save when the
// manager window closes, SaveAtExit on every way out of the program.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "assistant/reminders/ReminderFile.h"
#include "assistant/reminders/ReminderItem.h"
#include "shared/core/FileSystem.h"

namespace vt {

using ReminderId = std::uint32_t;  // 0 is never a reminder's id
constexpr ReminderId kNoReminder = 0;

class ReminderBook {
public:
    ReminderBook(IFileSystem& fs, std::string path);

    int Count() const { return static_cast<int>(m_items.size()); }
    bool IsRow(int row) const { return row >= 0 && row < Count(); }

    // Appends a new last row and returns its id.
    ReminderId Add(const ReminderItem& item);
    // Replaces the record of a row; false (and no change) for a bad row.
    bool Replace(int row, const ReminderItem& item);
    // Removes a row; the rows below move up by one.
    bool Remove(int row);
    // Removes every listed row (any order, duplicates and bad rows ignored).
    void RemoveRows(std::vector<int> rows);

    // The record of a row, or null for a bad row.
    const ReminderItem* At(int row) const;
    ReminderId IdAt(int row) const;   // kNoReminder for a bad row
    // How often the row's alert has come or gone since it was added (it
    // fired, was answered or put off, or was closed at exit; 0 for a bad
    // row). A mere re-arm (已过期 back to 准备中) does not count. Two equal
    // states can hide a whole firing in between; this cannot.
    std::uint32_t AlertChangesAt(int row) const;
    int RowOf(ReminderId id) const;   // -1 when that reminder is gone

    // Appends the file's records. See ReminderFile.h for the report.
    ReminderLoadReport Load();
    // Appends the records of bytes already read from the book's file, with
    // the rules of Load; what a trailing fragment needs, a copy of the
    // original aside, is left to the next save.
    ReminderLoadReport LoadBytes(const unsigned char* data, std::size_t size);
    // Writes every record as it is. False when nothing was written (the old
    // file is then unchanged).
    bool Save();
    // At exit no alert window survives, so Alerting and Snoozed become Ready
    // in memory as well as in the file.
    bool SaveAtExit();
    // Whether a save can reach the file's folder at all (see
    // CanSaveReminderFile); changes nothing.
    bool CanSave() { return CanSaveReminderFile(m_fs, m_strPath); }

    // A damaged or unreadable original still waits to be copied aside; every
    // save retries the copy and refuses to replace the original without it.
    bool BackupPending() const { return m_bBackupPending; }
    const std::string& BackupPath() const { return m_strBackupPath; }
    const std::string& Path() const { return m_strPath; }

private:
    // What the book keeps beside each record. The records lie in a vector of
    // their own, in row order, so a load takes the parsed records over
    // without copying 8 KiB each and a save writes them where they lie.
    struct RowInfo {
        ReminderId id;
        std::uint32_t alertChanges;
    };

    void Take(std::vector<ReminderItem>&& items, const ReminderLoadReport& report);

    IFileSystem& m_fs;
    std::string m_strPath;
    std::vector<ReminderItem> m_items;
    std::vector<RowInfo> m_info;  // one per record, same order
    ReminderId m_nextId = 1;
    bool m_bBackupPending = false;
    std::string m_strBackupPath;
};

}  // namespace vt
