// Every message box of the program goes through ShowMessageBox, so that tests
// can record caption, text and style instead of showing a window.
#pragma once

#include <windows.h>

using MessageBoxTarget = int (*)(HWND owner, const char* text, const char* caption, UINT style);

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style);

// Replaces the function that shows the boxes; returns the previous one.
MessageBoxTarget SetMessageBoxTarget(MessageBoxTarget target);

constexpr UINT kErrorBoxStyle = MB_TASKMODAL | MB_ICONERROR;
