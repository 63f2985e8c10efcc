#include "compare/matrix_view_win.h"

#include <commctrl.h>

#include <memory>

#include "compare/compare_dialog_win.h"
#include "compare/compare_kind.h"
#include "compare/folder_compare.h"
#include "compare/folder_compare_win.h"
#include "compare/folder_summary_win.h"
#include "platform/dialog_guard_win.h"
#include "platform/list_view_win.h"
#include "platform/message_box_win.h"
#include "platform/path_text.h"
#include "platform/shell_state_win.h"
#include "report/list_copy_win.h"
#include "report/report_keys_win.h"
#include "report/report_list_win.h"
#include "report/save_report_win.h"
#include "res/resource.h"

namespace {

const char kMatrixProperty[] = "VorlixMatrixView";
constexpr int kFirstBundleColumn = 4;
const char* const kFixedTitles[kFirstBundleColumn] = {"Log", "Fact", "Difference", "Common value"};
const int kFixedWidths[kFirstBundleColumn] = {150, 220, 100, 160};
constexpr int kBundleWidth = 170;

const COLORREF kDifferentBackground = RGB(255, 214, 214);
const COLORREF kMissingBackground = RGB(228, 228, 228);
const COLORREF kSeparatingBackground = RGB(255, 196, 120);

struct OpenMatrix {
    MatrixShown* shown = nullptr;
    bool showVarying = false;
    std::vector<std::size_t> visible;  // matrix rows in list order
    int clickedColumn = -1;
    // The row's own colours, put back in the cells that are not marked: the list hands one
    // record through all cells of a row.
    COLORREF rowText = 0;
    COLORREF rowBackground = 0;
};

OpenMatrix* OpenMatrixOf(HWND dialog) {
    return static_cast<OpenMatrix*>(GetPropA(dialog, kMatrixProperty));
}

std::string CellText(const OpenMatrix& open, std::size_t position, int column) {
    const MatrixRow& row = open.shown->matrix.rows[open.visible[position]];
    switch (column) {
        case 0:
            return row.kind;
        case 1:
            return row.name;
        case 2:
            return MatrixRowClassText(row.rowClass);
        case 3:
            return row.common == kMissing ? "(missing)" : row.values[row.common];
        default:
            return MatrixCellText(row, static_cast<std::size_t>(column - kFirstBundleColumn));
    }
}

std::string BundleTitle(const MatrixBundle& bundle) {
    return (bundle.bad ? "BAD " : "") + bundle.title;
}

void ShowRows(HWND dialog, OpenMatrix& open) {
    open.visible.clear();
    const BundleMatrix& matrix = open.shown->matrix;
    for (std::size_t i = 0; i < matrix.rows.size(); ++i) {
        if (open.showVarying || matrix.rows[i].rowClass != MatrixRowClass::ExpectedToVary) {
            open.visible.push_back(i);
        }
    }
    const ListView list(GetDlgItem(dialog, IDC_REPORT_LIST));
    list.SetItemCount(static_cast<int>(open.visible.size()));
    InvalidateRect(GetDlgItem(dialog, IDC_REPORT_LIST), nullptr, TRUE);
    SetDlgItemTextA(dialog, IDC_COMPARE_COUNTS,
                    (MatrixCountsText(matrix, open.showVarying) +
                     ". Enter or a double click opens a log's comparison, Alt+F the summary of "
                     "both folders; a click on a bundle's title marks it bad or good.")
                        .c_str());
    const std::string toggle =
        "Show what varies between good machines (" + std::to_string(matrix.expectedToVary) + ")";
    SetDlgItemTextA(dialog, IDC_SHOW_VARYING, toggle.c_str());
}

void MakeColumns(HWND list, const MatrixShown& shown) {
    const ListView view(list);
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    std::vector<std::string> titles(kFixedTitles, kFixedTitles + kFirstBundleColumn);
    for (const MatrixBundle& bundle : shown.bundles) {
        titles.push_back(BundleTitle(bundle));
    }
    for (std::size_t i = 0; i < titles.size(); ++i) {
        column.iSubItem = static_cast<int>(i);
        column.cx = i < kFirstBundleColumn ? kFixedWidths[i] : kBundleWidth;
        column.pszText = const_cast<char*>(titles[i].c_str());
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
}

void RetitleBundle(HWND dialog, const MatrixShown& shown, std::size_t bundle) {
    const std::string title = BundleTitle(shown.bundles[bundle]);
    LVCOLUMNA column = {};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<char*>(title.c_str());
    SendMessageA(GetDlgItem(dialog, IDC_REPORT_LIST), LVM_SETCOLUMNA, kFirstBundleColumn + bundle,
                 reinterpret_cast<LPARAM>(&column));
}

std::string CopiedCell(HWND list, int row, int column) {
    const OpenMatrix* open = OpenMatrixOf(GetParent(list));
    if (open == nullptr || row < 0 || row >= static_cast<int>(open->visible.size())) {
        return std::string();
    }
    return CellText(*open, static_cast<std::size_t>(row), column);
}

// The matrix as laid out now, with the bad marks the user gave: what /report writes for the
// same folders and /bad list.
void SaveMatrixReport(HWND dialog) {
    const OpenMatrix* open = OpenMatrixOf(dialog);
    if (open == nullptr) {
        return;
    }
    const MatrixShown& shown = *open->shown;
    std::vector<std::string> inputs;
    for (const std::string& folder : shown.folders) {
        for (const std::string& file : BundleFiles(folder)) {
            inputs.push_back(file);
        }
    }
    SaveReportAs(dialog, "Vorlix bundles.html", inputs,
                 [&] { return ManyBundlesReport(shown.matrix, shown.bundles, shown.folders); });
}

void AddFolderSummaryButton(HWND dialog) {
    AddDialogControl(dialog, "BUTTON", "Compare &folders...", BS_PUSHBUTTON | WS_TABSTOP,
                     IDC_COMPARE_BUNDLE_FOLDERS, {424, 412, 530, 426});
}

INT_PTR OnInit(HWND dialog, MatrixShown* shown) {
    HideCompareControls(dialog);
    SetWindowTextA(dialog, "Vorlix   Many bundles");
    std::unique_ptr<OpenMatrix> open(new OpenMatrix);
    open->shown = shown;
    // The list stays the matrix's own: a summary or comparison opened over it takes the
    // process-wide list record for itself.
    HWND list = ReplaceWithVirtualList(dialog, IDC_REPORT_LIST);
    ListView(list).SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    MakeColumns(list, *shown);
    SetListCellSource(list, CopiedCell);
    const DWORD style = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    AddDialogControl(dialog, "STATIC", shown->notes.c_str(), style, IDC_COMPARE_NAMES,
                     {17, 353, 658, 361});
    AddDialogControl(dialog, "STATIC", "", style, IDC_COMPARE_COUNTS, {18, 430, 590, 438});
    AddDialogControl(dialog, "BUTTON", "", BS_AUTOCHECKBOX | WS_TABSTOP, IDC_SHOW_VARYING,
                     {380, 390, 654, 400});
    AddSaveReportButton(dialog);
    AddFolderSummaryButton(dialog);
    EnableReportKeys(dialog);
    SetPropA(dialog, kMatrixProperty, open.get());
    ShowRows(dialog, *open.release());
    return TRUE;
}

// The two bundles of a row's cell: the bundle of the clicked column (or the first that
// differs) and the first other bundle that holds the common value. False, after saying so,
// when every bundle holds the common value.
bool BundlesOfCell(HWND dialog, const OpenMatrix& open, const MatrixRow& row, std::size_t& odd,
                   std::size_t& common) {
    odd = row.cells.size();
    common = row.cells.size();
    if (open.clickedColumn >= kFirstBundleColumn) {
        odd = static_cast<std::size_t>(open.clickedColumn - kFirstBundleColumn);
    }
    for (std::size_t b = 0; b < row.cells.size(); ++b) {
        if (row.cells[b] == row.common && common == row.cells.size() && b != odd) {
            common = b;
        }
        if (row.cells[b] != row.common && odd == row.cells.size()) {
            odd = b;
        }
    }
    if (odd >= row.cells.size() || common >= row.cells.size() || row.cells[odd] == row.common) {
        ShowMessageBox(dialog, "Every bundle holds the common value here: nothing to compare.",
                       "Vorlix", MB_OK | MB_ICONINFORMATION);
        return false;
    }
    return true;
}

// The row shown at the position and the two bundles of its cell (BundlesOfCell); null when
// there is no such row or nothing to compare.
const MatrixRow* RowAndBundles(HWND dialog, const OpenMatrix& open, int position, std::size_t& odd,
                               std::size_t& common) {
    if (position < 0 || position >= static_cast<int>(open.visible.size())) {
        return nullptr;
    }
    const MatrixRow& row = open.shown->matrix.rows[open.visible[position]];
    return BundlesOfCell(dialog, open, row, odd, common) ? &row : nullptr;
}

// The comparison of the row's log between the two bundles of its cell.
void OpenCell(HWND dialog, int position) {
    const OpenMatrix* open = OpenMatrixOf(dialog);
    std::size_t odd = 0, common = 0;
    const MatrixRow* row = open ? RowAndBundles(dialog, *open, position, odd, common) : nullptr;
    if (row == nullptr) {
        return;
    }
    const MatrixShown& shown = *open->shown;
    const std::string name = "Lensora_Brenhold." + row->kind;
    lstrcpynA(g_firstLogName, JoinFolderAndName(shown.folders[common], name).c_str(), kLogNameSize);
    lstrcpynA(g_secondLogName, JoinFolderAndName(shown.folders[odd], name).c_str(), kLogNameSize);
    DialogBoxParamA(g_programInstance, MAKEINTRESOURCEA(IDD_REPORT), dialog, CompareDialogProc,
                    static_cast<LPARAM>(FolderLogCompareKind(name)));
}

int FocusedPosition(HWND dialog) {
    const ListView list(GetDlgItem(dialog, IDC_REPORT_LIST));
    const int focused = list.NextItem(-1, LVNI_FOCUSED);
    return focused >= 0 ? focused : list.NextItem(-1, LVNI_SELECTED);
}

// The summary of the two folders of the focused row's cell, over the matrix; its Enter opens
// a log's comparison in turn. Each of the three keeps its state with its own window, so
// closing one finds the one below as it was.
void OpenFolderSummaryOfCell(HWND dialog) {
    OpenMatrix* open = OpenMatrixOf(dialog);
    const int position = FocusedPosition(dialog);
    if (open == nullptr) {
        return;
    }
    if (position < 0 || position >= static_cast<int>(open->visible.size())) {
        ShowMessageBox(dialog,
                       "Choose a row first: the folder of a bundle that differs in it is then "
                       "compared with the folder of one that holds the common value.",
                       "Vorlix", MB_OK | MB_ICONINFORMATION);
        return;
    }
    std::size_t odd = 0, common = 0;
    if (RowAndBundles(dialog, *open, position, odd, common) == nullptr) {
        return;
    }
    const MatrixShown& shown = *open->shown;
    const FolderPair folders = {shown.folders[common], shown.folders[odd]};
    DialogBoxParamA(g_programInstance, MAKEINTRESOURCEA(IDD_REPORT), dialog,
                    FolderSummaryDialogProc, reinterpret_cast<LPARAM>(&folders));
}

LRESULT CustomDraw(OpenMatrix& open, NMLVCUSTOMDRAW* draw) {
    switch (draw->nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            open.rowText = draw->clrText;
            open.rowBackground = draw->clrTextBk;
            return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            draw->clrText = open.rowText;
            draw->clrTextBk = open.rowBackground;
            const std::size_t position = static_cast<std::size_t>(draw->nmcd.dwItemSpec);
            if (position >= open.visible.size()) {
                return CDRF_NEWFONT;
            }
            const MatrixRow& row = open.shown->matrix.rows[open.visible[position]];
            if (draw->iSubItem == 2 && row.rowClass == MatrixRowClass::Separating) {
                draw->clrTextBk = kSeparatingBackground;
            } else if (draw->iSubItem >= kFirstBundleColumn) {
                const int cell =
                    row.cells[static_cast<std::size_t>(draw->iSubItem - kFirstBundleColumn)];
                if (cell != row.common) {
                    draw->clrTextBk = cell == kMissing ? kMissingBackground : kDifferentBackground;
                }
            }
            return CDRF_NEWFONT;
        }
        default:
            return CDRF_DODEFAULT;
    }
}

INT_PTR OnNotify(HWND dialog, NMHDR* header) {
    OpenMatrix* open = OpenMatrixOf(dialog);
    if (open == nullptr || header->idFrom != IDC_REPORT_LIST) {
        return FALSE;
    }
    switch (header->code) {
        case LVN_GETDISPINFOA: {
            LVITEMA& item = reinterpret_cast<NMLVDISPINFOA*>(header)->item;
            if ((item.mask & LVIF_TEXT) && item.pszText != nullptr && item.cchTextMax > 0 &&
                item.iItem >= 0 && item.iItem < static_cast<int>(open->visible.size())) {
                lstrcpynA(
                    item.pszText,
                    CellText(*open, static_cast<std::size_t>(item.iItem), item.iSubItem).c_str(),
                    item.cchTextMax);
            }
            return FALSE;
        }
        case NM_CUSTOMDRAW:
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT,
                              CustomDraw(*open, reinterpret_cast<NMLVCUSTOMDRAW*>(header)));
            return TRUE;
        case NM_CLICK:
        case NM_DBLCLK: {
            const NMITEMACTIVATE* activate = reinterpret_cast<NMITEMACTIVATE*>(header);
            open->clickedColumn = activate->iSubItem;
            if (header->code == NM_DBLCLK) {
                OpenCell(dialog, activate->iItem);
            }
            return FALSE;
        }
        case LVN_COLUMNCLICK: {
            const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
            if (column >= kFirstBundleColumn) {
                const std::size_t bundle = static_cast<std::size_t>(column - kFirstBundleColumn);
                open->shown->bundles[bundle].bad = !open->shown->bundles[bundle].bad;
                open->shown->Rebuild();
                RetitleBundle(dialog, *open->shown, bundle);
                ShowRows(dialog, *open);
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

INT_PTR HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            return OnInit(dialog, reinterpret_cast<MatrixShown*>(lParam));
        case WM_NOTIFY:
            return OnNotify(dialog, reinterpret_cast<NMHDR*>(lParam));
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_SHOW_VARYING) {
                if (OpenMatrix* open = OpenMatrixOf(dialog)) {
                    open->showVarying = IsDlgButtonChecked(dialog, IDC_SHOW_VARYING) == BST_CHECKED;
                    ShowRows(dialog, *open);
                }
                return TRUE;
            }
            if (LOWORD(wParam) == IDC_SAVE_REPORT) {
                SaveMatrixReport(dialog);
                return TRUE;
            }
            // Enter gives the default id, IDOK: it opens the focused row.
            if (LOWORD(wParam) == IDOK) {
                OpenCell(dialog, FocusedPosition(dialog));
                return TRUE;
            }
            if (LOWORD(wParam) == IDC_COMPARE_BUNDLE_FOLDERS) {
                OpenFolderSummaryOfCell(dialog);
                return TRUE;
            }
            return EndReportOnOkOrCancel(dialog, wParam);
        case WM_DESTROY:
            SetListCellSource(GetDlgItem(dialog, IDC_REPORT_LIST), nullptr);
            delete static_cast<OpenMatrix*>(RemovePropA(dialog, kMatrixProperty));
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

std::string MatrixCountsText(const BundleMatrix& matrix, bool showVarying) {
    return std::to_string(matrix.separating) + " separating, " + std::to_string(matrix.differing) +
           " differing, " + std::to_string(matrix.expectedToVary) + " expected to vary" +
           (showVarying ? "" : " (hidden)");
}

INT_PTR CALLBACK MatrixDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    return GuardDialogMessage([&] { return HandleMessage(dialog, message, wParam, lParam); });
}
