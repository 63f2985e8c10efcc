// The compare view's rows behind its list view. The list is a virtual one
// (LVS_OWNERDATA): it holds no items of its own and asks the dialog for every
// cell it shows (LVN_GETDISPINFO), so that filling it, sorting it and showing
// the differences only change no more than its item count.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "compare/compare_logs.h"
#include "compare/compare_view.h"

// Puts a virtual list in the place of the template's list (control 1000, same
// place, styles and tab order), lays out the columns, the line naming the two
// logs, the line counting the rows and the "Differences only" box, and shows
// the rows.
// "Save report..." writes what /report writes for the same two logs.
void AttachCompareView(HWND dialog, CompareKind kind, ComparedLogs logs,
                       const std::string& firstName, const std::string& secondName);
// Asks for a file and saves the report of the two logs shown.
void SaveCompareReport(HWND dialog);
// Makes the line under the list (IDC_COMPARE_NAMES) and the line at the foot of
// the dialog (IDC_COMPARE_COUNTS), empty; the folder summary has them too.
void MakeCompareLines(HWND dialog);
// The dialog's rows, or nullptr when the run made none.
CompareView* CompareViewOf(HWND dialog);
// Frees the dialog's rows; called when the dialog is destroyed.
void DetachCompareView(HWND dialog);

// Answers the list's request for a cell text (and a row's marker image).
void AnswerCellText(HWND dialog, NMLVDISPINFOA* request);
// Answers the list's type-ahead search: the next row whose "Name" starts with
// the typed text, ASCII case ignored; -1 when none.
int FindRowByName(HWND dialog, const NMLVFINDITEMA* find);

// The rows moved (a sort or the filter): newPositionOf[old position] is each
// row's new position, -1 for a row no longer shown. Selection, focus and
// search hits follow their rows; the list is repainted.
void FollowMovedRows(HWND dialog, const std::vector<int>& newPositionOf);

// Applies the "Differences only" box.
void ApplyDifferencesOnly(HWND dialog);
// Selects and shows the next (VK_DOWN), previous (VK_UP), first (VK_HOME) or
// last (VK_END) "Different" row; true when the key was one of these.
bool SelectDifference(HWND dialog, UINT key);
