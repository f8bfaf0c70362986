#include "assistant/reminders/ReminderBook.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "assistant/reminders/Recurrence.h"
#include "assistant/reminders/ReminderCodec.h"

namespace vt {

namespace {

bool SameRule(const ReminderItem& a, const ReminderItem& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.repeat == b.repeat && a.hour == b.hour &&
           a.minute == b.minute;
}

}  // namespace

LocalMinute DoneThroughFromEditor(const ReminderItem& item, const LocalTime& now) {
    LocalMinute minute = MinuteOf(now);
    if (HasState(item, ReminderState::Expired)) return minute;
    if (item.repeat == static_cast<std::int32_t>(RepeatKind::Once)) return kNothingDone;
    return StartOfDay(minute) - 1;
}

ReminderBook::ReminderBook(IFileSystem& fs, std::string path) : m_fs(fs), m_strPath(std::move(path)) {}

ReminderId ReminderBook::Add(const ReminderItem& item) {
    ReminderId id = m_nextId++;
    m_items.push_back(item);
    m_info.push_back(RowInfo{id, 0, ReminderProgress()});
    std::size_t row = m_items.size() - 1;
    DoneBlock block = ReadDoneBlock(item);
    ReminderProgress& p = m_info[row].progress;
    p.inMemoryOnly = block.kind == DoneBlockKind::Foreign;
    p.doneThrough = p.countFrom = block.kind == DoneBlockKind::Ours ? block.doneThrough : kNothingDone;
    Renew(row);
    return id;
}

ReminderId ReminderBook::AddFromEditor(const ReminderItem& item, const LocalTime& now) {
    ReminderId id = Add(item);
    ReplaceFromEditor(Count() - 1, item, now);
    return id;
}

bool ReminderBook::Replace(int row, const ReminderItem& item) {
    if (!IsRow(row)) return false;
    std::size_t r = static_cast<std::size_t>(row);
    ReminderItem& current = m_items[r];
    if (current.state != item.state && (IsAlertOpen(current) || IsAlertOpen(item))) ++m_info[r].alertChanges;
    bool ruleChanged = !SameRule(current, item);
    current = item;
    // A record from the editor carries the block as it was when the editor
    // opened; the book's account is the later one.
    if (!m_info[r].progress.inMemoryOnly) WriteDoneBlock(current, m_info[r].progress.doneThrough);
    if (ruleChanged) Renew(r);
    return true;
}

bool ReminderBook::ReplaceFromEditor(int row, const ReminderItem& item, const LocalTime& now) {
    if (!IsRow(row)) return false;
    std::size_t r = static_cast<std::size_t>(row);
    const ReminderItem& before = m_items[r];
    // Only 已过期 turned into 准备中, or another rule, counts anew; an edit
    // of anything else keeps what is done, even where that lies after now
    // (the clock was set back since).
    const bool countAnew =
        !SameRule(before, item) || (HasState(before, ReminderState::Expired) && HasState(item, ReminderState::Ready));
    const LocalMinute kept = m_info[r].progress.doneThrough;
    Replace(row, item);
    ReminderProgress& p = m_info[r].progress;
    p.dueAtOnce = false;
    p.countFrom = kNothingDone;
    const LocalMinute fromEditor = DoneThroughFromEditor(item, now);
    SetDoneThrough(r, countAnew ? fromEditor : std::max(kept, fromEditor));
    return true;
}

const ReminderProgress* ReminderBook::ProgressAt(int row) const {
    return IsRow(row) ? &m_info[static_cast<std::size_t>(row)].progress : nullptr;
}

void ReminderBook::MarkDone(int row, LocalMinute through) {
    if (!IsRow(row)) return;
    std::size_t r = static_cast<std::size_t>(row);
    m_info[r].progress.dueAtOnce = false;
    SetDoneThrough(r, std::max(m_info[r].progress.doneThrough, through));
}

void ReminderBook::NoteFiring(int row, LocalMinute now) {
    if (!IsRow(row)) return;
    ReminderProgress& p = m_info[static_cast<std::size_t>(row)].progress;
    OccurrenceRule rule = RuleAt(row);
    p.firedAt = now;
    p.answers = LatestOccurrenceAtOrBefore(rule, now);
    p.missed = 0;
    if (p.answers != kNoOccurrence) {
        LocalMinute after = std::max(p.doneThrough, p.countFrom);
        // An old record that fires at once answers an occurrence from before
        // its first load: that one, and none it cannot account for.
        p.missed = std::max<std::int64_t>(1, CountOccurrences(rule, after, now));
    }
    p.dueAtOnce = false;
}

void ReminderBook::SetWorkingDays(const IWorkingDays* workingDays) {
    m_workingDays = workingDays;
    for (std::size_t r = 0; r < m_items.size(); ++r) Renew(r);
}

OccurrenceRule ReminderBook::RuleAt(int row) const {
    return IsRow(row) ? RuleOf(m_items[static_cast<std::size_t>(row)], m_workingDays) : OccurrenceRule();
}

void ReminderBook::SetDoneThrough(std::size_t row, LocalMinute doneThrough) {
    ReminderProgress& p = m_info[row].progress;
    p.doneThrough = doneThrough;
    if (!p.inMemoryOnly) WriteDoneBlock(m_items[row], doneThrough);
    Renew(row);
}

void ReminderBook::Renew(std::size_t row) {
    ReminderProgress& p = m_info[row].progress;
    p.next = NextOccurrenceAfter(RuleOf(m_items[row], m_workingDays), p.doneThrough);
}

ReminderProgress ReminderBook::ProgressAtLoad(ReminderItem& item, const LocalTime& now) const {
    ReminderProgress p;
    DoneBlock block = ReadDoneBlock(item);
    if (block.kind == DoneBlockKind::Ours) {
        p.doneThrough = p.countFrom = block.doneThrough;
    } else {
        LocalMinute loaded = MinuteOf(now);
        p.countFrom = loaded - 1;
        if (HasState(item, ReminderState::Expired)) {
            p.doneThrough = loaded;
        } else {
            p.doneThrough = loaded - 1;
            p.dueAtOnce = CompareDue(now, item) == 1;
        }
        p.inMemoryOnly = block.kind == DoneBlockKind::Foreign;
        if (!p.inMemoryOnly) WriteDoneBlock(item, p.doneThrough);
    }
    const OccurrenceRule rule = RuleOf(item, m_workingDays);
    p.next = NextOccurrenceAfter(rule, p.doneThrough);
    // Every occurrence done and none to come: its action was carried out
    // while its alert stood open (the exit writes an open alert as Ready),
    // or its answer never reached the file. 准备中 would wait for ever; it
    // reads 已过期, as it would had the alert been acknowledged.
    if (block.kind == DoneBlockKind::Ours && HasState(item, ReminderState::Ready) && p.next == kNoOccurrence &&
        LatestOccurrenceAtOrBefore(rule, p.doneThrough) != kNoOccurrence)
        SetState(item, ReminderState::Expired);
    return p;
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

ReminderLoadReport ReminderBook::Load(const LocalTime& now) {
    std::vector<ReminderItem> items;
    ReminderLoadReport report = LoadReminderFile(m_fs, m_strPath, items);
    Take(std::move(items), report, now);
    return report;
}

ReminderLoadReport ReminderBook::LoadBytes(const unsigned char* data, std::size_t size, const LocalTime& now) {
    std::vector<ReminderItem> items;
    ReminderLoadReport report = ReadReminderBytes(data, size, items);
    Take(std::move(items), report, now);
    return report;
}

void ReminderBook::Take(std::vector<ReminderItem>&& items, const ReminderLoadReport& report, const LocalTime& now) {
    // An empty book takes the parsed records as they are: appending would
    // copy every 8 KiB record once more.
    if (m_items.empty())
        m_items = std::move(items);
    else
        m_items.insert(m_items.end(), items.begin(), items.end());
    m_info.reserve(m_items.size());
    while (m_info.size() < m_items.size())
        m_info.push_back(RowInfo{m_nextId++, 0, ProgressAtLoad(m_items[m_info.size()], now)});
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
