#include "analysis/cpu_brand.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace {

TEST(BrandFromRegisters, RegistersInOrderBytesLowestFirst) {
    // "Inte" "l(R)" in EAX and EBX of the first brand leaf, then zeros.
    const std::uint32_t regs[12] = {0x65746E49, 0x2952286C};
    char buffer[kCpuBrandBufferSize];
    std::memset(buffer, 'q', sizeof buffer);
    BrandFromRegisters(regs, buffer);
    EXPECT_STREQ(buffer, "Intel(R)");
    for (std::size_t i = 8; i < kCpuBrandBufferSize; ++i) {
        ASSERT_EQ(buffer[i], '\0') << i;
    }
}

TEST(BrandFromRegisters, LeavesFillSixteenBytesEach) {
    // EDX of leaf 2, EAX of leaf 3 and EDX of leaf 4 carry "ABCD", "EFGH" and "WXYZ"; the
    // registers between them are blanks.
    std::uint32_t regs[12];
    for (std::uint32_t& r : regs) {
        r = 0x20202020;
    }
    regs[3] = 0x44434241;
    regs[4] = 0x48474645;
    regs[11] = 0x5A595857;
    char buffer[kCpuBrandBufferSize];
    BrandFromRegisters(regs, buffer);
    const std::string expected = std::string(12, ' ') + "ABCDEFGH" + std::string(24, ' ') + "WXYZ";
    EXPECT_EQ(std::string(buffer), expected);
    EXPECT_EQ(std::strlen(buffer), 48u);
}

TEST(BrandFromRegisters, LeadingBlanksStay) {
    const std::uint32_t regs[12] = {0x20202020, 0x20202020, 0x65746E49, 0x0000006C};
    char buffer[kCpuBrandBufferSize];
    BrandFromRegisters(regs, buffer);
    EXPECT_STREQ(buffer, "        Intel");
}

TEST(BrandFromRegisters, EmptyBrandIsNotDefined) {
    const std::uint32_t zeros[12] = {};
    char buffer[kCpuBrandBufferSize];
    std::memset(buffer, 'q', sizeof buffer);
    BrandFromRegisters(zeros, buffer);
    EXPECT_STREQ(buffer, "Not defined");
    EXPECT_STREQ(kCpuBrandNotDefined, "Not defined");

    // Text behind a leading zero is not shown either.
    const std::uint32_t hidden[12] = {0x41414100};
    BrandFromRegisters(hidden, buffer);
    EXPECT_STREQ(buffer, "Not defined");
}

TEST(ReadCpuBrand, GivesATerminatedBrand) {
    char buffer[kCpuBrandBufferSize];
    std::memset(buffer, 'q', sizeof buffer);
    ReadCpuBrand(buffer);
    const std::size_t length = std::strlen(buffer);
    EXPECT_GT(length, 0u);
    EXPECT_LE(length, 48u);
    for (std::size_t i = 48; i < kCpuBrandBufferSize; ++i) {
        ASSERT_EQ(buffer[i], '\0') << i;
    }
}

}  // namespace
