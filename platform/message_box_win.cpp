#include "platform/message_box_win.h"

#include <utility>

namespace {

int ShowWithSystem(HWND owner, const char* text, const char* caption, UINT style, const char*) {
    return MessageBoxA(owner, text, caption, style);
}

MessageBoxTarget g_messageBoxTarget = ShowWithSystem;
const MessageSubject* g_innermostSubject = nullptr;

struct OwnedWindowSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK FindEnabledOwnedWindow(HWND window, LPARAM parameter) {
    OwnedWindowSearch* search = reinterpret_cast<OwnedWindowSearch*>(parameter);
    if (GetWindow(window, GW_OWNER) == search->owner && IsWindowEnabled(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A window that a modal dialog has disabled (the main window under an open
// report) must not own a box: closing the box would enable it again, and a
// second command could start while the first one's dialog is open. The box
// goes to the enabled window that it owns (that dialog) instead.
// GetLastActivePopup cannot find that dialog: a command does its work while
// its dialog initialises, before the dialog is shown and first activated, and
// until then the owner's last active popup is the owner itself.
HWND OwnerForBox(HWND owner) {
    if (owner == nullptr || !IsWindow(owner) || IsWindowEnabled(owner)) {
        return owner;
    }
    OwnedWindowSearch search = {owner, nullptr};
    EnumThreadWindows(GetWindowThreadProcessId(owner, nullptr), FindEnabledOwnedWindow,
                      reinterpret_cast<LPARAM>(&search));
    return search.found ? search.found : owner;
}

}  // namespace

MessageSubject::MessageSubject(std::string subject)
    : subject_(std::move(subject)), outer_(g_innermostSubject) {
    g_innermostSubject = this;
}

MessageSubject::~MessageSubject() {
    g_innermostSubject = outer_;
}

const char* CurrentMessageSubject() {
    return g_innermostSubject ? g_innermostSubject->subject_.c_str() : "";
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style) {
    const bool ownerWasDisabled = owner != nullptr && IsWindow(owner) && !IsWindowEnabled(owner);
    const int result =
        g_messageBoxTarget(OwnerForBox(owner), text, caption, style, CurrentMessageSubject());
    // Whoever owned the box, a window disabled before it stays disabled.
    if (ownerWasDisabled && IsWindow(owner)) {
        EnableWindow(owner, FALSE);
    }
    return result;
}

MessageBoxTarget SetMessageBoxTarget(MessageBoxTarget target) {
    MessageBoxTarget previous = g_messageBoxTarget;
    g_messageBoxTarget = target ? target : ShowWithSystem;
    return previous;
}
