#include "compare/compare_run_win.h"

#include <string>
#include <utility>

#include "compare/compare_logs.h"
#include "compare/compare_state_win.h"
#include "compare/compare_view_win.h"
#include "platform/handles_win.h"
#include "platform/list_view_win.h"
#include "platform/shell_state_win.h"
#include "report/log_file_win.h"
#include "report/log_lines.h"
#include "report/report_list_win.h"
#include "res/resource.h"

namespace {

void ShowCompareControls(HWND dialog) {
    ShowSearchControls(dialog, SW_SHOWNORMAL);
    g_compareDialog = dialog;
    ShowDialogControl(dialog, IDC_SORT_CASE_SENSITIVE, true);
    SendDlgItemMessageA(dialog, IDC_SEARCH_NAME_COLUMN, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessageA(dialog, IDC_SEARCH_VALUE_COLUMN, BM_SETCHECK, BST_CHECKED, 0);
}

// The whole log's bytes; false after the user was told why not. A log that
// could not be read whole is not compared at all: compared as far as it was
// read, it would pass for a shorter one.
bool ReadLog(UniqueFile& file, const char* name, std::string& bytes) {
    const bool read = ReadWholeLog(file.Get(), name, bytes) != 0;
    file.Reset();
    return read;
}

}  // namespace

BOOL RunCompare(HWND dialog, int kind) {
    // The hits of an earlier view name rows of a list that is gone.
    g_search.matches.Clear();
    // A comparison only reads its logs, so a read-only log can be compared, and
    // the same log chosen twice is simply read twice.
    UniqueFile first;
    if (!OpenLogForReading(g_firstLogName, first.Put())) {
        return FALSE;
    }
    UniqueFile second;
    if (!OpenLogForReading(g_secondLogName, second.Put())) {
        return FALSE;
    }
    std::string firstBytes, secondBytes;
    if (!ReadLog(first, g_firstLogName, firstBytes) ||
        !ReadLog(second, g_secondLogName, secondBytes)) {
        return FALSE;
    }
    ShowCompareControls(dialog);
    // An empty first log is no reason to hide the second one's records: they
    // are listed as found in the second log only.
    const CompareKind compareKind = static_cast<CompareKind>(kind);
    LogLines firstLines, secondLines;
    ReadComparedLogs(compareKind, {firstBytes.data(), firstBytes.size(), g_firstLogName},
                     {secondBytes.data(), secondBytes.size(), g_secondLogName}, firstLines,
                     secondLines);
    // The bytes are read; a 32-bit process keeps its memory for the rows.
    std::string().swap(firstBytes);
    std::string().swap(secondBytes);
    AttachCompareView(dialog, compareKind, CompareLogLines(compareKind, firstLines, secondLines),
                      g_firstLogName, g_secondLogName);
    return TRUE;
}
