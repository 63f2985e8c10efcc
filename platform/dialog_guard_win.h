// Keeps C++ exceptions out of the dialog manager: an exception that unwinds
// through the system's frames is undefined behaviour. A dialog procedure runs
// its handling through GuardDialogMessage, which stops any exception there.
#pragma once

#include <windows.h>

#include <exception>
#include <new>

#include "platform/message_box_win.h"

// Returns what `handle` returns; if it throws, tells the user (the only
// exception that the handlers can meet is running out of memory) and returns
// FALSE, so the dialog goes on with what it has.
template <typename Handler>
INT_PTR GuardDialogMessage(HWND dialog, Handler handle) noexcept {
    try {
        return handle();
    } catch (const std::bad_alloc&) {
        ShowMessageBox(dialog, "Not enough memory", "Vorlix Error", MB_ICONERROR);
    } catch (...) {
        ShowMessageBox(dialog, "Internal error", "Vorlix Error", MB_ICONERROR);
    }
    return FALSE;
}
