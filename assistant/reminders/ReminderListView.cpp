#include "assistant/reminders/ReminderListView.h"

#include <utility>

#include "assistant/reminders/ReminderRowView.h"
#include "resource.h"
#include "shared/win/Dialog.h"
#include "shared/win/DpiIcons.h"
#include "shared/win/Encoding.h"

namespace vt {
namespace {

// Grid lines, full-row selection, flat scroll bars, tips for cut texts.
constexpr DWORD kListStyles = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB | LVS_EX_INFOTIP;

// Title and content are record text (code page 936); the other cells are
// texts of the program (UTF-8).
std::wstring CellText(const ReminderItem& item, int column, LocalMinute next, const LocalTime& now,
                      const IWorkingDays* days) {
    if (column == kTitleColumn) return win::FromGbk(GetText(item.title));
    if (column == kContentColumn) return win::FromGbk(GetText(item.content));
    return win::FromUtf8(CellOf(item, column, next, now, days));
}

COLORREF ToColorRef(Rgb c) { return RGB(c.r, c.g, c.b); }

}  // namespace

void ReminderListView::Attach(HWND list) {
    m_hList = list;
    RECT client = {};
    GetClientRect(list, &client);
    for (int column = 0; column < kReminderColumnCount; ++column) {
        std::wstring heading = win::FromUtf8(ColumnHeading(column));
        LVCOLUMNW col = {};
        col.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.fmt = LVCFMT_LEFT;
        col.cx = ColumnWidth(column, client.right - client.left);
        col.pszText = &heading[0];
        col.iSubItem = column;
        SendMessageW(list, LVM_INSERTCOLUMNW, column, reinterpret_cast<LPARAM>(&col));
    }
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, kListStyles, kListStyles);

    SetDpi(win::DpiOf(list));
}

// The list makes every row as tall as its small images: an image list of
// 20-pixel images at 100 % (holding an invisible one) gives roomier rows.
void ReminderListView::SetDpi(UINT dpi) {
    if (!m_hList) return;
    win::BitmapHandle bitmap(static_cast<HBITMAP>(
        LoadImageW(win::ResourceModule(), MAKEINTRESOURCEW(RowBitmapFor(dpi)), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
    win::ImageListHandle images(ImageList_Create(2, RowImageHeight(dpi), ILC_COLOR16 | ILC_MASK, 1, 1));
    if (!images) return;
    if (bitmap) ImageList_AddMasked(images.Get(), bitmap.Get(), RGB(0, 0, 0));
    // The list hands back the image list it held; it is ours to destroy.
    SendMessageW(m_hList, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images.Get()));
    m_images = std::move(images);
    m_rowBitmap = std::move(bitmap);
}

int ReminderListView::RowImageHeight(UINT dpi) { return win::ScaleForDpi(20, dpi); }

UINT ReminderListView::RowBitmapFor(UINT dpi) {
    if (dpi >= 192) return IDB_LISTROW_200;
    if (dpi >= 144) return IDB_LISTROW_150;
    if (dpi >= 120) return IDB_LISTROW_125;
    return IDB_LISTROW;
}

void ReminderListView::Release() {
    // A list without LVS_SHAREIMAGELISTS destroys its image list with itself:
    // once the list is gone the handle is stale and may name another list's.
    if (m_hList && IsWindow(m_hList)) {
        SendMessageW(m_hList, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
        m_images.Reset();
    }
    m_rowBitmap.Reset();
    m_images.Release();  // gone with its list, or destroyed above
}

int ReminderListView::Count() const {
    return m_hList ? static_cast<int>(SendMessageW(m_hList, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

// The list is virtual: it holds only the number of rows and asks for the
// texts of the cells it shows (OnGetDispInfo), so ten thousand reminders cost
// no more to show than ten.
void ReminderListView::Fill(const ReminderBook& book) { SetCount(book.Count(), 0); }

void ReminderListView::Append(const ReminderItem&) { SetCount(Count() + 1, LVSICF_NOSCROLL); }

void ReminderListView::SetRow(int row, const ReminderItem&) { Redraw(row); }

// The colour of every cell of the row follows the state.
void ReminderListView::SetStateCell(int row, const ReminderItem&) { Redraw(row); }

// A virtual list moves the selection of the rows below up by one itself.
void ReminderListView::Remove(int row) { SendMessageW(m_hList, LVM_DELETEITEM, row, 0); }

std::vector<int> ReminderListView::SelectedRows() const {
    std::vector<int> rows;
    int row = -1;
    while ((row = static_cast<int>(SendMessageW(m_hList, LVM_GETNEXTITEM, row, LVNI_SELECTED))) >= 0)
        rows.push_back(row);
    return rows;
}

LRESULT ReminderListView::OnCustomDraw(NMLVCUSTOMDRAW& draw, const ReminderBook& book) const {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        return CDRF_NOTIFYSUBITEMDRAW;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        int row = static_cast<int>(draw.nmcd.dwItemSpec);
        const ReminderItem* item = book.At(row);
        draw.clrText = ToColorRef(StateTextColour(item ? item->state : 0));
        draw.clrTextBk = ToColorRef(RowBackground(row));
        return CDRF_DODEFAULT;
    }
    }
    return CDRF_DODEFAULT;
}

void ReminderListView::OnGetDispInfo(NMLVDISPINFOW& info, const ReminderBook& book, const LocalTime& now) const {
    LVITEMW& cell = info.item;
    if (!(cell.mask & LVIF_TEXT) || !cell.pszText || cell.cchTextMax <= 0) return;
    const ReminderItem* item = book.At(cell.iItem);
    const ReminderProgress* progress = book.ProgressAt(cell.iItem);
    std::wstring text = item ? CellText(*item, cell.iSubItem, progress->next, now, book.WorkingDays()) : std::wstring();
    lstrcpynW(cell.pszText, text.c_str(), cell.cchTextMax);
}

void ReminderListView::SetCount(int rows, DWORD flags) {
    SendMessageW(m_hList, LVM_SETITEMCOUNT, rows, flags);
    InvalidateRect(m_hList, nullptr, TRUE);
}

void ReminderListView::RedrawAll() {
    if (m_hList) InvalidateRect(m_hList, nullptr, FALSE);
}

void ReminderListView::Redraw(int row) { SendMessageW(m_hList, LVM_REDRAWITEMS, row, row); }

}  // namespace vt
