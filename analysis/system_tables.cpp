#include "analysis/system_tables.h"

#include <cstdio>

const char kMemoryLabel[] = "Memory (RAM)";
const char kCpuBrandLabel[] = "CPU brand";
const char kWindowsVersionLabel[] = "Windows version";
const char kAdditionalInfoLabel[] = "Additional Info ";
const char kProcessorArchitectureLabel[] = "Processor Architecture";
const char kMinAppAddressLabel[] = "MinAppAddress: ";
const char kMaxAppAddressLabel[] = "MaxAppAddress: ";
const char kProcessorMaskLabel[] = "Processor Mask: ";
const char kNumberOfProcessorsLabel[] = "NumbOfProcessors: ";
const char kProcessorLevelLabel[] = "ProcessorLevel: ";
const char kProcessorRevisionLabel[] = "ProcessorRevision: ";

const char kUnknownWindowsVersion[] = "Unknown Windows Version";

const char kFeaturePresentMark[] = " X ";
const char kFeatureAbsentMark[] = "   ";

namespace {

constexpr unsigned short kSuiteWindowsHomeServer = 0x8000;  // VER_SUITE_WH_SERVER
constexpr unsigned char kProductWorkstation = 1;            // VER_NT_WORKSTATION

const char* const kProgramArchitectureNames[] = {
    "Intel", "MIPS",    "Alpha", "PPC",   "SHX",           "ARM",
    "IA64",  "ALPHA64", "MSIL",  "AMD64", "IA32 on Win64",
};

}  // namespace

const char* WindowsVersionName(bool versionQueryOk, unsigned major, unsigned minor,
                               unsigned short suiteMask, unsigned char productType, bool serverR2) {
    if (!versionQueryOk) {
        return kUnknownWindowsVersion;
    }
    const bool workstation = productType == kProductWorkstation;
    if (major == 5) {
        switch (minor) {
            case 0:
                return "Windows 2000";
            case 1:
                return "Windows XP";
            case 2:
                if ((suiteMask & kSuiteWindowsHomeServer) != 0) {
                    return "Windows Home Server";
                }
                return serverR2 ? "Windows Server 2003 R2" : "Windows Server 2003";
            default:
                return kUnknownWindowsVersion;
        }
    }
    if (major == 6) {
        switch (minor) {
            case 0:
                return workstation ? "Windows Vista" : "Windows Server 2008";
            case 1:
                return workstation ? "Windows 7" : "Windows Server 2008 R2";
            case 2:
                return workstation ? "Windows 8" : "Windows Server 2012";
            default:
                return "Windows 8";
        }
    }
    return kUnknownWindowsVersion;
}

const char* EditionName(bool mediaCenter, bool starter, bool tabletPc) {
    if (mediaCenter) {
        return "Media Center Edition";
    }
    if (starter) {
        return "Starter Edition";
    }
    if (tabletPc) {
        return "Tablet Edition";
    }
    return "None";
}

const char* NativeArchitectureName(unsigned short arch) {
    switch (arch) {
        case 0:  // PROCESSOR_ARCHITECTURE_INTEL
            return "x86";
        case 6:  // PROCESSOR_ARCHITECTURE_IA64
            return "Intel Itanium-based";
        case 9:  // PROCESSOR_ARCHITECTURE_AMD64
            return "x64 (AMD or Intel)";
        default:
            return "Unknown architecture";
    }
}

const char* ProgramArchitectureName(unsigned short arch) {
    const std::size_t count =
        sizeof kProgramArchitectureNames / sizeof kProgramArchitectureNames[0];
    return arch < count ? kProgramArchitectureNames[arch] : "Unknown";
}

const ProcessorFeature kProcessorFeatures[kProcessorFeatureCount + 1] = {
    {7, "The 3D-Now instruction set is available                                              "},
    {16, "The processor channels are enabled                                                   "},
    {2, "The atomic compare and exchange operation (cmpxchg) is available                     "},
    {14, "The atomic compare and exchange 128-bit operation (cmpxchg16b) is available          "},
    {15, "The atomic compare 64 and exchange 128-bit operation (cmp8xchg16) is available       "},
    {1, "Floating-point operations are emulated using a software emulator                     "},
    {0, "On a Pentium, a floating-point precision error can occur in rare circumstances       "},
    {3, "The MMX instruction set is available                                                 "},
    {12, "Data execution prevention is enabled                                                 "},
    {9, "The processor is PAE-enabled. For more information, see Physical Address Extension   "},
    {8, "The RDTSC instruction is available                                                   "},
    {20, "Second Level Address Translation is supported by the hardware                        "},
    {13, "The SSE3 instruction set is available                                                "},
    {21, "Virtualization is enabled in the firmware                                            "},
    {6, "The SSE instruction set is available                                                 "},
    {10, "The SSE2 instruction set is available                                                "},
    {17, "The processor implements the XSAVE and XRSTOR instructions                           "},
    {0, nullptr},
};

std::string HexValueText(std::uint32_t value) {
    char text[128];
    std::snprintf(text, sizeof text, "0X%08x", static_cast<unsigned>(value));
    return text;
}

std::string DecimalValueText(std::int32_t value) {
    char text[128];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    return text;
}

std::string ProgramArchitectureLogLine(const char* architectureName) {
    std::string line = kProcessorArchitectureLabel;
    line += "   ";
    line += architectureName != nullptr ? architectureName : "";
    return line;
}

const char* ChooseUninstallKey(unsigned major, unsigned minor) {
    if (major == 5 && minor == 1) {
        return "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Mach3 Lensora_is1";
    }
    if (major == 6 && minor >= 1) {
        return "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
               "Mach3 Lensora_is1";
    }
    return nullptr;
}
