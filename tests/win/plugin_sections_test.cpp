// The plug-in version section (uninstall key chosen by the reported Windows version) and the
// plug-in folder section (the DLLs of the Mach3 plug-in folder, which stays current).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "analysis/analysis_dialog_win.h"
#include "analysis/analysis_sections_win.h"
#include "analysis/analysis_state_win.h"
#include "tests/win/analysis_test_support.h"
#include "tests/win/registry_section_support.h"
#include "tests/win/test_support.h"

namespace {

using Row = std::vector<std::string>;

const char kNativeName[] = "Mach3 Lensora 1.05 (native key)";
const char kWowName[] = "Mach3 Lensora 1.05 (Wow6432Node key)";
const char kEarlierLog[] = "01.01.2020 10:00 00\r\nVersion of an earlier run\r\n";

enum class KeyState { Absent, WithoutDisplayName, WithDisplayName };

// Makes an uninstall key in the given state for the life of the object.
class UninstallKey {
public:
    UninstallKey(const char* path, KeyState state, const char* displayName) {
        if (state == KeyState::Absent) {
            return;
        }
        key_ = std::make_unique<TemporaryKey>(HKEY_LOCAL_MACHINE, path);
        key_->SetText("Publisher", "Brenhold-Soft");
        if (state == KeyState::WithDisplayName) {
            key_->SetText("DisplayName", displayName);
        }
    }
    TemporaryKey* Key() const { return key_.get(); }

private:
    std::unique_ptr<TemporaryKey> key_;
};

// Saves the process-wide version record and puts it back.
class ScopedVersionRecord {
public:
    ScopedVersionRecord() : saved_(g_versionRecord) {}
    ~ScopedVersionRecord() { g_versionRecord = saved_; }
    ScopedVersionRecord(const ScopedVersionRecord&) = delete;
    ScopedVersionRecord& operator=(const ScopedVersionRecord&) = delete;

private:
    OSVERSIONINFOEXA saved_;
};

class PluginVersionSectionTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kNativeUninstallKey));
        ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kWowUninstallKey));
    }
    void SetVersion(DWORD major, DWORD minor) {
        g_versionRecord.dwMajorVersion = major;
        g_versionRecord.dwMinorVersion = minor;
    }
    ScopedVersionRecord restoreVersion_;
    MessageBoxRecorder boxes_;
};

// Both keys exist: the version alone decides which one is read, and a version without a
// key of its own reads neither and leaves the earlier log as it was.
TEST_F(PluginVersionSectionTest, TheReportedVersionChoosesTheKey) {
    UninstallKey native(kNativeUninstallKey, KeyState::WithDisplayName, kNativeName);
    UninstallKey wow(kWowUninstallKey, KeyState::WithDisplayName, kWowName);
    const struct {
        DWORD major, minor;
        const char* shown;
    } cases[] = {
        {5, 1, kNativeName}, {6, 1, kWowName}, {6, 2, kWowName}, {6, 3, kWowName}, {5, 0, nullptr},
        {5, 2, nullptr},     {6, 0, nullptr},  {10, 0, nullptr}, {4, 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.major << "." << c.minor);
        WriteFileBytes(kPluginVersionLog, kEarlierLog);
        SetVersion(c.major, c.minor);
        boxes_.Clear();
        ReportDialogUnderTest dialog(AnalysisSectionListProc, 0);

        const int result = RunPluginVersionSection();

        EXPECT_TRUE(boxes_.Boxes().empty());
        if (c.shown == nullptr) {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(dialog.RowCount(), 1);
            EXPECT_EQ(ReadFileBytes(kPluginVersionLog), kEarlierLog);
            continue;
        }
        EXPECT_EQ(result, 1);
        EXPECT_EQ(SectionRows(dialog), (std::vector<Row>{{"Version", "", c.shown}}));
        const std::vector<std::string> lines = SplitLogLines(ReadFileBytes(kPluginVersionLog));
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_TRUE(LooksLikeTimestamp(lines[0]));
        EXPECT_EQ(lines[1], "Version" + std::string(83, ' ') + c.shown);
    }
}

