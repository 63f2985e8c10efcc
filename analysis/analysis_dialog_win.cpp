#include "analysis/analysis_dialog_win.h"

#include "report/report_list_win.h"
#include "res/resource.h"

INT_PTR CALLBACK AnalysisDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            ShowWindow(GetDlgItem(dialog, IDC_SORT_CASE_SENSITIVE), SW_HIDE);
            ShowSearchControls(dialog, SW_HIDE);
            PrepareReportList(dialog, kAnalysisColumns, ListStyle::GridAndFullRow);
            return TRUE;
        case WM_COMMAND:
            // Escape (IDCANCEL) deliberately does not close the analysis.
            if (LOWORD(wParam) == IDC_REPORT_OK) {
                EndDialog(dialog, IDC_REPORT_OK);
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            EndDialog(dialog, LOWORD(wParam));
            return FALSE;
        default:
            return FALSE;
    }
}
