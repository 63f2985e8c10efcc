// Texts of the service listing for a service's type and current state codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The type text for dwServiceType. The four plain codes give "KERNEL_DRIVER",
// "FILE_SYSTEM_DRIVER", "Win32_OWN_PROCESS" and "WIN32_SHARE_PROCESS". The other codes that
// Windows reports get a name of their own, kept under the 25-character log field so the log
// writer does not warn for every such service: 4 "ADAPTER", 8 "RECOGNIZER_DRIVER",
// 0x110 "Win32_OWN_INTERACTIVE", 0x120 "WIN32_SHARE_INTERACTIVE", 0x50 "USER_OWN_PROCESS",
// 0x60 "USER_SHARE_PROCESS", 0xD0 "USER_OWN_INSTANCE", 0xE0 "USER_SHARE_INSTANCE". Any
// other code is shown as "TYPE 0x" and its upper-case hexadecimal value, e.g. "TYPE 0x400".
std::string ServiceTypeText(std::uint32_t type);

// The state table's text; a code above 7 (never reported by the system) gives
// "Unknown state <code>" in decimal, so nothing is read outside the table.
std::string ServiceStateText(std::uint32_t state);
