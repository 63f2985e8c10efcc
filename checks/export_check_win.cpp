#include "checks/export_check_win.h"

#include "report/report_list_win.h"
#include "res/resource.h"

INT_PTR CALLBACK ExportCheckDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            ShowWindow(GetDlgItem(dialog, IDC_SORT_CASE_SENSITIVE), SW_HIDE);
            ShowSearchControls(dialog, SW_HIDE);
            PrepareReportList(dialog, kExportColumns, ListStyle::Plain);
            return FALSE;
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
