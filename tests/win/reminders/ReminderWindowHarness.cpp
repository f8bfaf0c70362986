#include "tests/win/reminders/ReminderWindowHarness.h"

#include "assistant/reminders/ReminderCodec.h"
#include "shared/win/Encoding.h"
#include "tests/support/TestFiles.h"

namespace vt::test {

std::vector<unsigned char> FileOf(const std::vector<ReminderItem>& items) { return SerializeReminders(items); }

ReminderItem Reminder(RepeatKind kind, int year, int month, int day, int hour, int minute, const std::wstring& title,
                      ReminderState state, const std::wstring& content) {
    ReminderItem item = MakeReminder(kind, year, month, day, hour, minute, win::ToGbk(title).Bytes(), state);
    SetText(item.content, win::ToGbk(content));
    return item;
}

void ReminderWindowTest::SetUpTestSuite() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
}

void ReminderWindowTest::SetUp() {
    m_scratch.emplace(L"reminders-" + CurrentTestName());
    m_dir = m_scratch->Wide();
    m_path = m_dir + L"Notify.dat";
    m_clock.Set(2026, 12, 7, 8, 0, 0);  // a Monday
}

void ReminderWindowTest::TearDown() {
    m_dialog.reset();
    PumpMessages();
    m_scratch.reset();
}

void ReminderWindowTest::WriteFile(const std::vector<unsigned char>& bytes) {
    auto writer = m_files.Create(win::ToUtf8(m_path));
    ASSERT_TRUE(writer);
    if (!bytes.empty()) {
        ASSERT_TRUE(writer->Write(bytes.data(), bytes.size()));
    }
    ASSERT_TRUE(writer->Close());
}

void ReminderWindowTest::CreateManager() {
    m_dialog = std::make_unique<ReminderManagerDialog>(
        ReminderServices{m_files, m_clock, m_shell, win::ToUtf8(m_path),
                         [this](const std::string& text) { m_balloons.push_back(text); }});
    ASSERT_TRUE(m_dialog->Create(nullptr));
    m_dialog->Show(SW_HIDE);
}

std::wstring ReminderWindowTest::Cell(int row, int column) const {
    wchar_t buf[2048] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = buf;
    item.cchTextMax = 2048;
    SendMessageW(List(), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return buf;
}

void ReminderWindowTest::Select(const std::vector<int>& rows) {
    LVITEMW clear = {};
    clear.stateMask = LVIS_SELECTED;
    SendMessageW(List(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&clear));
    for (int row : rows) {
        LVITEMW item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = LVIS_SELECTED;
        SendMessageW(List(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
    }
}

std::string ReminderWindowTest::FileBytes() const {
    std::vector<unsigned char> bytes;
    m_files.ReadAll(win::ToUtf8(m_path), bytes);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace vt::test
