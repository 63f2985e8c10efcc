// The processor brand string from the extended CPUID leaves 0x80000002 to 0x80000004.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::size_t kCpuBrandBufferSize = 128;

// Shown instead of an empty brand.
extern const char kCpuBrandNotDefined[];

// Builds the brand from the registers of the three leaves in order, each as EAX, EBX, ECX,
// EDX with bytes lowest first, into a zeroed buffer, so it is always terminated. The
// processor's blanks are kept; an empty brand becomes kCpuBrandNotDefined.
void BrandFromRegisters(const std::uint32_t regs[12], char buffer[kCpuBrandBufferSize]);

// Runs CPUID 0x80000000 to 0x80000004 (sub-leaf 0) and fills buffer as BrandFromRegisters
// does. The highest extended leaf is not consulted.
void ReadCpuBrand(char buffer[kCpuBrandBufferSize]);
