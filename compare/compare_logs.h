// Compares two logs read as lines (ReadLogLines) into the rows of a compare view,
// with what their reading needed, and counts the rows that differ.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "compare/compare_kind.h"
#include "compare/compare_merge.h"
#include "report/log_lines.h"

struct ComparedLogs {
    std::vector<CompareRow> rows;
    LogReadingNotes firstNotes, secondNotes;
    std::string firstTimestamp, secondTimestamp;
};

// Services pair four-field records by service name; export and analysis logs pair
// whole lines by their first field. A line that a log ends inside of is shown cut
// where it cannot be told whole (see LineMerge, ServiceRecordOfLogLine), and its
// log's notes then say so.
ComparedLogs CompareLogLines(CompareKind kind, const LogLines& first, const LogLines& second);

// The layout by which a log compared as `kind` is read: the one its name tells
// where the name is of that kind, else that of the kind (a log renamed on its
// way); nullptr when neither tells one (an analysis log of no known section).
const LogLayout* LayoutForComparison(CompareKind kind, const std::string& name);

// A log's bytes as read from its file, and its name.
struct LogBytes {
    const char* data;
    size_t size;
    std::string name;
};

// Reads two logs for a comparison of that kind (ReadLogLines with each one's
// layout). Where one log was read as UTF-8 told by its bytes alone and the
// other as the Windows-1252 the program writes, the first is read as
// Windows-1252 too when more of its values then equal the other's byte for
// byte: the same bytes from the same program are the same text, and a
// Windows-1252 text may form valid UTF-8 by chance.
void ReadComparedLogs(CompareKind kind, const LogBytes& first, const LogBytes& second,
                      LogLines& firstLines, LogLines& secondLines);

// One service log line as a record. A line that the log ended inside of is
// whole when it holds a record of four fields ending in a state text; one that
// reached its state is cut there (the state ends in "..."); any shorter one is a
// fragment: its fields in their places, the last one ending in "...".
void ServiceRecordOfLogLine(const LogLine& line, std::string record[kServiceFieldCount],
                            bool& fragment, bool& shownCut);

struct CompareCounts {
    int rows = 0;
    int different = 0;   // rows marked "Different", of which:
    int onlyFirst = 0;   // found in the first log only
    int onlySecond = 0;  // found in the second log only
    int changed = 0;     // in both logs, with other values
};
CompareCounts CountRows(const std::vector<CompareRow>& rows);

// "512 rows, 7 Different: 2 only in the first log, 3 only in the second log,
// 2 with other values"; "512 rows, none Different".
std::string DescribeCounts(const CompareCounts& counts);
