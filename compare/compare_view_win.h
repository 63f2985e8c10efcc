// The compare view's rows behind its list view: the list holds one item per
// row whose texts it asks the dialog for (LVN_GETDISPINFO), so that a sort
// only reorders the rows here.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "compare/compare_view.h"

// Keeps the rows with the dialog and fills its list (control 1000) with them.
void AttachCompareView(HWND dialog, std::vector<CompareRow> rows);
// The dialog's rows, or nullptr when the run made none.
CompareView* CompareViewOf(HWND dialog);
// Frees the dialog's rows; called when the dialog is destroyed.
void DetachCompareView(HWND dialog);
// Answers the list's request for a cell text.
void AnswerCellText(HWND dialog, NMLVDISPINFOA* request);
