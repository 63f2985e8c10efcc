// Reads a whole log back as lines of fields, as the logs arrive after they
// travelled: through mail, ticket systems, editors, zip tools and Linux shares.
//
// The fields of a line are split as the field reader splits them: two blanks
// (or a tab) end a field, a single blank stays part of it, a field longer than
// kMaxLogFieldLength characters is cut and ends in "...". On top of that:
// - CR LF, LF and a lone CR all end a line; empty lines carry nothing;
// - blanks at the start and at the end of a line are no part of any field;
// - a log that ends in DOS end bytes (0x1A) or NUL padding ends before them;
//   a NUL byte inside a line is dropped, so it never cuts its field;
// - a log whose bytes are UTF-8 (a BOM, or multi-byte sequences and valid
//   UTF-8 throughout) or UTF-16 with its BOM is read as the Windows-1252 text
//   it was; a character that Windows-1252 cannot hold reads as "?".
// A log as Vorlix writes it reads as the field reader reads it, but for the
// blanks at the end of a line.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "report/log_field_scanner.h"

// What a log needed to be read, beyond the form in which Vorlix writes it.
struct LogReadingNotes {
    bool lfLineEnds = false;        // lines ended by LF alone
    bool crLineEnds = false;        // lines ended by CR alone
    bool utf8 = false;              // UTF-8 bytes, read as Windows-1252
    bool utf16 = false;             // UTF-16 (with its BOM), read as Windows-1252
    int unmappable = 0;             // characters without a Windows-1252 form, read as "?"
    bool endBytes = false;          // DOS end bytes (0x1A) at the end
    bool nulBytes = false;          // NUL bytes, dropped
    bool longFieldsCut = false;     // fields of more than kMaxLogFieldLength characters
    bool noTimestamp = false;       // the first line is no timestamp line
    bool endsInsideRecord = false;  // set by the comparison when it shows a record as cut

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
};

// True when the text has the form of a timestamp line: "dd.mm.yyyy hh:mm ss".
bool IsTimestampText(const std::string& text);

// Reads a whole log. The first line is taken as the timestamp line when it has
// that form; otherwise it is a record like the others (and noted), so that a
// log whose timestamp line was lost keeps every record.
LogLines ReadLogLines(const char* bytes, size_t size);
