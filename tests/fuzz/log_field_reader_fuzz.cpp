// Reads arbitrary bytes as a log: field by field with the field reader, and
// whole with the reader of travelled logs, without a layout and with each
// log's. Its records must not change when the line ends are turned from CR LF
// to LF or back, the blanks at line ends are dropped, the bytes are re-encoded
// as UTF-8, every line is quoted, a log of one run is pasted twice, or a
// service log as written is wrapped by a mail program. Every reading is of a
// heap block of exactly the bytes' size, so that a look past their end is one
// the sanitizer sees.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <memory>

#include "report/log_field_scanner.h"
#include "report/log_layouts.h"
#include "report/log_lines.h"
#include "report/log_paths.h"

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

using RecordList = std::vector<std::vector<std::string>>;

RecordList Records(const std::string& bytes, LogLines* whole = nullptr,
                   const LogLayout* layout = nullptr) {
    std::unique_ptr<char[]> exact(new char[bytes.size()]);
    std::memcpy(exact.get(), bytes.data(), bytes.size());
    LogReadingRules rules;
    rules.layout = layout;
    LogLines log = ReadLogLines(exact.get(), bytes.size(), rules);
    Require(log.notes.wrapWidth >= 0 && log.notes.wrapWidth <= 80);
    Require((log.notes.shapeBreak > 0) == (log.notes.shapeName != nullptr));
    RecordList records;
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

// Each line (LF line ends) with "> " before it, as a reply quotes.
std::string Quoted(const std::string& lfBytes) {
    std::string out;
    bool lineStart = true;
    for (char c : lfBytes) {
        if (lineStart) {
            out += "> ";
        }
        out += c;
        lineStart = c == '\n';
    }
    return out;
}

// Each line longer than 76 characters (LF line ends) broken every 76.
std::string WrappedHard(const std::string& lfBytes) {
    std::string out;
    size_t column = 0;
    for (char c : lfBytes) {
        if (c == '\n') {
            column = 0;
        } else if (column == 76) {
            out += '\n';
            column = 1;
        } else {
            ++column;
        }
        out += c;
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
    const std::string lf = WithLineEnds(input, false);
    Require(Records(lf) == records);
    Require(Records(WithLineEnds(input, true)) == records);
    Require(Records(WithoutBlanksAtLineEnds(input)) == records);
    Require(Records(AsUtf8(input)) == records);
    Require(Records(Quoted(lf)) == records);
    if (log.notes.runs == 1 && !log.timestamp.empty() && !lf.empty() && lf.back() == '\n') {
        LogLines twice;
        Require(Records(lf + lf, &twice) == records && twice.notes.runs == 2);
    }

    // Each layout: line ends count for nothing, and a service log as the
    // program writes it comes back whole from a mail program's wrapping.
    for (int i = 0; LayoutAt(i) != nullptr; ++i) {
        const LogLayout* layout = LayoutAt(i);
        LogLines asLaid;
        const RecordList laid = Records(input, &asLaid, layout);
        Require(Records(lf, nullptr, layout) == laid);
        const bool services = layout == LayoutOfLogName(kServiceLogPath);
        if (services && asLaid.linesWithoutShape == 0 && !asLaid.lines.empty() &&
            !asLaid.lines.back().unterminated && asLaid.notes.quote.empty() &&
            asLaid.notes.wrapWidth == 0 && !lf.empty() && lf.back() == '\n') {
            Require(Records(WrappedHard(lf), nullptr, layout) == laid);
        }
    }
    return 0;
}
