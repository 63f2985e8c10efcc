#include "app/collect_win.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "app/collect_plan.h"
#include "app/command_line.h"
#include "app/commands_win.h"
#include "app/console_win.h"
#include "platform/error_text_win.h"
#include "platform/handles_win.h"
#include "platform/message_box_win.h"
#include "platform/shell_state_win.h"
#include "res/resource.h"
#include "report/log_paths.h"

namespace {

// The messages log of the run. It is written with plain file calls: the
// report log writer serves the one log that a command has open.
HANDLE g_messagesLog = INVALID_HANDLE_VALUE;
int g_messageCount = 0;

void AppendToMessagesLog(const char* caption, const char* text) {
    ++g_messageCount;
    try {
        const std::string line = MessageLine(caption, text);
        DWORD written = 0;
        WriteFile(g_messagesLog, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    } catch (...) {
        // Counted all the same: the exit code still tells that it arose.
    }
}

int RecordBox(HWND, const char* text, const char* caption, UINT) {
    AppendToMessagesLog(caption, text);
    return IDOK;
}

// The messages log, open and receiving every box while it lives.
class MessagesLog {
public:
    MessagesLog() {
        SetFileAttributesA(kMessagesLogPath, FILE_ATTRIBUTE_NORMAL);
        file_.Reset(CreateFileA(kMessagesLogPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file_) {
            g_messagesLog = file_.Get();
            g_messageCount = 0;
            previous_ = SetMessageBoxTarget(RecordBox);
        }
    }
    ~MessagesLog() { Close(); }
    MessagesLog(const MessagesLog&) = delete;
    MessagesLog& operator=(const MessagesLog&) = delete;

    bool Open() const { return file_.Valid(); }
    void Close() {
        if (file_) {
            SetMessageBoxTarget(previous_);
            g_messagesLog = INVALID_HANDLE_VALUE;
            file_.Reset();
        }
    }

private:
    UniqueFile file_;
    MessageBoxTarget previous_ = nullptr;
};

// Runs one command procedure in the report dialog as the menu does, but from a
// copy of the template without WS_VISIBLE: its whole work happens in
// WM_INITDIALOG, so the dialog can go again at once, never shown.
void RunHidden(DLGPROC procedure) {
    const HRSRC resource =
        FindResourceA(g_programInstance, MAKEINTRESOURCEA(IDD_REPORT), RT_DIALOG);
    const HGLOBAL loaded = resource ? LoadResource(g_programInstance, resource) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = resource ? SizeofResource(g_programInstance, resource) : 0;
    if (bytes == nullptr || size < 16) {
        return;
    }
    // DWORD elements keep the copy aligned as a template must be.
    std::vector<DWORD> copy(size / sizeof(DWORD) + 1);
    std::memcpy(copy.data(), bytes, size);
    // An extended template ({1, 0xFFFF} first) has its style at byte 12, a
    // plain one at byte 0.
    const WORD* words = reinterpret_cast<const WORD*>(copy.data());
    DWORD& style = words[0] == 1 && words[1] == 0xFFFF ? copy[3] : copy[0];
    style &= ~static_cast<DWORD>(WS_VISIBLE);
    const HWND dialog = CreateDialogIndirectParamA(
        g_programInstance, reinterpret_cast<LPCDLGTEMPLATEA>(copy.data()), nullptr, procedure, 0);
    if (dialog != nullptr) {
        DestroyWindow(dialog);
    }
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

private:
    struct State {
        bool existed = false;
        FILETIME time = {};
    };
    std::vector<State> before_;
};

std::string FailureText(const std::string& path, DWORD error) {
    const SystemErrorText reason(error);
    return path + "  " + reason.Text();
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolder(const std::string& folder) {
    for (const std::string& step : FolderChain(folder)) {
        if (!CreateDirectoryA(step.c_str(), nullptr) && !IsFolder(step)) {
            AppendToMessagesLog("Vorlix   CreateDirectory",
                                FailureText(step, GetLastError()).c_str());
            return false;
        }
    }
    return true;
}

// Copies a log into the folder; returns 0, or the error code of the copy.
DWORD CopyInto(const std::string& folder, const char* log) {
    std::string target = folder;
    while (!target.empty() && target.back() == '\\') {
        target.pop_back();
    }
    target += "\\" + FileNameOf(log);
    // An older copy there may carry the read-only attribute.
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    return CopyFileA(log, target.c_str(), FALSE) ? 0 : GetLastError();
}

// A message that arises once the messages log is closed: the line goes to
// its end all the same.
void AppendAfterClose(const char* caption, const std::string& text) {
    UniqueFile file(CreateFileA(kMessagesLogPath, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ++g_messageCount;
    if (file) {
        const std::string line = MessageLine(caption, text.c_str());
        DWORD written = 0;
        WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
}

// Whether the folder is C:\ itself, where the logs already are.
bool IsLogFolder(const std::string& folder) {
    std::string trimmed = folder;
    while (trimmed.size() > 2 && trimmed.back() == '\\') {
        trimmed.pop_back();
    }
    return lstrcmpiA(trimmed.c_str(), "C:\\") == 0 || lstrcmpiA(trimmed.c_str(), "C:") == 0;
}

}  // namespace

int RunCollect(const std::string& folder) {
    MessagesLog messages;
    if (!messages.Open()) {
        const std::string text =
            "Vorlix: " + FailureText(kMessagesLogPath, GetLastError()) + "\r\n";
        WriteToStartingConsole(text.c_str());
        return kExitMessages;
    }
    // The plug-in is loaded by the export check; without a window nobody
    // could answer the system's own boxes about it, so the system reports
    // such failures to the caller only.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const WrittenLogs written;
    for (int id : {IDM_ANALYZE, IDM_CHECK_DLL_CALLS, IDM_LIST_SERVICES}) {
        RunHidden(FindReportCommand(id)->procedure);
    }

    if (!folder.empty() && !IsLogFolder(folder) && MakeFolder(folder)) {
        for (int i = 0; i < kTestLogCount; ++i) {
            if (written.Written(i)) {
                if (const DWORD error = CopyInto(folder, kTestLogPaths[i])) {
                    AppendToMessagesLog("Vorlix   CopyFile",
                                        FailureText(kTestLogPaths[i], error).c_str());
                }
            }
        }
        messages.Close();
        if (const DWORD error = CopyInto(folder, kMessagesLogPath)) {
            AppendAfterClose("Vorlix   CopyFile", FailureText(kMessagesLogPath, error));
        }
    }
    return g_messageCount == 0 ? kExitNoMessage : kExitMessages;
}
