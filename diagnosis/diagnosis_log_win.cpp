#include "diagnosis/diagnosis_log_win.h"

#include <windows.h>

#include <string>

#include "diagnosis/diagnosis_text.h"
#include "platform/error_text_win.h"
#include "platform/whole_file_win.h"
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
    // Written whole or not at all: a cut diagnosis would read as one with fewer rules.
    const WholeFileFailure failure = WriteWholeFile(kDiagnosisLogPath, text);
    if (failure.error != 0) {
        ShowSystemError(failure.error, failure.Caption().c_str());
        return false;
    }
    return true;
}
