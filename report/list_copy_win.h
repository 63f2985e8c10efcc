// Clipboard copying, the same in every report list.
#pragma once

#include <windows.h>

// Makes the list answer Ctrl+C (copy), Ctrl+A (select all) and a right click (a menu
// with both). Enabling it twice on one list has no further effect.
void EnableListCopy(HWND list);
