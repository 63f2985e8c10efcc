// Typed one-message calls on a report-view list and on dialog controls, so that no caller
// sends raw messages. The item records stay the caller's own.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

class ListView {
public:
    explicit ListView(HWND list) : list_(list) {}

    int InsertColumn(int index, const LVCOLUMNA& column) const;
    int InsertItem(const LVITEMA& item) const;
    bool SetItem(const LVITEMA& item) const;
    void DeleteAllItems() const;
    // Room for `count` rows ahead of inserting them one by one.
    void SetItemCount(int count) const;
    void SetExtendedStyle(DWORD style) const;
    void SetRedraw(bool redraw) const;
    void SetSmallImageList(HIMAGELIST images) const;

    int ItemCount() const;
    int ColumnCount() const;
    // The whole text of a cell, however long (a fixed buffer would cut it).
    std::string CellText(int row, int column) const;
    // The text as the list gives it into a buffer of `size` bytes (cut to fit).
    void CopyCellText(int row, int column, char* text, int size) const;
    std::vector<std::string> ColumnTitles() const;
    // The next row after `start` (-1: from the top) with the LVNI_ flags, or -1.
    int NextItem(int start, UINT flags) const;
    bool ItemRect(int row, int area, RECT* rect) const;
    // Sets the state bits of one row, or of every row with row -1.
    void SetItemState(int row, UINT state, UINT mask) const;
    int TopIndex() const;
    void Scroll(int pixels) const;
    void EnsureVisible(int row) const;

private:
    HWND list_;
};

void ShowDialogControl(HWND dialog, int id, bool show);
// Puts a virtual list view (LVS_OWNERDATA: it asks its dialog for every cell) in the place of
// the dialog's list control `id`, with its styles, font and tab position; the compare view
// and the matrix of many bundles show their own rows through it. Returns the list (the old
// one when a new one cannot be made).
HWND ReplaceWithVirtualList(HWND dialog, int id);
// Adds a visible child control to the dialog at a place in dialog units, in the
// dialog's font.
HWND AddDialogControl(HWND dialog, const char* windowClass, const char* text, DWORD style, int id,
                      RECT units);
