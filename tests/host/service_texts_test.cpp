#include "report/service_texts.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct TypeCase {
    std::uint32_t type;
    const char* text;
};

TEST(ServiceTypeText, TheFourTableCodes) {
    const TypeCase cases[] = {
        {0x1, "KERNEL_DRIVER"},
        {0x2, "FILE_SYSTEM_DRIVER"},
        {0x10, "Win32_OWN_PROCESS"},
        {0x20, "WIN32_SHARE_PROCESS"},
    };
    for (const TypeCase& c : cases) {
        EXPECT_EQ(ServiceTypeText(c.type), c.text) << std::hex << c.type;
    }
}

TEST(ServiceTypeText, OtherCodesStayRecognisableAndFitTheLogField) {
    const TypeCase cases[] = {
        {0x4, "ADAPTER"},
        {0x8, "RECOGNIZER_DRIVER"},
        {0x110, "Win32_OWN_INTERACTIVE"},
        {0x120, "WIN32_SHARE_INTERACTIVE"},
        {0x50, "USER_OWN_PROCESS"},
        {0x60, "USER_SHARE_PROCESS"},
        {0xD0, "USER_OWN_INSTANCE"},
        {0xE0, "USER_SHARE_INSTANCE"},
        {0x0, "TYPE 0x0"},
        {0x3, "TYPE 0x3"},
        {0x400, "TYPE 0x400"},
        {0x130, "TYPE 0x130"},
        {0xFFFFFFFFu, "TYPE 0xFFFFFFFF"},
    };
    for (const TypeCase& c : cases) {
        const std::string text = ServiceTypeText(c.type);
        EXPECT_EQ(text, c.text) << std::hex << c.type;
        EXPECT_LT(text.size(), 25u) << text;
    }
}

TEST(ServiceStateText, EveryTableEntry) {
    const char* const expected[] = {
        "Undefined",
        "Service Stopped",
        "Service Start Pending",
        "Service Stop Pending",
        "Service Running",
        "Service Continue Pending",
        "Service Pause Pending",
        "Service Paused",
    };
    for (std::uint32_t state = 0; state < 8; ++state) {
        EXPECT_EQ(ServiceStateText(state), expected[state]) << state;
    }
}

TEST(ServiceStateText, CodesBeyondTheTable) {
    EXPECT_EQ(ServiceStateText(8), "Unknown state 8");
    EXPECT_EQ(ServiceStateText(9), "Unknown state 9");
    EXPECT_EQ(ServiceStateText(0xFFFFFFFFu), "Unknown state 4294967295");
}

}  // namespace
