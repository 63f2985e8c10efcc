// Reads arbitrary bytes as a log, field by field, in both reading modes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "report/log_field_scanner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    for (int cutting = 0; cutting < 2; ++cutting) {
        MemoryByteSource source(bytes, size);
        int64_t position = 0;
        char field[kLogFieldBufferSize + 1];
        field[kLogFieldBufferSize] = '#';
        size_t fields = 0;
        while (position < static_cast<int64_t>(size)) {
            const int64_t before = position;
            FieldEnd end;
            if (cutting) {
                end = ScanLogFieldCutting(source, position, field).end;
            } else {
                end = ScanLogField(source, position, field);
            }
            // Every field moves on, stays inside the file and its buffer.
            if (position <= before || position > static_cast<int64_t>(size) ||
                field[kLogFieldBufferSize] != '#' ||
                std::strlen(field) > static_cast<size_t>(kMaxLogFieldLength)) {
                std::abort();
            }
            if (end == FieldEnd::TooLong) {
                break;
            }
            ++fields;
        }
        if (fields > size + 1) {
            std::abort();
        }
    }
    return 0;
}
