#include "report/report_list_win.h"

#include <cstring>

#include "report/log_file_win.h"
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
        ShowWindow(GetDlgItem(dialog, id), showCommand);
    }
}

void HideCompareControls(HWND dialog) {
    ShowWindow(GetDlgItem(dialog, IDC_SORT_CASE_SENSITIVE), SW_HIDE);
    ShowSearchControls(dialog, SW_HIDE);
}

void InsertColumnSet(HWND list, const ColumnSpec* columns, LVCOLUMNA& record) {
    std::memset(&record, 0, sizeof record);
    record.mask = LVCF_WIDTH | LVCF_TEXT;
    for (int i = 0; i < CountColumns(columns); ++i) {
        record.cx = columns[i].pixelWidth;
        record.pszText = const_cast<char*>(columns[i].title);
        SendMessageA(list, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&record));
    }
}

void PrepareReportList(HWND dialog, const ColumnSpec* columns, ListStyle style) {
    g_reportList = GetDlgItem(dialog, IDC_REPORT_LIST);
    g_reportColumns = columns;
    if (style == ListStyle::GridAndFullRow) {
        SendMessageA(g_reportList, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                     LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    }
    std::memset(&g_rowCursor, 0, sizeof g_rowCursor);
    InsertColumnSet(g_reportList, columns, g_columnRecord);
    g_rowCursor.mask = LVIF_TEXT;
}

void InsertReportRow(const char* text) {
    g_rowCursor.iSubItem = 0;
    g_rowCursor.pszText = const_cast<char*>(text);
    SendMessageA(g_reportList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&g_rowCursor));
}

void SetReportCell(int column, const char* text) {
    g_rowCursor.iSubItem = column;
    g_rowCursor.pszText = const_cast<char*>(text);
    SendMessageA(g_reportList, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&g_rowCursor));
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

void RowCell(int column, const char* text) {
    SetReportCell(column, text);
    WriteLogField(CursorLogWidth(), text, false);
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
