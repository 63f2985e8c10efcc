#include <io.h>

#include "analysis/analysis_sections_win.h"
#include "report/column_sets.h"
#include "report/log_file_win.h"
#include "report/report_list_win.h"

namespace {


// Access mode 0 asks for existence only; a directory of that name counts.
bool PathExists(const char* path) {
    return _access(path, 0) == 0;
}

}  // namespace

int CheckElement(const char* path) {
    NextReportRow();
    InsertReportRow(path);
    // The element log is reopened for every line; without it the row keeps
    // only its name (OpenExistingLog has told the user why).
    const SectionLog log(kElementLogPath, SectionLog::Mode::Append);
    if (!log.Opened()) {
        return 1;
    }
    WriteLogField(LogFieldWidthOf(kAnalysisColumns, kNameColumn), path, false);
    RowLastCell(kResultColumn, PathExists(path) ? "found" : "Not found");
    return 1;
}
