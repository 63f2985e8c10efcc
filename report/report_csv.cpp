// CSV for a spreadsheet: UTF-8 with a byte-order mark (without it a spreadsheet reads the
// bytes in its own code page and the umlauts break), fields by RFC 4180, CR LF.
//
// A spreadsheet opens one table per file, and a document holds several. So the whole
// document becomes one table: the first column names the section (its title), the second
// holds the mark (a row's, or a verdict's outcome), and then comes the union of every
// column the document has, in the order they first appear, told apart by their keys. A
// section's facts make one row of their own (a fact is a column: "Code", "Finding"), each
// note a row in the column "Note", each table row a row. A column that two tables share by
// key ("log", "rows") is one column, so filtering on it spans the sections. Links and the
// marks of single cells are left out: the first column names the section a row belongs to.
//
// A field with a comma, a quote, a CR or an LF is quoted, its quotes doubled. A text that
// starts with "=", "+", "-" or "@" gets an apostrophe in front: a spreadsheet would take it
// for a formula and run it, and the apostrophe is how a spreadsheet says "text". A NUL
// becomes U+2400 (the symbol for NUL): spreadsheets end a field there.
#include <algorithm>
#include <map>

#include "report/report_writers.h"
#include "report/windows1252.h"

namespace {

const char kNoteKey[] = "note";

struct Layout {
    std::vector<std::string> titles;
    std::map<std::string, size_t> columnOfKey;  // the position after "Section" and "Mark"

    size_t Add(const std::string& key, const std::string& title) {
        const auto found = columnOfKey.find(key);
        if (found != columnOfKey.end()) {
            return found->second;
        }
        columnOfKey[key] = titles.size();
        titles.push_back(title);
        return titles.size() - 1;
    }
};

bool NeedsQuotes(const std::string& field) {
    return field.find_first_of(",\"\r\n") != std::string::npos;
}

// A field from Windows-1252 text, in UTF-8 and quoted where it must be.
void AppendField(std::string& csv, const std::string& text) {
    std::string field;
    if (!text.empty() && (text[0] == '=' || text[0] == '+' || text[0] == '-' || text[0] == '@')) {
        field.push_back('\'');
    }
    for (char c : text) {
        if (c == '\0') {
            AppendUtf8(field, 0x2400);
        } else {
            AppendUtf8(field, Windows1252CodePoint(static_cast<unsigned char>(c)));
        }
    }
    if (!NeedsQuotes(field)) {
        csv += field;
        return;
    }
    csv.push_back('"');
    for (char c : field) {
        if (c == '"') {
            csv.push_back('"');
        }
        csv.push_back(c);
    }
    csv.push_back('"');
}

void AppendCell(std::string& csv, const Cell& cell) {
    if (cell.type == CellType::Text) {
        AppendField(csv, cell.text);
    } else if (cell.type == CellType::Number) {
        csv += std::to_string(cell.number);
    }
}

// One line: the section's title, the mark, then `cells` in their columns (null: empty).
void AppendLine(std::string& csv, const Section& section, Mark mark,
                const std::vector<const Cell*>& cells) {
    AppendField(csv, section.title);
    csv.push_back(',');
    AppendField(csv, MarkText(mark));
    for (const Cell* cell : cells) {
        csv.push_back(',');
        if (cell != nullptr) {
            AppendCell(csv, *cell);
        }
    }
    csv += "\r\n";
}

Layout LayoutOf(const Document& document) {
    Layout layout;
    for (const Section& section : document.sections) {
        for (const Fact& fact : section.facts) {
            layout.Add(fact.key, fact.title);
        }
        for (const Table& table : section.tables) {
            for (const Column& column : table.columns) {
                layout.Add(column.key, column.title);
            }
        }
    }
    // Notes are few and long: their column comes last.
    for (const Section& section : document.sections) {
        if (!section.notes.empty()) {
            layout.Add(kNoteKey, "Note");
            break;
        }
    }
    return layout;
}

}  // namespace

std::string ReportCsv(const Document& document) {
    const Layout layout = LayoutOf(document);
    std::string csv = "\xEF\xBB\xBF";
    AppendField(csv, "Section");
    csv += ",Mark";
    for (const std::string& title : layout.titles) {
        csv.push_back(',');
        AppendField(csv, title);
    }
    csv += "\r\n";

    std::vector<const Cell*> cells(layout.titles.size());
    for (const Section& section : document.sections) {
        bool rowsWritten = false;
        if (!section.facts.empty() || section.mark != Mark::None) {
            std::fill(cells.begin(), cells.end(), nullptr);
            for (const Fact& fact : section.facts) {
                cells[layout.columnOfKey.at(fact.key)] = &fact.value;
            }
            AppendLine(csv, section, section.mark, cells);
            rowsWritten = true;
        }
        for (const std::string& note : section.notes) {
            const Cell noteCell = TextCell(note);
            std::fill(cells.begin(), cells.end(), nullptr);
            cells[layout.columnOfKey.at(kNoteKey)] = &noteCell;
            AppendLine(csv, section, Mark::None, cells);
            rowsWritten = true;
        }
        for (const Table& table : section.tables) {
            for (const Row& row : table.rows) {
                std::fill(cells.begin(), cells.end(), nullptr);
                for (size_t c = 0; c < table.columns.size() && c < row.cells.size(); ++c) {
                    cells[layout.columnOfKey.at(table.columns[c].key)] = &row.cells[c];
                }
                AppendLine(csv, section, row.mark, cells);
                rowsWritten = true;
            }
        }
        // A section with nothing to list still says it is there.
        if (!rowsWritten) {
            std::fill(cells.begin(), cells.end(), nullptr);
            AppendLine(csv, section, Mark::None, cells);
        }
    }
    return csv;
}
