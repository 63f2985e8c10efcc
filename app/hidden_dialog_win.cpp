#include "app/hidden_dialog_win.h"

#include "platform/dialog_guard_win.h"

namespace {

struct HiddenRun {
    DLGPROC procedure;
    LPARAM parameter;
};

constexpr INT_PTR kEndedHidden = 0;

// Passes every message on to the command procedure; its state lives in the dialog's
// DWLP_USER slot from WM_INITDIALOG on (no command uses that slot).
INT_PTR CALLBACK HiddenDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return GuardDialogMessage([&]() -> INT_PTR {
        if (message == WM_INITDIALOG) {
            const HiddenRun* run = reinterpret_cast<const HiddenRun*>(lParam);
            SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            const INT_PTR result = run->procedure(dialog, message, wParam, run->parameter);
            EndDialog(dialog, kEndedHidden);
            return result;
        }
        const HiddenRun* run =
            reinterpret_cast<const HiddenRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
        if (run == nullptr) {
            return FALSE;
        }
        if (message == WM_WINDOWPOSCHANGING) {
            // Windows never shows a dialog that ended during WM_INITDIALOG; Wine shows
            // one whose template holds WS_VISIBLE for a moment before it destroys it.
            // Once ended, no placement of the dialog may make it visible.
            reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
        }
        return run->procedure(dialog, message, wParam, lParam);
    });
}

}  // namespace

INT_PTR RunDialogHidden(HINSTANCE instance, int templateId, DLGPROC procedure, LPARAM parameter) {
    HiddenRun run = {procedure, parameter};
    return DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), nullptr, HiddenDialogProc,
                           reinterpret_cast<LPARAM>(&run));
}
