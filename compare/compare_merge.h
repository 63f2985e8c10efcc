// Merges the records of two logs into the rows of the compare view and marks the
// rows whose two sides differ. Each Add call takes one record as the log reader
// gave it, so that a read failure part way through leaves the rows made so far.
#pragma once

#include <string>
#include <vector>

#include "compare/pairing_index.h"
#include "report/service_texts.h"

// One row of the compare view, by column: "Name", "Value", "Service Type",
// "Current State 1", "Current State 2", "Result" ("Different" when set), and
// which logs hold the row's record.
struct CompareRow {
    std::string name, value, type, state1, state2;
    bool different = false;
    bool inFirst = false;
    bool inSecond = false;
    bool cut = false;  // a record the log ended inside of, shown cut: always "Different"
};

// What a text shown cut ends in, as an over-long field does.
extern const char kCutMark[];

// A service log record: display name, service name, type text, state text.
constexpr int kServiceFieldCount = 4;
// The marking sees no more of a state than the list hands it.
constexpr size_t kStateCompareLimit = 511;

// One service log line as a record, whatever number of fields it read back as,
// so that an odd line never shifts the lines after it. A line of four fields
// gives them in order. Any other line (a name too long for its padding, two
// blanks inside a name, an empty display name) is taken from its end: the last
// field is the state; the one before it is the type when it is one of the
// listing's type texts; the one before that is the service name; all fields
// before these, joined with one blank, are the display name. Missing parts stay
// empty.
void ServiceRecordOfLine(const std::vector<std::string>& lineFields,
                         std::string record[kServiceFieldCount]);

// "Compare Services". All first-log records come before the first second-log one.
class ServiceMerge {
public:
    // A first-log record becomes a row of its own. A fragment (a record the log
    // ends inside of, before its state) is shown but pairs with nothing.
    void AddFirst(const std::string fields[kServiceFieldCount], bool fragment = false);
    // A second-log record sets "Current State 2" of the first-log row that pairs by
    // service name (PairingIndex), or else becomes a row of its own.
    void AddSecond(const std::string fields[kServiceFieldCount], bool fragment = false);
    // Sets `different` where the two states differ in length or in any byte,
    // comparing at most kStateCompareLimit characters of each.
    void MarkDifferences();
    const std::vector<CompareRow>& rows() const { return rows_; }

private:
    std::vector<CompareRow> rows_;
    PairingIndex firstLogValues_;
};

// How a line of an export or analysis log finds its partner in the other log.
enum class LineKeyRule {
    // Export logs: by the entry-point name (the first field), case counting.
    ExportName,
    // Analysis logs: by the first field, case counting, where that name stands at
    // the head of at most one line with a state (two fields or more) in each log;
    // lines whose name repeats so in either log (such as "Installed Plugin") pair
    // only with a line of exactly the same fields. A line of one field pairs by
    // its name too, with an empty state.
    AnalysisName,
};

// "Compare analyze" and "Compare Dll Fct Calls". A record is one line, given as its
// fields: the first goes to "Name"; everything the line says after it, its fields
// joined by two blanks as in the log, is that log's state ("Current State 1" or
// "2"), so that a row whose lines differ in any field but the name is marked; the
// fields between the first and the last also go to "Value" (of the first log's
// line where there is one). Lines that pair by the same key pair in order of
// appearance: the n-th such line of the second log with the n-th of the first,
// lines with a state with lines with a state and lines of a name alone with
// lines of a name alone first, then the rest of either kind in order.
// Rows come in the order of the first log's lines, then the unpaired lines of the
// second log in their order. All first-log lines come before the first second-log
// one; the timestamp line is no record.
//
// A line that the log ended inside of (`unterminated`) is taken as whole when it
// equals the line it pairs with field for field (an editor may drop the last line
// end); otherwise it is shown cut: its state, or its name when it has no other
// field, ends in kCutMark.
class LineMerge {
public:
    explicit LineMerge(LineKeyRule rule) : rule_(rule) {}

    void AddFirst(std::vector<std::string> lineFields, bool unterminated = false);
    void AddSecond(std::vector<std::string> lineFields, bool unterminated = false);
    // Sets `different` on rows found in one log only and on rows whose states
    // differ in any byte.
    void MarkDifferences();
    // The rows of the lines added so far, as if the logs ended there.
    const std::vector<CompareRow>& rows() const;
    // Whether a line of that log is shown cut.
    bool FirstShownCut() const;
    bool SecondShownCut() const;

private:
    struct Line {
        std::vector<std::string> fields;
        bool unterminated;
    };
    // Whether a name may pair lines by itself depends on how often it occurs in
    // both logs, so the rows are made once both are known: when asked for.
    void MakeRows() const;

    LineKeyRule rule_;
    std::vector<Line> firstLines_;
    std::vector<Line> secondLines_;
    bool marked_ = false;
    mutable bool rowsAreCurrent_ = true;
    mutable std::vector<CompareRow> rows_;
    mutable bool firstShownCut_ = false;
    mutable bool secondShownCut_ = false;
};
