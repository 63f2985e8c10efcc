// Every message box of the program goes through ShowMessageBox, so that tests
// can record caption, text and style instead of showing a window, and the
// collect run can write each one down with the object that it concerns.
#pragma once

#include <windows.h>

#include <string>

// `subject` names the object of the box (see MessageSubject); "" when none.
using MessageBoxTarget = int (*)(HWND owner, const char* text, const char* caption, UINT style,
                                 const char* subject);

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style);

// Replaces the function that shows the boxes; returns the previous one.
MessageBoxTarget SetMessageBoxTarget(MessageBoxTarget target);

// Names the object (a folder, file, registry key, setting or text) that the boxes shown
// while it lives are about, when their texts do not say it themselves. The innermost scope
// names it; the previous one applies again when it ends. A box on the screen shows its
// text alone; the collect run writes the subject beside it.
class MessageSubject {
public:
    explicit MessageSubject(std::string subject);
    ~MessageSubject();
    MessageSubject(const MessageSubject&) = delete;
    MessageSubject& operator=(const MessageSubject&) = delete;

private:
    std::string subject_;
    const MessageSubject* outer_;
    friend const char* CurrentMessageSubject();
};

// The subject of the innermost open scope; "" when none is open.
const char* CurrentMessageSubject();

// The subject of a registry value: its key, a blank, its name in quotes.
inline std::string ValueSubject(const std::string& key, const char* value) {
    return key + " \"" + (value ? value : "") + "\"";
}

constexpr UINT kErrorBoxStyle = MB_TASKMODAL | MB_ICONERROR;
// The general caption of the program's error boxes.
constexpr char kErrorCaption[] = "Vorlix Error";
