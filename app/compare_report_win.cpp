#include "app/compare_report_win.h"

#include <windows.h>

#include <string>
#include <vector>

#include "app/collect_plan.h"
#include "app/console_win.h"
#include "compare/comparison_reports.h"
#include "compare/folder_compare_win.h"
#include "platform/file_identity_win.h"
#include "platform/message_box_win.h"
#include "platform/path_text.h"
#include "report/collect_manifest.h"
#include "report/save_report_win.h"

// Without a window nobody could answer a box: each becomes a line of the
// console, as with /collect.
int PrintBox(HWND, const char* text, const char* caption, UINT, const char* subject) {
    WriteToStartingConsole(MessageLine(caption, subject, text).c_str());
    return IDOK;
}

namespace {

std::vector<const std::string*> AddressesOf(const std::vector<std::string>& texts) {
    std::vector<const std::string*> addresses;
    for (const std::string& text : texts) {
        addresses.push_back(&text);
    }
    return addresses;
}

}  // namespace

std::string ReportIsBundleFile(const std::string& report, const std::vector<std::string>& folders) {
    const std::string fullReport = FullLongPath(report);
    const std::string reportName = FileNameOfPath(fullReport);
    const bool bundleName =
        IsCollectedLogName(reportName) || lstrcmpiA(reportName.c_str(), kManifestFileName) == 0;
    for (const std::string* folder : AddressesOf(folders)) {
        // By name for a file of the bundle that is not there (yet), by the file
        // itself for one that is (under another name: a hard link, say).
        bool inBundle =
            bundleName &&
            lstrcmpiA(FolderOfPath(fullReport).c_str(),
                      FolderOfPath(FullLongPath(JoinFolderAndName(*folder, reportName))).c_str()) ==
                0;
        for (const std::string& file : BundleFiles(*folder)) {
            inBundle = inBundle || SameFile(report, file);
        }
        if (inBundle) {
            return "Vorlix: the report file " + report + " is a file of the bundle " + *folder +
                   " compared: give another file.\r\n";
        }
    }
    return std::string();
}

namespace {

// Why the report must not go to its file, naming it; empty when it may. A
// report written over a log it compares would destroy the customer's log.
std::string ReportIsInput(const StartRequest& request) {
    const std::string& report = request.report;
    if (request.mode != StartMode::CompareFolders) {
        for (const std::string* log : {&request.first, &request.second}) {
            if (SameFile(report, *log)) {
                return "Vorlix: the report file " + report + " is " + *log +
                       ", one of the logs compared: give another file.\r\n";
            }
        }
        return std::string();
    }
    return ReportIsBundleFile(report, {request.first, request.second});
}

// What the reading of a log needed is said, never left unsaid.
void SayReadingNotes(const std::string& path, const LogReadingNotes& notes) {
    const LogReadingNotes said = NotesToSay(path, notes);
    if (said.Any()) {
        WriteToStartingConsole((path + ": " + DescribeReadingNotes(said) + "\r\n").c_str());
    }
}

int CompareTwoLogs(const StartRequest& request) {
    std::string firstBytes, secondBytes;
    if (!ReadLogBytes(request.first, firstBytes) || !ReadLogBytes(request.second, secondBytes)) {
        return kExitBadArguments;
    }
    LogLines first, second;
    ReadComparedLogs(request.compareKind, {firstBytes.data(), firstBytes.size(), request.first},
                     {secondBytes.data(), secondBytes.size(), request.second}, first, second);
    const ComparedLogs compared = CompareLogLines(request.compareKind, first, second);
    SayReadingNotes(request.first, compared.firstNotes);
    SayReadingNotes(request.second, compared.secondNotes);
    const TwoLogsSubject subject =
        SubjectOf(request.compareKind, request.first, request.second, compared);
    if (!WriteReportFile(request.report,
                         TwoLogsReport(subject, compared.rows).BytesFor(request.report))) {
        return kExitBadArguments;
    }
    return CountRows(compared.rows).different == 0 ? kExitNoMessage : kExitMessages;
}

int CompareTwoFolders(const StartRequest& request) {
    FolderComparison comparison;
    if (!CompareFolders(request.first, request.second, comparison) || comparison.readFailed) {
        return kExitBadArguments;
    }
    WriteToStartingConsole(("First folder: " + comparison.FirstFolderText() +
                            "\r\nSecond folder: " + comparison.SecondFolderText() + "\r\n")
                               .c_str());
    bool differs = false;
    for (const SummaryRow& row : comparison.summary) {
        differs = differs || row.differs;
    }
    if (!WriteReportFile(request.report, TwoFoldersReport(comparison).BytesFor(request.report))) {
        return kExitBadArguments;
    }
    return differs ? kExitMessages : kExitNoMessage;
}

}  // namespace

int RunCompareReport(const StartRequest& request) {
    SetMessageBoxTarget(PrintBox);
    const std::string refusal = ReportIsInput(request);
    int exitCode = kExitBadArguments;
    if (!refusal.empty()) {
        WriteToStartingConsole(refusal.c_str());
    } else {
        exitCode = request.mode == StartMode::CompareFolders ? CompareTwoFolders(request)
                                                             : CompareTwoLogs(request);
    }
    const std::string closing = exitCode == kExitBadArguments
                                    ? std::string("Vorlix: no report written.\r\n")
                                    : "Vorlix: report written to " + request.report +
                                          (exitCode == kExitNoMessage ? ": nothing differs.\r\n"
                                                                      : ": differences found.\r\n");
    WriteToStartingConsole(closing.c_str());
    return exitCode;
}
