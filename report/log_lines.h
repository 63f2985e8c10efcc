// Reads a whole log back as lines of fields, as the logs arrive after they
// travelled: through mail, ticket systems, editors, spreadsheets, zip tools and
// Linux shares.
//
// The fields of a line are split as the field reader splits them: two blanks
// (or a tab) end a field, a single blank stays part of it, a field longer than
// kMaxLogFieldLength characters is cut and ends in "...". On top of that:
// - CR LF, LF and a lone CR all end a line; empty lines carry nothing;
// - blanks at the start and at the end of a line are no part of any field;
// - a log that ends in DOS end bytes (0x1A) or NUL padding ends before them;
//   a NUL byte inside a line is dropped, so it never cuts its field;
// - a log in UTF-8 or UTF-16 is read as the Windows-1252 text it was
//   (report/log_decoding.h); bytes that form UTF-8 without a byte-order mark
//   are read so only where that is the likelier reading: where it gives more
//   lines the shape of the log's layout (a Windows-1252 text may form valid
//   UTF-8 by chance, and then its fields no longer stand at their widths);
// - a quote prefix that every line carries is removed, and of two runs of
//   the program in one log only the last is read (report/log_mending.h);
// - given the log's layout (report/log_layouts.h), lines that a mail program
//   wrapped are joined again, and the first line that still lacks the shape of
//   the layout is noted.
// A log as Vorlix writes it reads as the field reader reads it, but for the
// blanks at the end of a line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "report/log_field_scanner.h"
#include "report/log_layouts.h"

// What a log needed to be read, beyond the form in which Vorlix writes it.
struct LogReadingNotes {
    bool lfLineEnds = false;          // lines ended by LF alone
    bool crLineEnds = false;          // lines ended by CR alone
    bool utf8 = false;                // UTF-8 bytes, read as Windows-1252
    bool utf16 = false;               // UTF-16, read as Windows-1252
    int unmappable = 0;               // characters without a Windows-1252 form, read as "?"
    bool endBytes = false;            // DOS end bytes (0x1A) at the end
    bool nulBytes = false;            // NUL bytes, dropped
    bool longFieldsCut = false;       // fields of more than kMaxLogFieldLength characters
    bool noTimestamp = false;         // the first line is no timestamp line
    bool endsInsideRecord = false;    // set by the comparison when it shows a record as cut
    bool empty = false;               // no line at all (a byte-order mark alone, say)
    std::string quote;                // the quote prefix that every line carried, removed
    int wrapWidth = 0;                // lines wrapped at this many characters, joined again
    int runs = 1;                     // runs of the program in the log; the last one is read
    int shapeBreak = 0;               // the first line (from 1) without the layout's shape
    const char* shapeName = nullptr;  // the layout's name, with shapeBreak

    bool Any() const;
};

// The notes as the user reads them: "LF line ends, UTF-8"; empty when none.
std::string DescribeReadingNotes(const LogReadingNotes& notes);

struct LogLine {
    std::vector<std::string> fields;  // at least one
    bool unterminated = false;        // the log ended inside this line
};

struct LogLines {
    std::string timestamp;       // the timestamp line's text; empty when there was none
    std::vector<LogLine> lines;  // every line after the timestamp line
    LogReadingNotes notes;
    bool utf8WithoutMark = false;  // read as UTF-8 told by its bytes alone
    int linesWithoutShape = 0;     // records without the layout's shape
};

struct LogReadingRules {
    const LogLayout* layout = nullptr;  // nullptr: lines are taken as they come
    // Whether bytes that form UTF-8 without a byte-order mark may be read as
    // UTF-8; false keeps them Windows-1252 (see ReadComparedLogs).
    bool utf8WithoutMark = true;
};

// True when the text has the form of a timestamp line: "dd.mm.yyyy hh:mm ss".
bool IsTimestampText(const std::string& text);

// Reads a whole log. The first line is taken as the timestamp line when it has
// that form; otherwise it is a record like the others (and noted), so that a
// log whose timestamp line was lost keeps every record.
LogLines ReadLogLines(const char* bytes, size_t size,
                      const LogReadingRules& rules = LogReadingRules());
