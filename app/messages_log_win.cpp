#include "app/messages_log_win.h"

#include "app/collect_plan.h"
#include "platform/error_text_win.h"
#include "report/log_paths.h"

namespace {

void WriteLine(HANDLE file, const std::string& line) {
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace

MessagesLog* MessagesLog::s_receiving = nullptr;

MessagesLog::MessagesLog() {
    SetFileAttributesA(kMessagesLogPath, FILE_ATTRIBUTE_NORMAL);
    file_.Reset(CreateFileA(kMessagesLogPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    openError_ = file_ ? ERROR_SUCCESS : GetLastError();
    if (file_) {
        s_receiving = this;
        previous_ = SetMessageBoxTarget(RecordBox);
    }
}

MessagesLog::~MessagesLog() {
    Close();
}

// A message counts whether or not its line can be written: the exit code still tells that
// it arose.
void MessagesLog::Append(const char* caption, const char* subject, const char* text) {
    ++count_;
    try {
        const std::string line = MessageLine(caption, subject, text);
        if (file_) {
            WriteLine(file_.Get(), line);
            return;
        }
        const UniqueFile end(CreateFileA(kMessagesLogPath, FILE_APPEND_DATA, FILE_SHARE_READ,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (end) {
            WriteLine(end.Get(), line);
        }
    } catch (...) {
    }
}

void MessagesLog::Append(const char* caption, const std::string& object, DWORD error) {
    const SystemErrorText reason(error);
    Append(caption, object.c_str(), reason.Text());
}

void MessagesLog::Close() {
    if (s_receiving == this) {
        SetMessageBoxTarget(previous_);
        s_receiving = nullptr;
    }
    file_.Reset();
}

int MessagesLog::RecordBox(HWND, const char* text, const char* caption, UINT, const char* subject) {
    if (s_receiving != nullptr) {
        s_receiving->Append(caption, subject, text);
    }
    return IDOK;
}
