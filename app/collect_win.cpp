#include "app/collect_win.h"

#include <windows.h>

#include <string>
#include <vector>

#include "analysis/analysis_sections_win.h"
#include "analysis/system_tables.h"
#include "app/collect_bundle_win.h"
#include "app/collect_plan.h"
#include "app/command_line.h"
#include "app/commands_win.h"
#include "app/console_win.h"
#include "app/hidden_dialog_win.h"
#include "app/messages_log_win.h"
#include "diagnosis/bundle_folder_win.h"
#include "diagnosis/diagnosis_dialog_win.h"
#include "diagnosis/diagnosis_log_win.h"
#include "diagnosis/diagnosis_text.h"
#include "diagnosis/rules.h"
#include "platform/error_text_win.h"
#include "platform/path_text.h"
#include "platform/shell_state_win.h"
#include "report/collect_manifest.h"
#include "report/log_file_win.h"
#include "report/log_paths.h"
#include "res/resource.h"

namespace {

constexpr char kLogFolder[] = "C:\\";

// The console's line when the messages log cannot be made: the file, two blanks, the
// system's text without its line end.
std::string MessagesLogFailureLine(DWORD error) {
    const SystemErrorText reason(error);
    std::string text = reason.Text();
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) {
        text.pop_back();
    }
    return std::string("Vorlix: ") + kMessagesLogPath + "  " + text + "\r\n";
}

bool LastWriteTime(const char* path, FILETIME* time) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) {
        return false;
    }
    *time = data.ftLastWriteTime;
    return true;
}

// Which logs the run wrote: those that are new or changed since it began, so
// that a log the run could not rewrite is not passed on in its old state.
class WrittenLogs {
public:
    WrittenLogs() : before_(kTestLogCount) {
        for (int i = 0; i < kTestLogCount; ++i) {
            before_[i].existed = LastWriteTime(kTestLogPaths[i], &before_[i].time);
        }
    }
    bool Written(int i) const {
        FILETIME now;
        if (!LastWriteTime(kTestLogPaths[i], &now)) {
            return false;
        }
        return !before_[i].existed || CompareFileTime(&now, &before_[i].time) != 0;
    }
    std::vector<std::string> Paths() const {
        std::vector<std::string> paths;
        for (int i = 0; i < kTestLogCount; ++i) {
            if (Written(i)) {
                paths.push_back(kTestLogPaths[i]);
            }
        }
        return paths;
    }
    int Count() const {
        int count = 0;
        for (int i = 0; i < kTestLogCount; ++i) {
            count += Written(i) ? 1 : 0;
        }
        return count;
    }

private:
    struct State {
        bool existed = false;
        FILETIME time = {};
    };
    std::vector<State> before_;
};

// Whether the folder is C:\ itself, where the logs already are: the same as no folder.
bool IsLogFolder(const std::string& folder) {
    std::string trimmed = folder;
    while (trimmed.size() > 2 && trimmed.back() == '\\') {
        trimmed.pop_back();
    }
    return lstrcmpiA(trimmed.c_str(), "C:\\") == 0 || lstrcmpiA(trimmed.c_str(), "C:") == 0;
}

// The version text of the analysis' "Windows version" row, empty when it is not known.
std::string WindowsVersionOfThisRun() {
    const char* text = QueryWindowsVersionText();
    return lstrcmpA(text, kUnknownWindowsVersion) == 0 ? std::string() : text;
}

std::string ProgramText() {
    // "Version V1.05" names the version; the manifest names the program with it.
    const char kVersionWord[] = "Version ";
    return std::string("Vorlix ") + (kAboutVersionText + sizeof kVersionWord - 1);
}

int ExitCodeOf(int messages) {
    return messages == 0 ? kExitNoMessage : kExitMessages;
}

