#include "report/log_lines.h"

#include <cstdint>
#include <cstring>

namespace {

// The Unicode characters of the bytes 0x80 to 0x9F in Windows-1252 (0 where
// the code page has none).
const uint16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// U+0080 to U+009F stand for the bytes of the same value: that is what a tool
// makes of Windows-1252 text that it takes for Latin-1.
void AppendWindows1252(std::string& text, uint32_t codePoint, LogReadingNotes& notes) {
    if (codePoint < 0x100) {
        text.push_back(static_cast<char>(codePoint));
        return;
    }
    for (int i = 0; i < 32; ++i) {
        if (kWindows1252High[i] == codePoint) {
            text.push_back(static_cast<char>(0x80 + i));
            return;
        }
    }
    ++notes.unmappable;
    text.push_back('?');
}

// The length of the well-formed UTF-8 sequence at `p` (no overlong forms, no
// surrogates, nothing above U+10FFFF), with its code point; 0 when there is none.
size_t Utf8Sequence(const unsigned char* p, size_t left, uint32_t& codePoint) {
    const unsigned char lead = p[0];
    size_t length;
    uint32_t minimum;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        minimum = 0x80;
        codePoint = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        minimum = 0x800;
        codePoint = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        minimum = 0x10000;
        codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (left < length) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (p[i] & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return 0;
    }
    return length;
}

// Whether the bytes are valid UTF-8 throughout and hold at least one
// multi-byte sequence; plain ASCII is the same in either reading.
bool IsMultiByteUtf8(const unsigned char* p, size_t size) {
    bool multiByte = false;
    for (size_t at = 0; at < size;) {
        // Runs of ASCII, the bulk of every log, eight bytes at a time.
        uint64_t eight = 0;
        if (at + sizeof eight <= size) {
            std::memcpy(&eight, p + at, sizeof eight);
            if ((eight & 0x8080808080808080ULL) == 0) {
                at += sizeof eight;
                continue;
            }
        }
        if (p[at] < 0x80) {
            ++at;
            continue;
        }
        uint32_t codePoint = 0;
        const size_t length = Utf8Sequence(p + at, size - at, codePoint);
        if (length == 0) {
            return false;
        }
        multiByte = true;
        at += length;
    }
    return multiByte;
}

// A byte that is no valid sequence (possible only after a BOM) stands for itself.
std::string FromUtf8(const unsigned char* p, size_t size, LogReadingNotes& notes) {
    std::string text;
    text.reserve(size);
    for (size_t at = 0; at < size;) {
        uint32_t codePoint = 0;
        size_t length = Utf8Sequence(p + at, size - at, codePoint);
        if (length == 0) {
            codePoint = p[at];
            length = 1;
        }
        AppendWindows1252(text, codePoint, notes);
        at += length;
    }
    return text;
}

std::string FromUtf16(const unsigned char* p, size_t size, bool bigEndian, LogReadingNotes& notes) {
    std::string text;
    text.reserve(size / 2);
    const auto unitAt = [&](size_t at) -> uint32_t {
        return bigEndian ? (p[at] << 8 | p[at + 1]) : (p[at + 1] << 8 | p[at]);
    };
    for (size_t at = 0; at + 1 < size; at += 2) {
        uint32_t unit = unitAt(at);
        if (unit >= 0xD800 && unit <= 0xDBFF && at + 3 < size) {
            const uint32_t low = unitAt(at + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
            }
        }
        AppendWindows1252(text, unit, notes);
    }
    return text;
}

// UTF-16 without its BOM: a log starts with its timestamp digits, so every
// second byte of its start is zero in one order and not in the other.
int Utf16WithoutBom(const unsigned char* p, size_t size) {
    const size_t probe = size < 64 ? size & ~static_cast<size_t>(1) : 64;
    if (probe < 8) {
        return 0;
    }
    bool evenZero = true, oddZero = true, evenSet = true, oddSet = true;
    for (size_t at = 0; at < probe; at += 2) {
        evenZero = evenZero && p[at] == 0;
        oddZero = oddZero && p[at + 1] == 0;
        evenSet = evenSet && p[at] != 0;
        oddSet = oddSet && p[at + 1] != 0;
    }
    if (evenSet && oddZero) {
        return 1;  // little-endian
    }
    if (evenZero && oddSet) {
        return 2;  // big-endian
    }
    return 0;
}

bool IsEndFill(char c) {
    return c == 0x1A || c == '\0';
}

bool IsTrailing(char c) {
    return IsEndFill(c) || c == '\r' || c == '\n' || c == ' ';
}

// A log ends before DOS end bytes or NUL padding that only line ends and
// blanks follow: the size of what comes before them.
size_t EndBeforeFill(const char* text, size_t size, LogReadingNotes& notes) {
    size_t run = size;
    while (run > 0 && IsTrailing(text[run - 1])) {
        --run;
    }
    for (size_t at = run; at < size; ++at) {
        if (IsEndFill(text[at])) {
            for (size_t rest = at; rest < size; ++rest) {
                notes.endBytes = notes.endBytes || text[rest] == 0x1A;
                notes.nulBytes = notes.nulBytes || text[rest] == '\0';
            }
            return at;
        }
    }
    return size;
}

bool IsSeparator(char c) {
    return c == ' ' || c == '\t';
}

// Splits one line (without its line end) into fields, as the field reader
// would: a run of two blanks, or a tab, ends a field; blanks after it and at
// both ends of the line belong to no field.
void SplitFields(const char* begin, const char* end, std::vector<std::string>& fields,
                 LogReadingNotes& notes) {
    while (begin < end && IsSeparator(*begin)) {
        ++begin;
    }
    while (end > begin && IsSeparator(end[-1])) {
        --end;
    }
    const char* p = begin;
    while (p < end) {
        const char* start = p;
        while (p < end && *p != '\t' && !(*p == ' ' && p + 1 < end && IsSeparator(p[1]))) {
            ++p;
        }
        const size_t length = static_cast<size_t>(p - start);
        if (length > static_cast<size_t>(kMaxLogFieldLength)) {
            notes.longFieldsCut = true;
            fields.emplace_back(start, kMaxLogFieldLength - 3);
            fields.back() += "...";
        } else {
            fields.emplace_back(start, length);
        }
        while (p < end && IsSeparator(*p)) {
            ++p;
        }
    }
}

}  // namespace

