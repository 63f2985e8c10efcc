// The Visual C++ 2010 x86 runtime check: the product key, the expected name and version, and
// the comparison of what the registry returned.
#pragma once

#include <cstddef>
#include <string>

// The double blank in the installed name is part of it.
extern const char kRuntimeProductName[];
constexpr std::size_t kRuntimeProductNameLength = 46;

// Under HKEY_LOCAL_MACHINE.
extern const char kRuntimeProductKey[];
extern const char kRuntimeProductNameValue[];

// Result of the name row when the product key cannot be opened.
extern const char kRuntimeNotInstalled[];

// Name cell of the version row.
std::string RuntimeVersionRowName();

// Result of the name row: its own text for a missing value (nameRead false), else whether
// the first kRuntimeProductNameLength of the bytesReturned valid bytes equal the product
// name, case-sensitively; fewer valid bytes, or a zero among them, never match.
const char* RuntimeNameResult(bool nameRead, const char* data, std::size_t bytesReturned);

// Result of the version row: whether the name read holds the expected version at its fixed
// offset; no match when no name was read or its text (up to the first zero within
// bytesReturned) ends before the version does.
const char* RuntimeVersionResult(bool nameRead, const char* data, std::size_t bytesReturned);
