#include "analysis/system_tables.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace {

struct VersionCase {
    bool queryOk;
    unsigned major;
    unsigned minor;
    unsigned short suiteMask;
    unsigned char productType;
    bool serverR2;
    const char* name;
};

TEST(WindowsVersionName, EveryRowOfTheTable) {
    const VersionCase cases[] = {
        {true, 5, 0, 0, 1, false, "Windows 2000"},
        {true, 5, 1, 0, 1, false, "Windows XP"},
        {true, 5, 1, 0, 3, true, "Windows XP"},
        {true, 5, 2, 0x8000, 3, false, "Windows Home Server"},
        {true, 5, 2, 0x8000, 3, true, "Windows Home Server"},
        {true, 5, 2, 0x0010, 3, true, "Windows Server 2003 R2"},
        {true, 5, 2, 0, 3, false, "Windows Server 2003"},
        {true, 5, 2, 0, 1, false, "Windows Server 2003"},
        {true, 6, 0, 0, 1, false, "Windows Vista"},
        {true, 6, 0, 0, 2, false, "Windows Server 2008"},
        {true, 6, 1, 0, 1, false, "Windows 7"},
        {true, 6, 1, 0, 3, false, "Windows Server 2008 R2"},
        {true, 6, 2, 0, 1, false, "Windows 8"},
        {true, 6, 2, 0, 3, false, "Windows Server 2012"},
        {true, 6, 3, 0, 1, false, "Windows 8"},
        {true, 6, 3, 0, 3, false, "Windows 8"},
        {true, 10, 0, 0, 1, false, "Unknown Windows Version"},
        {true, 5, 3, 0, 1, false, "Unknown Windows Version"},
        {true, 4, 0, 0, 1, false, "Unknown Windows Version"},
        {false, 6, 1, 0, 1, false, "Unknown Windows Version"},
    };
    for (const VersionCase& c : cases) {
        EXPECT_STREQ(
            WindowsVersionName(c.queryOk, c.major, c.minor, c.suiteMask, c.productType, c.serverR2),
            c.name)
            << c.major << "." << c.minor << " type " << int(c.productType);
    }
}

