#pragma once

#include <windows.h>

// Dialog procedure of the service listing command.
INT_PTR CALLBACK ServiceListingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
