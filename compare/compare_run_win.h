#pragma once

#include <windows.h>

// Opens both chosen logs, lays out the view, merges the logs into its rows and
// marks the differences. `kind` is a CompareKind. FALSE when a log could not be
// opened.
BOOL RunCompare(HWND dialog, int kind);
