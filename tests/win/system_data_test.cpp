// The system data rows of "Analyze" and their log, against what this test reads from the
// system itself.
#include <gtest/gtest.h>

#include <cpuid.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/analysis_dialog_win.h"
#include "analysis/analysis_state_win.h"
#include "analysis/system_tables.h"
#include "tests/win/analysis_test_support.h"
#include "tests/win/test_support.h"

namespace {

using Row = std::vector<std::string>;

// The versions a Wine prefix can be set to, with their names.
struct KnownVersion {
    DWORD major;
    DWORD minor;
    BYTE productType;
    const char* name;
};
const KnownVersion kKnownVersions[] = {
    {5, 0, VER_NT_WORKSTATION, "Windows 2000"},
    {5, 1, VER_NT_WORKSTATION, "Windows XP"},
    {6, 0, VER_NT_WORKSTATION, "Windows Vista"},
    {6, 0, VER_NT_SERVER, "Windows Server 2008"},
    {6, 1, VER_NT_WORKSTATION, "Windows 7"},
    {6, 1, VER_NT_SERVER, "Windows Server 2008 R2"},
    {6, 2, VER_NT_WORKSTATION, "Windows 8"},
    {6, 3, VER_NT_WORKSTATION, "Windows 8"},
    {10, 0, VER_NT_WORKSTATION, "Unknown Windows Version"},
};

std::string VersionNameFor(const OSVERSIONINFOEXA& version) {
    for (const KnownVersion& known : kKnownVersions) {
        if (known.major == version.dwMajorVersion && known.minor == version.dwMinorVersion &&
            known.productType == version.wProductType) {
            return known.name;
        }
    }
    return "<a version this test does not know>";
}

std::string EditionFromSystem() {
    if (GetSystemMetrics(87) != 0) {
        return "Media Center Edition";
    }
    if (GetSystemMetrics(88) != 0) {
        return "Starter Edition";
    }
    return GetSystemMetrics(86) != 0 ? "Tablet Edition" : "None";
}

std::string NativeNameFor(WORD architecture) {
    switch (architecture) {
        case 0:
            return "x86";
        case 6:
            return "Intel Itanium-based";
        case 9:
            return "x64 (AMD or Intel)";
        default:
            return "Unknown architecture";
    }
}

std::string ProgramNameFor(WORD architecture) {
    const char* const names[] = {"Intel", "MIPS",    "Alpha", "PPC",   "SHX",          "ARM",
                                 "IA64",  "ALPHA64", "MSIL",  "AMD64", "IA32 on Win64"};
    return architecture < 11 ? names[architecture] : "Unknown";
}

// Leaves 0x80000002 to 0x80000004, each as EAX, EBX, ECX, EDX, lowest byte first.
std::string BrandFromProcessor() {
    char brand[49] = {};
    for (unsigned leaf = 0; leaf < 3; ++leaf) {
        unsigned registers[4] = {};
        __cpuid_count(0x80000002u + leaf, 0, registers[0], registers[1], registers[2],
                      registers[3]);
        std::memcpy(brand + 16 * leaf, registers, sizeof registers);
    }
    return brand[0] != '\0' ? brand : "Not defined";
}

struct LabelledValue {
    const char* label;
    std::string value;
};

class SystemDataTest : public testing::Test {
protected:
    void SetUp() override {
        std::memset(&version_, 0, sizeof version_);
        version_.dwOSVersionInfoSize = sizeof version_;
        ASSERT_TRUE(GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&version_)));
        MEMORYSTATUSEX memory = {};
        memory.dwLength = sizeof memory;
        ASSERT_TRUE(GlobalMemoryStatusEx(&memory));
        memoryMiB_ = static_cast<std::int32_t>(memory.ullTotalPhys >> 20);
        GetNativeSystemInfo(&native_);
        GetSystemInfo(&program_);
    }

    std::vector<LabelledValue> NativeValues() const {
        const auto address = [](const void* p) {
            return Formatted("0X%08x", static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(p)));
        };
        return {
            {"MinAppAddress: ", address(native_.lpMinimumApplicationAddress)},
            {"MaxAppAddress: ", address(native_.lpMaximumApplicationAddress)},
            {"Processor Mask: ",
             Formatted("0X%08x", static_cast<unsigned>(native_.dwActiveProcessorMask))},
            {"NumbOfProcessors: ", Formatted("%d", static_cast<int>(native_.dwNumberOfProcessors))},
            {"ProcessorLevel: ", Formatted("%d", native_.wProcessorLevel)},
            {"ProcessorRevision: ", Formatted("%d", native_.wProcessorRevision)},
        };
    }

    OSVERSIONINFOEXA version_;
    std::int32_t memoryMiB_ = 0;
    SYSTEM_INFO native_ = {};
    SYSTEM_INFO program_ = {};
    MessageBoxRecorder boxes_;
};

