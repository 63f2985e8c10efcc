#pragma once

#include <windows.h>

// Command procedure of "Check Dll Fct Calls".
INT_PTR CALLBACK ExportCheckDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
