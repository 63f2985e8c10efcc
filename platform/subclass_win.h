// A window procedure put in front of a control's own one (subclassing), the
// previous procedure kept in a window property of the given name.
#pragma once

#include <windows.h>

// Puts `procedure` in front; a window that already has the property keeps
// what it has. False when the window could not be subclassed.
bool SubclassWindow(HWND window, const char* property, WNDPROC procedure);

// Hands the message to the procedure that was in front before; at
// WM_NCDESTROY that one is put back and the property removed first.
LRESULT CallPreviousProcedure(HWND window, const char* property, UINT message, WPARAM wParam,
                              LPARAM lParam);
