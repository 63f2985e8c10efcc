#include "platform/message_box_win.h"

namespace {

int ShowWithSystem(HWND owner, const char* text, const char* caption, UINT style) {
    return MessageBoxA(owner, text, caption, style);
}

MessageBoxTarget g_messageBoxTarget = ShowWithSystem;

}  // namespace

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style) {
    return g_messageBoxTarget(owner, text, caption, style);
}

MessageBoxTarget SetMessageBoxTarget(MessageBoxTarget target) {
    MessageBoxTarget previous = g_messageBoxTarget;
    g_messageBoxTarget = target ? target : ShowWithSystem;
    return previous;
}
