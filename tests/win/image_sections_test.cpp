// The file versions and dependencies sections: rows and log bytes for real DLLs built with
// the tests, and their place after the PATH section in a whole run.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "analysis/analysis_dialog_win.h"
#include "analysis/analysis_sections_win.h"
#include "analysis/analysis_state_win.h"
#include "tests/win/analysis_test_support.h"
#include "tests/win/checks_test_support.h"
#include "tests/win/registry_section_support.h"
#include "tests/win/test_support.h"

namespace {

using Row = std::vector<std::string>;

const char kVersionsLog[] = "C:\\Lensora_Brenhold.logAnalyzeFileVersions";
const char kDependenciesLog[] = "C:\\Lensora_Brenhold.logAnalyzeDependencies";
const std::string kOwnBits = kBuiltFor64Bits ? "64-bit" : "32-bit";
const std::string kOtherBits = kBuiltFor64Bits ? "32-bit" : "64-bit";

std::string Fixture(const char* name) {
    return ReadFileBytes(FixturePath(name));
}

// A standard analysis log line of three fields.
std::string LineOf(const Row& row) {
    return PadTo(row[0], 90) + PadTo(row[1], 80) + row[2];
}

std::vector<std::string> BodyLines(const char* log) {
    std::vector<std::string> lines = SplitLogLines(ReadFileBytes(log));
    EXPECT_FALSE(lines.empty()) << log;
    if (!lines.empty()) {
        EXPECT_TRUE(LooksLikeTimestamp(lines[0])) << lines[0];
        lines.erase(lines.begin());
    }
    return lines;
}

std::string SystemFolder() {
    char folder[MAX_PATH];
    GetSystemDirectoryA(folder, MAX_PATH);
    return folder;
}

std::string WindowsFolder() {
    char folder[MAX_PATH];
    GetSystemWindowsDirectoryA(folder, MAX_PATH);
    return folder;
}

std::string SystemFile(const std::string& name) {
    return SystemFolder() + "\\" + name;
}

// The file a module of this process was loaded from, as the system names it.
std::string LoadedModulePath(const char* name) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(GetModuleHandleA(name), path, MAX_PATH);
    return std::string(path, length);
}

// Two folders that no test makes: PATH as the searches in these tests see it.
const char kPathOne[] = "C:\\VorlixPathOne";
const char kPathTwo[] = "C:\\VorlixPathTwo";

// The search folders of the plug-in at C:\Mach3\Plugins seen from its host, C:\Mach3, with
// the current folder and PATH given.
std::vector<Row> SearchFolderRows(const std::string& current,
                                  const std::vector<std::string>& path) {
    std::vector<Row> rows = {
        {"Search folder 1", "C:\\Mach3", "program folder"},
        {"Search folder 2", SystemFolder(), "system folder"},
        {"Search folder 3", WindowsFolder() + "\\System", "16-bit system folder"},
        {"Search folder 4", WindowsFolder(), "Windows folder"},
        {"Search folder 5", current, "current folder"},
    };
    for (const std::string& folder : path) {
        rows.push_back({"Search folder " + std::to_string(rows.size() + 1), folder, "PATH"});
    }
    // A folder that is not there is said so (Wine has no 16-bit system folder).
    for (Row& row : rows) {
        const DWORD attributes = GetFileAttributesA(row[1].c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            row[2] += ", not found";
        }
    }
    return rows;
}

// The process's program files folder as the analysis run sets it, put back afterwards.
class ScopedProgramFiles {
public:
    explicit ScopedProgramFiles(const std::string& folder) {
        std::memcpy(saved_, g_programFilesFolder, sizeof saved_);
        std::snprintf(g_programFilesFolder, sizeof g_programFilesFolder, "%s", folder.c_str());
    }
    ~ScopedProgramFiles() { std::memcpy(g_programFilesFolder, saved_, sizeof saved_); }
    ScopedProgramFiles(const ScopedProgramFiles&) = delete;
    ScopedProgramFiles& operator=(const ScopedProgramFiles&) = delete;

private:
    char saved_[MAX_PATH];
};

class ImageSectionsTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(FileExistsAt("C:\\Mach3")) << "left over by another test";
        ASSERT_FALSE(FileExistsAt(programFiles_ + "\\Lensora_Brenhold")) << "left over";
    }
    // The plug-in that needs middle_dependency.dll (beside it), which needs a DLL that is
    // nowhere.
    void MakeTwoLevelPlugin() {
        ASSERT_TRUE(tree_.Folder(kPluginFolder));
        ASSERT_TRUE(tree_.File(kPluginDll, Fixture("plugin_two_levels.dll")));
        ASSERT_TRUE(tree_.File(std::string(kPluginFolder) + "\\middle_dependency.dll",
                               Fixture("middle_dependency.dll")));
    }

    const std::string programFiles_ = ProgramFilesFromEnvironment();
    TemporaryTree tree_;
    ScopedCurrentDirectory directory_;
    MessageBoxRecorder boxes_;
};

