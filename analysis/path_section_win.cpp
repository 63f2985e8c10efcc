#include <string>
#include <string_view>
#include <vector>

#include "analysis/analysis_sections_win.h"
#include "analysis/path_entries.h"
#include "platform/shell_state_win.h"
#include "platform/message_box_win.h"
#include "report/log_file_win.h"
#include "report/column_sets.h"
#include "report/report_list_win.h"
#include "report/log_paths.h"

namespace {


// The warning for a control character is not task-modal and has no owner. Its text is the
// character's code alone; the entry that holds it is its subject.
void ShowControlCharacterWarning(const PathWarning& warning, const PathScan& scan) {
    const std::string entry =
        warning.entryIndex < scan.entries.size() ? scan.entries[warning.entryIndex] : "";
    const MessageSubject subject("PATH entry \"" + entry + "\"");
    ShowMessageBox(nullptr, warning.text.c_str(), kErrorCaption, MB_ICONERROR);
}

}  // namespace

int RunPathSection() {
    const SectionLog log(kPathLogPath);
    if (!log.Opened()) {
        return 1;
    }
    std::vector<char> value(kPathBufferSize);
    value[0] = '\0';
    const DWORD length = GetEnvironmentVariableA(kPathVariableName, value.data(), kPathQuerySize);
    const PathQueryOutcome outcome = ClassifyPathQuery(length);
    if (outcome != PathQueryOutcome::Ok) {
        ShowMessageBox(g_mainWindow, PathQueryMessage(outcome), kErrorCaption, kErrorBoxStyle);
        return 0;
    }
    LogOnlyLine(value.data());

    // Entries are listed whole, however long: a PATH entry cut at the 259 characters of a
    // file name would show the user a folder that the system never searches.
    const PathScan scan = SplitPathValue(std::string_view(value.data()));
    std::size_t nextWarning = 0;
    for (std::size_t entry = 0; entry < scan.entries.size(); ++entry) {
        // A warning comes while its entry is being collected, before the entry's row.
        while (nextWarning < scan.warnings.size() &&
               scan.warnings[nextWarning].entryIndex <= entry) {
            ShowControlCharacterWarning(scan.warnings[nextWarning++], scan);
        }
        RowStart(scan.entries[entry].c_str());
        RowLastCell(kValueColumn, kPathRowValue);
    }
    while (nextWarning < scan.warnings.size()) {
        ShowControlCharacterWarning(scan.warnings[nextWarning++], scan);
    }
    return 1;
}
