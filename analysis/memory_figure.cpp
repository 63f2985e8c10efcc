#include "analysis/memory_figure.h"

#include "analysis/system_tables.h"

std::string MemoryFigureText(std::uint64_t totalBytes) {
    return std::to_string(totalBytes >> 20) + " MB";
}

std::string MemoryFigureLogLine(std::uint64_t totalBytes) {
    return std::string(kMemoryLabel) + "  " + MemoryFigureText(totalBytes);
}
