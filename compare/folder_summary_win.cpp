#include "compare/folder_summary_win.h"

#include <commctrl.h>

#include <memory>

#include "compare/compare_dialog_win.h"
#include "compare/compare_view_win.h"
#include "compare/comparison_reports.h"
#include "compare/folder_compare_win.h"
#include "platform/dialog_guard_win.h"
#include "platform/list_view_win.h"
#include "platform/message_box_win.h"
#include "platform/path_text.h"
#include "platform/shell_state_win.h"
#include "report/column_sets.h"
#include "report/report_keys_win.h"
#include "report/report_list_win.h"
#include "report/save_report_win.h"
#include "res/resource.h"

namespace {

const char kSummaryProperty[] = "VorlixFolderSummary";

FolderComparison* SummaryOf(HWND dialog) {
    return static_cast<FolderComparison*>(GetPropA(dialog, kSummaryProperty));
}

std::string CountsLine(const FolderComparison& comparison) {
    int differing = 0, oneSided = 0, unreadable = 0;
    for (const SummaryRow& row : comparison.summary) {
        differing += row.differs ? 1 : 0;
        unreadable += row.unreadable ? 1 : 0;
        oneSided += row.inBoth || row.unreadable ? 0 : 1;
    }
    const size_t logs = comparison.summary.size();
    std::string text = std::to_string(logs) + (logs == 1 ? " log, " : " logs, ");
    text +=
        differing == 0 ? "none with differences" : std::to_string(differing) + " with differences";
    if (oneSided > 0) {
        text += " (" + std::to_string(oneSided) + " in one folder only)";
    }
    if (unreadable > 0) {
        text += ", " + std::to_string(unreadable) + " unreadable";
    }
    return text + ". Enter or a double click opens a log's comparison.";
}

void FillSummary(HWND dialog, const FolderComparison& comparison) {
    const ListView list(g_reportList);
    for (size_t row = 0; row < comparison.summary.size(); ++row) {
        const std::vector<std::string> cells = comparison.summary[row].Cells();
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(row);
        for (size_t column = 0; column < cells.size(); ++column) {
            item.iSubItem = static_cast<int>(column);
            item.pszText = const_cast<char*>(cells[column].c_str());
            if (column == 0) {
                list.InsertItem(item);
            } else {
                list.SetItem(item);
            }
        }
    }
    MakeCompareLines(dialog);
    const std::string names = "First folder: " + comparison.FirstFolderText() +
                              "    Second folder: " + comparison.SecondFolderText();
    SetDlgItemTextA(dialog, IDC_COMPARE_NAMES, names.c_str());
    SetDlgItemTextA(dialog, IDC_COMPARE_COUNTS, CountsLine(comparison).c_str());
}

// Opens the comparison of the summary row, over the summary.
void OpenRow(HWND dialog, int row) {
    const FolderComparison* comparison = SummaryOf(dialog);
    if (comparison == nullptr || row < 0 || row >= static_cast<int>(comparison->logs.size())) {
        return;
    }
    const FolderLog& log = comparison->logs[row];
    if (log.firstLeftOver || log.secondLeftOver) {
        const std::string text = log.name + " of the " + (log.firstLeftOver ? "first" : "second") +
                                 " folder is not in its manifest: it is left from an earlier run "
                                 "and not compared.";
        ShowMessageBox(dialog, text.c_str(), "Vorlix", MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (!log.inFirst || !log.inSecond) {
        const std::string text = log.name + " is in the " + (log.inFirst ? "first" : "second") +
                                 " folder only: there is no second log to compare it with.";
        ShowMessageBox(dialog, text.c_str(), "Vorlix", MB_OK | MB_ICONINFORMATION);
        return;
    }
    lstrcpynA(g_firstLogName, JoinFolderAndName(comparison->firstFolder, log.name).c_str(),
              kLogNameSize);
    lstrcpynA(g_secondLogName, JoinFolderAndName(comparison->secondFolder, log.name).c_str(),
              kLogNameSize);
    DialogBoxParamA(g_programInstance, MAKEINTRESOURCEA(IDD_REPORT), dialog, CompareDialogProc,
                    static_cast<LPARAM>(FolderLogCompareKind(log.name)));
}

// The summary's own list: the list handle of the process names the list of
// the comparison last opened from it.
int FocusedRow(HWND dialog) {
    const ListView list(GetDlgItem(dialog, IDC_REPORT_LIST));
    const int focused = list.NextItem(-1, LVNI_FOCUSED);
    return focused >= 0 ? focused : list.NextItem(-1, LVNI_SELECTED);
}

INT_PTR OnInit(HWND dialog, const FolderPair* folders) {
    HideCompareControls(dialog);
    std::unique_ptr<FolderComparison> comparison(new FolderComparison);
    if (folders == nullptr || !CompareFolders(folders->first, folders->second, *comparison)) {
        return TRUE;
    }
    PrepareReportList(dialog, kSummaryColumns, ListStyle::GridAndFullRow);
    FillSummary(dialog, *comparison);
    AddSaveReportButton(dialog);
    SetPropA(dialog, kSummaryProperty, comparison.release());
    return TRUE;
}

void SaveSummaryReport(HWND dialog) {
    const FolderComparison* comparison = SummaryOf(dialog);
    if (comparison == nullptr) {
        return;
    }
    std::vector<std::string> inputs = BundleFiles(comparison->firstFolder);
    for (const std::string& file : BundleFiles(comparison->secondFolder)) {
        inputs.push_back(file);
    }
    SaveReportAs(dialog, "Vorlix folders.html", inputs,
                 [&] { return TwoFoldersReport(*comparison); });
}

INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInit(dialog, reinterpret_cast<const FolderPair*>(lParam));
        case WM_NOTIFY: {
            const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == IDC_REPORT_LIST && header->code == NM_DBLCLK) {
                OpenRow(dialog, reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem);
            }
            return FALSE;
        }
        case WM_COMMAND:
            // Enter gives the default id, IDOK: it opens the focused row.
            if (LOWORD(wParam) == IDOK) {
                OpenRow(dialog, FocusedRow(dialog));
                return TRUE;
            }
            if (LOWORD(wParam) == IDC_SAVE_REPORT) {
                SaveSummaryReport(dialog);
                return TRUE;
            }
            return EndReportOnOkOrCancel(dialog, wParam);
        case WM_DESTROY:
            delete static_cast<FolderComparison*>(RemovePropA(dialog, kSummaryProperty));
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK FolderSummaryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return GuardDialogMessage([&] { return HandleMessage(dialog, message, wParam, lParam); });
}
