// "Analyze" from the dialog's initialisation to the finished list: run order, header row,
// element rows and the element log, the dialog's buttons, and the failures that must not
// stop the run or open gaps in the list.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/analysis_dialog_win.h"
#include "analysis/analysis_state_win.h"
#include "platform/handles_win.h"
#include "res/resource.h"
#include "tests/win/analysis_test_support.h"
#include "tests/win/registry_section_support.h"
#include "tests/win/test_support.h"

namespace {

using Row = std::vector<std::string>;

// The rows at and after `first` whose Name is "Installed Plugin".
int CountPluginRows(const ReportDialogUnderTest& dialog, int first) {
    int count = 0;
    while (first + count < dialog.RowCount() &&
           dialog.Cell(first + count, 0) == "Installed Plugin") {
        ++count;
    }
    return count;
}

// Element log lines as the list shows the element rows: path padded to 90, then the result.
std::vector<std::string> ElementLinesFromList(const ReportDialogUnderTest& dialog,
                                              const std::vector<int>& rows) {
    std::vector<std::string> lines;
    for (int row : rows) {
        lines.push_back(PaddedName(dialog.Cell(row, 0)) + dialog.Cell(row, 2));
    }
    return lines;
}

// Element rows of a run without a version row: the plug-in DLL, then 41 OpenCV rows.
std::vector<int> ElementRows(int pluginDllRow) {
    std::vector<int> rows{pluginDllRow};
    for (int i = 1; i <= kOpenCvRowCount; ++i) {
        rows.push_back(pluginDllRow + i);
    }
    return rows;
}

class AnalysisRunTest : public testing::Test {
protected:
    void SetUp() override {
        // The machine without the plug-in, unless a test makes parts of it.
        ASSERT_FALSE(FileExistsAt("C:\\Mach3")) << "left over by another test";
        ASSERT_FALSE(FileExistsAt(programFiles_ + "\\Lensora_Brenhold"));
        ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kNativeUninstallKey));
        ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kWowUninstallKey));
    }
    void TearDown() override {
        for (const char* log : {kElementLog, kSystemDataLog, kPluginVersionLog, kPluginsLog}) {
            SetFileAttributesA(log, FILE_ATTRIBUTE_NORMAL);
        }
    }

    const std::string programFiles_ = ProgramFilesFromEnvironment();
    MessageBoxRecorder boxes_;
};

TEST_F(AnalysisRunTest, WithoutThePluginEveryElementIsNotFoundInListAndLog) {
    WriteFileBytes(kElementLog, "01.01.2020 10:00 00\r\nline of an earlier run\r\n");
    WriteFileBytes(kPluginVersionLog, "earlier version log\r\n");
    const std::string directoryBefore = CurrentDirectory();

    const std::int64_t before = LocalNowSeconds();
    ReportDialogUnderTest dialog(AnalysisDialogProc, 0);
    const std::int64_t after = LocalNowSeconds();

    // The header row: the run's date and time, in column 0 only.
    const std::int64_t header = TimestampSeconds(dialog.Cell(kHeaderRow, 0));
    EXPECT_GE(header, before) << dialog.Cell(kHeaderRow, 0);
    EXPECT_LE(header, after) << dialog.Cell(kHeaderRow, 0);
    EXPECT_EQ(dialog.Cell(kHeaderRow, 1), "");
    EXPECT_EQ(dialog.Cell(kHeaderRow, 2), "");

    EXPECT_EQ(dialog.Cell(kFirstSystemRow, 0), "Memory (RAM)");
    EXPECT_EQ(dialog.Cell(kPluginDllRow - 1, 0), "Processor Architecture");

    // The plug-in DLL, no version row (no uninstall key), the OpenCV files in list order.
    std::vector<std::string> paths{kPluginDll};
    for (const std::string& path : OpenCvPaths(programFiles_)) {
        paths.push_back(path);
    }
    ASSERT_GE(dialog.RowCount(), kPluginDllRow + 42);
    for (int i = 0; i < 42; ++i) {
        EXPECT_EQ(dialog.Row(kPluginDllRow + i), (Row{paths[i], "", "Not found"})) << i;
    }
    // No plug-in folder: the settings section follows the last OpenCV row.
    EXPECT_EQ(CountPluginRows(dialog, kPluginDllRow + 42), 0);

    // The element log: its own timestamp line and 42 lines, nothing of the earlier run.
    const std::vector<std::string> lines = SplitLogLines(ReadFileBytes(kElementLog));
    ASSERT_EQ(lines.size(), 43u);
    EXPECT_GE(TimestampSeconds(lines[0]), before) << lines[0];
    EXPECT_LE(TimestampSeconds(lines[0]), after) << lines[0];
    for (int i = 0; i < 42; ++i) {
        EXPECT_EQ(lines[i + 1], PadTo(paths[i], 90) + "Not found") << i;
    }
    EXPECT_EQ(ReadFileBytes(kElementLog).substr(ReadFileBytes(kElementLog).size() - 2), "\r\n");

    // Sections that found nothing: the plug-in folder log holds its timestamp line only, the
    // version log of the earlier run is untouched, and without a plug-in folder to enter the
    // current directory stays.
    const std::vector<std::string> pluginLines = SplitLogLines(ReadFileBytes(kPluginsLog));
    ASSERT_EQ(pluginLines.size(), 1u);
    EXPECT_TRUE(LooksLikeTimestamp(pluginLines[0]));
    EXPECT_EQ(ReadFileBytes(kPluginVersionLog), "earlier version log\r\n");
    EXPECT_EQ(CurrentDirectory(), directoryBefore);

    EXPECT_TRUE(RunBoxes(boxes_.Boxes()).empty());
    // The product name list lives only during the run; the program files folder stays.
    EXPECT_EQ(g_productNames, nullptr);
    EXPECT_EQ(std::string(g_programFilesFolder), programFiles_);
}

