// Copying rows of a report list to the clipboard: Ctrl+C, Ctrl+A and a small
// context menu, the same in every report dialog.
#pragma once

#include <windows.h>

#include <string>

// Makes the list answer Ctrl+C (copy), Ctrl+A (select all) and a right click
// (a menu with both). Installing it twice on one list has no further effect.
void EnableListCopy(HWND list);

// The column titles, then the selected rows (every row when none is
// selected) in the order shown, as AppendCopyLine forms them. Empty for a
// list without columns.
std::string ListCopyText(HWND list);

// Puts ListCopyText on the clipboard as CF_TEXT. Returns false (after telling
// the user) when the clipboard cannot be taken.
bool CopyListToClipboard(HWND list);

void SelectAllListRows(HWND list);
