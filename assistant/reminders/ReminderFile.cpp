#include "assistant/reminders/ReminderFile.h"

#include "assistant/reminders/ReminderCodec.h"

#include <utility>

namespace vt {

ReminderLoadReport ReadReminderBytes(const unsigned char* data, std::size_t size, std::vector<ReminderItem>& items) {
    ReminderLoadReport report;
    report.found = report.readable = true;
    ParsedReminders parsed = ParseReminderBytes(data, size);
    report.records = parsed.items.size();
    report.fragmentBytes = parsed.fragmentBytes;
    if (items.empty())
        items = std::move(parsed.items);
    else
        items.insert(items.end(), parsed.items.begin(), parsed.items.end());
    return report;
}

namespace {

// Fills size bytes at data from the reader, as far as the file goes; false
// on a read error. got: how many bytes came.
bool ReadFully(IFileReader& reader, unsigned char* data, std::size_t size, std::size_t& got) {
    got = 0;
    while (got < size) {
        std::size_t n = 0;
        if (!reader.Read(data + got, size - got, n)) return false;
        if (n == 0) break;
        got += n;
    }
    return true;
}

// Appends the reader's whole records to items, read straight into where they
// stay: the records of a large file (ten thousand reminders are 80 MiB) are
// not read into one buffer and copied into another. Returns false on a read
// error (items as they were).
bool ReadRecords(IFileReader& reader, std::vector<ReminderItem>& items, ReminderLoadReport& report) {
    const std::size_t base = items.size();
    const std::size_t expected = reader.SizeWhenOpened() / kReminderItemSize;
    items.resize(base + expected);
    std::size_t got = 0;
    bool ok =
        ReadFully(reader, reinterpret_cast<unsigned char*>(items.data() + base), expected * kReminderItemSize, got);
    std::size_t fragment = got % kReminderItemSize;
    items.resize(base + got / kReminderItemSize);
    // A file that grew meanwhile is read on to its end, a record at a time.
    while (ok && got == expected * kReminderItemSize) {
        unsigned char record[kReminderItemSize];
        std::size_t n = 0;
        ok = ReadFully(reader, record, sizeof record, n);
        if (!ok || n < sizeof record) {
            fragment = n;
            break;
        }
        items.push_back(DecodeReminder(record));
    }
    if (!ok) {
        items.resize(base);
        return false;
    }
    for (std::size_t i = base; i < items.size(); ++i) {
        FromFileByteOrder(items[i]);
        ApplyLoadStateRule(items[i]);
    }
    report.records = items.size() - base;
    report.fragmentBytes = fragment;
    return true;
}

}  // namespace

ReminderLoadReport LoadReminderFile(IFileSystem& fs, const std::string& path, std::vector<ReminderItem>& items) {
    ReminderLoadReport report;
    if (std::unique_ptr<IFileReader> reader = fs.OpenForReading(path)) {
        report.found = true;
        report.readable = ReadRecords(*reader, items, report);
    } else {
        report.found = fs.Exists(path);
    }
    if (report.NeedsBackup()) report.backupPath = KeepBackup(fs, path);
    return report;
}

std::string KeepBackup(IFileSystem& fs, const std::string& path) {
    // An earlier backup may hold the only copy of an earlier damaged tail.
    for (int n = 1; n < 100; ++n) {
        std::string candidate = path + ".bak";
        if (n > 1) candidate += std::to_string(n);
        if (fs.Exists(candidate)) continue;
        if (fs.Copy(path, candidate)) return candidate;
        fs.Remove(candidate);  // a partial copy is no backup
        return std::string();
    }
    return std::string();
}

namespace {

bool WriteRecords(IFileWriter& writer, const std::vector<ReminderItem>& items) {
    unsigned char record[kReminderItemSize];
    for (const ReminderItem& item : items) {
        EncodeReminder(item, record);
        if (!writer.Write(record, sizeof record)) return false;
    }
    return true;
}

// For a folder that refuses new files but lets Notify.dat itself be
// written: the plain rewrite, without the temporary file's protection.
bool RewriteInPlace(IFileSystem& fs, const std::string& path, const std::vector<ReminderItem>& items) {
    std::unique_ptr<IFileWriter> writer = fs.OpenInPlace(path);
    if (!writer) return false;
    bool ok = WriteRecords(*writer, items);
    return writer->Close() && ok;
}

}  // namespace

bool SaveReminderFile(IFileSystem& fs, const std::string& path, const std::vector<ReminderItem>& items) {
    const std::string temp = path + ".tmp";
    std::unique_ptr<IFileWriter> writer = fs.Create(temp);
    // Whatever stands at temp is not ours to remove.
    if (!writer) return RewriteInPlace(fs, path, items);
    bool ok = WriteRecords(*writer, items);
    if (!writer->Close()) ok = false;
    writer.reset();
    if (ok && fs.Replace(temp, path)) return true;
    fs.Remove(temp);
    return false;
}

bool CanSaveReminderFile(IFileSystem& fs, const std::string& path) {
    // A writer dropped unclosed takes its new file with it.
    if (fs.Create(path + ".tmp")) return true;
    const bool existed = fs.Exists(path);
    if (!fs.OpenInPlace(path)) return false;  // dropped unwritten: unchanged
    if (!existed) fs.Remove(path);
    return true;
}
StartupNotice DecideStartupNotice(const ReminderLoadReport& report, bool canSave) {
    if (report.NeedsBackup()) return StartupNotice::LoadProblem;
    return canSave ? StartupNotice::None : StartupNotice::CannotSave;
}

}  // namespace vt
