#include "app/collect_win.h"

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "analysis/analysis_sections_win.h"
#include "analysis/system_tables.h"
#include "app/collect_plan.h"
#include "app/command_line.h"
#include "app/commands_win.h"
#include "app/console_win.h"
#include "app/hidden_dialog_win.h"
#include "platform/error_text_win.h"
#include "platform/handles_win.h"
#include "platform/message_box_win.h"
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

void WriteLine(HANDLE file, const std::string& line) {
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

// The messages log of the run, open and receiving every box while the commands run. It is
// written with plain file calls: the report log writer serves the one log that a command
// has open. Once closed (to be copied), later messages are appended to its end.
class MessagesLog {
public:
    MessagesLog() {
        SetFileAttributesA(kMessagesLogPath, FILE_ATTRIBUTE_NORMAL);
        file_.Reset(CreateFileA(kMessagesLogPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        openError_ = file_ ? ERROR_SUCCESS : GetLastError();
        if (file_) {
            s_receiving = this;
            previous_ = SetMessageBoxTarget(RecordBox);
        }
    }
    ~MessagesLog() { Close(); }
    MessagesLog(const MessagesLog&) = delete;
    MessagesLog& operator=(const MessagesLog&) = delete;

    bool Open() const { return file_.Valid(); }
    DWORD OpenError() const { return openError_; }
    int Count() const { return count_; }

    // A message counts whether or not its line can be written: the exit code still tells
    // that it arose.
    void Append(const char* caption, const char* subject, const char* text) {
        ++count_;
        try {
            const std::string line = MessageLine(caption, subject, text);
            if (file_) {
                WriteLine(file_.Get(), line);
                return;
            }
            const UniqueFile end(CreateFileA(kMessagesLogPath, FILE_APPEND_DATA, FILE_SHARE_READ,
                                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                             nullptr));
            if (end) {
                WriteLine(end.Get(), line);
            }
        } catch (...) {
        }
    }
    void Append(const char* caption, const std::string& object, DWORD error) {
        const SystemErrorText reason(error);
        Append(caption, object.c_str(), reason.Text());
    }

    // Ends the recording of boxes and closes the file, so that it can be copied.
    void Close() {
        if (s_receiving == this) {
            SetMessageBoxTarget(previous_);
            s_receiving = nullptr;
        }
        file_.Reset();
    }

private:
    static int RecordBox(HWND, const char* text, const char* caption, UINT, const char* subject) {
        if (s_receiving != nullptr) {
            s_receiving->Append(caption, subject, text);
        }
        return IDOK;
    }

    // The log that the box target writes to; a plain function has no other way to it.
    static MessagesLog* s_receiving;
    UniqueFile file_;
    DWORD openError_ = ERROR_SUCCESS;
    MessageBoxTarget previous_ = nullptr;
    int count_ = 0;
};

MessagesLog* MessagesLog::s_receiving = nullptr;

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

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Whether the folder is C:\ itself, where the logs already are: the same as no folder.
bool IsLogFolder(const std::string& folder) {
    std::string trimmed = folder;
    while (trimmed.size() > 2 && trimmed.back() == '\\') {
        trimmed.pop_back();
    }
    return lstrcmpiA(trimmed.c_str(), "C:\\") == 0 || lstrcmpiA(trimmed.c_str(), "C:") == 0;
}

// The files of one run placed into the folder given, ending with its manifest.
class Bundle {
public:
    Bundle(const std::string& folder, MessagesLog& messages)
        : folder_(folder), messages_(messages) {}

    // Creates the folder and the folders above it that are missing. On failure the step
    // that could not be made is named with its own reason: the shell gives the error of
    // the innermost folder it tried, which after a failed outer step is only "path not
    // found", so the outermost missing step is tried alone once more.
    bool MakeFolder() {
        const int error = SHCreateDirectoryExA(nullptr, folder_.c_str(), nullptr);
        if (Made(error, folder_)) {
            return true;
        }
        std::string step = OutermostMissingStep();
        int reason = error;
        if (step != folder_) {
            reason = SHCreateDirectoryExA(nullptr, step.c_str(), nullptr);
            if (Made(reason, step)) {
                // Made this time after all: only the whole folder's reason is known.
                step = folder_;
                reason = error;
            }
        }
        messages_.Append("Vorlix   SHCreateDirectoryEx", step, static_cast<DWORD>(reason));
        return false;
    }

    // Removes what an earlier run placed here (its manifest first, so that the folder never
    // holds a manifest that does not describe it); any other file stays.
    void RemoveEarlierFiles() {
        Remove(FileInFolder(folder_, kManifestFileName));
        for (const std::string& name : EarlierFileNames()) {
            Remove(FileInFolder(folder_, name));
        }
    }

    void Place(const char* source) {
        const std::string name = FileNameOf(source);
        const std::string target = FileInFolder(folder_, name);
        if (!CopyFileA(source, target.c_str(), FALSE)) {
            messages_.Append("Vorlix   CopyFile", target, GetLastError());
            return;
        }
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &data)) {
            messages_.Append("Vorlix   GetFileAttributesEx", target, GetLastError());
            return;
        }
        placed_.push_back(
            {name, (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow});
    }
    int PlacedCount() const { return static_cast<int>(placed_.size()); }
    bool Holds(const char* source) const {
        const std::string name = FileNameOf(source);
        for (const ManifestFile& file : placed_) {
            if (file.name == name) {
                return true;
            }
        }
        return false;
    }

    // Written last. A manifest that could not be written whole is removed again: a cut one
    // could still read as a manifest listing fewer files.
    void WriteManifest(CollectManifest manifest) {
        manifest.files = placed_;
        const std::string bytes = FormatManifest(manifest);
        const std::string path = FileInFolder(folder_, kManifestFileName);
        UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            messages_.Append("Vorlix   CreateFile", path, GetLastError());
            return;
        }
        DWORD written = 0;
        const BOOL ok = WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                  &written, nullptr);
        if (!ok || written != bytes.size()) {
            const DWORD error = ok ? ERROR_DISK_FULL : GetLastError();
            file.Reset();
            DeleteFileA(path.c_str());
            messages_.Append("Vorlix   WriteFile", path, error);
        }
    }

private:
    static bool Made(int error, const std::string& folder) {
        return error == ERROR_SUCCESS ||
               ((error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) && IsFolder(folder));
    }

    std::string OutermostMissingStep() const {
        for (const std::string& step : FolderChain(folder_)) {
            if (!IsFolder(step)) {
                return step;
            }
        }
        return folder_;
    }

    std::vector<std::string> EarlierFileNames() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA entry;
        const HANDLE search = FindFirstFileA(FileInFolder(folder_, "*").c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) {
            return names;
        }
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                IsEarlierBundleFile(entry.cFileName)) {
                names.push_back(entry.cFileName);
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
        return names;
    }

    void Remove(const std::string& path) {
        // An earlier copy may carry the read-only attribute.
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return;
        }
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileA(path.c_str())) {
            messages_.Append("Vorlix   DeleteFile", path, GetLastError());
        }
    }

    std::string folder_;
    MessagesLog& messages_;
    std::vector<ManifestFile> placed_;
};

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

}  // namespace

