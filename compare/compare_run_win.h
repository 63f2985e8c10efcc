#pragma once

#include <windows.h>

// The compare kinds, as the shell passes them.
enum CompareKind { kCompareAnalysis = 1, kCompareExports = 2, kCompareServices = 3 };

// Opens both chosen logs, lays out the view, merges the logs into its rows and
// marks the differences. FALSE when a log could not be opened.
BOOL RunCompare(HWND dialog, int kind);