bool LogReadingNotes::Any() const {
    return lfLineEnds || crLineEnds || utf8 || utf16 || unmappable > 0 || endBytes || nulBytes ||
           longFieldsCut || noTimestamp || endsInsideRecord;
}

std::string DescribeReadingNotes(const LogReadingNotes& notes) {
    std::string text;
    const auto add = [&](const std::string& note) {
        if (!text.empty()) {
            text += ", ";
        }
        text += note;
    };
    if (notes.lfLineEnds) {
        add("LF line ends");
    }
    if (notes.crLineEnds) {
        add("CR line ends");
    }
    if (notes.utf8) {
        add("UTF-8");
    }
    if (notes.utf16) {
        add("UTF-16");
    }
    if (notes.unmappable > 0) {
        add(std::to_string(notes.unmappable) + " characters without a Windows-1252 form read as ?");
    }
    if (notes.endBytes) {
        add("end byte 0x1A");
    }
    if (notes.nulBytes) {
        add("NUL bytes dropped");
    }
    if (notes.noTimestamp) {
        add("no timestamp line");
    }
    if (notes.endsInsideRecord) {
        add("ends inside a record");
    }
    if (notes.longFieldsCut) {
        add("long fields cut");
    }
    return text;
}

bool IsTimestampText(const std::string& text) {
    static const char kForm[] = "dd.dd.dddd dd:dd dd";
    if (text.size() != sizeof kForm - 1) {
        return false;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (kForm[i] == 'd' ? !digit : text[i] != kForm[i]) {
            return false;
        }
    }
    return true;
}

namespace {

// The log's text: its own bytes where they need no decoding (no copy of a
// large log is made then), else the decoded copy in `storage`.
struct LogText {
    const char* data;
    size_t size;
};

LogText Decode(const char* bytes, size_t size, std::string& storage, LogReadingNotes& notes) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
    bool decoded = true;
    if (size >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) {
        notes.utf8 = true;
        storage = FromUtf8(p + 3, size - 3, notes);
    } else if (size >= 2 && ((p[0] == 0xFF && p[1] == 0xFE) || (p[0] == 0xFE && p[1] == 0xFF))) {
        notes.utf16 = true;
        storage = FromUtf16(p + 2, size - 2, p[0] == 0xFE, notes);
    } else if (const int order = Utf16WithoutBom(p, size)) {
        notes.utf16 = true;
        storage = FromUtf16(p, size, order == 2, notes);
    } else if (IsMultiByteUtf8(p, size)) {
        notes.utf8 = true;
        storage = FromUtf8(p, size, notes);
    } else {
        decoded = false;
    }
    LogText text = decoded ? LogText{storage.data(), storage.size()} : LogText{bytes, size};
    text.size = EndBeforeFill(text.data, text.size, notes);
    if (std::memchr(text.data, '\0', text.size) != nullptr) {
        notes.nulBytes = true;
        std::string kept;
        kept.reserve(text.size);
        for (size_t i = 0; i < text.size; ++i) {
            if (text.data[i] != '\0') {
                kept.push_back(text.data[i]);
            }
        }
        storage.swap(kept);
        text = LogText{storage.data(), storage.size()};
    }
    return text;
}

}  // namespace

LogLines ReadLogLines(const char* bytes, size_t size) {
    LogLines log;
    std::string storage;
    const LogText text = Decode(bytes, size, storage, log.notes);
    const char* p = text.data;
    const char* const end = p + text.size;
    bool first = true;
    std::vector<std::string> fields;
    while (p < end) {
        const char* lineEnd = p;
        while (lineEnd < end && *lineEnd != '\r' && *lineEnd != '\n') {
            ++lineEnd;
        }
        const bool terminated = lineEnd < end;
        const char* next = lineEnd;
        if (terminated) {
            if (*next == '\r') {
                ++next;
                if (next < end && *next == '\n') {
                    ++next;
                } else {
                    log.notes.crLineEnds = true;
                }
            } else {
                ++next;
                log.notes.lfLineEnds = true;
            }
        }
        fields.clear();
        SplitFields(p, lineEnd, fields, log.notes);
        p = next;
        if (fields.empty()) {
            continue;  // an empty line carries nothing
        }
        if (first) {
            first = false;
            if (fields.size() == 1 && IsTimestampText(fields[0])) {
                log.timestamp = fields[0];
                continue;
            }
            log.notes.noTimestamp = true;
        }
        log.lines.emplace_back();
        log.lines.back().fields.swap(fields);
        log.lines.back().unterminated = !terminated;
    }
    return log;
}
