// Reads arbitrary bytes as an API-set schema and looks up a few names in it: no read outside
// the bytes, no endless table, and a host only where the schema was read and knew the name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/api_set_schema.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A buffer of exactly the input's size, so that a read past its end is caught.
    const std::vector<unsigned char> bytes(data, data + size);
    static const char* const kNames[] = {
        "api-ms-win-core-synch-l1-2-0.dll",
        "api-ms-win-crt-runtime-l1-1-0.dll",
        "ext-ms-win-ntuser-window-l1-1-0",
        "api-",
        "",
    };
    for (const char* name : kNames) {
        const ApiSetHost host = LookUpApiSet(bytes.data(), bytes.size(), name, "kernel32.dll");
        if ((!host.schemaRead && (host.known || !host.host.empty())) ||
            (!host.known && !host.host.empty()) || host.host.size() > 260) {
            std::abort();
        }
    }
    return 0;
}
