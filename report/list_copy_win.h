// Copying rows of a report list to the clipboard: Ctrl+C, Ctrl+A and a small
// context menu, the same in every report dialog.
#pragma once

#include <windows.h>

// Makes the list answer Ctrl+C (copy), Ctrl+A (select all) and a right click
// (a menu with both). Installing it twice on one list has no further effect.
void EnableListCopy(HWND list);
