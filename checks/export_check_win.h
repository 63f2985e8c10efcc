#pragma once

#include <windows.h>

// Dialog procedure of the export check command.
INT_PTR CALLBACK ExportCheckDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
