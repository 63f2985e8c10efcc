// "Analyze" under every Windows version a Wine prefix can pretend to be (the version and
// edition names, the uninstall key read or skipped), and the architecture rows and program
// files paths of a 32-bit and of a 64-bit prefix.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "analysis/analysis_dialog_win.h"
#include "tests/win/analysis_test_support.h"
#include "tests/win/registry_section_support.h"
#include "tests/win/test_support.h"

namespace {

using Row = std::vector<std::string>;

const char kNativeName[] = "Mach3 Lensora 2.0 (native key)";
const char kWowName[] = "Mach3 Lensora 2.0 (Wow6432Node key)";
const char kChildVariable[] = "VORLIX_MATRIX_WINE_VERSION";
const char kChildFilter[] = "VersionMatrixChild.*";

bool RunsUnderWow64() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64;
}

enum class UninstallKey { Native, Wow6432Node, None };

// One version the system may report, with what the program must make of it.
struct Reported {
    DWORD major;
    DWORD minor;
    BYTE productType;
    const char* name;
    UninstallKey key;
};

// What a program without a compatibility section in its manifest (as this one) is told under
// each Wine version. Windows 8.1 and 10 tell such a program 6.2, and Wine does the same. Wine
// reports the server product type (3) for some versions; the name then follows the table's
// server branch, and the uninstall key, chosen by the numbers alone, stays the same.
// Windows XP x64 reports 5.2; Wine does so in a 64-bit prefix.
struct WineVersion {
    const char* wineName;
    std::vector<Reported> reported;
};

const BYTE kWorkstation = VER_NT_WORKSTATION;
const BYTE kServer = VER_NT_SERVER;

const WineVersion kWineVersions[] = {
    {"winxp",
     {{5, 1, kWorkstation, "Windows XP", UninstallKey::Native},
      {5, 2, kWorkstation, "Windows Server 2003", UninstallKey::None}}},
    {"vista",
     {{6, 0, kWorkstation, "Windows Vista", UninstallKey::None},
      {6, 0, kServer, "Windows Server 2008", UninstallKey::None}}},
    {"win7",
     {{6, 1, kWorkstation, "Windows 7", UninstallKey::Wow6432Node},
      {6, 1, kServer, "Windows Server 2008 R2", UninstallKey::Wow6432Node}}},
    {"win8",
     {{6, 2, kWorkstation, "Windows 8", UninstallKey::Wow6432Node},
      {6, 2, kServer, "Windows Server 2012", UninstallKey::Wow6432Node}}},
    {"win81",
     {{6, 2, kWorkstation, "Windows 8", UninstallKey::Wow6432Node},
      {6, 2, kServer, "Windows Server 2012", UninstallKey::Wow6432Node}}},
    {"win10",
     {{6, 2, kWorkstation, "Windows 8", UninstallKey::Wow6432Node},
      {6, 2, kServer, "Windows Server 2012", UninstallKey::Wow6432Node}}},
};

const WineVersion* FindWineVersion(const std::string& wineName) {
    for (const WineVersion& version : kWineVersions) {
        if (wineName == version.wineName) {
            return &version;
        }
    }
    return nullptr;
}

// Wine reports none of the Media Center, Starter and Tablet editions.
const char kEdition[] = "None";

// Under WOW64 a 32-bit program's "SOFTWARE\Microsoft\..." is redirected to Wow6432Node, so
// both uninstall keys are one key there, made once with the Wow6432Node name.
const char* ShownName(UninstallKey key) {
    if (key == UninstallKey::None) {
        return nullptr;
    }
    if (RunsUnderWow64()) {
        return kWowName;
    }
    return key == UninstallKey::Native ? kNativeName : kWowName;
}

