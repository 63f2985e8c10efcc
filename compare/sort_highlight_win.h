#pragma once

#include <windows.h>
#include <commctrl.h>

// Sorts the compare dialog's view ascending by the clicked column.
void SortCompareView(HWND dialog, int column);

// The custom-draw result for one notification; may set the cell colours.
LRESULT CompareCustomDraw(NMLVCUSTOMDRAW* draw);

constexpr COLORREF kHitText = 0xFAFAFA;
constexpr COLORREF kHitBackground = 0xF00000;
constexpr COLORREF kOtherText = 0x0000F0;
constexpr COLORREF kOtherBackground = 0xFAFAFA;
