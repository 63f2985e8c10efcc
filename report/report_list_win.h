// The report dialog's list view and the row cursor through which findings
// become list rows and log lines at the same time.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "report/column_sets.h"

// Process-wide list state, used by one modal report dialog at a time.
extern HWND g_reportList;
extern LVCOLUMNA g_columnRecord;
extern LVITEMA g_rowCursor;
// The column set whose log field widths the row forms use.
extern const ColumnSpec* g_reportColumns;

// The closing buttons of the export check, service listing and comparison:
// "OK" ends the dialog with 1010 and answers TRUE, IDCANCEL (Escape or the
// close box) ends it with IDCANCEL and answers FALSE; other commands answer
// FALSE and leave it open.
INT_PTR EndReportOnOkOrCancel(HWND dialog, WPARAM wParam);

// Shows or hides the search group (not the "Sort case sensitive" box).
void ShowSearchControls(HWND dialog, int showCommand);
// Hides the search group and the "Sort case sensitive" box: the reports that
// are no comparison have neither.
void HideCompareControls(HWND dialog);

enum class ListStyle { Plain, GridAndFullRow };

// Takes control 1000 as the list, sets its extended style (grid lines and full
// row selection replace all others) and inserts the columns of the set.
void PrepareReportList(HWND dialog, const ColumnSpec* columns, ListStyle style);

// Inserts the set's columns through the given column record, and lets the
// user copy the list's rows (Ctrl+C, Ctrl+A, right click).
void InsertColumnSet(HWND list, const ColumnSpec* columns, LVCOLUMNA& record);

// Inserts a row at the cursor's row index with `text` in column 0.
void InsertReportRow(const char* text);
// Sets a cell of the row at the cursor's row index.
void SetReportCell(int column, const char* text);

// Row forms: each fills the list and writes the matching log field.
void NextReportRow();                            // the cursor moves to the next row
void RowStart(const char* name);                 // next row; name padded to column 0's width
void RowStartTight(const char* name);            // next row; name followed by one blank
void RowLastCell(int column, const char* text);  // cell ending the log line
// For texts of any length (paths): padded like RowStart and a cell, but a text too long for
// its field is followed by two blanks, so the log line still reads back field by field.
void RowStartKeepingEnd(const char* name);
void RowCellKeepingEnd(int column, const char* text);
void SingleFieldRow(const char* text);  // next row; the name ends the log line
void LogOnlyLine(const char* text);     // a whole log line, nothing in the list
