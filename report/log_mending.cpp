#include "report/log_mending.h"

#include <algorithm>

#include "report/log_lines.h"

namespace {

bool IsSeparator(char c) {
    return c == ' ' || c == '\t';
}

// A joined line holds at most this many pieces: more than any record of the
// program's logs at a mail program's width (a PATH value of 2048 characters
// makes 27 at 76).
constexpr size_t kMaxPieces = 64;

// The best way to read the lines from one index on: how many lines stay
// without their shape, how many lines there are, and how many pieces the
// first of them takes.
struct Reading {
    size_t withoutShape = 0;
    size_t lineCount = 0;
    size_t pieces = 1;
};

bool Better(const Reading& a, const Reading& b) {
    return a.withoutShape != b.withoutShape ? a.withoutShape < b.withoutShape
                                            : a.lineCount < b.lineCount;
}

}  // namespace

bool IsBlankLine(const RawLine& line) {
    for (size_t i = 0; i < line.size; ++i) {
        if (!IsSeparator(line.text[i])) {
            return false;
        }
    }
    return true;
}

bool IsTimestampLine(const RawLine& line) {
    size_t begin = 0, end = line.size;
    while (begin < end && IsSeparator(line.text[begin])) {
        ++begin;
    }
    while (end > begin && IsSeparator(line.text[end - 1])) {
        --end;
    }
    // Asked of every line: most are told by their length alone.
    constexpr size_t kTimestampLength = 19;
    return end - begin == kTimestampLength &&
           IsTimestampText(std::string(line.text + begin, end - begin));
}

std::string RemoveQuotePrefix(std::vector<RawLine>& lines) {
    std::string removed;
    for (;;) {
        bool any = false;
        for (const RawLine& line : lines) {
            if (IsBlankLine(line)) {
                continue;
            }
            if (line.text[0] != '>') {
                return removed;
            }
            any = true;
        }
        if (!any) {
            return removed;
        }
        bool first = true;
        for (RawLine& line : lines) {
            if (line.size == 0 || line.text[0] != '>') {
                continue;  // a line of blanks, which is nothing with or without it
            }
            const size_t cut = line.size > 1 && line.text[1] == ' ' ? 2 : 1;
            if (first && !IsBlankLine(line)) {
                removed.append(line.text, cut);
                first = false;
            }
            line.text += cut;
            line.size -= cut;
        }
    }
}

int KeepLastRun(std::vector<RawLine>& lines) {
    int runs = 0;
    size_t lastStart = 0;
    bool recordsBefore = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (IsBlankLine(lines[i])) {
            continue;
        }
        if (IsTimestampLine(lines[i])) {
            ++runs;
            lastStart = i;
        } else if (runs == 0) {
            recordsBefore = true;
        }
    }
    if (recordsBefore && runs > 0) {
        ++runs;  // the first run lost its timestamp line
    }
    if (runs > 1) {
        lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(lastStart));
    }
    return std::max(runs, 1);
}

size_t FirstRecordIndex(const std::vector<RawLine>& lines) {
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!IsBlankLine(lines[i])) {
            return IsTimestampLine(lines[i]) ? i + 1 : i;
        }
    }
    return lines.size();
}

size_t JoinWrappedLines(std::vector<RawLine>& lines, const LogLayout& layout,
                        std::deque<std::string>& storage) {
    size_t width = 0;
    for (const RawLine& line : lines) {
        width = std::max(width, line.size);
    }
    if (width == 0 || width > kMailLineLimit) {
        return 0;
    }
    const size_t count = lines.size();
    const size_t firstRecord = FirstRecordIndex(lines);
    // Whether a mail program may have broken the line after it: it is as
    // long as the longest (a hard break) or ends in the blank of a flowed one.
    const auto continues = [&](size_t i) {
        const RawLine& line = lines[i];
        return line.terminated && line.size > 0 &&
               (line.size == width || line.text[line.size - 1] == ' ');
    };
    // A piece may be all blanks: the first of a service without a display name.
    const auto mayBePiece = [&](size_t i) {
        return lines[i].size > 0 && !IsTimestampLine(lines[i]);
    };
    const auto shaped = [&](const char* text, size_t size, size_t at) {
        return HasLineShape(layout, text, size, at == firstRecord);
    };

    std::vector<Reading> best(count + 1);
    size_t withoutShapeAsItCame = 0;
    std::string joined;
    for (size_t i = count; i-- > 0;) {
        const RawLine& line = lines[i];
        const bool alone = !mayBePiece(i) || IsBlankLine(line) || shaped(line.text, line.size, i);
        withoutShapeAsItCame += alone ? 0 : 1;
        Reading reading;
        reading.withoutShape = best[i + 1].withoutShape + (alone ? 0 : 1);
        reading.lineCount = best[i + 1].lineCount + (IsBlankLine(line) ? 0 : 1);
        if (mayBePiece(i)) {
            joined.assign(line.text, line.size);
            for (size_t k = i + 1;
                 k < count && k - i < kMaxPieces && continues(k - 1) && mayBePiece(k); ++k) {
                joined.append(lines[k].text, lines[k].size);
                if (!shaped(joined.data(), joined.size(), i)) {
                    continue;
                }
                Reading longer;
                longer.withoutShape = best[k + 1].withoutShape;
                longer.lineCount = best[k + 1].lineCount + 1;
                longer.pieces = k - i + 1;
                if (Better(longer, reading)) {
                    reading = longer;
                }
            }
        }
        best[i] = reading;
    }
    if (best[0].withoutShape >= withoutShapeAsItCame) {
        return 0;
    }
    std::vector<RawLine> mended;
    for (size_t i = 0; i < count; i += best[i].pieces) {
        if (best[i].pieces == 1) {
            mended.push_back(lines[i]);
            continue;
        }
        std::string text;
        for (size_t k = i; k < i + best[i].pieces; ++k) {
            text.append(lines[k].text, lines[k].size);
        }
        storage.push_back(std::move(text));
        const RawLine& last = lines[i + best[i].pieces - 1];
        mended.push_back(RawLine{storage.back().data(), storage.back().size(), lines[i].number,
                                 last.terminated});
    }
    lines.swap(mended);
    return width;
}
