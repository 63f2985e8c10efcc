#pragma once

#include <windows.h>

// Dialog procedure of the analysis command: the whole run happens while the report
// dialog initialises.
INT_PTR CALLBACK AnalysisDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
