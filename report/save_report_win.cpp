#include "report/save_report_win.h"

#include <commdlg.h>

#include "platform/error_text_win.h"
#include "platform/file_identity_win.h"
#include "platform/list_view_win.h"
#include "platform/message_box_win.h"
#include "platform/whole_file_win.h"
#include "res/resource.h"

namespace {

// The forms in the order of the dialog's types; HTML first, as people read it.
const char kSaveFilter[] =
    "HTML page (*.html)\0*.html\0JSON for programs (*.json)\0*.json\0"
    "CSV for spreadsheets (*.csv)\0*.csv\0Tab-separated text (*.txt)\0*.txt\0";

}  // namespace

void AddSaveReportButton(HWND dialog) {
    AddDialogControl(dialog, "BUTTON", "Save report...", BS_PUSHBUTTON | WS_TABSTOP,
                     IDC_SAVE_REPORT, {536, 412, 594, 426});
}

bool WriteReportFile(const std::string& path, const std::string& bytes) {
    const WholeFileFailure failure = WriteWholeFile(path, bytes);
    if (failure.error == 0) {
        return true;
    }
    const SystemErrorText reason(failure.error);
    ShowMessageBox(nullptr, (path + "  " + reason.Text()).c_str(), failure.Caption().c_str(),
                   kErrorBoxStyle);
    return false;
}

std::string ReportIsInputFile(const std::string& report, const std::vector<std::string>& inputs) {
    for (const std::string& input : inputs) {
        if (SameFile(report, input)) {
            return "The report file " + report + " is " + input +
                   ", a file this report is made from: give another file.";
        }
    }
    return std::string();
}

bool SaveReportAs(HWND dialog, const std::string& suggestedName,
                  const std::vector<std::string>& inputs,
                  const std::function<ReportContent()>& makeReport) {
    char path[MAX_PATH] = {};
    lstrcpynA(path, suggestedName.c_str(), sizeof path);
    OPENFILENAMEA save = {};
    save.lStructSize = sizeof save;
    save.hwndOwner = dialog;
    save.lpstrFilter = kSaveFilter;
    save.nFilterIndex = 1;
    save.lpstrFile = path;
    save.nMaxFile = sizeof path;
    save.lpstrTitle = "Save report";
    // A name typed without an extension gets the one of the type chosen.
    save.lpstrDefExt = "html";
    save.Flags =
        OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameA(&save)) {
        return false;
    }
    const std::string refusal = ReportIsInputFile(path, inputs);
    if (!refusal.empty()) {
        ShowMessageBox(dialog, refusal.c_str(), "Vorlix", MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return WriteReportFile(path, makeReport().BytesFor(path));
}
