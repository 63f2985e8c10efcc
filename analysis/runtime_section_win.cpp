#include <string>

#include "analysis/analysis_sections_win.h"
#include "report/runtime_check.h"
#include "platform/error_text_win.h"
#include "platform/handles_win.h"
#include "platform/message_box_win.h"
#include "report/log_file_win.h"
#include "report/column_sets.h"
#include "report/report_list_win.h"
#include "report/log_paths.h"

namespace {

constexpr DWORD kProductNameBufferSize = 260;

}  // namespace

int RunRuntimeSection() {
    const SectionLog log(kRuntimeLogPath);
    if (!log.Opened()) {
        return 1;
    }
    UniqueKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kRuntimeProductKey, 0, KEY_QUERY_VALUE, key.Put()) !=
        ERROR_SUCCESS) {
        RowStart(kRuntimeProductName);
        RowLastCell(kResultColumn, kRuntimeNotInstalled);
        return 0;
    }
    RowStart(kRuntimeProductName);
    char name[kProductNameBufferSize];
    DWORD size = sizeof name;
    const LONG query = RegQueryValueExA(key.Get(), kRuntimeProductNameValue, nullptr, nullptr,
                                        reinterpret_cast<BYTE*>(name), &size);
    if (query != ERROR_SUCCESS && query != ERROR_FILE_NOT_FOUND) {
        // The name row keeps its Name cell only; its log line still ends, so that the log
        // holds whole lines (a reader of it would otherwise meet a field without an end).
        LogOnlyLine("");
        const MessageSubject subject(
            ValueSubject(std::string("HKLM\\") + kRuntimeProductKey, kRuntimeProductNameValue));
        ShowSystemError(static_cast<DWORD>(query), kErrorCaption);
        return 0;
    }
    const bool nameRead = query == ERROR_SUCCESS;
    const DWORD bytesRead = nameRead ? size : 0;
    RowLastCell(kResultColumn, RuntimeNameResult(nameRead, name, bytesRead));
    RowStart(RuntimeVersionRowName().c_str());
    RowLastCell(kResultColumn, RuntimeVersionResult(nameRead, name, bytesRead));
    return 1;
}
