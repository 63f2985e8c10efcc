// The system data rows of "Analyze" and their log, against what this test reads from the
// system itself. The version, edition and architecture rows depend on the Windows version and
// prefix; version_matrix_test.cpp checks them under each.
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

// The brand as the system itself records it from the processor.
// The brand as the processor gives it (leaves 0x80000002 to 0x80000004, up to the first zero,
// blanks kept); the system's own record of it drops the blanks at its ends, so the two are
// compared without them as a check of this reading.
std::string BrandFromCpuid() {
    unsigned int words[12] = {};
    for (unsigned int leaf = 0; leaf < 3; ++leaf) {
        __get_cpuid(0x80000002u + leaf, &words[leaf * 4], &words[leaf * 4 + 1],
                    &words[leaf * 4 + 2], &words[leaf * 4 + 3]);
    }
    char text[49] = {};
    std::memcpy(text, words, 48);
    return text;
}

std::string WithoutEndBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

std::string BrandFromRegistry() {
    char brand[64] = {};
    DWORD size = sizeof brand - 1;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", 0,
                      KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        RegQueryValueExA(key, "ProcessorNameString", nullptr, nullptr,
                         reinterpret_cast<BYTE*>(brand), &size);
        RegCloseKey(key);
    }
    return brand;
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
    MessageBoxRecorder boxes_;
};

TEST_F(SystemDataTest, TwentyNineRowsUnderTheHeaderShowWhatTheSystemReports) {
    const std::string brand = BrandFromCpuid();
    ASSERT_FALSE(brand.empty()) << "the processor gives no brand";
    ASSERT_EQ(WithoutEndBlanks(brand), WithoutEndBlanks(BrandFromRegistry()));
    ReportDialogUnderTest dialog(AnalysisDialogProc, 0);
    ASSERT_GT(dialog.RowCount(), kPluginDllRow);

    std::vector<Row> expected = {
        {"Memory (RAM)", Formatted("%ld MB", static_cast<long>(memoryMiB_)), ""},
        {"CPU brand", brand, ""},
        // Rows 3, 4, 5 and 29 by their Name only: their values are the matrix tests' concern.
        {"Windows version"},
        {"Additional Info "},
        {"Processor Architecture"},
    };
    for (const LabelledValue& row : NativeValues()) {
        expected.push_back({row.label, row.value, ""});
    }
    for (std::size_t i = 0; i < kProcessorFeatureCount; ++i) {
        const ProcessorFeature& feature = kProcessorFeatures[i];
        expected.push_back(
            {feature.sentence, IsProcessorFeaturePresent(feature.number) ? " X " : "", ""});
    }
    expected.push_back({"Processor Architecture"});
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(kSystemRowCount));

    for (int i = 0; i < kSystemRowCount; ++i) {
        const Row row = dialog.Row(kFirstSystemRow + i);
        if (expected[i].size() == 1) {
            EXPECT_EQ(row.at(0), expected[i][0]) << "system row " << i + 1;
        } else {
            EXPECT_EQ(row, expected[i]) << "system row " << i + 1;
        }
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
    const std::string brand = BrandFromCpuid();
    ReportDialogUnderTest dialog(AnalysisDialogProc, 0);
    const std::string bytes = ReadFileBytes(kSystemDataLog);
    const std::vector<std::string> lines = SplitLogLines(bytes);
    ASSERT_EQ(lines.size(), 32u);
    ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_TRUE(LooksLikeTimestamp(lines[0])) << lines[0];

    // Lines 3 to 7 and 31 (version, edition twice, both architecture lines) are the matrix
    // tests' concern.
    EXPECT_EQ(lines[1], Formatted("Memory (RAM)  %ld MB", static_cast<long>(memoryMiB_)));
    EXPECT_EQ(lines[2], "CPU brand " + brand);
    std::vector<std::string> expected;
    for (const LabelledValue& row : NativeValues()) {
        expected.push_back(std::string(row.label) + " " + row.value);
    }
    for (std::size_t i = 0; i < kProcessorFeatureCount; ++i) {
        const ProcessorFeature& feature = kProcessorFeatures[i];
        expected.push_back(std::string(feature.sentence) + " " +
                           (IsProcessorFeaturePresent(feature.number) ? " X " : "   "));
    }
    ASSERT_EQ(expected.size(), 23u);
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(lines[i + 8], expected[i]) << "log line " << i + 8;
    }
    // Every feature line is 89 characters, present or not.
    for (std::size_t i = 14; i < 31; ++i) {
        EXPECT_EQ(lines[i].size(), 89u) << lines[i];
    }
}

}  // namespace
