// Undoing what a log's journey did to its lines, where the log itself shows it
// unambiguously: a quote prefix that every line carries, two runs of the
// program in one log, lines wrapped by a mail program.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "report/log_layouts.h"

// One line of a log as it arrived, without its line end.
struct RawLine {
    const char* text;
    size_t size;
    int number;  // from 1, in the file as it arrived
    bool terminated;
};

// Whether the line holds nothing but blanks and tabs.
bool IsBlankLine(const RawLine& line);
// Whether the line, blanks at both ends aside, is a timestamp line.
bool IsTimestampLine(const RawLine& line);

// A reply quotes every line with "> " (or ">", nested "> > "): when every line
// that holds anything starts with '>', one '>' and the blank after it go from
// every line, as often as that holds. Returns what went from the first such
// line ("> "), empty when the log is no quote.
std::string RemoveQuotePrefix(std::vector<RawLine>& lines);

// A log appended to another (a ticket, "type a >> b") holds a timestamp line
// where a later run starts: only the last run stays. Returns the number of
// runs (1 when the log holds one).
int KeepLastRun(std::vector<RawLine>& lines);

// The longest line a mail program leaves; a log whose lines are all this short
// may have been wrapped.
constexpr size_t kMailLineLimit = 80;

// A mail program breaks each line longer than its width: hard at the width
// itself (the piece before the break then is exactly as long as the longest
// line), or "flowed" at a blank that it keeps before the break. Where lines
// of the layout's shape come back by joining such pieces (whole, as they
// were), they are joined: of the ways to join, the one that leaves the fewest
// lines without their shape, then the one with the fewest lines. Joined
// texts live in `storage`. Returns the width the log was wrapped at (its
// longest line), or 0 when nothing was joined.
size_t JoinWrappedLines(std::vector<RawLine>& lines, const LogLayout& layout,
                        std::deque<std::string>& storage);

// The index of the log's first record: the first line that holds anything,
// or the one after it when that is the timestamp line; lines.size() when none.
size_t FirstRecordIndex(const std::vector<RawLine>& lines);
