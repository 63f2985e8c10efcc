// Names and texts of the system data rows of the analysis: Windows version and edition,
// processor architectures, processor features, and the value formats of the rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Row labels of the Name column and the system data log; their trailing blanks belong to them.
extern const char kMemoryLabel[];
extern const char kCpuBrandLabel[];
extern const char kWindowsVersionLabel[];
extern const char kAdditionalInfoLabel[];
extern const char kProcessorArchitectureLabel[];
extern const char kMinAppAddressLabel[];
extern const char kMaxAppAddressLabel[];
extern const char kProcessorMaskLabel[];
extern const char kNumberOfProcessorsLabel[];
extern const char kProcessorLevelLabel[];
extern const char kProcessorRevisionLabel[];

// A present feature shows its mark in the Value cell; an absent one leaves the cell empty and
// logs the absent mark.
extern const char kFeaturePresentMark[];
extern const char kFeatureAbsentMark[];

// The version name of a version this program does not know, or could not read.
extern const char kUnknownWindowsVersion[];

// Version name from the version record. versionQueryOk is false when GetVersionExA failed;
// serverR2 is GetSystemMetrics(SM_SERVERR2) != 0 (only consulted for version 5.2).
const char* WindowsVersionName(bool versionQueryOk, unsigned major, unsigned minor,
                               unsigned short suiteMask, unsigned char productType, bool serverR2);

// Edition text from GetSystemMetrics(SM_MEDIACENTER / SM_STARTER / SM_TABLETPC) != 0.
const char* EditionName(bool mediaCenter, bool starter, bool tabletPc);

// Name of GetNativeSystemInfo's wProcessorArchitecture.
const char* NativeArchitectureName(unsigned short arch);

// Name of GetSystemInfo's wProcessorArchitecture (what this process sees).
const char* ProgramArchitectureName(unsigned short arch);

// One processor feature: the number for IsProcessorFeaturePresent and the sentence that is
// both the Name cell and the log label, blank-padded to kFeatureSentenceWidth characters.
struct ProcessorFeature {
    unsigned number;
    const char* sentence;
};

constexpr std::size_t kFeatureSentenceWidth = 85;
constexpr std::size_t kProcessorFeatureCount = 17;

// Tested in this order; the table ends with a record whose sentence is null (feature number 0
// is a real feature, so the sentence marks the end).
extern const ProcessorFeature kProcessorFeatures[kProcessorFeatureCount + 1];

// Value text of the address and processor mask rows.
std::string HexValueText(std::uint32_t value);

// Value text of the processor count, level and revision rows.
std::string DecimalValueText(std::int32_t value);

// The log-only line of the last system data row: its label, blanks, the architecture name.
std::string ProgramArchitectureLogLine(const char* architectureName);

// The plug-in's Uninstall key under HKEY_LOCAL_MACHINE for the reported version: the native
// key for 5.1, the Wow6432Node key for 6.1 and later 6.x, else nullptr, which the caller
// treats as a key it cannot open. Windows 8.1 and 10 report 6.2 to a program whose manifest
// does not name them.
const char* ChooseUninstallKey(unsigned major, unsigned minor);
