#include "compare/compare_dialog_win.h"

#include <commctrl.h>

#include "compare/compare_run_win.h"
#include "compare/compare_view_win.h"
#include "compare/search_win.h"
#include "compare/sort_highlight_win.h"
#include "platform/dialog_guard_win.h"
#include "report/report_list_win.h"
#include "res/resource.h"

namespace {

INT_PTR OnNotify(HWND dialog, NMHDR* header) {
    switch (header->code) {
        case LVN_COLUMNCLICK:
            SortCompareView(dialog, reinterpret_cast<NMLISTVIEW*>(header)->iSubItem);
            return FALSE;
        case LVN_GETDISPINFOA:
            AnswerCellText(dialog, reinterpret_cast<NMLVDISPINFOA*>(header));
            return FALSE;
        case NM_CUSTOMDRAW:
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT,
                              CompareCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header)));
            return TRUE;
        default:
            return FALSE;
    }
}

INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return RunCompare(dialog, static_cast<int>(lParam));
        case WM_NOTIFY:
            return OnNotify(dialog, reinterpret_cast<NMHDR*>(lParam));
        case WM_DESTROY:
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
