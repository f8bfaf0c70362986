#pragma once
// The manager's list (control 1016, the columns of ReminderRowView.h): one row per reminder of the
// book, in the book's order. It only shows; the records stay in the book.
// The control is virtual (LVS_OWNERDATA in the template): it stores no
// texts, its owner answers LVN_GETDISPINFO through OnGetDispInfo.
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "assistant/reminders/ReminderBook.h"
#include "shared/core/Clock.h"
#include "shared/win/Handles.h"

namespace vt {

class ReminderListView {
public:
    ReminderListView() = default;
    ~ReminderListView() { Release(); }
    ReminderListView(const ReminderListView&) = delete;
    ReminderListView& operator=(const ReminderListView&) = delete;

    // Columns, extended styles and the 20-pixel row height at 100 % (image
    // list of bitmap 142 or its variant for the list's display scale).
    void Attach(HWND list);
    // The row height for another display scale (WM_DPICHANGED).
    void SetDpi(UINT dpi);
    static int RowImageHeight(UINT dpi);
    static UINT RowBitmapFor(UINT dpi);
    // Gives back the image list and the bitmap; the rows stay.
    void Release();
    HWND Hwnd() const { return m_hList; }

    int Count() const;
    // The whole list anew from the book (start-up, or when out of step).
    void Fill(const ReminderBook& book);
    // The book's new last row.
    void Append(const ReminderItem& item);
    void SetRow(int row, const ReminderItem& item);
    // Only that row is redrawn, in its new state's colour: the other rows are
    // left alone, so nothing flickers once a second.
    void SetStateCell(int row, const ReminderItem& item);
    void Remove(int row);
    // Selected rows, ascending.
    std::vector<int> SelectedRows() const;

    // NM_CUSTOMDRAW: text colour by the row's state, stripes by its parity.
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw, const ReminderBook& book) const;

    // LVN_GETDISPINFO: the text of the cell the list is about to show, at
    // the moment now ("今天" in the next-occurrence column).
    void OnGetDispInfo(NMLVDISPINFOW& info, const ReminderBook& book, const LocalTime& now) const;
    // Every row drawn anew: their texts depend on the date.
    void RedrawAll();

private:
    void SetCount(int rows, DWORD flags);
    void Redraw(int row);

    HWND m_hList = nullptr;
    win::BitmapHandle m_rowBitmap;
    win::ImageListHandle m_images;
};

}  // namespace vt