TEST_F(SystemDataTest, TwentyNineRowsUnderTheHeaderShowWhatTheSystemReports) {
    ReportDialogUnderTest dialog(AnalysisDialogProc, 0);
    ASSERT_GT(dialog.RowCount(), kPluginDllRow);

    std::vector<Row> expected = {
        {"Memory (RAM)", Formatted("%ld MB", static_cast<long>(memoryMiB_)), ""},
        {"CPU brand", BrandFromProcessor(), ""},
        {"Windows version", VersionNameFor(version_), ""},
        {"Additional Info ", EditionFromSystem(), ""},
        {"Processor Architecture", NativeNameFor(native_.wProcessorArchitecture), ""},
    };
    for (const LabelledValue& row : NativeValues()) {
        expected.push_back({row.label, row.value, ""});
    }
    for (std::size_t i = 0; i < kProcessorFeatureCount; ++i) {
        const ProcessorFeature& feature = kProcessorFeatures[i];
        ASSERT_EQ(std::strlen(feature.sentence), 85u);
        expected.push_back(
            {feature.sentence, IsProcessorFeaturePresent(feature.number) ? " X " : "", ""});
    }
    expected.push_back(
        {"Processor Architecture", ProgramNameFor(program_.wProcessorArchitecture), ""});
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(kSystemRowCount));

    for (int i = 0; i < kSystemRowCount; ++i) {
        EXPECT_EQ(dialog.Row(kFirstSystemRow + i), expected[i]) << "system row " << i + 1;
    }
    EXPECT_EQ(dialog.Cell(kPluginDllRow, 0), kPluginDll);

    // The version record that the plug-in version section reads afterwards.
    EXPECT_EQ(g_versionRecord.dwOSVersionInfoSize, 156u);
    EXPECT_EQ(g_versionRecord.dwMajorVersion, version_.dwMajorVersion);
    EXPECT_EQ(g_versionRecord.dwMinorVersion, version_.dwMinorVersion);
    EXPECT_EQ(g_versionRecord.dwBuildNumber, version_.dwBuildNumber);
    EXPECT_EQ(g_versionRecord.wProductType, version_.wProductType);
    EXPECT_EQ(g_versionRecord.wSuiteMask, version_.wSuiteMask);
    EXPECT_TRUE(RunBoxes(boxes_.Boxes()).empty());
}

TEST_F(SystemDataTest, LogHoldsTheTimestampAndThirtyOneFreeTextLines) {
    ReportDialogUnderTest dialog(AnalysisDialogProc, 0);
    const std::string bytes = ReadFileBytes(kSystemDataLog);
    const std::vector<std::string> lines = SplitLogLines(bytes);
    ASSERT_EQ(lines.size(), 32u);
    ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_TRUE(LooksLikeTimestamp(lines[0])) << lines[0];

    const std::string edition = EditionFromSystem();
    std::vector<std::string> expected = {
        Formatted("Memory (RAM)  %ld MB", static_cast<long>(memoryMiB_)),
        "CPU brand " + BrandFromProcessor(),
        "Windows version " + VersionNameFor(version_),
        edition,
        "Additional Info  " + edition,
        "Processor Architecture",
        NativeNameFor(native_.wProcessorArchitecture),
    };
    for (const LabelledValue& row : NativeValues()) {
        expected.push_back(std::string(row.label) + " " + row.value);
    }
    for (std::size_t i = 0; i < kProcessorFeatureCount; ++i) {
        const ProcessorFeature& feature = kProcessorFeatures[i];
        expected.push_back(std::string(feature.sentence) + " " +
                           (IsProcessorFeaturePresent(feature.number) ? " X " : "   "));
    }
    expected.push_back("Processor Architecture   " +
                       ProgramNameFor(program_.wProcessorArchitecture));

    ASSERT_EQ(expected.size(), 31u);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(lines[i + 1], expected[i]) << "log line " << i + 1;
    }
    // Every feature line is 89 characters, present or not.
    for (std::size_t i = 14; i < 31; ++i) {
        EXPECT_EQ(lines[i].size(), 89u) << lines[i];
    }
}

}  // namespace
