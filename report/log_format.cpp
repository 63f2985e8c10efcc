#include "report/log_format.h"

#include <cstdio>
#include <cstring>

char g_blankBuffer[kBlankBufferSize];

void FillBlankBuffer() {
    std::memset(g_blankBuffer, ' ', sizeof g_blankBuffer);
}

std::string FormatTimestamp(int day, int month, int year, int hour, int minute, int second) {
    char text[128];
    std::snprintf(text, sizeof text, "%02d.%02d.%4d %02d:%02d %02d", day, month, year, hour, minute,
                  second);
    return text;
}

LogFieldBytes BuildLogField(int width, const char* text, bool last) {
    LogFieldBytes field;
    const size_t length = std::strlen(text);
    field.bytes.assign(text, length);
    if (last) {
        field.bytes.append("\r\n");
    } else if (width > 0 && static_cast<size_t>(width) > length) {
        size_t padding = static_cast<size_t>(width) - length;
        if (padding > sizeof g_blankBuffer) {
            padding = sizeof g_blankBuffer;
        }
        field.bytes.append(g_blankBuffer, padding);
    } else {
        field.overflow = true;
    }
    return field;
}

int WidthKeepingFieldEnd(int width, size_t length) {
    if (length + 2 <= static_cast<size_t>(width > 0 ? width : 0)) {
        return width;
    }
    return static_cast<int>(length) + 2;
}
