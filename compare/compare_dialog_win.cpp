#include "compare/compare_dialog_win.h"

#include "report/report_list_win.h"
#include "res/resource.h"

INT_PTR CALLBACK CompareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            PrepareReportList(dialog, kServiceColumns, ListStyle::GridAndFullRow);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return FALSE;
            }
            if (LOWORD(wParam) == IDC_REPORT_OK) {
                EndDialog(dialog, IDC_REPORT_OK);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}
