#include <windows.h>

#include <cstdint>
#include <string>

#include "analysis/analysis_sections_win.h"
#include "analysis/analysis_state_win.h"
#include "analysis/cpu_brand.h"
#include "analysis/memory_figure.h"
#include "analysis/system_tables.h"
#include "report/log_file_win.h"
#include "report/column_sets.h"
#include "report/report_list_win.h"
#include "report/log_paths.h"

namespace {


// A row whose log line is its label, one blank and its value.
void LabelledRow(const char* label, const char* value) {
    RowStartTight(label);
    RowLastCell(kValueColumn, value);
}

// Shown in the list only; the log gets its own wording of the same number.
void EmitMemoryRow() {
    MEMORYSTATUSEX memory = {};
    memory.dwLength = sizeof memory;
    GlobalMemoryStatusEx(&memory);
    NextReportRow();
    InsertReportRow(kMemoryLabel);
    SetReportCell(kValueColumn, MemoryFigureText(memory.ullTotalPhys).c_str());
    LogOnlyLine(MemoryFigureLogLine(memory.ullTotalPhys).c_str());
}

void EmitCpuBrandRow() {
    char brand[kCpuBrandBufferSize];
    ReadCpuBrand(brand);
    LabelledRow(kCpuBrandLabel, brand);
}

// The version record is filled again here; the plug-in version section reads it later.
void EmitWindowsRows() {
    LabelledRow(kWindowsVersionLabel, QueryWindowsVersionText());
    const char* edition =
        EditionName(GetSystemMetrics(SM_MEDIACENTER) != 0, GetSystemMetrics(SM_STARTER) != 0,
                    GetSystemMetrics(SM_TABLETPC) != 0);
    // The edition stands twice in the log: bare, then after its label.
    LogOnlyLine(edition);
    LabelledRow(kAdditionalInfoLabel, edition);
}

std::uint32_t AddressValue(const void* address) {
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(address));
}

void EmitNativeRows() {
    SYSTEM_INFO native = {};
    GetNativeSystemInfo(&native);
    SingleFieldRow(kProcessorArchitectureLabel);
    RowLastCell(kValueColumn, NativeArchitectureName(native.wProcessorArchitecture));

    const struct {
        const char* label;
        std::string value;
    } rows[] = {
        {kMinAppAddressLabel, HexValueText(AddressValue(native.lpMinimumApplicationAddress))},
        {kMaxAppAddressLabel, HexValueText(AddressValue(native.lpMaximumApplicationAddress))},
        {kProcessorMaskLabel,
         HexValueText(static_cast<std::uint32_t>(native.dwActiveProcessorMask))},
        {kNumberOfProcessorsLabel,
         DecimalValueText(static_cast<std::int32_t>(native.dwNumberOfProcessors))},
        {kProcessorLevelLabel, DecimalValueText(native.wProcessorLevel)},
        {kProcessorRevisionLabel, DecimalValueText(native.wProcessorRevision)},
    };
    for (const auto& row : rows) {
        LabelledRow(row.label, row.value.c_str());
    }
}

// An absent feature leaves its Value cell empty but still ends its log line
// with three blanks, so every feature line has the same length.
void EmitFeatureRows() {
    for (const ProcessorFeature* feature = kProcessorFeatures; feature->sentence != nullptr;
         ++feature) {
        RowStartTight(feature->sentence);
        if (IsProcessorFeaturePresent(feature->number)) {
            RowLastCell(kValueColumn, kFeaturePresentMark);
        } else {
            LogOnlyLine(kFeatureAbsentMark);
        }
    }
}

// What this 32-bit process is told, shown in the list and logged as one line.
void EmitProgramArchitectureRow() {
    SYSTEM_INFO program = {};
    GetSystemInfo(&program);
    const char* name = ProgramArchitectureName(program.wProcessorArchitecture);
    NextReportRow();
    InsertReportRow(kProcessorArchitectureLabel);
    SetReportCell(kValueColumn, name);
    LogOnlyLine(ProgramArchitectureLogLine(name).c_str());
}

}  // namespace

const char* QueryWindowsVersionText() {
    const bool versionKnown = QueryVersionRecord();
    return WindowsVersionName(versionKnown, g_versionRecord.dwMajorVersion,
                              g_versionRecord.dwMinorVersion, g_versionRecord.wSuiteMask,
                              g_versionRecord.wProductType, GetSystemMetrics(SM_SERVERR2) != 0);
}

// The run leaves the row cursor on its header row, so this section, like every
// other, advances before each of its rows: without its log it emits nothing and
// the next section's first row still directly follows the header.
int RunSystemDataSection() {
    const SectionLog log(kSystemDataLogPath);
    if (!log.Opened()) {
        return 1;
    }
    EmitMemoryRow();
    EmitCpuBrandRow();
    EmitWindowsRows();
    EmitNativeRows();
    EmitFeatureRows();
    EmitProgramArchitectureRow();
    return 1;
}