TEST_F(AnalysisRunTest, FoundFilesAndThreePluginsAppearWhereTheyAreAndThePluginFolderStaysCurrent) {
    TemporaryTree tree;
    const std::string bin = programFiles_ + "\\" + kOpenCvFolderBelowProgramFiles;
    ASSERT_TRUE(tree.Folder(kPluginFolder));
    ASSERT_TRUE(tree.Folder(bin));
    const std::vector<std::string> openCv = OpenCvPaths(programFiles_);
    // Two files, the last entry, and one entry that is a folder: it counts as present.
    const std::vector<int> presentOpenCv = {0, 4, 21, 40};
    ASSERT_TRUE(tree.File(openCv[0], "x"));
    ASSERT_TRUE(tree.File(openCv[4], "x"));
    ASSERT_TRUE(tree.Folder(openCv[21]));
    ASSERT_TRUE(tree.File(openCv[40], "x"));
    ASSERT_TRUE(tree.File(kPluginDll, "MZ"));
    ASSERT_TRUE(tree.File(std::string(kPluginFolder) + "\\Camera.DLL", "", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(tree.File(std::string(kPluginFolder) + "\\zoom.dll"));
    ASSERT_TRUE(tree.File(std::string(kPluginFolder) + "\\notes.txt"));
    ASSERT_TRUE(tree.File(std::string(kPluginFolder) + "\\lensora.dll.bak"));

    // The three DLLs in the order in which the system lists them.
    std::vector<std::string> dlls;
    WIN32_FIND_DATAA found;
    {
        const UniqueFind search(FindFirstFileA("C:\\Mach3\\plugins\\*.dll", &found));
        ASSERT_TRUE(search);
        do {
            dlls.push_back(found.cFileName);
        } while (FindNextFileA(search.Get(), &found));
    }
    ASSERT_EQ(dlls.size(), 3u);

    ScopedCurrentDirectory restoreDirectory;
    const std::string directoryBeforeRun = CurrentDirectory();
    ReportDialogUnderTest dialog(AnalysisDialogProc, 0);
    const std::string directoryAfterRun = CurrentDirectory();

    ASSERT_GE(dialog.RowCount(), kPluginDllRow + 42 + 3);
    EXPECT_EQ(dialog.Row(kPluginDllRow), (Row{kPluginDll, "", "found"}));
    for (int i = 0; i < kOpenCvRowCount; ++i) {
        const bool present =
            std::find(presentOpenCv.begin(), presentOpenCv.end(), i) != presentOpenCv.end();
        EXPECT_EQ(dialog.Row(kPluginDllRow + 1 + i),
                  (Row{openCv[i], "", present ? "found" : "Not found"}))
            << i;
    }
    const int firstPluginRow = kPluginDllRow + 42;
    ASSERT_EQ(CountPluginRows(dialog, firstPluginRow), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(dialog.Row(firstPluginRow + i), (Row{"Installed Plugin", dlls[i], ""})) << i;
    }

    // Both logs hold exactly what the list shows.
    std::vector<std::string> elementLines = SplitLogLines(ReadFileBytes(kElementLog));
    ASSERT_EQ(elementLines.size(), 43u);
    EXPECT_TRUE(LooksLikeTimestamp(elementLines[0]));
    elementLines.erase(elementLines.begin());
    EXPECT_EQ(elementLines, ElementLinesFromList(dialog, ElementRows(kPluginDllRow)));
    const std::vector<std::string> pluginLines = SplitLogLines(ReadFileBytes(kPluginsLog));
    ASSERT_EQ(pluginLines.size(), 4u);
    EXPECT_TRUE(LooksLikeTimestamp(pluginLines[0]));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pluginLines[i + 1], PadTo("Installed Plugin", 90) + dlls[i]) << i;
    }

    // The search ran in the plug-in folder, and the run leaves it current.
    EXPECT_NE(directoryBeforeRun, directoryAfterRun);
    EXPECT_EQ(_stricmp(directoryAfterRun.c_str(), kPluginFolder), 0) << directoryAfterRun;
    EXPECT_TRUE(RunBoxes(boxes_.Boxes()).empty());
}

