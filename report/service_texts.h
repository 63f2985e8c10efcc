// Texts of the service listing for a service's type and current state codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The type text for dwServiceType. Every code Windows reports has a name that fits the
// 25-character log field, so the log writer does not warn for every such service; any other
// code is shown by its upper-case hexadecimal value.
std::string ServiceTypeText(std::uint32_t type);

// The state text; a code beyond the table (never reported by the system) gives an
// unknown-state text with the code in decimal, so nothing is read outside the table.
std::string ServiceStateText(std::uint32_t state);

// Whether a text is one that ServiceStateText gives, as the service log holds it.
bool IsServiceStateText(const std::string& text);
