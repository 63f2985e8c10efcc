// Keeps C++ exceptions out of the system's frames: an exception that unwinds
// through the dialog manager or a window procedure is undefined behaviour.
// Every window and dialog procedure runs its handling through GuardMessage.
#pragma once

#include <windows.h>

#include <new>

#include "platform/error_text_win.h"
#include "platform/message_box_win.h"

// Returns what `handle` returns. If it throws, the user is told (running out of
// memory, the only exception the handlers can meet, with the system's text)
// and `failed` is returned; handlers own what they open through RAII, so
// nothing stays open.
template <typename Result, typename Handler>
Result GuardMessage(Result failed, Handler handle) noexcept {
    try {
        return handle();
    } catch (const std::bad_alloc&) {
        ShowSystemError(ERROR_NOT_ENOUGH_MEMORY, kErrorCaption);
    } catch (...) {
        ShowMessageBox(nullptr, "Internal error", kErrorCaption, kErrorBoxStyle);
    }
    return failed;
}

// A dialog procedure's handling; FALSE after an exception.
template <typename Handler>
INT_PTR GuardDialogMessage(Handler handle) noexcept {
    return GuardMessage<INT_PTR>(FALSE, handle);
}
