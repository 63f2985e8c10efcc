#include "analysis/cpu_brand.h"

#include <cstring>

#if defined(_MSC_VER)
#include <intrin.h>
#elif defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

const char kCpuBrandNotDefined[] = "Not defined";

namespace {

constexpr std::uint32_t kFirstExtendedLeaf = 0x80000000u;
constexpr std::uint32_t kFirstBrandLeaf = 0x80000002u;
constexpr std::uint32_t kLastBrandLeaf = 0x80000004u;

void RunCpuid(std::uint32_t leaf, std::uint32_t out[4]) {
#if defined(_MSC_VER)
    int values[4] = {};
    __cpuidex(values, static_cast<int>(leaf), 0);
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<std::uint32_t>(values[i]);
    }
#elif defined(__i386__) || defined(__x86_64__)
    unsigned a = 0, b = 0, c = 0, d = 0;
    __cpuid_count(leaf, 0, a, b, c, d);
    out[0] = a;
    out[1] = b;
    out[2] = c;
    out[3] = d;
#else
    // Only x86 has CPUID: elsewhere the brand reads as empty.
    (void)leaf;
    out[0] = out[1] = out[2] = out[3] = 0;
#endif
}

}  // namespace

void BrandFromRegisters(const std::uint32_t regs[12], char buffer[kCpuBrandBufferSize]) {
    std::memset(buffer, 0, kCpuBrandBufferSize);
    for (int r = 0; r < 12; ++r) {
        for (int byte = 0; byte < 4; ++byte) {
            buffer[r * 4 + byte] = static_cast<char>((regs[r] >> (8 * byte)) & 0xFFu);
        }
    }
    // Decided here rather than left empty: a blank Value cell would look like a failed read.
    if (buffer[0] == '\0') {
        std::memcpy(buffer, kCpuBrandNotDefined, sizeof kCpuBrandNotDefined);
    }
}

void ReadCpuBrand(char buffer[kCpuBrandBufferSize]) {
    std::uint32_t regs[12] = {};
    for (std::uint32_t leaf = kFirstExtendedLeaf; leaf <= kLastBrandLeaf; ++leaf) {
        std::uint32_t result[4];
        RunCpuid(leaf, result);
        if (leaf >= kFirstBrandLeaf) {
            std::memcpy(&regs[(leaf - kFirstBrandLeaf) * 4], result, sizeof result);
        }
    }
    BrandFromRegisters(regs, buffer);
}
