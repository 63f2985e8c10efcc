#include "report/runtime_check.h"

#include "report/bounded_text.h"

#include <cstring>

const char kRuntimeProductName[] = "Microsoft Visual C++ 2010  x86 Redistributable";
const char kRuntimeProductKey[] =
    "SOFTWARE\\Classes\\Installer\\Products\\1d5e3c0feda1e123187686fed06e995a";
const char kRuntimeProductNameValue[] = "ProductName";
const char kRuntimeNotInstalled[] = "Not installed";

namespace {

const char kRuntimeVersion[] = "10.0.40219";
constexpr std::size_t kRuntimeVersionLength = 10;
// Where the version stands in the product name: after the name, a blank, a hyphen and a blank.
constexpr std::size_t kRuntimeVersionOffset = 49;

}  // namespace

static_assert(sizeof kRuntimeProductName - 1 == kRuntimeProductNameLength,
              "runtime product name length");
static_assert(sizeof kRuntimeVersion - 1 == kRuntimeVersionLength, "runtime version length");

std::string RuntimeVersionRowName() {
    return std::string("Version  ") + kRuntimeVersion;
}

const char* RuntimeNameResult(bool nameRead, const char* data, std::size_t bytesReturned) {
    if (!nameRead) {
        return "Not found";
    }
    if (data == nullptr || bytesReturned < kRuntimeProductNameLength) {
        return "not found";
    }
    return std::memcmp(data, kRuntimeProductName, kRuntimeProductNameLength) == 0 ? "found"
                                                                                  : "not found";
}

const char* RuntimeVersionResult(bool nameRead, const char* data, std::size_t bytesReturned) {
    const std::size_t versionEnd = kRuntimeVersionOffset + kRuntimeVersionLength;
    if (!nameRead || data == nullptr || BoundedLength(data, bytesReturned) < versionEnd) {
        return "wrong";
    }
    return std::memcmp(data + kRuntimeVersionOffset, kRuntimeVersion, kRuntimeVersionLength) == 0
               ? "OK"
               : "wrong";
}
