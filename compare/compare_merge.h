// Merges the records of two logs into the rows of the compare view and marks the
// rows whose two sides differ. Each Add call takes one record as the log reader
// gave it, so that a read failure part way through leaves the rows made so far.
#pragma once

#include <string>
#include <vector>

#include "compare/pairing_index.h"

// One row of the compare view, by column: "Name", "Value", "Service Type",
// "Current State 1", "Current State 2", "Result" ("Different" when set).
struct CompareRow {
    std::string name, value, type, state1, state2;
    bool different = false;
};

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
    // A first-log record becomes a row of its own. A record cut short by a failed
    // read is passed with empty texts for the fields that were not read.
    void AddFirst(const std::string fields[kServiceFieldCount]);
    // A second-log record sets "Current State 2" of the first-log row that pairs by
    // service name (PairingIndex), or else becomes a row of its own.
    void AddSecond(const std::string fields[kServiceFieldCount]);
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
    // Analysis logs: by the first field, case counting, where that name stands on
    // at most one line of each log; lines whose name repeats in either log (such
    // as "Installed Plugin") pair only with a line of exactly the same fields. A
    // line of one field has no state and pairs only with the same single field;
    // it does not count as an occurrence of a name.
    AnalysisName,
};

// "Compare analyze" and "Compare Dll Fct Calls". A record is one line, given as its
// fields: the first goes to "Name", the last of two or more is the line's state,
// the ones in between go to "Value" joined by two blanks. Lines that pair by the
// same key pair in order of appearance: the n-th such line of the second log
// with the n-th of the first. Rows come in the order of the first log's lines,
// then the unpaired lines of the second log in their order. All first-log lines
// come before the first second-log one; the timestamp line is no record.
class LineMerge {
public:
    explicit LineMerge(LineKeyRule rule) : rule_(rule) {}

    void AddFirst(std::vector<std::string> lineFields);
    void AddSecond(std::vector<std::string> lineFields);
    // Sets `different` on rows found in one log only and on rows whose states
    // differ in any byte.
    void MarkDifferences();
    // The rows of the lines added so far, as if the logs ended there.
    const std::vector<CompareRow>& rows() const;

private:
    // Whether a name may pair lines by itself depends on how often it occurs in
    // both logs, so the rows are made once both are known: when asked for.
    void MakeRows() const;

    LineKeyRule rule_;
    std::vector<std::vector<std::string>> firstLines_;
    std::vector<std::vector<std::string>> secondLines_;
    bool marked_ = false;
    mutable bool rowsAreCurrent_ = true;
    mutable std::vector<CompareRow> rows_;
};
