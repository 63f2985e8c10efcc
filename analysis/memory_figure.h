// The figure of the "Memory (RAM)" row of the system data section.
#pragma once

#include <cstdint>
#include <string>

// The memory row's Value cell: total physical memory in whole MiB, rounded down, and the
// unit. The whole 64-bit figure is shown, so 2 PiB or more never wraps to a negative number.
std::string MemoryFigureText(std::uint64_t totalBytes);

// The memory row's log-only line: its label, two blanks and the same figure.
std::string MemoryFigureLogLine(std::uint64_t totalBytes);
