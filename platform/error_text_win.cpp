#include "platform/error_text_win.h"

#include <cstdio>

#include "platform/message_box_win.h"

SystemErrorText::SystemErrorText(DWORD code) : fallback_{} {
    char* text = nullptr;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0x0400, reinterpret_cast<char*>(&text), 0, nullptr);
    if (length != 0 && text != nullptr) {
        buffer_.Reset(text);
    } else {
        // A code without a message text still tells the user something.
        std::snprintf(fallback_, sizeof fallback_, "Error %lu", static_cast<unsigned long>(code));
    }
}

const char* SystemErrorText::Text() const {
    return buffer_.Valid() ? static_cast<const char*>(buffer_.Get()) : fallback_;
}

void ShowSystemError(DWORD code, const char* caption, HWND owner, UINT style) {
    SystemErrorText text(code);
    ShowMessageBox(owner, text.Text(), caption, style);
}

std::string OneLineSystemText(DWORD code) {
    const SystemErrorText reason(code);
    std::string text = reason.Text();
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return text;
}
