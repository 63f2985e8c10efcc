#pragma once

#include <windows.h>

// "Search": finds every row whose Name or Value matches the pattern as a
// whole, then shows the first hit.
void SearchCompareView(HWND dialog);
// "Next": shows the following hit of the last search.
void ShowNextHit(HWND dialog);
// Runs the compiled search over all rows; fills the match list. True on hits.
bool SearchRows(int columnBits, HWND dialog);