TEST_F(PluginVersionSectionTest, TheDisplayNameIsShownAsReadOrTheQueryFailureIsReported) {
    const std::string full(260, 'n');
    const struct {
        const char* what;
        bool present;
        DWORD type;
        std::string data;
        const char* shown;
        DWORD error;
    } cases[] = {
        {"text with its zero", true, REG_SZ, std::string("Mach3 Lensora 1.05") + '\0',
         "Mach3 Lensora 1.05", 0},
        {"a zero inside", true, REG_BINARY, std::string("abc\0def", 7), "abc", 0},
        {"260 bytes without a zero", true, REG_BINARY, full, full.c_str(), 0},
        {"261 bytes", true, REG_BINARY, full + "x", nullptr, ERROR_MORE_DATA},
        {"missing", false, REG_NONE, "", nullptr, ERROR_FILE_NOT_FOUND},
    };
    UninstallKey native(kNativeUninstallKey, KeyState::WithoutDisplayName, nullptr);
    SetVersion(5, 1);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        native.Key()->DeleteValue("DisplayName");
        if (c.present) {
            ASSERT_EQ(native.Key()->SetBytes("DisplayName", c.type, c.data), ERROR_SUCCESS);
        }
        WriteFileBytes(kPluginVersionLog, kEarlierLog);
        boxes_.Clear();
        ReportDialogUnderTest dialog(AnalysisSectionListProc, 0);

        const int result = RunPluginVersionSection();

        const std::vector<std::string> lines = SplitLogLines(ReadFileBytes(kPluginVersionLog));
        ASSERT_GE(lines.size(), 1u);
        EXPECT_TRUE(LooksLikeTimestamp(lines[0]));
        if (c.shown != nullptr) {
            EXPECT_EQ(result, 1);
            EXPECT_TRUE(boxes_.Boxes().empty());
            EXPECT_EQ(SectionRows(dialog), (std::vector<Row>{{"Version", "", c.shown}}));
            ASSERT_EQ(lines.size(), 2u);
            EXPECT_EQ(lines[1], PadTo("Version", 90) + c.shown);
            continue;
        }
        EXPECT_EQ(result, 0);
        EXPECT_EQ(dialog.RowCount(), 1);
        EXPECT_EQ(lines.size(), 1u);
        ASSERT_EQ(boxes_.Boxes().size(), 1u);
        EXPECT_EQ(boxes_.Boxes()[0].caption, "Vorlix   RegQueryValueEx");
        EXPECT_EQ(boxes_.Boxes()[0].text, SystemText(c.error));
        EXPECT_EQ(boxes_.Boxes()[0].subject,
                  "HKLM\\" + std::string(kNativeUninstallKey) + " \"DisplayName\"");
        EXPECT_EQ(boxes_.Boxes()[0].style, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
        EXPECT_EQ(boxes_.Boxes()[0].owner, nullptr);
    }
}

class PluginFolderSectionTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(FileExistsAt("C:\\Mach3")) << "left over"; }
    MessageBoxRecorder boxes_;
};

TEST_F(PluginFolderSectionTest, AMissingFolderListsNothingNotEvenTheCurrentFolder) {
    TemporaryTree tree;
    ASSERT_TRUE(tree.Folder("C:\\anarun_current"));
    ASSERT_TRUE(tree.File("C:\\anarun_current\\elsewhere.dll"));
    ScopedCurrentDirectory restoreDirectory;
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\anarun_current"));
    ReportDialogUnderTest dialog(AnalysisSectionListProc, 0);

    EXPECT_EQ(RunPluginFolderSection(), 1);

    EXPECT_EQ(dialog.RowCount(), 1);
    const std::vector<std::string> lines = SplitLogLines(ReadFileBytes(kPluginsLog));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(LooksLikeTimestamp(lines[0]));
    EXPECT_EQ(_stricmp(CurrentDirectory().c_str(), "C:\\anarun_current"), 0);
    EXPECT_TRUE(boxes_.Boxes().empty());
}

