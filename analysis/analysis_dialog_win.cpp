#include "analysis/analysis_dialog_win.h"

#include <shlobj.h>

#include <memory>
#include <string>

#include "analysis/analysis_sections_win.h"
#include "analysis/analysis_state_win.h"
#include "report/opencv_files.h"
#include "platform/dialog_guard_win.h"
#include "platform/error_text_win.h"
#include "platform/message_box_win.h"
#include "report/log_file_win.h"
#include "report/report_list_win.h"
#include "res/resource.h"

namespace {

// Row 0: the date and time of the run, in the list only.
void EmitHeaderRow() {
    char header[128];
    FormatLocalTimestamp(header, sizeof header);
    g_rowCursor.iItem = 0;
    InsertReportRow(header);
}

// Every run starts the element log afresh; CheckElement appends to it.
void StartElementLog() {
    const SectionLog log(kElementLogPath);
}

// A joined path that does not fit MAX_PATH is checked and shown whole rather
// than cut, since a cut path could name another file that exists.
void CheckOpenCvFiles() {
    for (const char* const* entry = kOpenCvFiles; *entry != nullptr; ++entry) {
        char path[kJoinedPathSize];
        if (JoinProgramFilesPath(g_programFilesFolder, *entry, path, sizeof path)) {
            CheckElement(path);
        } else {
            CheckElement(ProgramFilesPathText(g_programFilesFolder, *entry).c_str());
        }
    }
}

// The whole analysis, made while the dialog initialises. Returns FALSE when
// the Windows version cannot be read: the list then stays without columns.
BOOL RunAnalysis(HWND dialog) {
    HideCompareControls(dialog);
    if (!QueryVersionRecord()) {
        const DWORD error = GetLastError();
        const MessageSubject subject("Windows version");
        ShowSystemError(error, "Vorlix   GetVersionInfoEx ");
        return FALSE;
    }
    // The 32-bit view: "Program Files (x86)" on 64-bit Windows.
    SHGetSpecialFolderPathA(nullptr, g_programFilesFolder, CSIDL_PROGRAM_FILES, FALSE);
    g_productNames = std::make_unique<ProductNameList>();
    // The list goes with the run, also when the run ends in an exception.
    struct ReleaseProductNames {
        ~ReleaseProductNames() { g_productNames.reset(); }
    } releaseProductNames;
    PrepareReportList(dialog, kAnalysisColumns, ListStyle::GridAndFullRow);
    // The row cursor stays on the header row: every section advances before
    // each row it inserts, so a section without rows leaves no gap.
    EmitHeaderRow();

    RunSystemDataSection();
    StartElementLog();
    CheckElement(kPluginDllPath);
    RunPluginVersionSection();
    CheckOpenCvFiles();
    RunPluginFolderSection();
    RunSettingsSection();
    RunInstalledProductsSection();
    RunRuntimeSection();
    RunPathSection();
    RunFileVersionsSection();
    RunDependenciesSection();
    return TRUE;
}

}  // namespace

INT_PTR CALLBACK AnalysisDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return GuardMessage<INT_PTR>(TRUE, [&] { return RunAnalysis(dialog); });
        case WM_COMMAND:
            // Escape (IDCANCEL) deliberately does not close the analysis.
            if (LOWORD(wParam) == IDC_REPORT_OK) {
                EndDialog(dialog, IDC_REPORT_OK);
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            EndDialog(dialog, LOWORD(wParam));
            return FALSE;
        default:
            return FALSE;
    }
}