// Both uninstall keys with different display names for the life of the object.
class UninstallKeys {
public:
    UninstallKeys() {
        wow_ = std::make_unique<TemporaryKey>(HKEY_LOCAL_MACHINE, kWowUninstallKey);
        wow_->SetText("DisplayName", kWowName);
        if (!RunsUnderWow64()) {
            native_ = std::make_unique<TemporaryKey>(HKEY_LOCAL_MACHINE, kNativeUninstallKey);
            native_->SetText("DisplayName", kNativeName);
        }
    }
    bool Ready() const { return wow_->Valid() && (native_ == nullptr || native_->Valid()); }

private:
    std::unique_ptr<TemporaryKey> wow_;
    std::unique_ptr<TemporaryKey> native_;
};

// Runs in a copy of this executable that Wine starts as the version named by the variable.
TEST(VersionMatrixChild, ShowsTheNameEditionAndUninstallKeyOfTheReportedVersion) {
    const char* wineName = std::getenv(kChildVariable);
    if (wineName == nullptr) {
        GTEST_SKIP() << "runs only in the child processes of VersionMatrix";
    }
    const WineVersion* wine = FindWineVersion(wineName);
    ASSERT_NE(wine, nullptr) << wineName;
    OSVERSIONINFOEXA system = {};
    system.dwOSVersionInfoSize = sizeof system;
    ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&system)));
    const Reported* expected = nullptr;
    for (const Reported& reported : wine->reported) {
        if (reported.major == system.dwMajorVersion && reported.minor == system.dwMinorVersion &&
            reported.productType == system.wProductType) {
            expected = &reported;
        }
    }
    ASSERT_NE(expected, nullptr) << wineName << " reported " << system.dwMajorVersion << "."
                                 << system.dwMinorVersion << " product type "
                                 << int(system.wProductType);
    MessageBoxRecorder boxes;

    ReportDialogUnderTest dialog(AnalysisDialogProc, 0);

    const std::string edition = kEdition;
    EXPECT_EQ(dialog.Row(kFirstSystemRow + 2), (Row{"Windows version", expected->name, ""}));
    EXPECT_EQ(dialog.Row(kFirstSystemRow + 3), (Row{"Additional Info ", edition, ""}));
    const std::vector<std::string> log = SplitLogLines(ReadFileBytes(kSystemDataLog));
    ASSERT_GT(log.size(), 5u);
    EXPECT_EQ(log[3], std::string("Windows version ") + expected->name);
    EXPECT_EQ(log[4], edition);
    EXPECT_EQ(log[5], "Additional Info  " + edition);

    EXPECT_EQ(dialog.Row(kPluginDllRow), (Row{kPluginDll, "", "Not found"}));
    const char* shown = ShownName(expected->key);
    int firstOpenCvRow = kPluginDllRow + 1;
    if (shown != nullptr) {
        EXPECT_EQ(dialog.Row(firstOpenCvRow), (Row{"Version", "", shown}));
        ++firstOpenCvRow;
    }
    EXPECT_EQ(dialog.Cell(firstOpenCvRow, 0).rfind("C:\\Program Files", 0), 0u)
        << dialog.Cell(firstOpenCvRow, 0);
    EXPECT_TRUE(RunBoxes(boxes.Boxes()).empty());
}

TEST(VersionMatrix, EveryWindowsVersionShowsItsNameAndReadsOrSkipsTheUninstallKey) {
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kNativeUninstallKey));
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kWowUninstallKey));
    UninstallKeys keys;
    ASSERT_TRUE(keys.Ready());
    for (const WineVersion& wine : kWineVersions) {
        SCOPED_TRACE(wine.wineName);
        VersionedCopy copy("vorlix_matrix", wine.wineName);
        ASSERT_TRUE(copy.Ready());
        ScopedEnvironmentVariable childVersion(kChildVariable, wine.wineName);

        const ChildRun run = copy.Run(kChildFilter, 60000);

        EXPECT_EQ(run.exitCode, 0u) << run.output;
        EXPECT_NE(run.output.find("[  PASSED  ] 1 test"), std::string::npos) << run.output;
    }
}

