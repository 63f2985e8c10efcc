#include "diagnosis/diagnosis_log_win.h"

#include <windows.h>

#include <string>

#include "diagnosis/diagnosis_text.h"
#include "platform/error_text_win.h"
#include "platform/handles_win.h"
#include "platform/message_box_win.h"
#include "report/log_file_win.h"
#include "report/log_paths.h"

bool WriteDiagnosisLog(const std::vector<Verdict>& verdicts) {
    char timestamp[64];
    FormatLocalTimestamp(timestamp, sizeof timestamp);
    const std::string text = DiagnosisLogText(std::string(timestamp) + "\r\n", verdicts);
    const MessageSubject subject(kDiagnosisLogPath);
    // An earlier log may carry the read-only attribute.
    SetFileAttributesA(kDiagnosisLogPath, FILE_ATTRIBUTE_NORMAL);
    UniqueFile file(CreateFileA(kDiagnosisLogPath, GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        ShowSystemError(GetLastError(), "Vorlix   CreateFile");
        return false;
    }
    DWORD written = 0;
    const BOOL ok =
        WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    if (!ok || written != text.size()) {
        // A short write without an error code means the disk is full.
        const DWORD error = ok ? ERROR_DISK_FULL : GetLastError();
        file.Reset();
        DeleteFileA(kDiagnosisLogPath);
        ShowSystemError(error, "Vorlix   WriteFile");
        return false;
    }
    return true;
}