TEST(EditionName, FirstTestThatHoldsWins) {
    const struct {
        bool mediaCenter, starter, tabletPc;
        const char* name;
    } cases[] = {
        {false, false, false, "None"},
        {true, false, false, "Media Center Edition"},
        {false, true, false, "Starter Edition"},
        {false, false, true, "Tablet Edition"},
        {true, true, true, "Media Center Edition"},
        {false, true, true, "Starter Edition"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(EditionName(c.mediaCenter, c.starter, c.tabletPc), c.name);
    }
}

TEST(NativeArchitectureName, Table) {
    EXPECT_STREQ(NativeArchitectureName(0), "x86");
    EXPECT_STREQ(NativeArchitectureName(6), "Intel Itanium-based");
    EXPECT_STREQ(NativeArchitectureName(9), "x64 (AMD or Intel)");
    EXPECT_STREQ(NativeArchitectureName(0xFFFF), "Unknown architecture");
    EXPECT_STREQ(NativeArchitectureName(5), "Unknown architecture");
    EXPECT_STREQ(NativeArchitectureName(10), "Unknown architecture");
    EXPECT_STREQ(NativeArchitectureName(12), "Unknown architecture");
}

TEST(ProgramArchitectureName, Table) {
    const char* const expected[] = {"Intel", "MIPS",    "Alpha", "PPC",   "SHX",          "ARM",
                                    "IA64",  "ALPHA64", "MSIL",  "AMD64", "IA32 on Win64"};
    for (unsigned short arch = 0; arch <= 10; ++arch) {
        EXPECT_STREQ(ProgramArchitectureName(arch), expected[arch]) << arch;
    }
    EXPECT_STREQ(ProgramArchitectureName(11), "Unknown");
    EXPECT_STREQ(ProgramArchitectureName(12), "Unknown");
    EXPECT_STREQ(ProgramArchitectureName(0xFFFF), "Unknown");
}

TEST(ProcessorFeatures, SeventeenSentencesInOrderPaddedToEightyFive) {
    const struct {
        unsigned number;
        const char* sentence;
    } expected[] = {
        {7, "The 3D-Now instruction set is available"},
        {16, "The processor channels are enabled"},
        {2, "The atomic compare and exchange operation (cmpxchg) is available"},
        {14, "The atomic compare and exchange 128-bit operation (cmpxchg16b) is available"},
        {15, "The atomic compare 64 and exchange 128-bit operation (cmp8xchg16) is available"},
        {1, "Floating-point operations are emulated using a software emulator"},
        {0, "On a Pentium, a floating-point precision error can occur in rare circumstances"},
        {3, "The MMX instruction set is available"},
        {12, "Data execution prevention is enabled"},
        {9, "The processor is PAE-enabled. For more information, see Physical Address Extension"},
        {8, "The RDTSC instruction is available"},
        {20, "Second Level Address Translation is supported by the hardware"},
        {13, "The SSE3 instruction set is available"},
        {21, "Virtualization is enabled in the firmware"},
        {6, "The SSE instruction set is available"},
        {10, "The SSE2 instruction set is available"},
        {17, "The processor implements the XSAVE and XRSTOR instructions"},
    };
    static_assert(sizeof expected / sizeof expected[0] == 17, "seventeen features");
    for (std::size_t i = 0; i < 17; ++i) {
        ASSERT_NE(kProcessorFeatures[i].sentence, nullptr) << "row " << i + 12;
        const std::string sentence = expected[i].sentence;
        EXPECT_EQ(kProcessorFeatures[i].sentence, sentence + std::string(85 - sentence.size(), ' '))
            << "row " << i + 12;
        EXPECT_EQ(kProcessorFeatures[i].number, expected[i].number) << "row " << i + 12;
    }
    EXPECT_EQ(kProcessorFeatures[17].sentence, nullptr);
}

TEST(SystemRowFormats, HexAndDecimal) {
    EXPECT_EQ(HexValueText(65536), "0X00010000");
    EXPECT_EQ(HexValueText(0x7FFEFFFF), "0X7ffeffff");
    EXPECT_EQ(HexValueText(0), "0X00000000");
    EXPECT_EQ(HexValueText(0xFFFFFFFF), "0Xffffffff");
    EXPECT_EQ(DecimalValueText(4), "4");
    EXPECT_EQ(DecimalValueText(0), "0");
    EXPECT_EQ(DecimalValueText(-1), "-1");
}

TEST(SystemRowFormats, ProgramArchitectureLogLine) {
    EXPECT_EQ(ProgramArchitectureLogLine("Intel"), "Processor Architecture   Intel");
    EXPECT_EQ(ProgramArchitectureLogLine("IA32 on Win64"),
              "Processor Architecture   IA32 on Win64");
}

TEST(ChooseUninstallKey, ByVersionAlone) {
    const char kNative[] =
        "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Mach3 Lensora_is1";
    const char kWow[] =
        "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Mach3 Lensora_is1";
    EXPECT_STREQ(ChooseUninstallKey(5, 1), kNative);
    EXPECT_STREQ(ChooseUninstallKey(6, 1), kWow);
    EXPECT_STREQ(ChooseUninstallKey(6, 2), kWow);
    EXPECT_STREQ(ChooseUninstallKey(6, 3), kWow);
    EXPECT_EQ(ChooseUninstallKey(5, 0), nullptr);
    EXPECT_EQ(ChooseUninstallKey(5, 2), nullptr);
    EXPECT_EQ(ChooseUninstallKey(6, 0), nullptr);
    EXPECT_EQ(ChooseUninstallKey(10, 0), nullptr);
    EXPECT_EQ(ChooseUninstallKey(4, 1), nullptr);
}

}  // namespace
