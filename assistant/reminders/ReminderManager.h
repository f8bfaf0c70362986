#pragma once
// The reminder manager without its window: the book of reminders, the clock
// tick, the alerts' answers and the rules of the New, Edit and Delete
// commands. The manager dialog translates its messages into these calls and
// carries out what they return:
//   Start (once)           -> Load; WM_INITDIALOG fills the list from Book()
//   the main window's second, a clock change or a resume
//                          -> OnTimer: set the caption, redraw changedRows,
//                             open each alert, then start its launches; a
//                             year without holiday schedule: the balloon
//
//                             a power request: its last minute begins
//                             (锁定: it locks at once)
//   the action carried out -> MarkCarriedOut, before it runs
//
// The holiday schedule (Holidays.txt beside the reminder file) is read with
// the reminders and looked at again once a minute.
//   WM_REMINDER_ANSWER     -> OnAnswer(wParam id, lParam): redraw the row
//   New / Edit / Delete    -> Add, DecideEdit + ApplyEdit, Delete
//   LVN_ITEMCHANGED        -> Buttons
//   IDOK / IDCANCEL        -> Save;  exit of the program -> SaveAtExit
#include <cstdint>
#include <vector>

#include "assistant/calendar/HolidayFile.h"
#include "assistant/reminders/ReminderBook.h"
#include "assistant/reminders/ReminderTicker.h"
#include "shared/core/Clock.h"
#include "shared/core/FileSystem.h"

namespace vt {

struct EditDecision {
    enum class Action {
        None,    // nothing selected
        Refuse,  // its alert is open: the main window shows its balloon instead
        Edit,    // open the editor in edit mode with `item`
    };
    Action action = Action::None;
    ReminderId id = kNoReminder;
    ReminderItem item{};
    std::uint32_t alertChanges = 0;  // the row's alert count when the editor opened
};

struct ManagerButtons {
    bool edit = false;
    bool remove = false;
};

class ReminderManager {
public:
    ReminderManager(IFileSystem& fs, std::string path, const IClock& clock);

    ReminderBook& Book() { return m_book; }
    const ReminderBook& Book() const { return m_book; }
    const HolidaySchedule& Holidays() const { return m_holidays.Schedule(); }

    ReminderLoadReport Load();
    bool Save() { return m_book.Save(); }
    bool SaveAtExit() { return m_book.SaveAtExit(); }
    bool CanSave() { return m_book.CanSave(); }

    // Reads the clock once; that moment serves the whole tick.
    TickResult OnTimer();

    // The power action of `request` is about to run (the last minute ended,
    // 立即… was pressed, or 锁定 came): its occurrence counts as answered,
    // so it comes back neither as an alert nor as a missed note, even after
    // a shutdown; the file is saved now. False when the reminder is gone or
    // the save failed (the action may still run: it is marked in memory).
    bool MarkCarriedOut(ReminderId id, LocalMinute occurrence);

    // Sets the state of the reminder the alert belongs to. Returns its row,
    // or -1 when the answer was dropped (reminder deleted, unknown answer).
    int OnAnswer(ReminderId id, long answer);

    // Appends a reminder made by the editor, saved now; returns its row.
    int Add(const ReminderItem& item);

    // selectedRows ascending, as the list reports them; the lowest one counts.
    EditDecision DecideEdit(const std::vector<int>& selectedRows) const;
    // Stores the editor's result for the reminder `opened` was decided for.
    // The editor's state ("准备中" / "已过期") counts unless the reminder
    // fired, or its alert was answered, while the editor was open: then the
    // live state and alertTicks stay, so an open alert keeps its reminder and
    // a firing is neither repeated nor lost. A mere re-arm by the clock
    // meanwhile does not overrule the state the user chose; what is done
    // follows it as ReminderBook::ReplaceFromEditor says. Returns
    // the row, or -1 when the reminder was deleted meanwhile.
    int ApplyEdit(const EditDecision& opened, const ReminderItem& edited);

    ManagerButtons Buttons(const std::vector<int>& selectedRows) const;

    // Rows in any state may go; bad and repeated indices are ignored.
    void Delete(const std::vector<int>& selectedRows) { m_book.RemoveRows(selectedRows); }

private:
    // Once a minute: a changed schedule renews the next occurrences; says
    // which rows to redraw and which uncovered year to tell.
    void CheckHolidays(LocalMinute now, TickResult& result);
    int FirstUntoldUncoveredYear();
    // The rows that fired this tick with an action due now.
    void CollectPower(const TickMoment& now, TickResult& result) const;

    ReminderBook m_book;
    const IClock& m_clock;
    HolidayFile m_holidays;
    LocalMinute m_lastHolidayCheck = kNoOccurrence;
    TickMoment m_lastTick;
};

}  // namespace vt