TEST_F(AnalysisRunTest, AnOverLongProgramFilesFolderIsCheckedWholeNeverCutToAnotherFile) {
    // 210 characters: the OpenCV folder below it still fits MAX_PATH, every joined file
    // path does not (the shortest is 263 characters).
    const std::string folder = "C:\\anarun_" + std::string(200, 'p');
    const std::string bin = folder + "\\" + kOpenCvFolderBelowProgramFiles;
    TemporaryTree tree;
    ASSERT_TRUE(tree.Folder(bin));
    // What the first joined path becomes when it is cut to 259 characters: a file that
    // exists, so that a cut would report "found".
    const std::vector<std::string> paths = OpenCvPaths(folder);
    ASSERT_GT(paths[0].size(), 259u);
    ASSERT_TRUE(tree.File(paths[0].substr(0, 259), "cut"));

    ScopedRegistryText programFiles(HKEY_LOCAL_MACHINE,
                                    "Software\\Microsoft\\Windows\\CurrentVersion",
                                    "ProgramFilesDir", folder);
    ASSERT_TRUE(programFiles.Applied());
    char reported[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, reported, CSIDL_PROGRAM_FILES, FALSE);
    ASSERT_EQ(std::string(reported), folder) << "the system does not report the folder";

    ReportDialogUnderTest dialog(AnalysisDialogProc, 0);

    ASSERT_GE(dialog.RowCount(), kPluginDllRow + 42);
    for (int i = 0; i < kOpenCvRowCount; ++i) {
        EXPECT_EQ(dialog.Row(kPluginDllRow + 1 + i), (Row{paths[i], "", "Not found"})) << i;
    }
    // Paths of 90 characters or more are written unpadded, each with the writer's warning.
    const std::vector<std::string> lines = SplitLogLines(ReadFileBytes(kElementLog));
    ASSERT_EQ(lines.size(), 43u);
    for (int i = 0; i < kOpenCvRowCount; ++i) {
        EXPECT_EQ(lines[i + 2], paths[i] + "Not found") << i;
    }
    int warnings = 0;
    for (const RecordedBox& box : RunBoxes(boxes_.Boxes())) {
        EXPECT_EQ(box.text, "BLANK_TAB < len") << box.caption;
        warnings += box.text == "BLANK_TAB < len" ? 1 : 0;
    }
    EXPECT_EQ(warnings, kOpenCvRowCount);
}

