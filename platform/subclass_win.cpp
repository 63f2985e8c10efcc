#include "platform/subclass_win.h"

bool SubclassWindow(HWND window, const char* property, WNDPROC procedure) {
    if (window == nullptr || GetPropA(window, property) != nullptr) {
        return false;
    }
    const LONG_PTR previous =
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    return previous != 0 && SetPropA(window, property, reinterpret_cast<HANDLE>(previous));
}

LRESULT CallPreviousProcedure(HWND window, const char* property, UINT message, WPARAM wParam,
                              LPARAM lParam) {
    const WNDPROC previous = reinterpret_cast<WNDPROC>(GetPropA(window, property));
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
        RemovePropA(window, property);
    }
    return CallWindowProcA(previous, window, message, wParam, lParam);
}
