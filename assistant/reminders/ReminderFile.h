#pragma once
// Reading and writing Notify.dat through IFileSystem.
//
// Saving never truncates the file in place: the records go to a new file
// beside it, which replaces the old one only once it is complete and flushed,
// so a crash or a full disk leaves the previous file as it was.
//
// A file the loader could not take in whole (a trailing fragment shorter than
// a record, or a file that exists but cannot be read) is copied aside before
// anything replaces it; ReminderBook keeps track of that duty.
#include <cstddef>
#include <string>
#include <vector>

#include "assistant/reminders/ReminderItem.h"
#include "shared/core/FileSystem.h"

namespace vt {

struct ReminderLoadReport {
    bool found = false;             // the file exists
    bool readable = false;          // and its bytes could be read
    std::size_t records = 0;        // whole records loaded
    std::size_t fragmentBytes = 0;  // trailing bytes that were not loaded
    std::string backupPath;         // copy of the original, when one was made

    // True when the file holds something the list does not: the original must
    // be kept before a save replaces it.
    bool NeedsBackup() const { return found && (!readable || fragmentBytes > 0); }
};

// Appends the file's records (state rule applied) to items. A missing file
// is an empty list. When the file needs a backup one is made at once; its
// path is in the report (empty when the copy failed).
ReminderLoadReport LoadReminderFile(IFileSystem& fs, const std::string& path, std::vector<ReminderItem>& items);

// What LoadReminderFile makes of the file's bytes once it has them: appends
// the records (state rule applied) and reports them as read from an existing
// file. No backup is made here.
ReminderLoadReport ReadReminderBytes(const unsigned char* data, std::size_t size, std::vector<ReminderItem>& items);

// Copies path to the first free name among path.bak, path.bak2 .. path.bak99.
// Returns the copy's name, or an empty string when no copy could be made.
std::string KeepBackup(IFileSystem& fs, const std::string& path);

// Writes the records in order (an empty list as an empty file) through
// path.tmp and replaces path with it. False when anything failed; path is
// then untouched and the temporary file removed.
// Where path.tmp cannot be created at all (a folder that refuses new files
// but lets path itself be written) path is rewritten in place instead.
bool SaveReminderFile(IFileSystem& fs, const std::string& path, const std::vector<ReminderItem>& items);

// Whether SaveReminderFile can reach the folder at all: path.tmp can be
// created there, or path can be opened for writing. Leaves the folder and
// path as they were.
bool CanSaveReminderFile(IFileSystem& fs, const std::string& path);

// What the user is told once the file has been read at start-up: a damaged
// or unreadable file first (its message names the file), else a folder where
// no save can succeed, so that reminders are not lost without a word.
enum class StartupNotice { None, LoadProblem, CannotSave };
StartupNotice DecideStartupNotice(const ReminderLoadReport& report, bool canSave);

}  // namespace vt