// Whatever the search matches is listed: hidden and system files and a folder named *.dll.
// The plug-in folder stays current after the section, with or without DLLs in it, so the
// export check's loader finds the DLLs there.
TEST_F(PluginFolderSectionTest, EveryMatchingEntryIsListedAndThePluginFolderStaysCurrent) {
    const struct {
        const char* what;
        std::vector<std::string> files;
        std::vector<std::string> folders;
        std::vector<std::string> listed;
    } cases[] = {
        {"no DLL", {"readme.txt"}, {}, {}},
        {"hidden, system and a folder",
         {"readme.txt", "hidden.dll", "system.dll"},
         {"folder.dll"},
         {"folder.dll", "hidden.dll", "system.dll"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TemporaryTree tree;
        ASSERT_TRUE(tree.Folder(kPluginFolder));
        for (const std::string& file : c.files) {
            const DWORD attributes = file == "hidden.dll"   ? FILE_ATTRIBUTE_HIDDEN
                                     : file == "system.dll" ? FILE_ATTRIBUTE_SYSTEM
                                                            : FILE_ATTRIBUTE_NORMAL;
            ASSERT_TRUE(tree.File(std::string(kPluginFolder) + "\\" + file, "", attributes));
        }
        for (const std::string& folder : c.folders) {
            ASSERT_TRUE(tree.Folder(std::string(kPluginFolder) + "\\" + folder));
        }
        ASSERT_TRUE(tree.Folder("C:\\anarun_current"));
        ScopedCurrentDirectory restoreDirectory;
        ASSERT_TRUE(SetCurrentDirectoryA("C:\\anarun_current"));
        ReportDialogUnderTest dialog(AnalysisSectionListProc, 0);

        EXPECT_EQ(RunPluginFolderSection(), 1);

        std::vector<std::string> names;
        for (const Row& row : SectionRows(dialog)) {
            EXPECT_EQ(row[0], "Installed Plugin");
            EXPECT_EQ(row[2], "");
            names.push_back(row[1]);
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, c.listed);
        const std::vector<std::string> lines = SplitLogLines(ReadFileBytes(kPluginsLog));
        ASSERT_EQ(lines.size(), c.listed.size() + 1);
        for (std::size_t i = 1; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i], PadTo("Installed Plugin", 90) + dialog.Cell(i, 1));
        }
        EXPECT_EQ(_stricmp(CurrentDirectory().c_str(), kPluginFolder), 0) << CurrentDirectory();
        EXPECT_TRUE(boxes_.Boxes().empty());
    }
}

// Real runs under a Windows version that Wine reads from its AppDefaults at process start:
// the test executable runs a copy of itself, which runs the helper test below.
struct VersionRun {
    const char* name;
    const char* wineVersion;
    DWORD major;
    DWORD minor;
    const char* versionName;        // for a workstation
    const char* serverVersionName;  // for a server of the same version
    KeyState native;
    KeyState wow;
    const char* shown;  // the Version row's display name; nullptr: no row
    bool queryFails;    // "Vorlix   RegQueryValueEx"
};

const VersionRun kVersionRuns[] = {
    {"xp_native_key", "winxp", 5, 1, "Windows XP", "Windows XP", KeyState::WithDisplayName,
     KeyState::WithDisplayName, kNativeName, false},
    {"xp_no_key", "winxp", 5, 1, "Windows XP", "Windows XP", KeyState::Absent,
     KeyState::WithDisplayName, nullptr, false},
    {"xp_no_display_name", "winxp", 5, 1, "Windows XP", "Windows XP", KeyState::WithoutDisplayName,
     KeyState::WithDisplayName, nullptr, true},
    {"win7_wow_key", "win7", 6, 1, "Windows 7", "Windows Server 2008 R2", KeyState::WithDisplayName,
     KeyState::WithDisplayName, kWowName, false},
    {"win7_no_key", "win7", 6, 1, "Windows 7", "Windows Server 2008 R2", KeyState::WithDisplayName,
     KeyState::Absent, nullptr, false},
};

const char kChildCaseVariable[] = "VORLIX_VERSION_RUN_CASE";
const char kChildFilter[] = "PluginVersionChild.RunsTheAnalysisItWasGiven";

// Wine reports the server product type to a program that AppDefaults sets to "win7"; the
// uninstall key depends on the version numbers alone, so both kinds of 6.1 choose the same.
const char* VersionNameFor(const VersionRun& run, BYTE productType) {
    return productType == VER_NT_WORKSTATION ? run.versionName : run.serverVersionName;
}

const VersionRun* FindVersionRun(const char* name) {
    for (const VersionRun& run : kVersionRuns) {
        if (std::strcmp(run.name, name) == 0) {
            return &run;
        }
    }
    return nullptr;
}

