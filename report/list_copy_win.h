// Clipboard copying, the same in every report list.
#pragma once

#include <windows.h>

#include <string>

// Makes the list answer a right click or the menu key with a menu of "Copy" and
// "Select all" (the keys are the dialog's: EnableReportKeys). Enabling it twice
// on one list has no further effect.
void EnableListCopy(HWND list);

// Copies the column titles, then the selected rows (every row when none is
// selected) in the order shown, tab-separated with CR LF after every line.
// Returns false (after telling the user) when the clipboard cannot be taken.
bool CopyListToClipboard(HWND list);

// Where a copy takes the cell texts of a list that holds its rows elsewhere
// (asking a large list for every cell takes long); null: from the list.
using ListCellSource = std::string (*)(HWND list, int row, int column);
void SetListCellSource(HWND list, ListCellSource source);
void SelectAllListRows(HWND list);
