// Small documents the writers' tests share: one cell of a given text, and a document with
// every part a writer handles (facts, notes, marks, a link, numbers, empty cells).
#pragma once

#include <string>

#include "report/report_document.h"

// One section "s" titled "Cells", one table "t" with one text column "c" titled "C" and one
// row holding `text`.
inline Document OneCellDocument(const std::string& text) {
    Document document;
    Section section;
    section.id = "s";
    section.title = "Cells";
    Table table;
    table.key = "t";
    table.columns = {{"c", "C", CellType::Text}};
    table.rows = {{{TextCell(text)}, Mark::None, ""}};
    section.tables.push_back(table);
    document.sections.push_back(section);
    return document;
}

// Two sections: "sum" (a fact, a note, a table of a text and a number column whose first row
// links to "log-a" and whose second row has an empty number) and "log-a" (a failed verdict
// with one row of two cells, the second marked different).
inline Document PartsDocument() {
    Document document;
    document.kind = DocumentKind::TwoFolders;
    document.title = "Parts";
    Section summary;
    summary.id = "sum";
    summary.kind = SectionKind::Summary;
    summary.title = "Summary";
    summary.facts = {{"count", "Count", NumberCell(7)}};
    summary.notes = {"first: LF line ends"};
    Table table;
    table.key = "summary";
    table.markTitle = "Result";
    table.columns = {{"log", "Log", CellType::Text}, {"rows", "Rows", CellType::Number}};
    table.rows = {{{TextCell("a"), NumberCell(512)}, Mark::Different, "log-a"},
                  {{TextCell("b"), EmptyCell()}, Mark::Equal, ""}};
    summary.tables.push_back(table);
    document.sections.push_back(summary);

    Section log;
    log.id = "log-a";
    log.kind = SectionKind::Verdict;
    log.title = "a";
    log.mark = Mark::Fail;
    Table rows;
    rows.key = "differences";
    rows.columns = {{"name", "Name", CellType::Text}, {"first", "First", CellType::Text}};
    rows.rows = {{{TextCell("x"), TextCell("1", Mark::Different)}, Mark::OnlyInFirst, ""}};
    log.tables.push_back(rows);
    document.sections.push_back(log);
    return document;
}
