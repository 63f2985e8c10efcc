// Reads arbitrary bytes as a log: field by field with the field reader, and
// whole with the reader of travelled logs, whose records must not change when
// the line ends are turned from CR LF to LF or back, the blanks at line ends
// are dropped, or the bytes are re-encoded as UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "report/log_field_scanner.h"
#include "report/log_lines.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void ScanFieldByField(const char* bytes, size_t size) {
    MemoryByteSource source(bytes, size);
    int64_t position = 0;
    char field[kLogFieldBufferSize + 1];
    field[kLogFieldBufferSize] = '#';
    size_t fields = 0;
    while (position < static_cast<int64_t>(size)) {
        const int64_t before = position;
        const FieldEnd end = ScanLogField(source, position, field);
        // Every field moves on, stays inside the file and its buffer.
        Require(position > before && position <= static_cast<int64_t>(size) &&
                field[kLogFieldBufferSize] == '#' &&
                std::strlen(field) <= static_cast<size_t>(kMaxLogFieldLength));
        if (end == FieldEnd::TooLong) {
            break;
        }
        ++fields;
    }
    Require(fields <= size + 1);
}

std::vector<std::vector<std::string>> Records(const std::string& bytes, LogLines* whole = nullptr) {
    LogLines log = ReadLogLines(bytes.data(), bytes.size());
    std::vector<std::vector<std::string>> records;
    for (const LogLine& line : log.lines) {
        Require(!line.fields.empty());
        for (const std::string& field : line.fields) {
            Require(field.size() <= static_cast<size_t>(kMaxLogFieldLength));
        }
        records.push_back(line.fields);
    }
    if (whole) {
        *whole = log;
    }
    return records;
}

std::string WithLineEnds(const std::string& bytes, bool crlf) {
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            continue;  // the LF that follows stands for the pair
        }
        if (bytes[i] == '\n') {
            out += crlf ? "\r\n" : "\n";
        } else {
            out += bytes[i];
        }
    }
    return out;
}

std::string WithoutBlanksAtLineEnds(const std::string& bytes) {
    std::string out;
    for (char c : bytes) {
        if (c == '\r' || c == '\n') {
            while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) {
                out.pop_back();
            }
        }
        out += c;
    }
    return out;
}

// Windows-1252 bytes as UTF-8: bytes 0x80 to 0x9F as the code points of the
// same value, which the reader takes back as those bytes.
std::string AsUtf8(const std::string& bytes) {
    std::string out;
    for (char c : bytes) {
        const unsigned char b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    ScanFieldByField(bytes, size);

    const std::string input(bytes, size);
    LogLines log;
    const auto records = Records(input, &log);
    // The variants keep the records where the bytes hold no NUL, DOS end byte or
    // lone CR, whose readings depend on where they stand (UTF-16 is told by
    // its zero bytes).
    if (input.find('\0') != std::string::npos || input.find('\x1A') != std::string::npos ||
        log.notes.crLineEnds || log.notes.utf16 || log.notes.utf8 ||
        (size >= 2 && (data[0] == 0xFF || data[0] == 0xFE))) {
        return 0;
    }
    Require(Records(WithLineEnds(input, false)) == records);
    Require(Records(WithLineEnds(input, true)) == records);
    Require(Records(WithoutBlanksAtLineEnds(input)) == records);
    Require(Records(AsUtf8(input)) == records);
    return 0;
}
