// The system's message-table text for a Win32 error code.
#pragma once

#include <windows.h>

#include <string>

#include "platform/handles_win.h"

class SystemErrorText {
public:
    explicit SystemErrorText(DWORD code);
    // The text exactly as the system gives it (usually ending in CR LF).
    const char* Text() const;

private:
    UniqueLocalMemory buffer_;
    char fallback_[40];
};

// Looks the code up, shows it under the caption and releases the text once
// the box is closed.
void ShowSystemError(DWORD code, const char* caption, HWND owner = nullptr,
                     UINT style = MB_TASKMODAL | MB_ICONERROR);

// The text as one line of a report or a summary: without its line end.
std::string OneLineSystemText(DWORD code);
