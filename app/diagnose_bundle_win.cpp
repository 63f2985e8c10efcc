#include "app/diagnose_bundle_win.h"

#include "app/compare_report_win.h"
#include "app/console_win.h"
#include "report/save_report_win.h"
#include "diagnosis/diagnosis_document.h"
#include "compare/folder_compare.h"
#include "compare/folder_compare_win.h"
#include "diagnosis/bundle_folder_win.h"
#include "diagnosis/diagnosis_dialog_win.h"
#include "diagnosis/diagnosis_text.h"
#include "diagnosis/rules.h"
#include "platform/message_box_win.h"
#include "platform/shell_state_win.h"
#include "res/resource.h"

namespace {

std::string NoLogsText(const std::string& folder) {
    return folder + " holds no log of Vorlix (Lensora_Brenhold.log...).";
}

// What was diagnosed, as the view's line and the report's console say it: the folder with
// its manifest, and the word that a folder without one is not a whole bundle.
std::string SourceText(const std::string& folder, const GatheredBundle& bundle) {
    std::string text = FolderWithManifest(folder, bundle.hasManifest ? &bundle.manifest : nullptr);
    if (!bundle.hasManifest) {
        text += " (not a whole bundle: no manifest.txt)";
    }
    return text;
}

}  // namespace

void OpenBundleDiagnosis(const std::string& folder, HWND owner) {
    const GatheredBundle bundle = GatherBundleFolder(folder);
    if (!bundle.HoldsLogs()) {
        ShowMessageBox(nullptr, NoLogsText(folder).c_str(), "Vorlix",
                       MB_TASKMODAL | MB_ICONINFORMATION);
        return;
    }
    DiagnosisShown shown;
    shown.verdicts = Diagnose(bundle.View());
    shown.source = SourceText(folder, bundle);
    shown.subject.folder = folder;
    if (bundle.hasManifest) {
        shown.subject.manifest = bundle.manifest;
    }
    shown.inputs = BundleFiles(folder);
    DialogBoxParamA(g_programInstance, MAKEINTRESOURCEA(IDD_REPORT), owner, DiagnosisDialogProc,
                    reinterpret_cast<LPARAM>(&shown));
}

int RunDiagnoseReport(const StartRequest& request) {
    SetMessageBoxTarget(PrintBox);
    // Refused before anything is read or written: the bundle is the customer's.
    const std::string refusal = ReportIsBundleFile(request.report, {request.first});
    if (!refusal.empty()) {
        WriteToStartingConsole((refusal + "Vorlix: no report written.\r\n").c_str());
        return kExitBadArguments;
    }
    const GatheredBundle bundle = GatherBundleFolder(request.first);
    int exitCode = kExitBadArguments;
    if (!bundle.HoldsLogs()) {
        WriteToStartingConsole(("Vorlix: " + NoLogsText(request.first) + "\r\n").c_str());
    } else {
        WriteToStartingConsole(("Bundle: " + SourceText(request.first, bundle) + "\r\n").c_str());
        for (const BundleFile& file : bundle.files) {
            if (!file.read) {
                WriteToStartingConsole(
                    (file.name + ": unreadable, " + file.problem + "\r\n").c_str());
            }
        }
        const std::vector<Verdict> verdicts = Diagnose(bundle.View());
        DiagnosisSubject subject;
        subject.folder = request.first;
        if (bundle.hasManifest) {
            subject.manifest = bundle.manifest;
        }
        const ReportContent report = DiagnosisReportOf(subject, verdicts);
        if (WriteReportFile(request.report, report.BytesFor(request.report))) {
            const bool failed = CountOutcome(verdicts, Outcome::Fail) > 0;
            exitCode = failed ? kExitMessages : kExitNoMessage;
            WriteToStartingConsole(("Vorlix: " + DiagnosisHeadline(verdicts) +
                                    " Report written to " + request.report + ".\r\n")
                                       .c_str());
        }
    }
    if (exitCode == kExitBadArguments) {
        WriteToStartingConsole("Vorlix: no report written.\r\n");
    }
    return exitCode;
}
