// The Visual C++ 2010 x86 runtime check: the product key, the expected name and version, and
// the comparison of what the registry returned.
#pragma once

#include <cstddef>
#include <string>

// "Microsoft Visual C++ 2010  x86 Redistributable" (two blanks before "x86").
extern const char kRuntimeProductName[];
constexpr std::size_t kRuntimeProductNameLength = 46;

// Under HKEY_LOCAL_MACHINE.
extern const char kRuntimeProductKey[];
extern const char kRuntimeProductNameValue[];  // "ProductName"

// Result of the name row when the product key cannot be opened.
extern const char kRuntimeNotInstalled[];  // "Not installed"

// Name of the version row: "Version  10.0.40219" (two blanks).
std::string RuntimeVersionRowName();

// Result of the name row. nameRead is false when the "ProductName" value does not exist
// (ERROR_FILE_NOT_FOUND): "Not found". Otherwise the first 46 bytes of data, of which
// bytesReturned are valid, are compared case-sensitively with the runtime product name:
// "found" or "not found"; fewer than 46 valid bytes (or a zero among them) never match.
const char* RuntimeNameResult(bool nameRead, const char* data, std::size_t bytesReturned);

// Result of the version row: "OK" when the name read holds "10.0.40219" at offset 49, else
// "wrong"; also "wrong" when no name was read or its text (up to the first zero within
// bytesReturned) is shorter than 59 characters.
const char* RuntimeVersionResult(bool nameRead, const char* data, std::size_t bytesReturned);
