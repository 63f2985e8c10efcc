#pragma once

#include <windows.h>

// Opens both chosen logs, lays out the view, merges the logs into its rows and
// marks the differences. `kind` is a CompareKind. FALSE, with no view, when a
// log could not be opened or read whole.
BOOL RunCompare(HWND dialog, int kind);
