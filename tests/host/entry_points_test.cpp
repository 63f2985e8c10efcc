#include "checks/entry_points.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

TEST(EntryPoints, TwentyOneNamesInTableOrder) {
    const char* const expected[] = {
        "Config",      "DoDwell",         "Home",      "InitControl",     "JogOff",     "JogOn",
        "Notify",      "PostInitControl", "Probe",     "Purge",           "Reset",      "SetCode",
        "SetDoButton", "SetGetDRO",       "SetGetLED", "SetGetMenuRange", "SetProName", "SetSetDRO",
        "SetSetLED",   "StopPlug",        "Update",
    };
    ASSERT_EQ(sizeof expected / sizeof expected[0], 21u);
    for (std::size_t row = 0; row < 21; ++row) {
        ASSERT_NE(kEntryPointNames[row], nullptr) << "row " << row;
        EXPECT_STREQ(kEntryPointNames[row], expected[row]) << "row " << row;
    }
    EXPECT_EQ(kEntryPointNames[21], nullptr);
}

TEST(EntryPoints, EveryNameFitsTheThirtyCharacterField) {
    std::size_t longest = 0;
    for (const char* const* name = kEntryPointNames; *name != nullptr; ++name) {
        longest = std::max(longest, std::strlen(*name));
    }
    EXPECT_EQ(longest, 15u);
}

TEST(EntryPoints, PathsAndResults) {
    EXPECT_STREQ(kExportCheckPluginPath, "C:\\mach3\\plugIns\\lensora.dll");
    EXPECT_STREQ(kExportLogPath, "C:\\Lensora_Brenhold.logDlls");
    EXPECT_STREQ(ExportResultText(true), "found");
    EXPECT_STREQ(ExportResultText(false), "Not found");
}

}  // namespace
