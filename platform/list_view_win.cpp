#include "platform/list_view_win.h"

namespace {

LPARAM Record(const void* record) {
    // The list only reads the record it is given for these messages.
    return reinterpret_cast<LPARAM>(const_cast<void*>(record));
}

}  // namespace

int ListView::InsertColumn(int index, const LVCOLUMNA& column) const {
    return static_cast<int>(
        SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), Record(&column)));
}

int ListView::InsertItem(const LVITEMA& item) const {
    return static_cast<int>(SendMessageA(list_, LVM_INSERTITEMA, 0, Record(&item)));
}

bool ListView::SetItem(const LVITEMA& item) const {
    return SendMessageA(list_, LVM_SETITEMA, 0, Record(&item)) != 0;
}

void ListView::DeleteAllItems() const {
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
}

void ListView::SetItemCount(int count) const {
    SendMessageA(list_, LVM_SETITEMCOUNT, static_cast<WPARAM>(count), 0);
}

void ListView::SetRedraw(bool redraw) const {
    SendMessageA(list_, WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
}

void ListView::SetSmallImageList(HIMAGELIST images) const {
    SendMessageA(list_, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
}

void ListView::SetExtendedStyle(DWORD style) const {
    SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, style);
}

int ListView::ItemCount() const {
    return static_cast<int>(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0));
}

int ListView::ColumnCount() const {
    const HWND header = reinterpret_cast<HWND>(SendMessageA(list_, LVM_GETHEADER, 0, 0));
    return header != nullptr ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
}

std::string ListView::CellText(int row, int column) const {
    // Compared fields can be up to 512 characters; a text that fills the
    // buffer may be longer, so it is read again in one twice the size.
    std::vector<char> buffer(520);
    for (;;) {
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        buffer[0] = '\0';
        const LRESULT length =
            SendMessageA(list_, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        if (length < static_cast<LRESULT>(buffer.size()) - 1 || buffer.size() >= 65536) {
            return std::string(buffer.data());
        }
        buffer.resize(buffer.size() * 2);
    }
}

void ListView::CopyCellText(int row, int column, char* text, int size) const {
    text[0] = '\0';
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = size;
    SendMessageA(list_, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

std::vector<std::string> ListView::ColumnTitles() const {
    std::vector<std::string> titles;
    const int count = ColumnCount();
    for (int i = 0; i < count; ++i) {
        char title[260] = {};
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT;
        column.pszText = title;
        column.cchTextMax = sizeof title;
        SendMessageA(list_, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
        titles.push_back(title);
    }
    return titles;
}

int ListView::NextItem(int start, UINT flags) const {
    return static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, start, flags));
}

bool ListView::ItemRect(int row, int area, RECT* rect) const {
    rect->left = area;
    return SendMessageA(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(rect)) != 0;
}

void ListView::SetItemState(int row, UINT state, UINT mask) const {
    LVITEMA item = {};
    item.stateMask = mask;
    item.state = state;
    SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
}

int ListView::TopIndex() const {
    return static_cast<int>(SendMessageA(list_, LVM_GETTOPINDEX, 0, 0));
}

void ListView::Scroll(int pixels) const {
    SendMessageA(list_, LVM_SCROLL, 0, pixels);
}

void ListView::EnsureVisible(int row) const {
    SendMessageA(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void ShowDialogControl(HWND dialog, int id, bool show) {
    ShowWindow(GetDlgItem(dialog, id), show ? SW_SHOW : SW_HIDE);
}

HWND AddDialogControl(HWND dialog, const char* windowClass, const char* text, DWORD style, int id,
                      RECT units) {
    MapDialogRect(dialog, &units);
    HWND control = CreateWindowExA(
        0, windowClass, text, WS_CHILD | WS_VISIBLE | style, units.left, units.top,
        units.right - units.left, units.bottom - units.top, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), nullptr);
    SendMessageA(control, WM_SETFONT, SendMessageA(dialog, WM_GETFONT, 0, 0), FALSE);
    return control;
}

// A list view cannot become virtual once made, so a new one with the same
// place, styles and tab position stands in for the template's.
HWND ReplaceWithVirtualList(HWND dialog, int id) {
    HWND old = GetDlgItem(dialog, id);
    RECT place = {};
    GetWindowRect(old, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(old, GWL_STYLE));
    const DWORD extended = static_cast<DWORD>(GetWindowLongPtrA(old, GWL_EXSTYLE));
    HWND list = CreateWindowExA(
        extended, WC_LISTVIEWA, "", style | LVS_OWNERDATA, place.left, place.top,
        place.right - place.left, place.bottom - place.top, dialog,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), nullptr);
    if (list == nullptr) {
        return old;
    }
    SendMessageA(list, WM_SETFONT, SendMessageA(old, WM_GETFONT, 0, 0), FALSE);
    SetWindowPos(list, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(old);
    return list;
}
