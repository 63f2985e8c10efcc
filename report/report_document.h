// A report as plain records, before it is written in any form: a document holds sections,
// a section holds key/value facts, notes and tables, a table typed columns and rows of typed
// cells. Every text is the Windows-1252 bytes of the logs it comes from; each writer
// (report/report_writers.h) turns them into its own encoding and escapes them itself, so
// what a log says can never become markup, a field or a line of the form it is written in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a row, a cell or a section is marked as. Every writer shows a mark as its text, not
// only as a colour, so that it survives a black-and-white printer and a text mail.
enum class Mark {
    None,
    // A row of two compared logs.
    OnlyInFirst,
    OnlyInSecond,
    OtherValues,
    // A log of the summary (the whole log), and a cell of the matrix of many bundles.
    Equal,
    Different,
    Missing,
    // A row of the matrix: a fact that tells the bundles apart, or one that differs
    // between any two machines.
    Separating,
    ExpectedToVary,
    // A verdict of the diagnosis.
    Fail,
    Warn,
    Pass,
    NotJudged,
};

// "only_in_first", "not_judged": the name programs read (JSON) and the HTML class uses;
// empty for Mark::None.
const char* MarkName(Mark mark);
// "only in the first", "not judged": the text people read; empty for Mark::None.
const char* MarkText(Mark mark);

enum class CellType { Text, Number, Empty };

struct Cell {
    CellType type = CellType::Empty;
    std::string text;         // Windows-1252; for CellType::Text
    std::int64_t number = 0;  // for CellType::Number
    Mark mark = Mark::None;   // a cell of the matrix: Equal, Different or Missing
};

Cell TextCell(std::string text, Mark mark = Mark::None);
Cell NumberCell(std::int64_t number, Mark mark = Mark::None);
Cell EmptyCell(Mark mark = Mark::None);

struct Column {
    std::string key;    // what programs call it: lower-case ASCII, digits, '_'
    std::string title;  // what people read
    CellType type = CellType::Text;
};

struct Row {
    std::vector<Cell> cells;  // one per column; a missing one is written empty
    Mark mark = Mark::None;
    std::string link;  // the id of the section that tells more of this row; empty for none
};

struct Table {
    std::string key;        // what kind of table: "summary", "differences", "evidence", ...
    std::string title;      // may be empty
    std::string markTitle;  // the title of the column the rows' marks are shown in
    std::vector<Column> columns;
    std::vector<Row> rows;
};

struct Fact {
    std::string key;
    std::string title;
    Cell value;
};

enum class SectionKind {
    Bundles,      // the bundles' manifests, a row each
    Logs,         // the two logs compared: names, timestamps, reading notes, counts
    Verdict,      // one rule's verdict on one bundle
    Summary,      // a row per log (two folders) or per verdict (a diagnosis)
    Differences,  // the rows of one log that differ, both values side by side
    Matrix,       // facts by bundle
};

enum class DocumentKind { TwoLogs, TwoFolders, ManyBundles, Diagnosis };

// "bundles", "two_logs": the names programs read.
const char* SectionKindName(SectionKind kind);
const char* DocumentKindName(DocumentKind kind);

struct Section {
    std::string id;  // unique in the document, an anchor (IsAnchorId) that rows link to
    SectionKind kind = SectionKind::Summary;
    std::string title;
    Mark mark = Mark::None;  // a verdict's outcome
    std::vector<Fact> facts;
    std::vector<std::string> notes;
    std::vector<Table> tables;
};

struct Document {
    DocumentKind kind = DocumentKind::TwoLogs;
    std::string title;
    std::vector<Section> sections;  // in the order people read them
};

// An ASCII letter, then ASCII letters, digits, '-', '_' or '.': safe as an HTML id, in a
// URL fragment and in a file name, whatever the logs hold.
bool IsAnchorId(const std::string& id);

// An id made of the text (what is not allowed becomes '-', a prefix where it does not start
// with a letter) that no section of the document has yet: "-2", "-3", ... where it has.
std::string NewAnchorId(const Document& document, const std::string& text);

// Whether any row of the table has a mark: its writers then show a column of marks, titled
// by `markTitle` or "Mark".
bool HasRowMarks(const Table& table);
std::string MarkColumnTitle(const Table& table);

// What is wrong with a document as a writer would receive it, one sentence each: an id that
// is no anchor or is used twice, a fact key or column key used twice (the CSV would put both
// in one column), a link to no section, a row with more or fewer cells than its table has
// columns, a cell whose type is not its column's (an empty cell fits any).
// Writers never fail on such a document; these are the mistakes of whoever made it.
std::vector<std::string> DocumentProblems(const Document& document);
