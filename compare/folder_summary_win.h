// The summary of two folders of collected logs: one row per log name, from
// which each log's comparison opens (Enter or a double click on its row).
#pragma once

#include <windows.h>

#include <string>

struct FolderPair {
    std::string first;  // the good machine's folder: gives the first log of each pair
    std::string second;
};

// The dialog procedure of dialog 129 for the summary; the initialisation
// parameter points at the FolderPair, which outlives the dialog.
INT_PTR CALLBACK FolderSummaryDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