TEST(PluginVersionChild, RunsTheAnalysisItWasGiven) {
    const char* caseName = std::getenv(kChildCaseVariable);
    if (caseName == nullptr) {
        GTEST_SKIP() << "runs only in the child process of PluginVersionUnderWindowsVersion";
    }
    const VersionRun* run = FindVersionRun(caseName);
    ASSERT_NE(run, nullptr) << caseName;
    MessageBoxRecorder boxes;

    ReportDialogUnderTest dialog(AnalysisDialogProc, 0);

    EXPECT_EQ(g_versionRecord.dwMajorVersion, run->major);
    EXPECT_EQ(g_versionRecord.dwMinorVersion, run->minor);
    EXPECT_EQ(dialog.Row(kFirstSystemRow + 2),
              (Row{"Windows version", VersionNameFor(*run, g_versionRecord.wProductType), ""}));
    EXPECT_EQ(dialog.Row(kPluginDllRow), (Row{kPluginDll, "", "Not found"}));
    int firstOpenCvRow = kPluginDllRow + 1;
    if (run->shown != nullptr) {
        EXPECT_EQ(dialog.Row(kPluginDllRow + 1), (Row{"Version", "", run->shown}));
        ++firstOpenCvRow;
    }
    EXPECT_EQ(dialog.Row(firstOpenCvRow),
              (Row{OpenCvPaths(ProgramFilesFromEnvironment())[0], "", "Not found"}));
    const std::vector<RecordedBox> shown = RunBoxes(boxes.Boxes());
    ASSERT_EQ(shown.size(), run->queryFails ? 1u : 0u);
    if (run->queryFails) {
        EXPECT_EQ(shown[0].caption, "Vorlix   RegQueryValueEx");
        EXPECT_EQ(shown[0].text, SystemText(ERROR_FILE_NOT_FOUND));
        EXPECT_EQ(shown[0].style, static_cast<UINT>(MB_TASKMODAL | MB_ICONERROR));
        EXPECT_EQ(shown[0].owner, nullptr);
    }
}

TEST(PluginVersionUnderWindowsVersion, RealRunsReadTheUninstallKeyOfTheReportedVersion) {
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kNativeUninstallKey));
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kWowUninstallKey));
    VersionedCopy windowsXp("vorlix_anarun", "winxp");
    VersionedCopy windows7("vorlix_anarun", "win7");
    ASSERT_TRUE(windowsXp.Ready());
    ASSERT_TRUE(windows7.Ready());

    for (const VersionRun& run : kVersionRuns) {
        SCOPED_TRACE(run.name);
        UninstallKey native(kNativeUninstallKey, run.native, kNativeName);
        UninstallKey wow(kWowUninstallKey, run.wow, kWowName);
        WriteFileBytes(kPluginVersionLog, kEarlierLog);
        RemoveFile(kSystemDataLog);
        ScopedEnvironmentVariable childCase(kChildCaseVariable, run.name);

        const VersionedCopy& copy =
            std::strcmp(run.wineVersion, "winxp") == 0 ? windowsXp : windows7;
        const ChildRun child = copy.Run(kChildFilter, 180000);
        EXPECT_EQ(child.exitCode, 0u) << child.output;

        // The child ran the analysis as that version ...
        const std::vector<std::string> system = SplitLogLines(ReadFileBytes(kSystemDataLog));
        ASSERT_GT(system.size(), 3u);
        EXPECT_TRUE(system[3] == std::string("Windows version ") + run.versionName ||
                    system[3] == std::string("Windows version ") + run.serverVersionName)
            << system[3];
        // ... and its version log is what the row showed, or untouched without a key.
        const std::string versionLog = ReadFileBytes(kPluginVersionLog);
        const std::vector<std::string> lines = SplitLogLines(versionLog);
        if (run.shown != nullptr) {
            ASSERT_EQ(lines.size(), 2u);
            EXPECT_EQ(lines[1], "Version" + std::string(83, ' ') + run.shown);
        } else if (run.queryFails) {
            ASSERT_EQ(lines.size(), 1u);
            EXPECT_TRUE(LooksLikeTimestamp(lines[0]));
        } else {
            EXPECT_EQ(versionLog, kEarlierLog);
        }
    }
}

}  // namespace
