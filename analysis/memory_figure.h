// The figure of the "Memory (RAM)" row of the system data section.
#pragma once

#include <cstdint>
#include <string>

// "<n> MB", n the total physical memory in whole MiB, rounded down: the Value cell of the
// memory row. The whole 64-bit figure is shown, so memory of 2^31 MiB (2 PiB) or more is not
// wrapped into a negative number; below that the text is what "%ld" of the figure gives.
std::string MemoryFigureText(std::uint64_t totalBytes);

// "Memory (RAM)  <n> MB" (two blanks), the same figure: the log-only line of the memory row.
std::string MemoryFigureLogLine(std::uint64_t totalBytes);
