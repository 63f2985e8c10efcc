#pragma once

#include <windows.h>

// Command procedure of "List Services".
INT_PTR CALLBACK ServiceListingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