// Three entries in full (first, an .exe, last), so that the folder cannot hide a wrong join.
const struct {
    int index;
    const char* name;
} kOpenCvSamples[] = {
    {0, "opencv_calib3d248.dll"},
    {6, "opencv_createsamples.exe"},
    {40, "opencv_videostab248d.dll"},
};

struct PrefixKind {
    const char* nativeName;
    const char* programName;
    const char* programFiles;
};

// Row 5 names the system's architecture, row 29 the one this program runs as, and the
// OpenCV files are looked for in the program files folder that such programs get.
void ExpectArchitectureAndPaths(const PrefixKind& kind) {
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kNativeUninstallKey));
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kWowUninstallKey));
    MessageBoxRecorder boxes;

    ReportDialogUnderTest dialog(AnalysisDialogProc, 0);

    EXPECT_EQ(dialog.Row(kFirstSystemRow + 4),
              (Row{"Processor Architecture", kind.nativeName, ""}));
    EXPECT_EQ(dialog.Row(kFirstSystemRow + 28),
              (Row{"Processor Architecture", kind.programName, ""}));
    const std::vector<std::string> log = SplitLogLines(ReadFileBytes(kSystemDataLog));
    ASSERT_EQ(log.size(), 32u);
    EXPECT_EQ(log[6], "Processor Architecture");
    EXPECT_EQ(log[7], kind.nativeName);
    EXPECT_EQ(log[31], std::string("Processor Architecture   ") + kind.programName);

    const std::string folder =
        std::string(kind.programFiles) + "\\Lensora_Brenhold\\build\\x86\\vc10\\bin\\";
    const std::vector<std::string> elements = SplitLogLines(ReadFileBytes(kElementLog));
    ASSERT_EQ(elements.size(), 43u);
    for (int i = 0; i < kOpenCvRowCount; ++i) {
        const std::string path = dialog.Cell(kPluginDllRow + 1 + i, 0);
        EXPECT_EQ(path.substr(0, folder.size()), folder) << i;
        EXPECT_EQ(path.find('\\', folder.size()), std::string::npos) << path;
        EXPECT_EQ(elements[2 + i], PadTo(path, 90) + "Not found");
    }
    for (const auto& sample : kOpenCvSamples) {
        EXPECT_EQ(dialog.Cell(kPluginDllRow + 1 + sample.index, 0), folder + sample.name);
    }
    EXPECT_TRUE(RunBoxes(boxes.Boxes()).empty());
}

TEST(PrefixArchitecture, A32BitSystemShowsX86AndProgramFiles) {
    if (kBuiltFor64Bits) {
        GTEST_SKIP() << kOnlyThe32BitProgram;
    }
    if (RunsUnderWow64()) {
        GTEST_SKIP() << "a 64-bit system (this 32-bit program runs under WOW64)";
    }
    ExpectArchitectureAndPaths({"x86", "Intel", "C:\\Program Files"});
}

TEST(PrefixArchitecture, A64BitSystemShowsX64AndProgramFilesX86) {
    if (kBuiltFor64Bits) {
        GTEST_SKIP() << kOnlyThe32BitProgram;
    }
    if (!RunsUnderWow64()) {
        GTEST_SKIP() << "a 32-bit system: WOW64 and \"Program Files (x86)\" exist only on a "
                        "64-bit one (the 64-bit prefix run of tests/matrix covers it)";
    }
    ExpectArchitectureAndPaths({"x64 (AMD or Intel)", "Intel", "C:\\Program Files (x86)"});
}

// The 64-bit program is native on a 64-bit system: no WOW64, the plain program files.
TEST(PrefixArchitecture, The64BitProgramShowsAmd64AndProgramFiles) {
    if (!kBuiltFor64Bits) {
        GTEST_SKIP() << "holds only for the 64-bit build (64-bit mode)";
    }
    ExpectArchitectureAndPaths({"x64 (AMD or Intel)", "AMD64", "C:\\Program Files"});
}

}  // namespace
