// Bytes of a log file: timestamp line and blank-padded fields.
#pragma once

#include <cstddef>
#include <string>

constexpr int kBlankBufferSize = 260;

// Source of all padding; filled once at start-up.
extern char g_blankBuffer[kBlankBufferSize];
void FillBlankBuffer();

// The timestamp line's text: dd.mm.yyyy hh:mm ss.
std::string FormatTimestamp(int day, int month, int year, int hour, int minute, int second);

struct LogFieldBytes {
    std::string bytes;
    // The text filled or overflowed its field, so it got no padding.
    bool overflow = false;
};

// What WriteLogField puts on disk for one field: the text, then CR LF for the
// last field of a line, else blanks up to the width.
LogFieldBytes BuildLogField(int width, const char* text, bool last);

// The width for a field that must keep its end readable: the column's width, or the text's
// length and two blanks when the text would fill the field (the reader ends a field at two
// blanks, so one blank or none would join it to the next field).
int WidthKeepingFieldEnd(int width, size_t length);
