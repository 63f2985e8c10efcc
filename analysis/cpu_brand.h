// The processor brand string from the extended CPUID leaves 0x80000002 to 0x80000004.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::size_t kCpuBrandBufferSize = 128;

// Shown instead of an empty brand.
extern const char kCpuBrandNotDefined[];  // "Not defined"

// Builds the brand from the twelve result registers of leaves 0x80000002, 0x80000003 and
// 0x80000004, each leaf as EAX, EBX, ECX, EDX, each register's bytes lowest first. The buffer
// is zeroed first, so the brand (48 bytes at most) is always terminated; blanks that the
// processor supplies are kept. A brand whose text is empty (its first byte is zero, as when
// all three leaves are zero) becomes "Not defined", so the row never shows an empty value.
void BrandFromRegisters(const std::uint32_t regs[12], char buffer[kCpuBrandBufferSize]);

// Executes CPUID for 0x80000000 up to 0x80000004 (sub-leaf 0) and fills buffer as
// BrandFromRegisters does. The highest extended leaf is not consulted.
void ReadCpuBrand(char buffer[kCpuBrandBufferSize]);
