// Tab-separated text in the logs' own Windows-1252, as the reports were before there were
// other forms: a section's title (and its mark), its facts as "title TAB value", its notes,
// then each table's title, a line of column titles and its rows; an empty line before each
// section. Cells go through AppendCopyLine, which turns a tab or line break into a blank.
// The marks of single cells (the matrix) are left out: its "Most common" column says it.
#include "report/copy_text.h"
#include "report/report_writers.h"

namespace {

std::string CellText(const Cell& cell) {
    switch (cell.type) {
        case CellType::Text:
            return cell.text;
        case CellType::Number:
            return std::to_string(cell.number);
        case CellType::Empty:
            break;
    }
    return std::string();
}

void AppendTable(std::string& text, const Table& table) {
    if (!table.title.empty()) {
        AppendCopyLine(text, {table.title});
    }
    const bool marks = HasRowMarks(table);
    std::vector<std::string> cells;
    for (const Column& column : table.columns) {
        cells.push_back(column.title);
    }
    if (marks) {
        cells.push_back(MarkColumnTitle(table));
    }
    AppendCopyLine(text, cells);
    for (const Row& row : table.rows) {
        cells.clear();
        for (size_t c = 0; c < table.columns.size(); ++c) {
            cells.push_back(c < row.cells.size() ? CellText(row.cells[c]) : std::string());
        }
        if (marks) {
            cells.push_back(MarkText(row.mark));
        }
        AppendCopyLine(text, cells);
    }
}

}  // namespace

std::string ReportTsv(const Document& document) {
    std::string text;
    if (!document.title.empty()) {
        AppendCopyLine(text, {document.title});
    }
    for (const Section& section : document.sections) {
        if (!text.empty()) {
            text += "\r\n";
        }
        std::vector<std::string> heading = {section.title};
        if (section.mark != Mark::None) {
            heading.push_back(MarkText(section.mark));
        }
        AppendCopyLine(text, heading);
        for (const Fact& fact : section.facts) {
            AppendCopyLine(text, {fact.title, CellText(fact.value)});
        }
        for (const std::string& note : section.notes) {
            AppendCopyLine(text, {note});
        }
        for (const Table& table : section.tables) {
            if (table.columns.empty()) {
                continue;
            }
            AppendTable(text, table);
        }
    }
    return text;
}
