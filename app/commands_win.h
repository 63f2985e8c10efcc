// The menu commands and what each one opens.
#pragma once

#include <windows.h>

#include <string>

#include "compare/compare_kind.h"

struct LogChoice {
    const char* initialDirectory;
    // Display text and pattern, zero-separated and double-zero-terminated.
    const char* filter;
};

struct ReportCommand {
    int id;
    DLGPROC procedure;
    LPARAM parameter;
    // Comparisons ask for two logs first; the tests ask for none.
    bool choosesLogs;
    LogChoice first;
    LogChoice second;
};

// The command with that menu id, or nullptr.
const ReportCommand* FindReportCommand(int id);

// Chooses the logs if the command needs them (a cancelled choice ends it silently),
// then runs its report dialog modally over the owner.
void RunReportCommand(const ReportCommand& command, HWND owner);

// Opens the comparison of that kind on the logs already named in g_firstLogName and
// g_secondLogName, as if the user had just chosen them.
void OpenComparison(CompareKind kind, HWND owner);

// Posted to the main window to open a comparison once its message loop runs;
// wParam is the compare kind.
constexpr UINT kOpenComparisonMessage = WM_APP + 1;

// Opens the summary of two folders of collected logs over the owner.
void OpenFolderComparison(const std::string& first, const std::string& second, HWND owner);
// Asks for the two folders (the system's folder picker) and opens their summary.
void ChooseAndCompareFolders(HWND owner);
// Posted to the main window like kOpenComparisonMessage; lParam points at the
// two folders (a FolderPair that lives as long as the message loop).
constexpr UINT kOpenFolderComparisonMessage = WM_APP + 2;

// A drop of files on the main window: two logs of one kind open their
// comparison, anything else a box that says what is expected.
void OpenDroppedLogs(HWND window, HDROP drop);

// The file-open dialog for one log: 1 when a file was chosen (its full path is then in
// `fileName`, kLogNameSize bytes), 0 otherwise.
int ChooseLogFile(char* fileName, const char* initialDirectory, const char* filter);

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
constexpr char kAboutVersionText[] = "Version V1.05";
extern const char kAboutCreditText[];

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
