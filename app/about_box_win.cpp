#include "app/commands_win.h"
#include "platform/dialog_guard_win.h"
#include "res/resource.h"

// Short enough for the 23-unit wide credit field.
const char kAboutCreditText[] = "\xA9 BHS";

namespace {

INT_PTR HandleAboutMessage(HWND dialog, UINT message, WPARAM wParam) {
    switch (message) {
        case WM_INITDIALOG:
            SendDlgItemMessageA(dialog, IDC_ABOUT_CREDIT, WM_SETTEXT, 0,
                                reinterpret_cast<LPARAM>(kAboutCreditText));
            SendDlgItemMessageA(dialog, IDC_ABOUT_VERSION, WM_SETTEXT, 0,
                                reinterpret_cast<LPARAM>(kAboutVersionText));
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return FALSE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    return GuardDialogMessage([&] { return HandleAboutMessage(dialog, message, wParam); });
}
