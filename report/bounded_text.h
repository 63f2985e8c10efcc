// Registry data need not end in a zero byte: its text is only what stands
// before the first zero within the bytes actually returned.
#pragma once

#include <cstddef>

inline std::size_t BoundedLength(const char* bytes, std::size_t byteCount) {
    std::size_t length = 0;
    while (length < byteCount && bytes[length] != '\0') {
        ++length;
    }
    return length;
}
