#include "checks/export_check_win.h"

#include <cstdio>
#include <string>
#include <vector>

#include "platform/dependency_search_win.h"
#include "report/dependency_texts.h"
#include "checks/entry_points.h"
#include "platform/dialog_guard_win.h"
#include "platform/error_text_win.h"
#include "platform/message_box_win.h"
#include "report/log_file_win.h"
#include "report/report_list_win.h"
#include "res/resource.h"
#include "report/log_paths.h"

namespace {

// The same caption whether the log existed or had to be created.
const char kLogFailureCaption[] = "Vorlix   CreateFile LogFileDlls";

constexpr int kTextBufferSize = 260;

// The system names only the plug-in when one of the DLLs it needs is missing or of the
// wrong kind; the walk names that DLL, and each function a DLL lacks. A plug-in that is
// missing or no image of this program's kind has been named by the first box already.
// After a load that succeeded the box comes only for a function missing at load time:
// Windows would have refused the plug-in, while Wine binds the function to a stub.
void ShowDependencyProblems(bool loaded) {
    const std::vector<NeededDll> needed = FindDependencies(kExportCheckPluginPath).needed;
    if (loaded && !MissingAtLoadTime(needed)) {
        return;
    }
    const std::string problems = DependencyProblemsText(needed, ThisProgramBits());
    if (!problems.empty()) {
        ShowMessageBox(nullptr, problems.c_str(), "Vorlix   Dependencies", kErrorBoxStyle);
    }
}

// Loads the plug-in the way Mach3 would, so a missing dependency shows up
// here. The module is deliberately never freed: unloading a plug-in whose
// initialisation has run is riskier than keeping it, and a later run of the
// check only raises its reference count.
HMODULE LoadPlugin() {
    const HMODULE plugin = LoadLibraryA(kExportCheckPluginPath);
    if (plugin == nullptr) {
        const SystemErrorText reason(GetLastError());
        char text[kTextBufferSize];
        std::snprintf(text, sizeof text, "%s",
                      LoadFailureText(kExportCheckPluginPath, reason.Text()).c_str());
        ShowMessageBox(nullptr, text, "Vorlix   LoadLibrary", kErrorBoxStyle);
    }
    ShowDependencyProblems(plugin != nullptr);
    return plugin;
}

// One row per entry point; the row index is the name's place in the table,
// so the list keeps the table order whatever the list view does.
void ReportEntryPoints(HMODULE plugin) {
    for (int row = 0; kEntryPointNames[row] != nullptr; ++row) {
        const char* name = kEntryPointNames[row];
        g_rowCursor.iItem = row;
        InsertReportRow(name);
        WriteLogField(LogFieldWidthOf(g_reportColumns, kExportNameColumn), name, false);
        char result[kTextBufferSize];
        std::snprintf(result, sizeof result, "%s",
                      ExportResultText(GetProcAddress(plugin, name) != nullptr));
        RowLastCell(kExportResultColumn, result);
    }
}

void RunExportCheck(HWND dialog) {
    HideCompareControls(dialog);
    if (!OpenRewrittenLog(kExportLogPath, kLogFailureCaption, kLogFailureCaption)) {
        return;
    }
    CurrentLogScope log;
    const HMODULE plugin = LoadPlugin();
    if (plugin == nullptr) {
        return;
    }
    PrepareReportList(dialog, kExportColumns, ListStyle::Plain);
    ReportEntryPoints(plugin);
}

}  // namespace

INT_PTR CALLBACK ExportCheckDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return GuardDialogMessage([&] {
                RunExportCheck(dialog);
                return FALSE;
            });
        case WM_COMMAND:
            return EndReportOnOkOrCancel(dialog, wParam);
        default:
            return FALSE;
    }
}
