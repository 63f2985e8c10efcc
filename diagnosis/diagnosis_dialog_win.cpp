#include "diagnosis/diagnosis_dialog_win.h"

#include "diagnosis/diagnosis_text.h"
#include "platform/dialog_guard_win.h"
#include "platform/list_view_win.h"
#include "report/report_list_win.h"
#include "report/save_report_win.h"
#include "res/resource.h"

namespace {

// The verdicts shown; they outlive the dialog.
const char kShownProperty[] = "VorlixDiagnosisShown";

// Rows are filled with no log open: the diagnosis log is written whole, in the rules' order.
void ShowVerdicts(HWND dialog, const DiagnosisShown& shown) {
    HideCompareControls(dialog);
    PrepareReportList(dialog, kDiagnosisColumns, ListStyle::GridAndFullRow);
    g_rowCursor.iItem = -1;
    for (const Verdict& verdict : VerdictsForPeople(shown.verdicts)) {
        const std::vector<std::string> cells = VerdictCells(verdict);
        NextReportRow();
        InsertReportRow(cells[0].c_str());
        for (int column = 1; column < static_cast<int>(cells.size()); ++column) {
            SetReportCell(column, cells[column].c_str());
        }
    }
    const DWORD style = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    AddDialogControl(dialog, "STATIC", shown.source.c_str(), style, IDC_DIAGNOSIS_SOURCE,
                     {17, 353, 658, 361});
    AddDialogControl(dialog, "STATIC", VerdictCounts(shown.verdicts).c_str(), style,
                     IDC_DIAGNOSIS_COUNTS, {18, 430, 590, 438});
    AddSaveReportButton(dialog);
    SetWindowTextA(dialog, "Vorlix   Diagnosis");
}

void SaveDiagnosisReport(HWND dialog) {
    const auto* shown = reinterpret_cast<const DiagnosisShown*>(GetPropA(dialog, kShownProperty));
    if (shown == nullptr) {
        return;
    }
    SaveReportAs(dialog, "Vorlix diagnosis.html", shown->inputs,
                 [&] { return DiagnosisReportOf(shown->subject, shown->verdicts); });
}

}  // namespace

INT_PTR CALLBACK DiagnosisDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return GuardDialogMessage([&] {
                SetPropA(dialog, kShownProperty, reinterpret_cast<HANDLE>(lParam));
                ShowVerdicts(dialog, *reinterpret_cast<const DiagnosisShown*>(lParam));
                return TRUE;
            });
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_SAVE_REPORT) {
                GuardDialogMessage([&] {
                    SaveDiagnosisReport(dialog);
                    return TRUE;
                });
                return TRUE;
            }
            return EndReportOnOkOrCancel(dialog, wParam);
        case WM_DESTROY:
            RemovePropA(dialog, kShownProperty);
            return FALSE;
        default:
            return FALSE;
    }
}
