// JSON for programs, in the form of docs/report.schema.json: every key always present (null
// where there is nothing), keys in one fixed order, two blanks of indent, a table row on one
// line, so that two reports of the same logs are the same bytes and diff line by line.
//
// Strings are the logs' Windows-1252 turned into UTF-8; '"' and '\' are escaped, and every
// control character (C0, DEL and the C1 range that the code page's undefined bytes give)
// is written as \u00XX, which no terminal or log viewer takes as a command.
#include <set>

#include "report/report_writers.h"
#include "report/windows1252.h"

namespace {

void AppendString(std::string& json, const std::string& text) {
    const char digits[] = "0123456789abcdef";
    json.push_back('"');
    for (char c : text) {
        const std::uint32_t codePoint = Windows1252CodePoint(static_cast<unsigned char>(c));
        if (codePoint == '"' || codePoint == '\\') {
            json.push_back('\\');
            json.push_back(c);
        } else if (codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F)) {
            json += "\\u00";
            json.push_back(digits[codePoint >> 4]);
            json.push_back(digits[codePoint & 0xF]);
        } else {
            AppendUtf8(json, codePoint);
        }
    }
    json.push_back('"');
}

void AppendNameOrNull(std::string& json, const char* name) {
    if (name[0] == '\0') {
        json += "null";
    } else {
        AppendString(json, name);
    }
}

void AppendValue(std::string& json, const Cell& cell) {
    switch (cell.type) {
        case CellType::Text:
            AppendString(json, cell.text);
            return;
        case CellType::Number:
            json += std::to_string(cell.number);
            return;
        case CellType::Empty:
            break;
    }
    json += "null";
}

const char* TypeName(CellType type) {
    return type == CellType::Number ? "number" : "text";
}

// `"key": ` at the given indent, after a comma where it is not the first.
void AppendKey(std::string& json, int indent, const char* key, bool first = false) {
    json += first ? "\n" : ",\n";
    json.append(static_cast<size_t>(indent), ' ');
    json.push_back('"');
    json += key;
    json += "\": ";
}

// `ids`: the sections' ids; a link to none of them would lead nowhere and is left out.
void AppendRow(std::string& json, const Table& table, const Row& row,
               const std::set<std::string>& ids) {
    json += "{\"mark\": ";
    AppendNameOrNull(json, MarkName(row.mark));
    json += ", \"link\": ";
    if (ids.count(row.link) == 0) {
        json += "null";
    } else {
        AppendString(json, row.link);
    }
    json += ", \"cells\": [";
    for (size_t c = 0; c < table.columns.size(); ++c) {
        json += c == 0 ? "" : ", ";
        AppendValue(json, c < row.cells.size() ? row.cells[c] : EmptyCell());
    }
    json += "], \"cell_marks\": [";
    for (size_t c = 0; c < table.columns.size(); ++c) {
        json += c == 0 ? "" : ", ";
        AppendNameOrNull(json, c < row.cells.size() ? MarkName(row.cells[c].mark) : "");
    }
    json += "]}";
}

void AppendTable(std::string& json, const Table& table, const std::set<std::string>& ids) {
    json += "{";
    AppendKey(json, 10, "key", true);
    AppendString(json, table.key);
    AppendKey(json, 10, "title");
    AppendString(json, table.title);
    AppendKey(json, 10, "mark_title");
    AppendString(json, MarkColumnTitle(table));
    AppendKey(json, 10, "columns");
    json += "[";
    for (size_t c = 0; c < table.columns.size(); ++c) {
        json += c == 0 ? "\n            {\"key\": " : ",\n            {\"key\": ";
        AppendString(json, table.columns[c].key);
        json += ", \"title\": ";
        AppendString(json, table.columns[c].title);
        json += ", \"type\": ";
        AppendString(json, TypeName(table.columns[c].type));
        json += "}";
    }
    json += table.columns.empty() ? "]" : "\n          ]";
    AppendKey(json, 10, "rows");
    json += "[";
    for (size_t r = 0; r < table.rows.size(); ++r) {
        json += r == 0 ? "\n            " : ",\n            ";
        AppendRow(json, table, table.rows[r], ids);
    }
    json += table.rows.empty() ? "]" : "\n          ]";
    json += "\n        }";
}

void AppendSection(std::string& json, const Section& section, const std::set<std::string>& ids) {
    json += "{";
    AppendKey(json, 6, "id", true);
    AppendString(json, section.id);
    AppendKey(json, 6, "kind");
    AppendString(json, SectionKindName(section.kind));
    AppendKey(json, 6, "title");
    AppendString(json, section.title);
    AppendKey(json, 6, "mark");
    AppendNameOrNull(json, MarkName(section.mark));
    AppendKey(json, 6, "facts");
    json += "[";
    for (size_t f = 0; f < section.facts.size(); ++f) {
        json += f == 0 ? "\n        {\"key\": " : ",\n        {\"key\": ";
        AppendString(json, section.facts[f].key);
        json += ", \"title\": ";
        AppendString(json, section.facts[f].title);
        json += ", \"value\": ";
        AppendValue(json, section.facts[f].value);
        json += "}";
    }
    json += section.facts.empty() ? "]" : "\n      ]";
    AppendKey(json, 6, "notes");
    json += "[";
    for (size_t n = 0; n < section.notes.size(); ++n) {
        json += n == 0 ? "\n        " : ",\n        ";
        AppendString(json, section.notes[n]);
    }
    json += section.notes.empty() ? "]" : "\n      ]";
    AppendKey(json, 6, "tables");
    json += "[";
    for (size_t t = 0; t < section.tables.size(); ++t) {
        json += t == 0 ? "\n        " : ",\n        ";
        AppendTable(json, section.tables[t], ids);
    }
    json += section.tables.empty() ? "]" : "\n      ]";
    json += "\n    }";
}

}  // namespace

std::string ReportJson(const Document& document) {
    std::set<std::string> ids;
    for (const Section& section : document.sections) {
        if (IsAnchorId(section.id)) {
            ids.insert(section.id);
        }
    }
    std::string json = "{";
    AppendKey(json, 2, "format", true);
    AppendString(json, "vorlix-report");
    AppendKey(json, 2, "version");
    json += "1";
    AppendKey(json, 2, "kind");
    AppendString(json, DocumentKindName(document.kind));
    AppendKey(json, 2, "title");
    AppendString(json, document.title);
    AppendKey(json, 2, "sections");
    json += "[";
    for (size_t s = 0; s < document.sections.size(); ++s) {
        json += s == 0 ? "\n    " : ",\n    ";
        AppendSection(json, document.sections[s], ids);
    }
    json += document.sections.empty() ? "]" : "\n  ]";
    json += "\n}\n";
    return json;
}
