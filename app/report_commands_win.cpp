#include "analysis/analysis_dialog_win.h"
#include "app/commands_win.h"
#include "platform/shell_state_win.h"
#include "checks/export_check_win.h"
#include "checks/service_listing_win.h"
#include "compare/compare_dialog_win.h"
#include "compare/folder_summary_win.h"
#include "res/resource.h"

namespace {

const ReportCommand kReportCommands[] = {
    {IDM_ANALYZE, AnalysisDialogProc, 0, false, {}, {}},
    {IDM_CHECK_DLL_CALLS, ExportCheckDialogProc, 0, false, {}, {}},
    {IDM_LIST_SERVICES, ServiceListingDialogProc, 0, false, {}, {}},
    // The second analysis pattern has no dot, so it also lists names that
    // merely end in the extension's word.
    {IDM_COMPARE_ANALYZE,
     CompareDialogProc,
     static_cast<LPARAM>(CompareKind::Analysis),
     true,
     {"C:\\", "*.logAnalyze\0*.logAnalyze\0"},
     {"C:\\aaa", "*.logAnalyze\0*logAnalyze\0"}},
    {IDM_COMPARE_DLL_CALLS,
     CompareDialogProc,
     static_cast<LPARAM>(CompareKind::Exports),
     true,
     {"C:\\", "*.logDlls\0*.logDlls\0"},
     {"C:\\aaa", "*.logDlls\0*.logDlls\0"}},
    {IDM_COMPARE_SERVICES,
     CompareDialogProc,
     static_cast<LPARAM>(CompareKind::Services),
     true,
     {"C:\\", "*.logServices\0*.logServices\0"},
     {"C:\\aaa", "*.logServices\0*.logServices\0"}},
};

void OpenReportDialog(const ReportCommand& command, HWND owner) {
    DialogBoxParamA(g_programInstance, MAKEINTRESOURCEA(IDD_REPORT), owner, command.procedure,
                    command.parameter);
}

}  // namespace

const ReportCommand* FindReportCommand(int id) {
    for (const ReportCommand& command : kReportCommands) {
        if (command.id == id) {
            return &command;
        }
    }
    return nullptr;
}

void RunReportCommand(const ReportCommand& command, HWND owner) {
    if (command.choosesLogs) {
        if (!ChooseLogFile(g_firstLogName, command.first.initialDirectory, command.first.filter) ||
            !ChooseLogFile(g_secondLogName, command.second.initialDirectory,
                           command.second.filter)) {
            return;
        }
    }
    OpenReportDialog(command, owner);
}

void OpenComparison(CompareKind kind, HWND owner) {
    for (const ReportCommand& command : kReportCommands) {
        if (command.choosesLogs && command.parameter == static_cast<LPARAM>(kind)) {
            OpenReportDialog(command, owner);
            return;
        }
    }
}

void OpenFolderComparison(const std::string& first, const std::string& second, HWND owner) {
    const FolderPair folders = {first, second};
    DialogBoxParamA(g_programInstance, MAKEINTRESOURCEA(IDD_REPORT), owner, FolderSummaryDialogProc,
                    reinterpret_cast<LPARAM>(&folders));
}
