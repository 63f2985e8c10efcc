// "Check Dll Fct Calls" on real plug-in DLLs built with the tests. A plug-in
// stays loaded for the rest of the process that loaded it, so every run that
// loads one happens in a child process of its own; this process never loads
// anything from the plug-in path.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "checks/export_check_win.h"
#include "report/column_sets.h"
#include "report/log_file_win.h"
#include "res/resource.h"
#include "tests/win/checks_test_support.h"
#include "tests/win/test_support.h"

namespace {

const char kPluginFolder[] = "C:\\mach3\\plugIns";
const char kPluginPath[] = "C:\\mach3\\plugIns\\lensora.dll";
const char kExportLog[] = "C:\\Lensora_Brenhold.logDlls";
const char kLogCaption[] = "Vorlix   CreateFile LogFileDlls";
const char kChildCaseVariable[] = "VORLIX_EXPORT_CHECK_CASE";

const char* const kEntryPoints[] = {
    "Config",      "DoDwell",         "Home",      "InitControl",     "JogOff",     "JogOn",
    "Notify",      "PostInitControl", "Probe",     "Purge",           "Reset",      "SetCode",
    "SetDoButton", "SetGetDRO",       "SetGetLED", "SetGetMenuRange", "SetProName", "SetSetDRO",
    "SetSetLED",   "StopPlug",        "Update",
};
constexpr int kEntryPointCount = 21;

// A fixture put into the plug-in folder beside the plug-in, under a name of its own.
struct BesideThePlugin {
    const char* fixture;
    const char* name;
};

struct PluginCase {
    const char* name;
    // Under fixtures\ beside the test program; copied to the plug-in path. nullptr: an
    // empty file there.
    const char* fixture;
    // What the fixture's .def file exports under a table name.
    std::set<std::string> exported;
    // The system's reason when the plug-in cannot be loaded, else 0.
    DWORD loadError;
    int runs;
    std::vector<BesideThePlugin> beside = {};
    // The text of the "Vorlix   Dependencies" box; empty: no such box.
    std::string dependencyProblems = "";
    // Where Wine's loader gives another reason than Windows', that reason; else 0.
    DWORD wineLoadError = 0;
    // Wine's loader binds a missing function to a stub and loads the plug-in where Windows
    // fails; the walk's box comes all the same.
    bool wineLoads = false;
    // Fixtures put anywhere (folders made as needed), and the PATH of the child.
    std::vector<BesideThePlugin> elsewhere = {};
    const char* path = nullptr;
};

DWORD LoadErrorHere(const PluginCase& c) {
    if (RunningUnderWine() && c.wineLoads) {
        return 0;
    }
    return RunningUnderWine() && c.wineLoadError != 0 ? c.wineLoadError : c.loadError;
}

// The box for the OpenCV plug-in whose old core comes first on PATH.
const char kOldOpenCvBox[] =
    "opencv_core248.dll  Lacks cvBeta (needed by lensora.dll): "
    "C:\\VorlixOldOpenCv\\opencv_core248.dll 2.4.6.0; C:\\VorlixNewOpenCv\\opencv_core248.dll "
    "(2.4.8.0, later in the search order) has it\r\n"
    "opencv_core248.dll  Lacks cvForward (forwarded to opencv_gone.cvForward) (needed by "
    "lensora.dll): C:\\VorlixOldOpenCv\\opencv_core248.dll 2.4.6.0; "
    "C:\\VorlixNewOpenCv\\opencv_core248.dll (2.4.8.0, later in the search order) has it\r\n"
    "opencv_core248.dll  Lacks #7 (needed by lensora.dll): "
    "C:\\VorlixOldOpenCv\\opencv_core248.dll 2.4.6.0; C:\\VorlixNewOpenCv\\opencv_core248.dll "
    "(2.4.8.0, later in the search order) has it\r\n"
    "opencv_highgui248.dll  Lacks cvHide (delay-loaded by lensora.dll): "
    "C:\\mach3\\opencv_highgui248.dll no version";

const std::set<std::string> kSomeEntryPoints = {
    "Config",          "Home",       "JogOn",  "PostInitControl", "Probe",
    "SetGetMenuRange", "SetProName", "Update",
};

const PluginCase kPluginCases[] = {
    {"SomeEntryPoints", "plugin_some_entry_points.dll", kSomeEntryPoints, 0, 1},
    {"AllEntryPoints", "plugin_all_entry_points.dll",
     std::set<std::string>(kEntryPoints, kEntryPoints + kEntryPointCount), 0, 1},
    {"NoEntryPoint", "absent\\absent_dependency.dll", {}, 0, 1},
    // Only "Notify" is exported exactly; "config", "HOME", "Probe@4" and the
    // like are not the names the check asks for.
    {"NamesDifferingInCase", "plugin_case_variants.dll", {"Notify"}, 0, 1},
    {"TwiceInOneProcess", "plugin_some_entry_points.dll", kSomeEntryPoints, 0, 2},
    // The system names only the plug-in; the second box names the DLL that is missing or of
    // the wrong bitness. The child runs in the plug-in folder, as after an analysis, so the
    // loader finds the DLLs beside the plug-in.
    {"DependencyMissing",
     "plugin_needing_absent_dependency.dll",
     {},
     ERROR_MOD_NOT_FOUND,
     1,
     {},
     "absent_dependency.dll  Not found (needed by lensora.dll)"},
    {"DependencyOfADependencyMissing",
     "plugin_two_levels.dll",
     {},
     ERROR_MOD_NOT_FOUND,
     1,
     {{"middle_dependency.dll", "middle_dependency.dll"}},
     "absent_dependency.dll  Not found (needed by middle_dependency.dll)"},
    {"DependencyOfTheOtherBitness",
     "plugin_needing_other_bitness.dll",
     {},
     ERROR_BAD_EXE_FORMAT,
     1,
     {{"other_bitness\\other_bitness.dll", "other_bitness.dll"}},
     std::string("other_bitness.dll  Not a ") + (kBuiltFor64Bits ? "64" : "32") +
         "-bit image (needed by lensora.dll)",
     // Windows stops at the first DLL of the name; Wine's loader passes over one of the wrong
     // machine, searches on and reports the DLL as missing.
     ERROR_MOD_NOT_FOUND},
    // The plug-in itself is no image this program can load: the first box says so, with
    // the plug-in's path where the system's text has its placeholder.
    // The old OpenCV core comes first on PATH and lacks three functions the plug-in needs;
    // the full one comes later. Windows refuses the plug-in (error 127), Wine loads it.
    {"OldOpenCvEarlierOnPath",
     "plugin_needing_opencv.dll",
     {"Config", "Update"},
     ERROR_PROC_NOT_FOUND,
     1,
     {},
     kOldOpenCvBox,
     0,
     true,
     {{"opencv_old\\opencv_core248.dll", "C:\\VorlixOldOpenCv\\opencv_core248.dll"},
      {"opencv_full\\opencv_core248.dll", "C:\\VorlixNewOpenCv\\opencv_core248.dll"},
      {"opencv_highgui248.dll", "C:\\mach3\\opencv_highgui248.dll"}},
     "C:\\VorlixOldOpenCv;C:\\VorlixNewOpenCv"},
    {"EmptyPlugin", nullptr, {}, ERROR_BAD_EXE_FORMAT, 1},
    {"PluginOfTheOtherBitness", "other_bitness\\other_bitness.dll", {}, ERROR_BAD_EXE_FORMAT, 1},
};

void PrintTo(const PluginCase& c, std::ostream* out) {
    *out << c.name;
}

const PluginCase* FindPluginCase(const std::string& name) {
    for (const PluginCase& c : kPluginCases) {
        if (name == c.name) {
            return &c;
        }
    }
    return nullptr;
}

std::string TimestampLineOf(const std::string& log) {
    const std::vector<std::string> lines = SplitLogLines(log);
    return lines.empty() ? std::string() : lines[0] + "\r\n";
}

// The system's text with every "%1" replaced by the plug-in path.
std::string WithPluginPath(std::string text) {
    for (size_t at = text.find("%1"); at != std::string::npos; at = text.find("%1", at)) {
        text.replace(at, 2, kPluginPath);
        at += std::strlen(kPluginPath);
    }
    return text;
}

void ExpectLoadFailureBoxes(const MessageBoxRecorder& boxes, DWORD error,
                            const std::string& dependencyProblems = "") {
    ASSERT_EQ(boxes.Boxes().size(), dependencyProblems.empty() ? 1u : 2u);
    const RecordedBox& box = boxes.Boxes()[0];
    EXPECT_EQ(box.caption, "Vorlix   LoadLibrary");
    EXPECT_EQ(box.text, "C:\\mach3\\plugIns\\lensora.dll  " + WithPluginPath(SystemText(error)));
    EXPECT_EQ(box.text.find("%1"), std::string::npos) << box.text;
    for (const RecordedBox& shown : boxes.Boxes()) {
        EXPECT_EQ(shown.style, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
        EXPECT_EQ(shown.owner, nullptr);
    }
    if (!dependencyProblems.empty()) {
        EXPECT_EQ(boxes.Boxes()[1].caption, "Vorlix   Dependencies");
        EXPECT_EQ(boxes.Boxes()[1].text, dependencyProblems);
    }
}

void ExpectNoListAndClosedLog(const ReportDialogUnderTest& dialog) {
    EXPECT_EQ(dialog.ColumnCount(), 0);
    EXPECT_EQ(dialog.RowCount(), 0);
    EXPECT_EQ(g_currentLogFile.Get(), INVALID_HANDLE_VALUE);
}

// One run of the check with the case's plug-in at the plug-in path.
void ExpectExportCheckRun(const PluginCase& c) {
    MessageBoxRecorder boxes;
    ReportDialogUnderTest dialog(ExportCheckDialogProc, 0);
    const std::string log = ReadFileBytes(kExportLog);
    const std::string timestamp = TimestampLineOf(log);
    EXPECT_TRUE(LooksLikeTimestamp(timestamp.substr(0, 19))) << log.substr(0, 40);
    EXPECT_EQ(GetFileAttributesA(kExportLog) & FILE_ATTRIBUTE_READONLY, 0u);

    if (LoadErrorHere(c) != 0) {
        ExpectLoadFailureBoxes(boxes, LoadErrorHere(c), c.dependencyProblems);
        ExpectNoListAndClosedLog(dialog);
        EXPECT_EQ(log, timestamp);
        return;
    }
    // Loaded: a box only for functions that Windows would have missed.
    if (c.dependencyProblems.empty()) {
        EXPECT_TRUE(boxes.Boxes().empty());
    } else {
        ASSERT_EQ(boxes.Boxes().size(), 1u);
        EXPECT_EQ(boxes.Boxes()[0].caption, "Vorlix   Dependencies");
        EXPECT_EQ(boxes.Boxes()[0].text, c.dependencyProblems);
        EXPECT_EQ(boxes.Boxes()[0].style, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
    }
    ASSERT_EQ(dialog.ColumnCount(), 2);
    EXPECT_EQ(dialog.ColumnTitle(0), kExportColumns[0].title);
    EXPECT_EQ(dialog.ColumnTitle(1), kExportColumns[1].title);
    ASSERT_EQ(dialog.RowCount(), kEntryPointCount);
    std::string expectedLog = timestamp;
    for (int row = 0; row < kEntryPointCount; ++row) {
        const std::string name = kEntryPoints[row];
        const std::string result = c.exported.count(name) ? "found" : "Not found";
        EXPECT_EQ(dialog.Row(row), (std::vector<std::string>{name, result})) << "row " << row;
        expectedLog += PadTo(name, 30) + result + "\r\n";
    }
    EXPECT_EQ(log, expectedLog);
    EXPECT_EQ(g_currentLogFile.Get(), INVALID_HANDLE_VALUE);
}

// Runs in a child process started by PluginInItsOwnProcess, with the case's
// plug-in already at the plug-in path.
TEST(ExportCheckChild, DISABLED_RunsTheCaseNamedByTheParent) {
    const std::string caseName = EnvironmentValue(kChildCaseVariable);
    if (caseName.empty()) {
        GTEST_SKIP() << "runs only in the child process of ExportCheck/PluginInItsOwnProcess";
    }
    const PluginCase* c = FindPluginCase(caseName);
    ASSERT_NE(c, nullptr) << caseName;
    // Windows XP may show its own box for a missing dependency; nobody
    // would answer it here.
    SetErrorMode(SEM_FAILCRITICALERRORS);
    ASSERT_TRUE(SetCurrentDirectoryA(kPluginFolder)) << SystemText(GetLastError());
    for (int run = 0; run < c->runs; ++run) {
        SCOPED_TRACE("run " + std::to_string(run + 1));
        ExpectExportCheckRun(*c);
        // The plug-in is never unloaded; a later run finds it loaded.
        EXPECT_EQ(GetModuleHandleA(kPluginPath) != nullptr, LoadErrorHere(*c) == 0);
    }
}

class PluginInItsOwnProcess : public testing::TestWithParam<PluginCase> {};

TEST_P(PluginInItsOwnProcess, GivesTheEntryPointsInTableOrderAndAnExactLog) {
    const PluginCase& c = GetParam();
    ScopedDirectory folder(kPluginFolder);
    PreservedFile plugin(kPluginPath);
    PreservedFile log(kExportLog);
    if (c.fixture == nullptr) {
        WriteFileBytes(kPluginPath, "");
    } else {
        ASSERT_TRUE(CopyFileA(FixturePath(c.fixture).c_str(), kPluginPath, FALSE))
            << FixturePath(c.fixture) << ": " << SystemText(GetLastError());
    }
    // Folders go after the files in them.
    std::vector<std::unique_ptr<ScopedDirectory>> folders;
    std::vector<std::unique_ptr<PreservedFile>> besides;
    for (const BesideThePlugin& beside : c.beside) {
        const std::string path = std::string(kPluginFolder) + "\\" + beside.name;
        besides.emplace_back(new PreservedFile(path));
        ASSERT_TRUE(CopyFileA(FixturePath(beside.fixture).c_str(), path.c_str(), FALSE))
            << FixturePath(beside.fixture) << ": " << SystemText(GetLastError());
    }
    for (const BesideThePlugin& placed : c.elsewhere) {
        std::string path = placed.name;
        folders.emplace_back(new ScopedDirectory(path.substr(0, path.rfind('\\'))));
        besides.emplace_back(new PreservedFile(path));
        ASSERT_TRUE(CopyFileA(FixturePath(placed.fixture).c_str(), path.c_str(), FALSE))
            << path << ": " << SystemText(GetLastError());
    }
    std::unique_ptr<ScopedEnvironmentVariable> pathVariable;
    if (c.path != nullptr) {
        pathVariable.reset(new ScopedEnvironmentVariable("PATH", c.path));
    }
    // A read-only log longer than the new one: it must be cleared and cut.
    WriteFileBytes(kExportLog, std::string(5000, 'x'));
    SetFileAttributesA(kExportLog, FILE_ATTRIBUTE_READONLY);

    const ChildRun child = RunTestsInChild("ExportCheckChild.*", kChildCaseVariable, c.name);
    EXPECT_TRUE(child.passed) << "exit code " << child.exitCode << "\n" << child.output;
}

INSTANTIATE_TEST_SUITE_P(ExportCheck, PluginInItsOwnProcess, testing::ValuesIn(kPluginCases),
                         [](const testing::TestParamInfo<PluginCase>& info) {
                             return std::string(info.param.name);
                         });

// The tests below run here: with no file at the plug-in path nothing is loaded.
class ExportCheckWithoutPlugin : public testing::Test {
protected:
    ExportCheckWithoutPlugin() : folder_(kPluginFolder), plugin_(kPluginPath), log_(kExportLog) {
        RemoveFile(kPluginPath);
        RemoveFile(kExportLog);
    }
    ~ExportCheckWithoutPlugin() override { CloseCurrentLog(); }

    ScopedDirectory folder_;
    PreservedFile plugin_;
    PreservedFile log_;
    MessageBoxRecorder boxes_;
};

TEST_F(ExportCheckWithoutPlugin, ShowsTheLoadFailureAndLogsOnlyTheTimestamp) {
    ReportDialogUnderTest dialog(ExportCheckDialogProc, 0);
    // No file at the plug-in path: nothing to walk, so no second box.
    ExpectLoadFailureBoxes(boxes_, ERROR_MOD_NOT_FOUND);
    ExpectNoListAndClosedLog(dialog);
    const std::string log = ReadFileBytes(kExportLog);
    EXPECT_EQ(log.size(), 21u);
    EXPECT_TRUE(LooksLikeTimestamp(log.substr(0, 19))) << log;
    EXPECT_EQ(log.substr(19), "\r\n");

    EXPECT_FALSE(dialog.ControlVisible(IDC_SORT_CASE_SENSITIVE));
    for (int id :
         {IDC_SEARCH_NAME_COLUMN, IDC_SEARCH_VALUE_COLUMN, IDC_SEARCH_GROUP, IDC_SEARCH_TEXT,
          IDC_SEARCH_CASE_SENSITIVE, IDC_SEARCH, IDC_NEXT, IDC_SEARCH_LABEL}) {
        EXPECT_FALSE(dialog.ControlVisible(id)) << id;
    }
    EXPECT_TRUE(dialog.ControlVisible(IDC_REPORT_LIST));
    EXPECT_TRUE(dialog.ControlVisible(IDC_REPORT_OK));
}

TEST_F(ExportCheckWithoutPlugin, ClearsReadOnlyHiddenAndSystemAttributesAndRewritesTheLog) {
    WriteFileBytes(kExportLog, std::string(3000, 'o') + "\r\n");
    SetFileAttributesA(kExportLog,
                       FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    ReportDialogUnderTest dialog(ExportCheckDialogProc, 0);
    const DWORD attributes = GetFileAttributesA(kExportLog);
    EXPECT_EQ(
        attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), 0u);
    const std::string log = ReadFileBytes(kExportLog);
    EXPECT_EQ(log.size(), 21u) << log.substr(0, 40);
    EXPECT_TRUE(LooksLikeTimestamp(log.substr(0, 19)));
}

TEST_F(ExportCheckWithoutPlugin, OpensTheLogForReadingAndWritingWithoutSharing) {
    const struct {
        bool exists;
        DWORD disposition;
    } cases[] = {{true, static_cast<DWORD>(TRUNCATE_EXISTING)},
                 {false, static_cast<DWORD>(CREATE_ALWAYS)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.exists ? "existing log" : "new log");
        RemoveFile(kExportLog);
        if (c.exists) {
            WriteFileBytes(kExportLog, "old\r\n");
        }
        LogOpenWatch watch(kExportLog);
        ASSERT_TRUE(watch.Active());
        ReportDialogUnderTest dialog(ExportCheckDialogProc, 0);
        ASSERT_EQ(watch.Opens().size(), 1u);
        const LogOpenWatch::Open& open = watch.Opens()[0];
        EXPECT_EQ(open.access, static_cast<DWORD>(GENERIC_READ | GENERIC_WRITE));
        EXPECT_EQ(open.share, 0u);
        EXPECT_TRUE(open.defaultSecurity);
        EXPECT_EQ(open.disposition, c.disposition);
        EXPECT_EQ(open.attributes, static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
        EXPECT_TRUE(open.noTemplate);
        EXPECT_EQ(watch.Seeks(), 1);
    }
}

TEST_F(ExportCheckWithoutPlugin, ALogThatCannotBeOpenedStopsTheCheckBeforeLoading) {
    const struct {
        const char* situation;
        bool exists;
        DWORD error;
    } cases[] = {
        {"existing log held open elsewhere", true, ERROR_SHARING_VIOLATION},
        {"new log that cannot be created", false, ERROR_ACCESS_DENIED},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        boxes_.Clear();
        RemoveFile(kExportLog);
        HANDLE holder = INVALID_HANDLE_VALUE;
        if (c.exists) {
            WriteFileBytes(kExportLog, "kept\r\n");
            holder = CreateFileA(kExportLog, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        }
        {
            LogOpenWatch watch(kExportLog);
            if (!c.exists) {
                watch.FailOpen(CREATE_ALWAYS, c.error);
            }
            ReportDialogUnderTest dialog(ExportCheckDialogProc, 0);
            ExpectNoListAndClosedLog(dialog);
        }
        if (holder != INVALID_HANDLE_VALUE) {
            CloseHandle(holder);
        }
        ASSERT_EQ(boxes_.Boxes().size(), 1u);
        EXPECT_EQ(boxes_.Boxes()[0].caption, kLogCaption);
        EXPECT_EQ(boxes_.Boxes()[0].text, SystemText(c.error));
        EXPECT_EQ(boxes_.Boxes()[0].style, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
        EXPECT_EQ(boxes_.Boxes()[0].owner, nullptr);
        EXPECT_EQ(ReadFileBytes(kExportLog), c.exists ? "kept\r\n" : "");
    }
}

TEST_F(ExportCheckWithoutPlugin, ALogThatCannotBeRewoundIsClosedEmpty) {
    WriteFileBytes(kExportLog, "old content\r\n");
    {
        LogOpenWatch watch(kExportLog);
        watch.FailSeek(ERROR_NEGATIVE_SEEK);
        ReportDialogUnderTest dialog(ExportCheckDialogProc, 0);
        ExpectNoListAndClosedLog(dialog);
    }
    ASSERT_EQ(boxes_.Boxes().size(), 1u);
    EXPECT_EQ(boxes_.Boxes()[0].caption, "Vorlix   SetFilePointer");
    EXPECT_EQ(boxes_.Boxes()[0].text, SystemText(ERROR_NEGATIVE_SEEK));
    EXPECT_EQ(boxes_.Boxes()[0].style, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
    EXPECT_TRUE(FileExistsAt(kExportLog));
    EXPECT_EQ(ReadFileBytes(kExportLog), "");
}

TEST_F(ExportCheckWithoutPlugin, EscapeAndTheCloseBoxEndWithTwoAndOkWith1010) {
    for (const ReportClosing& c : kReportClosings) {
        EXPECT_EQ(RunReportDialogModal(ExportCheckDialogProc, 0, {c.message}), c.result) << c.how;
    }
}

}  // namespace
