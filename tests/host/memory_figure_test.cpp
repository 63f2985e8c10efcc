// The memory figure of the system data section, from a total of physical bytes.
#include <gtest/gtest.h>

#include <cstdint>

#include "analysis/memory_figure.h"

namespace {

TEST(MemoryFigure, WholeMiBRoundedDownAndNeverNegative) {
    const struct {
        std::uint64_t bytes;
        const char* text;
    } cases[] = {
        {0, "0 MB"},
        {1048575, "0 MB"},
        {1048576, "1 MB"},
        {4294967295ull, "4095 MB"},
        {8ull << 30, "8192 MB"},
        {(2ull << 40) - 1, "2097151 MB"},
        {2ull << 40, "2097152 MB"},
        // The largest figure a signed 32-bit number holds, and the ones past it.
        {(1ull << 51) - 1, "2147483647 MB"},
        {1ull << 51, "2147483648 MB"},
        {1ull << 52, "4294967296 MB"},
        {UINT64_MAX, "17592186044415 MB"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MemoryFigureText(c.bytes), c.text) << c.bytes;
    }
}

TEST(MemoryFigure, LogLineHasTheLabelTwoBlanksAndTheSameFigure) {
    EXPECT_EQ(MemoryFigureLogLine(4294967295ull), "Memory (RAM)  4095 MB");
    EXPECT_EQ(MemoryFigureLogLine(1ull << 51), "Memory (RAM)  2147483648 MB");
}

}  // namespace
