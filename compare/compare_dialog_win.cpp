#include "compare/compare_dialog_win.h"

#include <commctrl.h>

#include "compare/compare_run_win.h"
#include "compare/compare_view_win.h"
#include "compare/search_win.h"
#include "compare/sort_highlight_win.h"
#include "platform/dialog_guard_win.h"
#include "report/report_keys_win.h"
#include "report/report_list_win.h"
#include "res/resource.h"

namespace {

// Only the list sends the notifications below; anything else that reaches
// the dialog with the same codes carries another record.
INT_PTR OnNotify(HWND dialog, NMHDR* header) {
    if (header->idFrom != IDC_REPORT_LIST ||
        header->hwndFrom != GetDlgItem(dialog, IDC_REPORT_LIST)) {
        return FALSE;
    }
    switch (header->code) {
        case LVN_COLUMNCLICK:
            SortCompareView(dialog, reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
            return FALSE;
        case LVN_GETDISPINFOA:
            AnswerCellText(dialog, reinterpret_cast<NMLVDISPINFOA*>(header));
            return FALSE;
        case LVN_ODFINDITEMA:
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT,
                              FindRowByName(dialog, reinterpret_cast<NMLVFINDITEMA*>(header)));
            return TRUE;
        case NM_CUSTOMDRAW:
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT,
                              CompareCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header)));
            return TRUE;
        default:
            return FALSE;
    }
}

// Alt with an arrow, Home or End steps through the "Different" rows, as in
// file comparers; F3 is "Next".
bool OnCompareKey(HWND dialog, UINT key, bool alt) {
    if (!alt && key == VK_F3) {
        ShowNextHit(dialog);
        return true;
    }
    return alt && SelectDifference(dialog, key);
}

INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            const BOOL opened = RunCompare(dialog, static_cast<int>(lParam));
            if (opened) {
                SetReportKeyHandler(dialog, OnCompareKey);
            }
            return opened;
        }
        case WM_NOTIFY:
            return OnNotify(dialog, reinterpret_cast<NMHDR*>(lParam));
        case WM_DESTROY:
            SetReportKeyHandler(dialog, nullptr);
            DetachCompareView(dialog);
            return FALSE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_SEARCH:
                    SearchCompareView(dialog);
                    return FALSE;
                case IDC_NEXT:
                    ShowNextHit(dialog);
                    return FALSE;
                case IDC_DIFFERENCES_ONLY:
                    ApplyDifferencesOnly(dialog);
                    return FALSE;
                case IDC_SAVE_REPORT:
                    SaveCompareReport(dialog);
                    return TRUE;
                default:
                    return EndReportOnOkOrCancel(dialog, wParam);
            }
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK CompareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return GuardDialogMessage([&] { return HandleMessage(dialog, message, wParam, lParam); });
}
