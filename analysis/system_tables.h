// Names and texts of the system data rows of the analysis: Windows version and edition,
// processor architectures, processor features, and the value formats of the rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Row labels, as shown in the Name column and written to the system data log.
extern const char kMemoryLabel[];                 // "Memory (RAM)"
extern const char kCpuBrandLabel[];               // "CPU brand"
extern const char kWindowsVersionLabel[];         // "Windows version"
extern const char kAdditionalInfoLabel[];         // "Additional Info " (trailing blank)
extern const char kProcessorArchitectureLabel[];  // "Processor Architecture"
extern const char kMinAppAddressLabel[];          // "MinAppAddress: "
extern const char kMaxAppAddressLabel[];          // "MaxAppAddress: "
extern const char kProcessorMaskLabel[];          // "Processor Mask: "
extern const char kNumberOfProcessorsLabel[];     // "NumbOfProcessors: "
extern const char kProcessorLevelLabel[];         // "ProcessorLevel: "
extern const char kProcessorRevisionLabel[];      // "ProcessorRevision: "

// Value of a present processor feature (an absent one leaves the cell empty and logs
// kFeatureAbsentMark).
extern const char kFeaturePresentMark[];  // " X "
extern const char kFeatureAbsentMark[];   // "   "

// Version name from the version record. versionQueryOk is false when GetVersionExA failed;
// serverR2 is GetSystemMetrics(SM_SERVERR2) != 0 (only consulted for version 5.2).
const char* WindowsVersionName(bool versionQueryOk, unsigned major, unsigned minor,
                               unsigned short suiteMask, unsigned char productType, bool serverR2);

// Edition text from GetSystemMetrics(SM_MEDIACENTER / SM_STARTER / SM_TABLETPC) != 0.
const char* EditionName(bool mediaCenter, bool starter, bool tabletPc);

// wProcessorArchitecture of GetNativeSystemInfo.
const char* NativeArchitectureName(unsigned short arch);

// wProcessorArchitecture of GetSystemInfo (what this 32-bit process sees).
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

// "0X%08x": addresses and the processor mask (32-bit values in the 32-bit program).
std::string HexValueText(std::uint32_t value);

// "%d": processor count, level and revision.
std::string DecimalValueText(std::int32_t value);

// "%s   %s" of "Processor Architecture" and the program architecture name: the log-only
// line of the last system data row.
std::string ProgramArchitectureLogLine(const char* architectureName);

// Uninstall key (under HKEY_LOCAL_MACHINE) of the plug-in for the reported Windows version:
// 5.1 gives the native key, 6.1 and later 6.x the Wow6432Node key. Every other version
// (5.0, 5.2, 6.0, 10.0 ...) gives nullptr: the caller then behaves as when the key cannot be
// opened (no row, no message, the version log left untouched) and never queries a key that
// it has not opened. A program without a Windows 10 manifest entry is told 6.2 on Windows 8.1
// and 10, so those machines still get the Wow6432Node key.
const char* ChooseUninstallKey(unsigned major, unsigned minor);
