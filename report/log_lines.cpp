#include "report/log_lines.h"

#include <cstring>
#include <deque>

#include "report/log_decoding.h"
#include "report/log_mending.h"

namespace {

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

// The log's text: its own bytes where they need no decoding (no copy of a
// large log is made then), else the decoded copy in `storage`.
struct LogText {
    const char* data;
    size_t size;
};

LogText Decode(const char* bytes, size_t size, const EncodingGuess& guess, std::string& storage,
               LogReadingNotes& notes) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes);
    LogText text{bytes, size};
    if (guess.encoding != TextEncoding::Windows1252) {
        notes.utf8 = guess.encoding == TextEncoding::Utf8;
        notes.utf16 = !notes.utf8;
        storage = DecodeToWindows1252(guess.encoding, p + guess.markSize, size - guess.markSize,
                                      notes.unmappable);
        text = LogText{storage.data(), storage.size()};
    }
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

std::vector<RawLine> SplitLines(const LogText& text, LogReadingNotes& notes) {
    std::vector<RawLine> lines;
    // Most lines of a log are longer than this: the list grows once or twice.
    lines.reserve(text.size / 64 + 1);
    const char* p = text.data;
    const char* const end = p + text.size;
    int number = 0;
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
                    notes.crLineEnds = true;
                }
            } else {
                ++next;
                notes.lfLineEnds = true;
            }
        }
        lines.push_back(RawLine{p, static_cast<size_t>(lineEnd - p), ++number, terminated});
        p = next;
    }
    return lines;
}

// The lines as the program wrote them, as far as the log shows how.
void Mend(std::vector<RawLine>& lines, const LogLayout* layout, std::deque<std::string>& storage,
          LogReadingNotes& notes) {
    notes.quote = RemoveQuotePrefix(lines);
    notes.runs = KeepLastRun(lines);
    if (layout != nullptr) {
        notes.wrapWidth = static_cast<int>(JoinWrappedLines(lines, *layout, storage));
    }
}

LogLines ReadAs(const char* bytes, size_t size, const EncodingGuess& guess,
                const LogLayout* layout) {
    LogLines log;
    std::string storage;
    const LogText text = Decode(bytes, size, guess, storage, log.notes);
    std::vector<RawLine> lines = SplitLines(text, log.notes);
    std::deque<std::string> joined;
    Mend(lines, layout, joined, log.notes);
    const size_t firstRecord = FirstRecordIndex(lines);
    log.notes.empty = true;
    for (const RawLine& line : lines) {
        log.notes.empty = log.notes.empty && IsBlankLine(line);
    }
    log.lines.reserve(lines.size());
    std::vector<std::string> fields;
    bool anyReachesSecondField = false;
    int firstRecordNumber = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const RawLine& line = lines[i];
        fields.clear();
        SplitFields(line.text, line.text + line.size, fields, log.notes);
        if (fields.empty()) {
            continue;  // an empty line carries nothing
        }
        if (i < firstRecord) {
            log.timestamp = fields[0];
            continue;
        }
        if (i == firstRecord && log.timestamp.empty()) {
            log.notes.noTimestamp = true;
        }
        // A line the log ends inside of is a cut record, said as such where it
        // is shown cut.
        if (layout != nullptr && line.terminated) {
            firstRecordNumber = firstRecordNumber == 0 ? line.number : firstRecordNumber;
            anyReachesSecondField =
                anyReachesSecondField || ReachesSecondField(*layout, line.text, line.size);
            if (!HasLineShape(*layout, line.text, line.size, i == firstRecord)) {
                ++log.linesWithoutShape;
                if (log.notes.shapeBreak == 0) {
                    log.notes.shapeBreak = line.number;
                }
            }
        }
        log.lines.emplace_back();
        log.lines.back().fields.swap(fields);
        log.lines.back().unterminated = !line.terminated;
    }
    if (layout != nullptr && log.lines.size() >= 2 && !anyReachesSecondField) {
        log.linesWithoutShape = static_cast<int>(log.lines.size());
        log.notes.shapeBreak = firstRecordNumber;
    }
    if (log.notes.shapeBreak > 0) {
        log.notes.shapeName = LayoutName(*layout);
    }
    return log;
}

}  // namespace

bool LogReadingNotes::Any() const {
    return lfLineEnds || crLineEnds || utf8 || utf16 || unmappable > 0 || endBytes || nulBytes ||
           longFieldsCut || noTimestamp || endsInsideRecord || empty || !quote.empty() ||
           wrapWidth > 0 || runs > 1 || shapeBreak > 0;
}

std::string DescribeReadingNotes(const LogReadingNotes& notes) {
    std::string text;
    const auto add = [&](const std::string& note) {
        if (!text.empty()) {
            text += ", ";
        }
        text += note;
    };
    if (notes.empty) {
        add("empty");
    }
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
    if (!notes.quote.empty()) {
        add("quoted with \"" + notes.quote + "\" (removed)");
    }
    if (notes.runs > 1) {
        add(std::to_string(notes.runs) + " runs in one log (the last read)");
    }
    if (notes.wrapWidth > 0) {
        add("lines wrapped at " + std::to_string(notes.wrapWidth) + " characters (joined)");
    }
    if (notes.noTimestamp) {
        add("no timestamp line");
    }
    if (notes.shapeBreak > 0) {
        add(std::string("lines do not have the shape of ") +
            (notes.shapeName != nullptr ? notes.shapeName : "its log") + " from line " +
            std::to_string(notes.shapeBreak));
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

LogLines ReadLogLines(const char* bytes, size_t size, const LogReadingRules& rules) {
    EncodingGuess guess = GuessEncoding(reinterpret_cast<const unsigned char*>(bytes), size);
    const EncodingGuess asWritten;
    if (guess.utf8WithoutMark && !rules.utf8WithoutMark) {
        guess = asWritten;
    }
    LogLines log = ReadAs(bytes, size, guess, rules.layout);
    log.utf8WithoutMark = guess.utf8WithoutMark;
    if (guess.utf8WithoutMark && rules.layout != nullptr && log.linesWithoutShape > 0) {
        // Fields that no longer stand at their widths once read as UTF-8 were
        // Windows-1252 all along.
        LogLines other = ReadAs(bytes, size, asWritten, rules.layout);
        if (other.linesWithoutShape < log.linesWithoutShape) {
            return other;
        }
    }
    return log;
}
