#pragma once

#include <windows.h>

// Command procedure of the three comparisons; the parameter is the compare
// kind: 1 analysis logs, 2 export logs, 3 service logs.
INT_PTR CALLBACK CompareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
