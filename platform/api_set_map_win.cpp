#include "platform/api_set_map_win.h"

#include <windows.h>

namespace {

// PEB->ApiSetMap and TEB->ProcessEnvironmentBlock; the headers of the SDKs that reach back
// to Windows XP do not declare them. Before Windows 7 that PEB field held something else.
constexpr std::size_t kPebOfTeb = sizeof(void*) == 8 ? 0x60 : 0x30;
constexpr std::size_t kApiSetMapOfPeb = sizeof(void*) == 8 ? 0x68 : 0x38;
constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                            PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

bool SystemHasApiSets() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) {
        return false;
    }
    return version.dwMajorVersion > 6 ||
           (version.dwMajorVersion == 6 && version.dwMinorVersion >= 1);
}

}  // namespace

bool ProcessApiSetSchema(const unsigned char** bytes, std::size_t* size) {
    if (!SystemHasApiSets()) {
        return false;
    }
    // mingw's NtCurrentTeb reads the segment register through a pointer of address 0, which
    // GCC takes for an out-of-bounds read of an empty array; the read is the processor's.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
    const unsigned char* teb = reinterpret_cast<const unsigned char*>(NtCurrentTeb());
#pragma GCC diagnostic pop
    const unsigned char* peb = *reinterpret_cast<const unsigned char* const*>(teb + kPebOfTeb);
    const unsigned char* map =
        *reinterpret_cast<const unsigned char* const*>(peb + kApiSetMapOfPeb);
    MEMORY_BASIC_INFORMATION region;
    if (map == nullptr || VirtualQuery(map, &region, sizeof region) != sizeof region ||
        region.State != MEM_COMMIT || (region.Protect & kReadable) == 0 ||
        (region.Protect & PAGE_GUARD) != 0) {
        return false;
    }
    const unsigned char* end =
        static_cast<const unsigned char*>(region.BaseAddress) + region.RegionSize;
    *bytes = map;
    *size = static_cast<std::size_t>(end - map);
    return true;
}
