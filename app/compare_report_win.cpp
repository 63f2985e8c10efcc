#include "app/compare_report_win.h"

#include <windows.h>

#include "app/collect_plan.h"
#include "app/console_win.h"
#include "compare/folder_compare_win.h"
#include "platform/error_text_win.h"
#include "platform/handles_win.h"
#include "platform/message_box_win.h"

// Without a window nobody could answer a box: each becomes a line of the
// console, as with /collect.
int PrintBox(HWND, const char* text, const char* caption, UINT, const char* subject) {
    WriteToStartingConsole(MessageLine(caption, subject, text).c_str());
    return IDOK;
}

namespace {

void ShowWriteFailure(const std::string& path, const char* caption, DWORD error) {
    const SystemErrorText reason(error);
    ShowMessageBox(nullptr, (path + "  " + reason.Text()).c_str(), caption, kErrorBoxStyle);
}

}  // namespace

bool WriteReport(const std::string& path, const std::string& text) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        ShowWriteFailure(path, "Vorlix   CreateFile", GetLastError());
        return false;
    }
    DWORD written = 0;
    if (!WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
        ShowWriteFailure(path, "Vorlix   WriteFile", GetLastError());
        return false;
    }
    // A short write without an error code means the disk is full.
    if (written != text.size()) {
        ShowWriteFailure(path, "Vorlix   WriteFile", ERROR_DISK_FULL);
        return false;
    }
    return true;
}

namespace {

// What the reading of a log needed is said, never left unsaid.
void SayReadingNotes(const std::string& path, const LogReadingNotes& notes) {
    const LogReadingNotes said = NotesToSay(path, notes);
    if (said.Any()) {
        WriteToStartingConsole((path + ": " + DescribeReadingNotes(said) + "\r\n").c_str());
    }
}

int CompareTwoLogs(const StartRequest& request) {
    LogLines first, second;
    if (!ReadLogFile(request.first, first) || !ReadLogFile(request.second, second)) {
        return kExitBadArguments;
    }
    const ComparedLogs compared = CompareLogLines(request.compareKind, first, second);
    SayReadingNotes(request.first, compared.firstNotes);
    SayReadingNotes(request.second, compared.secondNotes);
    if (!WriteReport(request.report, DifferencesReport(compared.rows))) {
        return kExitBadArguments;
    }
    return CountRows(compared.rows).different == 0 ? kExitNoMessage : kExitMessages;
}

int CompareTwoFolders(const StartRequest& request) {
    FolderComparison comparison;
    if (!CompareFolders(request.first, request.second, comparison) || comparison.readFailed) {
        return kExitBadArguments;
    }
    WriteToStartingConsole(
        ("First folder: " + FolderWithManifest(comparison.firstFolder, comparison.FirstManifest()) +
         "\r\nSecond folder: " +
         FolderWithManifest(comparison.secondFolder, comparison.SecondManifest()) + "\r\n")
            .c_str());
    std::vector<const std::vector<CompareRow>*> rows;
    bool differs = false;
    for (size_t i = 0; i < comparison.summary.size(); ++i) {
        rows.push_back(&comparison.compared[i].rows);
        differs = differs || comparison.summary[i].differs;
    }
    if (!WriteReport(request.report, FolderReport(comparison.summary, rows))) {
        return kExitBadArguments;
    }
    return differs ? kExitMessages : kExitNoMessage;
}

}  // namespace

int RunCompareReport(const StartRequest& request) {
    SetMessageBoxTarget(PrintBox);
    const int exitCode = request.mode == StartMode::CompareFolders ? CompareTwoFolders(request)
                                                                   : CompareTwoLogs(request);
    const std::string closing = exitCode == kExitBadArguments
                                    ? std::string("Vorlix: no report written.\r\n")
                                    : "Vorlix: report written to " + request.report +
                                          (exitCode == kExitNoMessage ? ": nothing differs.\r\n"
                                                                      : ": differences found.\r\n");
    WriteToStartingConsole(closing.c_str());
    return exitCode;
}
