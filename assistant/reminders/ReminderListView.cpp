#include "assistant/reminders/ReminderListView.h"

#include "assistant/reminders/ReminderRowView.h"
#include "resource.h"
#include "shared/win/Dialog.h"
#include "shared/win/Encoding.h"

namespace vt {
namespace {

// Grid lines, full-row selection, flat scroll bars, tips for cut texts.
constexpr DWORD kListStyles = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_FLATSB | LVS_EX_INFOTIP;

std::wstring CellText(const ReminderCells& cells, int column) {
    if (column == kTitleColumn) return win::FromGbk(cells.title);
    if (column == kContentColumn) return win::FromGbk(cells.content);
    return win::FromUtf8(cells.Cell(column));
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

    // The list makes every row as tall as its small images: an image list of
    // 20-pixel images (holding an invisible one) gives roomier rows.
    m_hRowBitmap = static_cast<HBITMAP>(
        LoadImageW(win::ResourceModule(), MAKEINTRESOURCEW(IDB_LISTROW), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    m_hImages = ImageList_Create(2, 20, ILC_COLOR16 | ILC_MASK, 1, 1);
    if (m_hImages) {
        if (m_hRowBitmap) ImageList_AddMasked(m_hImages, m_hRowBitmap, RGB(0, 0, 0));
        SendMessageW(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_hImages));
    }
}

void ReminderListView::Release() {
    // A list without LVS_SHAREIMAGELISTS destroys its image list with itself:
    // once the list is gone the handle is stale and may name another list's.
    if (m_hList && IsWindow(m_hList)) {
        SendMessageW(m_hList, LVM_SETIMAGELIST, LVSIL_SMALL, 0);
        if (m_hImages) ImageList_Destroy(m_hImages);
    }
    if (m_hRowBitmap) DeleteObject(m_hRowBitmap);
    m_hImages = nullptr;
    m_hRowBitmap = nullptr;
}

int ReminderListView::Count() const {
    return m_hList ? static_cast<int>(SendMessageW(m_hList, LVM_GETITEMCOUNT, 0, 0)) : 0;
}

void ReminderListView::Fill(const ReminderBook& book) {
    SendMessageW(m_hList, WM_SETREDRAW, FALSE, 0);
    SendMessageW(m_hList, LVM_DELETEALLITEMS, 0, 0);
    for (int row = 0; row < book.Count(); ++row) Append(*book.At(row));
    SendMessageW(m_hList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hList, nullptr, TRUE);
}

void ReminderListView::Append(const ReminderItem& item) {
    ReminderCells cells = CellsOf(item);
    std::wstring title = CellText(cells, 0);
    LVITEMW lvi = {};
    lvi.mask = LVIF_TEXT;
    lvi.iItem = Count();
    lvi.pszText = &title[0];
    int row = static_cast<int>(SendMessageW(m_hList, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&lvi)));
    if (row < 0) return;
    for (int column = 1; column < kReminderColumnCount; ++column) SetCell(row, column, CellText(cells, column));
}

void ReminderListView::SetRow(int row, const ReminderItem& item) {
    ReminderCells cells = CellsOf(item);
    for (int column = 0; column < kReminderColumnCount; ++column) SetCell(row, column, CellText(cells, column));
    SendMessageW(m_hList, LVM_REDRAWITEMS, row, row);
}

void ReminderListView::SetStateCell(int row, const ReminderItem& item) {
    SetCell(row, kStateColumn, win::FromUtf8(CellsOf(item).state));
    // The colour of every cell of the row follows the state.
    SendMessageW(m_hList, LVM_REDRAWITEMS, row, row);
}

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

void ReminderListView::SetCell(int row, int column, const std::wstring& text) {
    std::wstring copy = text;
    LVITEMW lvi = {};
    lvi.iSubItem = column;
    lvi.pszText = &copy[0];
    SendMessageW(m_hList, LVM_SETITEMTEXTW, row, reinterpret_cast<LPARAM>(&lvi));
}

}  // namespace vt