int RunCollect(const std::string& folder) {
    char started[128];
    FormatLocalTimestamp(started, sizeof started);
    MessagesLog messages;
    if (!messages.Open()) {
        WriteToStartingConsole(MessagesLogFailureLine(messages.OpenError()).c_str());
        return kExitMessages;
    }
    // The plug-in is loaded by the export check; without a window nobody
    // could answer the system's own boxes about it, so the system reports
    // such failures to the caller only.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const WrittenLogs written;
    for (int id : {IDM_ANALYZE, IDM_CHECK_DLL_CALLS, IDM_LIST_SERVICES}) {
        RunDialogHidden(g_programInstance, IDD_REPORT, FindReportCommand(id)->procedure, 0);
    }

    CollectSummary summary;
    summary.logs = written.Count() + 1;
    summary.logFolder = kLogFolder;
    summary.messagesLog = kMessagesLogPath;
    if (!folder.empty() && !IsLogFolder(folder)) {
        Bundle bundle(folder, messages);
        if (bundle.MakeFolder()) {
            bundle.RemoveEarlierFiles();
            for (int i = 0; i < kTestLogCount; ++i) {
                if (written.Written(i)) {
                    bundle.Place(kTestLogPaths[i]);
                }
            }
            messages.Close();
            bundle.Place(kMessagesLogPath);
            // The copy holds every message so far; one that arises later is only in C:\.
            const int messagesInCopy = messages.Count();
            CollectManifest manifest;
            manifest.program = ProgramText();
            manifest.run = started;
            manifest.windows = WindowsVersionOfThisRun();
            manifest.exitCode = ExitCodeOf(messages.Count());
            bundle.WriteManifest(manifest);
            summary.logs = bundle.PlacedCount();
            summary.logFolder = folder;
            if (bundle.Holds(kMessagesLogPath) && messages.Count() == messagesInCopy) {
                summary.messagesLog = FileInFolder(folder, FileNameOf(kMessagesLogPath));
            }
        } else {
            summary.folderNotMade = folder;
        }
    }
    messages.Close();
    summary.messages = messages.Count();
    WriteToStartingConsole(ClosingLine(summary).c_str());
    return ExitCodeOf(messages.Count());
}
