#pragma once
// All reminders of the running assistant, in the order of the manager's list
// rows, each with an id that stays the same while the row moves up or down.
// Alerts and the editor name their reminder by id, so deleting rows above it
// cannot redirect an answer to another reminder; an id whose reminder was
// deleted simply no longer resolves. Ids are not stored in the file.
//
// The book also owns the reminder file: Load once at start-up, Save when the
// manager window closes, SaveAtExit on every way out of the program.
//
// Beside each record the book keeps how far its occurrences are done
// (Occurrences.h) and the next one that is not, worked out again only when
// the record's rule or its done-through moment changes. The done-through
// moment goes into the record's done-through block (ReminderCodec.h), so it
// reaches the file with the record; where another writer's bytes lie there it
// stays in memory only.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "assistant/calendar/Occurrences.h"
#include "assistant/reminders/ReminderFile.h"
#include "assistant/reminders/ReminderItem.h"
#include "shared/core/Clock.h"
#include "shared/core/FileSystem.h"

namespace vt {

using ReminderId = std::uint32_t;  // 0 is never a reminder's id
constexpr ReminderId kNoReminder = 0;

// How far a reminder's occurrences are done, and what follows from it.
struct ReminderProgress {
    // Every occurrence at or before this moment is done.
    LocalMinute doneThrough = kNothingDone;
    // The first occurrence after doneThrough (kNoOccurrence: none).
    LocalMinute next = kNoOccurrence;
    // Missed occurrences are counted after this moment only: a record from
    // before the block has no account of what came before its first load.
    LocalMinute countFrom = kNothingDone;
    // A record from before the block, loaded Ready, that the old comparison
    // found due: it fires at its first tick, as it always did.
    bool dueAtOnce = false;
    // Another writer's bytes lie where the block goes: memory only.
    bool inMemoryOnly = false;
    // Set when it fires: the latest occurrence its alert answers
    // (kNoOccurrence: none), how many occurrences that alert stands for,
    // and the minute it fired.
    LocalMinute answers = kNoOccurrence;
    std::int64_t missed = 0;
    LocalMinute firedAt = kNothingDone;
};

// The done-through moment a record gets when the editor saves it: "已过期"
// marks everything up to now done; "准备中" lets a recurring kind's
// occurrences count from the start of today (one earlier today still rings
// at once) and leaves a Once reminder's moment not done, wherever it lies.
LocalMinute DoneThroughFromEditor(const ReminderItem& item, const LocalTime& now);

class ReminderBook {
public:
    ReminderBook(IFileSystem& fs, std::string path);

    int Count() const { return static_cast<int>(m_items.size()); }
    bool IsRow(int row) const { return row >= 0 && row < Count(); }

    // Appends a new last row and returns its id. Its progress is what its
    // block says, or nothing done when it has none.
    ReminderId Add(const ReminderItem& item);
    // Appends a record the editor made, as saved at `now`.
    ReminderId AddFromEditor(const ReminderItem& item, const LocalTime& now);
    // Replaces the record of a row; false (and no change) for a bad row. The
    // progress stays; its next occurrence follows a changed rule.
    bool Replace(int row, const ReminderItem& item);
    // Replaces the record of a row with the editor's, as saved at `now`.
    // Its occurrences count anew (DoneThroughFromEditor) when the rule
    // changed or 已过期 became 准备中; otherwise nothing done comes undone.
    bool ReplaceFromEditor(int row, const ReminderItem& item, const LocalTime& now);
    // Removes a row; the rows below move up by one.
    bool Remove(int row);
    // Removes every listed row (any order, duplicates and bad rows ignored).
    void RemoveRows(std::vector<int> rows);

    // The record of a row, or null for a bad row.
    const ReminderItem* At(int row) const;
    ReminderId IdAt(int row) const;  // kNoReminder for a bad row
    // How often the row's alert has come or gone since it was added (it
    // fired, was answered or put off, or was closed at exit; 0 for a bad
    // row). A mere re-arm (已过期 back to 准备中) does not count. Two equal
    // states can hide a whole firing in between; this cannot.
    std::uint32_t AlertChangesAt(int row) const;
    int RowOf(ReminderId id) const;  // -1 when that reminder is gone

    // The progress of a row, or null for a bad row.
    const ReminderProgress* ProgressAt(int row) const;
    // Every occurrence up to `through` is done (never undone: a clock set
    // back keeps what was done later).
    void MarkDone(int row, LocalMinute through);
    // The row fired at `now`: which occurrence its alert answers and how
    // many it stands for.
    void NoteFiring(int row, LocalMinute now);
    // The official working days for the kinds that follow them; every next
    // occurrence is worked out again. Null: none known.
    void SetWorkingDays(const IWorkingDays* workingDays);
    const IWorkingDays* WorkingDays() const { return m_workingDays; }
    OccurrenceRule RuleAt(int row) const;

    // Appends the file's records, loaded at `now`. See ReminderFile.h for
    // the report. A record without a block of its own counts as done up to
    // `now` when Expired; when Ready, it fires at once if the old comparison
    // says its moment has come, and otherwise waits for its next occurrence.
    // A record whose block says every occurrence is done, none to come (a
    // once reminder carried out while its alert stood open), loads Expired.
    ReminderLoadReport Load(const LocalTime& now = LocalTime());
    // Appends the records of bytes already read from the book's file, with
    // the rules of Load; what a trailing fragment needs, a copy of the
    // original aside, is left to the next save.
    ReminderLoadReport LoadBytes(const unsigned char* data, std::size_t size, const LocalTime& now = LocalTime());
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
        ReminderProgress progress;
    };

    void Take(std::vector<ReminderItem>&& items, const ReminderLoadReport& report, const LocalTime& now);
    ReminderProgress ProgressAtLoad(ReminderItem& item, const LocalTime& now) const;
    // Stores the done-through moment in the record's block where it may, and
    // works out the next occurrence.
    void SetDoneThrough(std::size_t row, LocalMinute doneThrough);
    void Renew(std::size_t row);

    IFileSystem& m_fs;
    std::string m_strPath;
    std::vector<ReminderItem> m_items;
    std::vector<RowInfo> m_info;  // one per record, same order
    ReminderId m_nextId = 1;
    const IWorkingDays* m_workingDays = nullptr;
    bool m_bBackupPending = false;
    std::string m_strBackupPath;
};

}  // namespace vt