TEST_F(ImageSectionsTest, EachExistingFileGetsItsVersionAndBitnessInListOrder) {
    const std::vector<std::string> openCv = OpenCvPaths(programFiles_);
    ASSERT_TRUE(tree_.Folder(kPluginFolder));
    ASSERT_TRUE(tree_.Folder(programFiles_ + "\\" + kOpenCvFolderBelowProgramFiles));
    ASSERT_TRUE(tree_.File(kPluginDll, Fixture("plugin_two_levels.dll")));
    // Entries 4, 6, 9, 21 and 38: a versioned DLL, a text file, a DLL of the other bitness,
    // an empty file and a folder.
    ASSERT_TRUE(tree_.File(openCv[4], Fixture("versioned.dll")));
    ASSERT_TRUE(tree_.File(openCv[6], "this is no program\r\n"));
    ASSERT_TRUE(tree_.File(openCv[9], Fixture("other_bitness\\other_bitness.dll")));
    ASSERT_TRUE(tree_.File(openCv[21], ""));
    ASSERT_TRUE(tree_.Folder(openCv[38]));
    const ScopedProgramFiles programFiles(programFiles_);
    ReportDialogUnderTest dialog(AnalysisSectionListProc, 0);

    EXPECT_EQ(RunFileVersionsSection(), 1);

    const std::vector<Row> expected = {
        {kPluginDll, "no version", kOwnBits},   {openCv[4], "2.4.8.0", kOwnBits},
        {openCv[6], "no version", "no image"},  {openCv[9], "no version", kOtherBits},
        {openCv[21], "no version", "no image"}, {openCv[38], "no version", "not readable"},
    };
    EXPECT_EQ(SectionRows(dialog), expected);
    std::vector<std::string> lines;
    for (const Row& row : expected) {
        lines.push_back(LineOf(row));
    }
    EXPECT_EQ(BodyLines(kVersionsLog), lines);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

TEST_F(ImageSectionsTest, WithoutAnyOfTheFilesBothSectionsWriteOnlyTheirTimestamp) {
    const ScopedProgramFiles programFiles(programFiles_);
    ReportDialogUnderTest dialog(AnalysisSectionListProc, 0);
    WriteFileBytes(kVersionsLog, "01.01.2020 10:00 00\r\nold line\r\n");
    WriteFileBytes(kDependenciesLog, "01.01.2020 10:00 00\r\nold line\r\n");

    EXPECT_EQ(RunFileVersionsSection(), 1);
    EXPECT_EQ(RunDependenciesSection(), 1);

    EXPECT_EQ(dialog.RowCount(), 1);
    EXPECT_TRUE(BodyLines(kVersionsLog).empty());
    EXPECT_TRUE(BodyLines(kDependenciesLog).empty());
    EXPECT_TRUE(boxes_.Boxes().empty());
}

// The loader's search finds the middle DLL in the current folder; the DLLs that this
// process has loaded already are taken where they are loaded from.
TEST_F(ImageSectionsTest, EveryNeededDllIsListedWithWhereItIsAndWhoNeedsIt) {
    MakeTwoLevelPlugin();
    ASSERT_TRUE(SetCurrentDirectoryA(kPluginFolder));
    const ScopedEnvironmentVariable path("PATH", (std::string(kPathOne) + ";" + kPathTwo).c_str());
    ReportDialogUnderTest dialog(AnalysisSectionListProc, 0);

    EXPECT_EQ(RunDependenciesSection(), 1);

    std::vector<Row> rows = SectionRows(dialog);
    const std::vector<Row> folders = SearchFolderRows(CurrentDirectory(), {kPathOne, kPathTwo});
    ASSERT_EQ(rows.size(), folders.size() + 4u);
    EXPECT_EQ(std::vector<Row>(rows.begin(), rows.begin() + folders.size()), folders);
    const std::vector<Row> all = rows;
    rows.erase(rows.begin(), rows.begin() + folders.size());
    // The plug-in's imports in the order its import table has them, then the middle one's.
    EXPECT_EQ(rows[0][0], "KERNEL32.dll");
    EXPECT_EQ(rows[1][0], "msvcrt.dll");
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(_stricmp(rows[i][1].c_str(), SystemFile(rows[i][0]).c_str()), 0) << rows[i][1];
        EXPECT_EQ(rows[i][2], kOwnBits + " (needed by lensora.dll)");
    }
    EXPECT_EQ(rows[2][0], "middle_dependency.dll");
    EXPECT_EQ(_stricmp(rows[2][1].c_str(), "C:\\Mach3\\plugins\\middle_dependency.dll"), 0)
        << rows[2][1];
    EXPECT_EQ(rows[2][2], kOwnBits + " (needed by lensora.dll)");
    EXPECT_EQ(rows[3],
              (Row{"absent_dependency.dll", "", "Not found (needed by middle_dependency.dll)"}));

    std::vector<std::string> lines;
    for (const Row& row : all) {
        lines.push_back(LineOf(row));
    }
    EXPECT_EQ(BodyLines(kDependenciesLog), lines);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

// A whole run: the new rows follow the last PATH row without a gap and end the list, and
// the search sees the plug-in folder that the plug-in folder section left current.
TEST_F(ImageSectionsTest, AWholeRunEndsWithBothSectionsAfterThePathRows) {
    MakeTwoLevelPlugin();
    ASSERT_NE(_stricmp(CurrentDirectory().c_str(), kPluginFolder), 0);
    const ScopedEnvironmentVariable path("PATH", kPathOne);

    ReportDialogUnderTest dialog(AnalysisDialogProc, 0);

    int lastPathRow = -1;
    for (int row = 0; row < dialog.RowCount(); ++row) {
        if (dialog.Cell(row, 1) == "PATH") {
            lastPathRow = row;
        }
    }
    ASSERT_GT(lastPathRow, kPluginDllRow) << "no PATH row";
    // The search folders: five, then the one PATH folder; their current folder is the plug-in
    // folder that the plug-in folder section left current.
    const std::vector<Row> folders = SearchFolderRows(CurrentDirectory(), {kPathOne});
    ASSERT_EQ(_stricmp(CurrentDirectory().c_str(), kPluginFolder), 0);
    const int dlls = lastPathRow + 2 + static_cast<int>(folders.size());
    ASSERT_EQ(dialog.RowCount(), dlls + 4);
    EXPECT_EQ(dialog.Row(lastPathRow + 1), (Row{kPluginDll, "no version", kOwnBits}));
    for (std::size_t i = 0; i < folders.size(); ++i) {
        EXPECT_EQ(dialog.Row(lastPathRow + 2 + static_cast<int>(i)), folders[i]);
    }
    EXPECT_EQ(dialog.Cell(dlls, 0), "KERNEL32.dll");
    EXPECT_EQ(dialog.Cell(dlls + 2, 2), kOwnBits + " (needed by lensora.dll)");
    EXPECT_EQ(
        _stricmp(dialog.Cell(dlls + 2, 1).c_str(), "C:\\Mach3\\plugins\\middle_dependency.dll"), 0);
    EXPECT_EQ(dialog.Row(dlls + 3),
              (Row{"absent_dependency.dll", "", "Not found (needed by middle_dependency.dll)"}));
    EXPECT_EQ(BodyLines(kVersionsLog),
              (std::vector<std::string>{LineOf(dialog.Row(lastPathRow + 1))}));
    EXPECT_EQ(BodyLines(kDependenciesLog).size(), folders.size() + 4u);
}

// The old OpenCV core (2.4.6.0) comes first on PATH and lacks cvBeta, cvGamma (ordinal 7)
// and cvForward (its forwarder leads to a DLL that is nowhere); the full one (2.4.8.0) comes
// later. The delay-loaded DLL stands in the host's folder, where only a search from the
// host finds it, and lacks cvHide.
TEST_F(ImageSectionsTest, AnOldCopyEarlierOnPathLacksWhatTheLaterCopyHas) {
    const std::string oldFolder = "C:\\VorlixOldOpenCv";
    const std::string newFolder = "C:\\VorlixNewOpenCv";
    ASSERT_TRUE(tree_.Folder(kPluginFolder));
    ASSERT_TRUE(tree_.File(kPluginDll, Fixture("plugin_needing_opencv.dll")));
    ASSERT_TRUE(tree_.File("C:\\Mach3\\opencv_highgui248.dll", Fixture("opencv_highgui248.dll")));
    ASSERT_TRUE(tree_.Folder(oldFolder));
    ASSERT_TRUE(tree_.Folder(newFolder));
    ASSERT_TRUE(
        tree_.File(oldFolder + "\\opencv_core248.dll", Fixture("opencv_old\\opencv_core248.dll")));
    ASSERT_TRUE(
        tree_.File(newFolder + "\\opencv_core248.dll", Fixture("opencv_full\\opencv_core248.dll")));
    ASSERT_TRUE(SetCurrentDirectoryA(kPluginFolder));
    const ScopedEnvironmentVariable path("PATH", (oldFolder + ";" + newFolder).c_str());
    ASSERT_TRUE(path.Applied());
    ASSERT_EQ(GetModuleHandleA("opencv_core248.dll"), nullptr) << "loaded by another test";
    ReportDialogUnderTest dialog(AnalysisSectionListProc, 0);

    EXPECT_EQ(RunDependenciesSection(), 1);

    std::vector<Row> expected = SearchFolderRows(CurrentDirectory(), {oldFolder, newFolder});
    const std::string oldCore = oldFolder + "\\opencv_core248.dll";
    const std::string highgui = "C:\\Mach3\\opencv_highgui248.dll";
    const std::vector<Row> dlls = {
        {"KERNEL32.dll", LoadedModulePath("KERNEL32.dll"), kOwnBits + " (needed by lensora.dll)"},
        {"msvcrt.dll", LoadedModulePath("msvcrt.dll"), kOwnBits + " (needed by lensora.dll)"},
        {"opencv_core248.dll", oldCore, kOwnBits + " (needed by lensora.dll)"},
        {"opencv_core248.dll!cvBeta", oldCore, "Missing in 2.4.6.0 (needed by lensora.dll)"},
        {"opencv_core248.dll!cvForward", oldCore,
         "Missing in 2.4.6.0 (forwarded to opencv_gone.cvForward) (needed by lensora.dll)"},
        {"opencv_core248.dll!#7", oldCore, "Missing in 2.4.6.0 (needed by lensora.dll)"},
        {"opencv_core248.dll copy 2", newFolder + "\\opencv_core248.dll",
         "2.4.8.0, has every missing function"},
        {"opencv_highgui248.dll", highgui, kOwnBits + " (delay-loaded by lensora.dll)"},
        {"opencv_highgui248.dll!cvHide", highgui,
         "Missing in no version (delay-loaded by lensora.dll)"},
    };
    expected.insert(expected.end(), dlls.begin(), dlls.end());
    EXPECT_EQ(SectionRows(dialog), expected);
    std::vector<std::string> lines;
    for (const Row& row : expected) {
        lines.push_back(LineOf(row));
    }
    EXPECT_EQ(BodyLines(kDependenciesLog), lines);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

// Where the loader's search finds middle_dependency.dll, which the two-level plug-in needs:
// each folder of the search in turn, the others empty. The search runs from another current
// folder, so nothing beside the plug-in is found.
TEST_F(ImageSectionsTest, EachFolderOfTheSearchIsSearched) {
    const std::string windows16 = WindowsFolder() + "\\System";
    const struct {
        const char* role;
        std::string folder;
    } cases[] = {
        {"program folder", "C:\\Mach3"},
        {"16-bit system folder", windows16},
        {"first PATH folder", kPathOne},
        {"last PATH folder", kPathTwo},
    };
    ASSERT_TRUE(tree_.Folder(kPluginFolder));
    ASSERT_TRUE(tree_.File(kPluginDll, Fixture("plugin_two_levels.dll")));
    ASSERT_FALSE(FileExistsAt(windows16 + "\\middle_dependency.dll")) << "left over";
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
    const ScopedEnvironmentVariable path("PATH", (std::string(kPathOne) + ";" + kPathTwo).c_str());
    const std::size_t folders = SearchFolderRows("C:\\", {kPathOne, kPathTwo}).size();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.role);
        TemporaryTree placed;
        ASSERT_TRUE(placed.Folder(c.folder));
        const std::string middle = c.folder + "\\middle_dependency.dll";
        ASSERT_TRUE(placed.File(middle, Fixture("middle_dependency.dll")));
        ReportDialogUnderTest dialog(AnalysisSectionListProc, 0);

        EXPECT_EQ(RunDependenciesSection(), 1);

        const std::vector<Row> rows = SectionRows(dialog);
        ASSERT_EQ(rows.size(), folders + 4);
        EXPECT_EQ(rows[folders + 2],
                  (Row{"middle_dependency.dll", middle, kOwnBits + " (needed by lensora.dll)"}));
        EXPECT_EQ(rows[folders + 3], (Row{"absent_dependency.dll", "",
                                          "Not found (needed by middle_dependency.dll)"}));
    }
}

// The loader stops at a plug-in it cannot load: nothing is walked, no folder listed.
TEST_F(ImageSectionsTest, APluginOfTheOtherBitnessIsNotWalked) {
    ASSERT_TRUE(tree_.Folder(kPluginFolder));
    ASSERT_TRUE(tree_.File(kPluginDll, Fixture("other_bitness\\other_bitness.dll")));
    ReportDialogUnderTest dialog(AnalysisSectionListProc, 0);

    EXPECT_EQ(RunDependenciesSection(), 1);

    EXPECT_EQ(dialog.RowCount(), 1);
    EXPECT_TRUE(BodyLines(kDependenciesLog).empty());
    EXPECT_TRUE(boxes_.Boxes().empty());
}

}  // namespace
