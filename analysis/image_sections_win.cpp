// The file versions section (version and bitness of the plug-in DLL and of each OpenCV file
// that exists) and the dependencies section (the folders the loader searches, every DLL the
// plug-in needs, where the loader would find it, the functions it lacks and its other
// copies). Both follow the PATH section; each row's fields hold nothing that changes
// between two runs on one machine, so that two machines compare line by line.
#include <windows.h>

#include <string>

#include "analysis/analysis_sections_win.h"
#include "analysis/analysis_state_win.h"
#include "report/opencv_files.h"
#include "platform/dependency_search_win.h"
#include "report/dependency_texts.h"
#include "report/log_file_win.h"
#include "report/column_sets.h"
#include "report/report_list_win.h"

namespace {

// Whatever answers to the name counts as existing, as in the element check; a folder of
// that name then shows as not readable.
void AddVersionRow(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    PeImage image;
    const bool readable = ReadImageFile(path.c_str(), &image);
    RowStartKeepingEnd(path.c_str());
    RowCellKeepingEnd(kValueColumn, VersionText(readable, image).c_str());
    RowLastCell(kResultColumn, ImageKindText(readable, image));
}

}  // namespace

int RunFileVersionsSection() {
    const SectionLog log(kFileVersionsLogPath);
    if (!log.Opened()) {
        return 1;
    }
    AddVersionRow(kPluginDllPath);
    // An over-long joined path names no file that the ANSI calls can reach: no row.
    for (const char* const* entry = kOpenCvFiles; *entry != nullptr; ++entry) {
        AddVersionRow(ProgramFilesPathText(g_programFilesFolder, *entry));
    }
    return 1;
}

// Runs after the plug-in folder section, so the current folder in the search is the plug-in
// folder, as it is when the export check loads the plug-in. A plug-in that is no image of
// this program's machine is walked by nobody: the log then holds its timestamp alone.
int RunDependenciesSection() {
    const SectionLog log(kDependenciesLogPath);
    if (!log.Opened()) {
        return 1;
    }
    const DependencyFindings findings = FindDependencies(kPluginDllPath);
    if (!findings.walked) {
        return 1;
    }
    for (const DependencyRow& row : DependencyRows(findings.folders, findings.needed)) {
        RowStartKeepingEnd(row.name.c_str());
        RowCellKeepingEnd(kValueColumn, row.value.c_str());
        RowLastCell(kResultColumn, row.result.c_str());
    }
    return 1;
}
