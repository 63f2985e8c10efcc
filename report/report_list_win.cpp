#include "report/report_list_win.h"

#include <cstring>

#include "platform/list_view_win.h"
#include "report/list_copy_win.h"
#include "report/report_keys_win.h"
#include "report/log_file_win.h"
#include "report/log_format.h"
#include "res/resource.h"

HWND g_reportList = nullptr;
LVCOLUMNA g_columnRecord;
LVITEMA g_rowCursor;
const ColumnSpec* g_reportColumns = kAnalysisColumns;

namespace {

const int kSearchControls[] = {
    IDC_SEARCH_NAME_COLUMN,
    IDC_SEARCH_VALUE_COLUMN,
    IDC_SEARCH_GROUP,
    IDC_SEARCH_TEXT,
    IDC_SEARCH_CASE_SENSITIVE,
    IDC_SEARCH,
    IDC_NEXT,
    IDC_SEARCH_LABEL,
};

int CursorLogWidth() {
    return LogFieldWidthOf(g_reportColumns, g_rowCursor.iSubItem);
}

}  // namespace

INT_PTR EndReportOnOkOrCancel(HWND dialog, WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case IDC_REPORT_OK:
            EndDialog(dialog, IDC_REPORT_OK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return FALSE;
        default:
            return FALSE;
    }
}

void ShowSearchControls(HWND dialog, int showCommand) {
    for (int id : kSearchControls) {
        ShowDialogControl(dialog, id, showCommand != SW_HIDE);
    }
}

void HideCompareControls(HWND dialog) {
    ShowWindow(GetDlgItem(dialog, IDC_SORT_CASE_SENSITIVE), SW_HIDE);
    ShowSearchControls(dialog, SW_HIDE);
}

void InsertColumnSet(HWND list, const ColumnSpec* columns, LVCOLUMNA& record) {
    // Every report list is laid out here, so every one can be copied, with its
    // keys wherever the focus is in the dialog.
    EnableListCopy(list);
    EnableReportKeys(GetParent(list));
    std::memset(&record, 0, sizeof record);
    record.mask = LVCF_WIDTH | LVCF_TEXT;
    for (int i = 0; i < CountColumns(columns); ++i) {
        record.cx = columns[i].pixelWidth;
        record.pszText = const_cast<char*>(columns[i].title);
        ListView(list).InsertColumn(i, record);
    }
}

void PrepareReportList(HWND dialog, const ColumnSpec* columns, ListStyle style) {
    g_reportList = GetDlgItem(dialog, IDC_REPORT_LIST);
    g_reportColumns = columns;
    if (style == ListStyle::GridAndFullRow) {
        ListView(g_reportList).SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    }
    std::memset(&g_rowCursor, 0, sizeof g_rowCursor);
    InsertColumnSet(g_reportList, columns, g_columnRecord);
    g_rowCursor.mask = LVIF_TEXT;
}

void InsertReportRow(const char* text) {
    g_rowCursor.iSubItem = 0;
    g_rowCursor.pszText = const_cast<char*>(text);
    ListView(g_reportList).InsertItem(g_rowCursor);
}

void SetReportCell(int column, const char* text) {
    g_rowCursor.iSubItem = column;
    g_rowCursor.pszText = const_cast<char*>(text);
    ListView(g_reportList).SetItem(g_rowCursor);
}

void NextReportRow() {
    ++g_rowCursor.iItem;
}

void RowStart(const char* name) {
    NextReportRow();
    InsertReportRow(name);
    WriteLogField(CursorLogWidth(), name, false);
}

void RowStartTight(const char* name) {
    NextReportRow();
    InsertReportRow(name);
    WriteLogField(static_cast<int>(std::strlen(name)) + 1, name, false);
}

void RowStartKeepingEnd(const char* name) {
    NextReportRow();
    InsertReportRow(name);
    WriteLogField(WidthKeepingFieldEnd(CursorLogWidth(), std::strlen(name)), name, false);
}

void RowCellKeepingEnd(int column, const char* text) {
    SetReportCell(column, text);
    WriteLogField(WidthKeepingFieldEnd(CursorLogWidth(), std::strlen(text)), text, false);
}

void RowLastCell(int column, const char* text) {
    SetReportCell(column, text);
    WriteLogField(0, text, true);
}

void SingleFieldRow(const char* text) {
    NextReportRow();
    InsertReportRow(text);
    WriteLogField(0, text, true);
}

void LogOnlyLine(const char* text) {
    WriteLogField(0, text, true);
}
