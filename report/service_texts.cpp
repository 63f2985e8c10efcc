#include "report/service_texts.h"

#include <cstdio>

namespace {

constexpr std::size_t kServiceStateCount = 8;
// Indexed by the current state code (1 SERVICE_STOPPED ... 7 SERVICE_PAUSED; 0 is never
// reported).
const char* const kServiceStateTexts[kServiceStateCount] = {
    "Undefined",       "Service Stopped",          "Service Start Pending", "Service Stop Pending",
    "Service Running", "Service Continue Pending", "Service Pause Pending", "Service Paused",
};

struct ServiceTypeName {
    std::uint32_t type;
    const char* text;
};

const ServiceTypeName kServiceTypeNames[] = {
    {0x1, "KERNEL_DRIVER"},
    {0x2, "FILE_SYSTEM_DRIVER"},
    {0x10, "Win32_OWN_PROCESS"},
    {0x20, "WIN32_SHARE_PROCESS"},
    {0x4, "ADAPTER"},
    {0x8, "RECOGNIZER_DRIVER"},
    {0x110, "Win32_OWN_INTERACTIVE"},
    {0x120, "WIN32_SHARE_INTERACTIVE"},
    {0x50, "USER_OWN_PROCESS"},
    {0x60, "USER_SHARE_PROCESS"},
    {0xD0, "USER_OWN_INSTANCE"},
    {0xE0, "USER_SHARE_INSTANCE"},
    {0, nullptr},
};

}  // namespace

std::string ServiceTypeText(std::uint32_t type) {
    for (const ServiceTypeName* entry = kServiceTypeNames; entry->text != nullptr; ++entry) {
        if (entry->type == type) {
            return entry->text;
        }
    }
    char text[32];
    std::snprintf(text, sizeof text, "TYPE 0x%X", static_cast<unsigned>(type));
    return text;
}

std::string ServiceStateText(std::uint32_t state) {
    if (state < kServiceStateCount) {
        return kServiceStateTexts[state];
    }
    char text[32];
    std::snprintf(text, sizeof text, "Unknown state %u", static_cast<unsigned>(state));
    return text;
}

bool IsServiceStateText(const std::string& text) {
    for (std::uint32_t state = 1; state < kServiceStateCount; ++state) {
        if (text == kServiceStateTexts[state]) {
            return true;
        }
    }
    unsigned code = 0;
    char rest = 0;
    return std::sscanf(text.c_str(), "Unknown state %u%c", &code, &rest) == 1 &&
           ServiceStateText(code) == text;
}