// Places the logs the run wrote, the messages log and the manifest into the folder, and
// tells the summary where the files are.
void FillBundle(const std::string& folder, const WrittenLogs& written, bool diagnosisWritten,
                MessagesLog& messages, CollectManifest manifest, CollectSummary& summary) {
    CollectBundle bundle(folder, messages);
    if (!bundle.MakeFolder()) {
        summary.folderNotMade = folder;
        return;
    }
    bundle.RemoveEarlierFiles();
    for (int i = 0; i < kTestLogCount; ++i) {
        if (written.Written(i)) {
            bundle.Place(kTestLogPaths[i]);
        }
    }
    if (diagnosisWritten) {
        bundle.Place(kDiagnosisLogPath);
    }
    messages.Close();
    // The copy holds every message so far; one that arises later is only under C:\.
    const int messagesInCopy = messages.Count();
    bundle.Place(kMessagesLogPath);
    manifest.exitCode = ExitCodeOf(messages.Count());
    bundle.WriteManifest(manifest);
    summary.logs = bundle.PlacedCount();
    summary.logFolder = folder;
    if (bundle.Holds(kMessagesLogPath) && messages.Count() == messagesInCopy) {
        summary.messagesLog = JoinFolderAndName(folder, FileNameOfPath(kMessagesLogPath));
    }
}

// The three test commands as the menu runs them, in dialogs never shown.
void RunTestsHidden() {
    // The plug-in is loaded by the export check; without a window nobody
    // could answer the system's own boxes about it, so the system reports
    // such failures to the caller only.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    for (int id : {IDM_ANALYZE, IDM_CHECK_DLL_CALLS, IDM_LIST_SERVICES}) {
        RunDialogHidden(g_programInstance, IDD_REPORT, FindReportCommand(id)->procedure, 0);
    }
}

// The rules over exactly the logs this run wrote (a log it could not rewrite is not taken
// in its old state) and its messages so far; the verdicts go into the diagnosis log.
std::vector<Verdict> DiagnoseThisRun(const WrittenLogs& written, bool* logWritten) {
    std::vector<std::string> paths = written.Paths();
    paths.push_back(kMessagesLogPath);
    const GatheredBundle run = GatherRunLogs(paths);
    const std::vector<Verdict> verdicts = Diagnose(run.View());
    *logWritten = WriteDiagnosisLog(verdicts);
    return verdicts;
}

}  // namespace

int RunCollect(const std::string& folder) {
    char started[128];
    FormatLocalTimestamp(started, sizeof started);
    MessagesLog messages;
    if (!messages.Open()) {
        WriteToStartingConsole(MessagesLogFailureLine(messages.OpenError()).c_str());
        return kExitMessages;
    }
    const WrittenLogs written;
    RunTestsHidden();
    bool diagnosisWritten = false;
    const std::vector<Verdict> verdicts = DiagnoseThisRun(written, &diagnosisWritten);

    CollectSummary summary;
    summary.diagnosis = DiagnosisHeadline(verdicts);
    summary.logs = written.Count() + 1 + (diagnosisWritten ? 1 : 0);
    summary.logFolder = kLogFolder;
    summary.messagesLog = kMessagesLogPath;
    if (!folder.empty() && !IsLogFolder(folder)) {
        CollectManifest manifest;
        manifest.program = ProgramText();
        manifest.run = started;
        manifest.windows = WindowsVersionOfThisRun();
        FillBundle(folder, written, diagnosisWritten, messages, manifest, summary);
    }
    messages.Close();
    summary.messages = messages.Count();
    WriteToStartingConsole(ClosingLine(summary).c_str());
    return ExitCodeOf(messages.Count());
}

void RunDiagnoseCommand(HWND owner) {
    DiagnosisShown shown;
    {
        char started[128];
        FormatLocalTimestamp(started, sizeof started);
        MessagesLog messages;
        if (!messages.Open()) {
            ShowSystemError(messages.OpenError(), "Vorlix   CreateFile");
            return;
        }
        const WrittenLogs written;
        RunTestsHidden();
        bool diagnosisWritten = false;
        shown.verdicts = DiagnoseThisRun(written, &diagnosisWritten);
        messages.Close();
        shown.source = std::string("This machine, run ") + started + "; the logs and " +
                       kDiagnosisLogPath + " are under C:\\ (" + std::to_string(messages.Count()) +
                       (messages.Count() == 1 ? " message in " : " messages in ") +
                       kMessagesLogPath + ")";
    }
    // A report saved over one of the logs just written would lose it.
    for (const char* log : kTestLogPaths) {
        shown.inputs.push_back(log);
    }
    shown.inputs.push_back(kDiagnosisLogPath);
    shown.inputs.push_back(kMessagesLogPath);
    DialogBoxParamA(g_programInstance, MAKEINTRESOURCEA(IDD_REPORT), owner, DiagnosisDialogProc,
                    reinterpret_cast<LPARAM>(&shown));
}
