// Keys that act on a whole report, wherever the focus is in its dialog: as soon
// as a report opens, Ctrl+C copies its rows and Ctrl+A selects them (in the
// search field they keep their meaning there while it holds a selection), and
// a view may add keys of its own.
#pragma once

#include <windows.h>

// Makes every control of the dialog (those present now; a second call takes in
// controls made since) pass the report's keys on. Idempotent.
void EnableReportKeys(HWND dialog);

// The dialog's own keys beyond copying: called for Alt with an arrow, Home or
// End, and for F3; returns true when it used the key. A null handler removes it
// (before the dialog goes).
using ReportKeyHandler = bool (*)(HWND dialog, UINT key, bool alt);
void SetReportKeyHandler(HWND dialog, ReportKeyHandler handler);