// A log that cannot be opened costs its own lines (and, for the element log, the Result
// cells), never the order of the rows.
TEST_F(AnalysisRunTest, UnwritableLogsStopNeitherTheRunNorTheRowsThatFollow) {
    struct Case {
        const char* readOnlyLog;
        int systemRows;
        const char* elementResult;
        std::vector<std::string> captions;
    };
    std::vector<std::string> elementCaptions{"Vorlix   CreateFile"};
    elementCaptions.insert(elementCaptions.end(), 42, "CreateFile");
    const Case cases[] = {
        {kSystemDataLog, 0, "Not found", {"Vorlix   CreateFile"}},
        {kElementLog, kSystemRowCount, "", elementCaptions},
        {kPluginsLog, kSystemRowCount, "Not found", {"Vorlix   CreateFile"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.readOnlyLog);
        TemporaryTree tree;
        ASSERT_TRUE(tree.Folder(kPluginFolder));
        ASSERT_TRUE(tree.File(std::string(kPluginFolder) + "\\other.dll"));
        const std::string oldBytes = "01.01.2020 10:00 00\r\nkept\r\n";
        ASSERT_TRUE(tree.File(c.readOnlyLog, oldBytes, FILE_ATTRIBUTE_READONLY));
        ScopedCurrentDirectory restoreDirectory;
        boxes_.Clear();

        ReportDialogUnderTest dialog(AnalysisDialogProc, 0);

        const int pluginDllRow = kFirstSystemRow + c.systemRows;
        EXPECT_EQ(dialog.Cell(kHeaderRow, 1), "");
        EXPECT_TRUE(LooksLikeTimestamp(dialog.Cell(kHeaderRow, 0)));
        if (c.systemRows > 0) {
            EXPECT_EQ(dialog.Cell(kFirstSystemRow, 0), "Memory (RAM)");
        }
        const std::vector<std::string> paths = OpenCvPaths(programFiles_);
        EXPECT_EQ(dialog.Row(pluginDllRow), (Row{kPluginDll, "", c.elementResult}));
        for (int i = 0; i < kOpenCvRowCount; ++i) {
            EXPECT_EQ(dialog.Row(pluginDllRow + 1 + i), (Row{paths[i], "", c.elementResult})) << i;
        }
        const bool pluginsLogged = std::string(c.readOnlyLog) != kPluginsLog;
        const int firstPluginRow = pluginDllRow + 42;
        EXPECT_EQ(CountPluginRows(dialog, firstPluginRow), pluginsLogged ? 1 : 0);
        if (pluginsLogged) {
            EXPECT_EQ(dialog.Row(firstPluginRow), (Row{"Installed Plugin", "other.dll", ""}));
        }

        EXPECT_EQ(ReadFileBytes(c.readOnlyLog), oldBytes);
        const std::vector<RecordedBox> shown = RunBoxes(boxes_.Boxes());
        ASSERT_EQ(shown.size(), c.captions.size());
        for (std::size_t i = 0; i < shown.size(); ++i) {
            EXPECT_EQ(shown[i].caption, c.captions[i]) << i;
            EXPECT_EQ(shown[i].text, SystemText(ERROR_ACCESS_DENIED)) << i;
            EXPECT_EQ(shown[i].owner, nullptr);
            EXPECT_EQ(shown[i].style, static_cast<UINT>(i == 0 ? MB_TASKMODAL | MB_ICONERROR
                                                               : MB_TASKMODAL | MB_ICONINFORMATION))
                << i;
        }
        SetFileAttributesA(c.readOnlyLog, FILE_ATTRIBUTE_NORMAL);
    }
}

BOOL WINAPI FailingGetVersionEx(OSVERSIONINFOA*) {
    SetLastError(ERROR_OLD_WIN_VERSION);
    return FALSE;
}

TEST_F(AnalysisRunTest, AFailedVersionQueryShowsItsBoxAndLeavesListAndLogsAlone) {
    const std::string earlier = "01.01.2020 10:00 00\r\nearlier\r\n";
    for (const char* log : {kElementLog, kSystemDataLog, kPluginsLog}) {
        WriteFileBytes(log, earlier);
    }
    ImportPatch failing("kernel32.dll", "GetVersionExA",
                        reinterpret_cast<void*>(&FailingGetVersionEx));
    ASSERT_TRUE(failing.Active());

    ReportDialogUnderTest dialog(AnalysisDialogProc, 0);

    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].caption, "Vorlix   GetVersionInfoEx ");
    EXPECT_EQ(boxes_.Boxes()[0].text, SystemText(ERROR_OLD_WIN_VERSION));
    EXPECT_EQ(boxes_.Boxes()[0].style, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
    EXPECT_EQ(boxes_.Boxes()[0].owner, nullptr);
    EXPECT_EQ(dialog.ColumnCount(), 0);
    EXPECT_EQ(dialog.RowCount(), 0);
    for (const char* log : {kElementLog, kSystemDataLog, kPluginsLog}) {
        EXPECT_EQ(ReadFileBytes(log), earlier) << log;
    }
    // The search group and the sort box are hidden before the query.
    EXPECT_FALSE(dialog.ControlVisible(IDC_SORT_CASE_SENSITIVE));
    EXPECT_FALSE(dialog.ControlVisible(IDC_SEARCH_GROUP));
    EXPECT_TRUE(dialog.ControlVisible(IDC_REPORT_OK));
}

// Escape must not throw a finished analysis away; "OK" and the close box end it.
TEST_F(AnalysisRunTest, OnlyOkAndTheCloseBoxEndTheDialog) {
    const PostedMessage ok{WM_COMMAND, MAKEWPARAM(IDC_REPORT_OK, BN_CLICKED), 0};
    const PostedMessage cancel{WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0};
    const PostedMessage escapeKey{WM_KEYDOWN, VK_ESCAPE, 0};
    const PostedMessage closeBox{WM_CLOSE, 0, 0};
    const INT_PTR stillOpen = -1;  // ended by the helper's timeout
    const struct {
        const char* what;
        std::vector<PostedMessage> messages;
        INT_PTR result;
    } cases[] = {
        {"OK", {ok}, IDC_REPORT_OK},
        {"close box", {closeBox}, 0},
        {"IDCANCEL", {cancel}, stillOpen},
        {"Escape key", {escapeKey}, stillOpen},
        {"Escape, then OK", {escapeKey, cancel, ok}, IDC_REPORT_OK},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RunReportDialogModal(AnalysisDialogProc, 0, c.messages, 1500), c.result)
            << c.what;
    }
}

}  // namespace
