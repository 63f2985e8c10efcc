#include "analysis/cpu_brand.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>  // first here, so that the reader's own include of it below adds nothing
#endif

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

// The reader built once more against a scripted CPUID, so that what it asks the processor
// and where it stores each answer can be checked on any machine, whatever its real brand.
#if defined(__i386__) || defined(__x86_64__)
std::uint32_t g_scriptedLeaves[5][4];
std::uint32_t g_highestLeafAsked;

void ScriptedCpuid(std::uint32_t leaf, std::uint32_t subLeaf, unsigned& a, unsigned& b, unsigned& c,
                   unsigned& d) {
    g_highestLeafAsked = std::max(g_highestLeafAsked, leaf);
    const std::uint32_t* r = (leaf >= 0x80000000u && leaf <= 0x80000004u && subLeaf == 0)
                                 ? g_scriptedLeaves[leaf - 0x80000000u]
                                 : g_scriptedLeaves[0];
    a = r[0];
    b = r[1];
    c = r[2];
    d = r[3];
}
}  // namespace

namespace scripted {
#undef __cpuid_count
#define __cpuid_count(leaf, sub, a, b, c, d) ScriptedCpuid(leaf, sub, a, b, c, d)
#include "analysis/cpu_brand.cpp"
#undef __cpuid_count
}  // namespace scripted

namespace {

TEST(ReadCpuBrand, StoresAllThreeBrandLeavesEvenWhenTheHighestLeafDeniesThem) {
    // 0x80000000 reports no extended leaf at all; the brand leaves are read all the same.
    std::memset(g_scriptedLeaves, 0, sizeof g_scriptedLeaves);
    g_scriptedLeaves[0][0] = 0x80000000u;
    g_highestLeafAsked = 0;
    const char brand[] = "AMD Ryzen 9 7950X3D 16-Core Processor           ";
    static_assert(sizeof brand == 49, "a brand that fills all three leaves");
    for (int leaf = 0; leaf < 3; ++leaf) {
        std::memcpy(g_scriptedLeaves[2 + leaf], brand + 16 * leaf, 16);
    }
    char buffer[kCpuBrandBufferSize];
    std::memset(buffer, 'q', sizeof buffer);

    scripted::ReadCpuBrand(buffer);

    EXPECT_EQ(std::string(buffer), std::string(brand, 48));
    EXPECT_EQ(g_highestLeafAsked, 0x80000004u);
}
#endif

}  // namespace
