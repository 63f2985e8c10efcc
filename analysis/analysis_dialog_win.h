#pragma once

#include <windows.h>

// Command procedure of "Analyze": the whole analysis runs while the report
// dialog initialises.
INT_PTR CALLBACK AnalysisDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
