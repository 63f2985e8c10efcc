#include "report/report_keys_win.h"

#include "platform/dialog_guard_win.h"
#include "platform/subclass_win.h"
#include "report/list_copy_win.h"
#include "res/resource.h"

namespace {

const char kPreviousProcedure[] = "VorlixReportKeysPrevious";
const char kKeyHandler[] = "VorlixReportKeyHandler";

bool Held(int key) {
    return GetKeyState(key) < 0;
}

bool IsEdit(HWND control) {
    char name[16] = {};
    GetClassNameA(control, name, sizeof name);
    return lstrcmpiA(name, "Edit") == 0;
}

bool EditHasSelection(HWND edit) {
    DWORD start = 0, end = 0;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return end > start;
}

// Ctrl+C and Ctrl+A for the report; false where the control keeps them.
bool CopyKey(HWND control, WPARAM key) {
    HWND list = GetDlgItem(GetParent(control), IDC_REPORT_LIST);
    if (list == nullptr || !Held(VK_CONTROL) || Held(VK_MENU)) {
        return false;
    }
    if (key == 'C') {
        if (IsEdit(control) && EditHasSelection(control)) {
            return false;
        }
        CopyListToClipboard(list);
        return true;
    }
    if (key == 'A') {
        if (IsEdit(control)) {
            SendMessageA(control, EM_SETSEL, 0, -1);
        } else {
            SelectAllListRows(list);
        }
        return true;
    }
    return false;
}

bool ViewKey(HWND control, WPARAM key, bool alt) {
    HWND dialog = GetParent(control);
    const auto handler = reinterpret_cast<ReportKeyHandler>(GetPropA(dialog, kKeyHandler));
    const bool altKey = alt && (key == VK_UP || key == VK_DOWN || key == VK_HOME || key == VK_END);
    const bool f3 = !alt && key == VK_F3;
    return handler != nullptr && (altKey || f3) && handler(dialog, static_cast<UINT>(key), alt);
}

LRESULT HandleKeyMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN:
            if (CopyKey(control, wParam) || ViewKey(control, wParam, false)) {
                return 0;
            }
            break;
        case WM_SYSKEYDOWN:
            if (ViewKey(control, wParam, true)) {
                return 0;
            }
            break;
        case WM_CHAR:
            // What Ctrl+C and Ctrl+A also type: a button would beep, the list
            // would start its type-ahead search.
            if ((wParam == 0x03 || wParam == 0x01) && !IsEdit(control)) {
                return 0;
            }
            break;
        default:
            break;
    }
    return CallPreviousProcedure(control, kPreviousProcedure, message, wParam, lParam);
}

LRESULT CALLBACK ReportKeysProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    return GuardMessage<LRESULT>(
        0, [&] { return HandleKeyMessage(control, message, wParam, lParam); });
}

BOOL CALLBACK SubclassControl(HWND control, LPARAM dialog) {
    if (GetParent(control) == reinterpret_cast<HWND>(dialog)) {
        SubclassWindow(control, kPreviousProcedure, ReportKeysProc);
    }
    return TRUE;
}

}  // namespace

void EnableReportKeys(HWND dialog) {
    if (dialog != nullptr) {
        EnumChildWindows(dialog, SubclassControl, reinterpret_cast<LPARAM>(dialog));
    }
}

void SetReportKeyHandler(HWND dialog, ReportKeyHandler handler) {
    if (handler == nullptr) {
        RemovePropA(dialog, kKeyHandler);
        return;
    }
    SetPropA(dialog, kKeyHandler, reinterpret_cast<HANDLE>(handler));
}
