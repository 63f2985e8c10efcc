// The messages log of the collect run: every message box of the run as one line of
// C:\Lensora_Brenhold.logMessages (see MessageLine).
#pragma once

#include <windows.h>

#include <string>

#include "platform/handles_win.h"
#include "platform/message_box_win.h"

// Open and receiving every box while it lives, from its making until Close(). It is
// written with plain file calls: the report log writer serves the one log that a command
// has open. Once closed (to be copied), later messages are appended to its end.
class MessagesLog {
public:
    MessagesLog();
    ~MessagesLog();
    MessagesLog(const MessagesLog&) = delete;
    MessagesLog& operator=(const MessagesLog&) = delete;

    bool Open() const { return file_.Valid(); }
    // Why the log could not be made, when it is not Open().
    DWORD OpenError() const { return openError_; }
    // Every message so far, also those whose line could not be written.
    int Count() const { return count_; }

    void Append(const char* caption, const char* subject, const char* text);
    // A failure of the run's own steps: the object, then the system's text for the code.
    void Append(const char* caption, const std::string& object, DWORD error);

    // Ends the recording of boxes and closes the file, so that it can be copied.
    void Close();

private:
    static int RecordBox(HWND owner, const char* text, const char* caption, UINT style,
                         const char* subject);

    // The log that the box target writes to; a plain function has no other way to it.
    static MessagesLog* s_receiving;
    UniqueFile file_;
    DWORD openError_ = ERROR_SUCCESS;
    MessageBoxTarget previous_ = nullptr;
    int count_ = 0;
};
