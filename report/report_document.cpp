#include "report/report_document.h"

#include <set>

namespace {

struct MarkWords {
    Mark mark;
    const char* name;
    const char* text;
};

const MarkWords kMarkWords[] = {
    {Mark::None, "", ""},
    {Mark::OnlyInFirst, "only_in_first", "only in the first"},
    {Mark::OnlyInSecond, "only_in_second", "only in the second"},
    {Mark::OtherValues, "other_values", "other values"},
    {Mark::Equal, "equal", "equal"},
    {Mark::Different, "different", "different"},
    {Mark::Missing, "missing", "missing"},
    {Mark::Separating, "separating", "separating"},
    {Mark::ExpectedToVary, "expected_to_vary", "expected to vary"},
    {Mark::Fail, "fail", "fail"},
    {Mark::Warn, "warn", "warn"},
    {Mark::Pass, "pass", "pass"},
    {Mark::NotJudged, "not_judged", "not judged"},
};

const MarkWords& WordsOf(Mark mark) {
    for (const MarkWords& words : kMarkWords) {
        if (words.mark == mark) {
            return words;
        }
    }
    return kMarkWords[0];
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsAnchorCharacter(char c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
}

bool IdTaken(const Document& document, const std::string& id) {
    for (const Section& section : document.sections) {
        if (section.id == id) {
            return true;
        }
    }
    return false;
}

const char* TypeName(CellType type) {
    switch (type) {
        case CellType::Text:
            return "text";
        case CellType::Number:
            return "number";
        case CellType::Empty:
            break;
    }
    return "empty";
}

void AddTableProblems(const Table& table, const std::string& where,
                      const std::set<std::string>& ids, std::vector<std::string>& problems) {
    std::set<std::string> keys;
    for (const Column& column : table.columns) {
        if (!keys.insert(column.key).second) {
            problems.push_back(where + " table \"" + table.key + "\" has the column \"" +
                               column.key + "\" twice");
        }
    }
    for (size_t r = 0; r < table.rows.size(); ++r) {
        const Row& row = table.rows[r];
        const std::string at = where + " table \"" + table.key + "\" row " + std::to_string(r + 1);
        if (row.cells.size() != table.columns.size()) {
            problems.push_back(at + " has " + std::to_string(row.cells.size()) + " cells for " +
                               std::to_string(table.columns.size()) + " columns");
        }
        for (size_t c = 0; c < row.cells.size() && c < table.columns.size(); ++c) {
            const CellType type = row.cells[c].type;
            if (type != CellType::Empty && type != table.columns[c].type) {
                problems.push_back(at + " column \"" + table.columns[c].key + "\" holds " +
                                   TypeName(type) + " in a " + TypeName(table.columns[c].type) +
                                   " column");
            }
        }
        if (!row.link.empty() && ids.count(row.link) == 0) {
            problems.push_back(at + " links to \"" + row.link + "\", which no section has");
        }
    }
}

}  // namespace

const char* MarkName(Mark mark) {
    return WordsOf(mark).name;
}
const char* MarkText(Mark mark) {
    return WordsOf(mark).text;
}

Cell TextCell(std::string text, Mark mark) {
    Cell cell;
    cell.type = CellType::Text;
    cell.text = std::move(text);
    cell.mark = mark;
    return cell;
}

Cell NumberCell(std::int64_t number, Mark mark) {
    Cell cell;
    cell.type = CellType::Number;
    cell.number = number;
    cell.mark = mark;
    return cell;
}

Cell EmptyCell(Mark mark) {
    Cell cell;
    cell.mark = mark;
    return cell;
}

const char* SectionKindName(SectionKind kind) {
    switch (kind) {
        case SectionKind::Bundles:
            return "bundles";
        case SectionKind::Logs:
            return "logs";
        case SectionKind::Verdict:
            return "verdict";
        case SectionKind::Summary:
            return "summary";
        case SectionKind::Differences:
            return "differences";
        case SectionKind::Matrix:
            return "matrix";
    }
    return "summary";
}

const char* DocumentKindName(DocumentKind kind) {
    switch (kind) {
        case DocumentKind::TwoLogs:
            return "two_logs";
        case DocumentKind::TwoFolders:
            return "two_folders";
        case DocumentKind::ManyBundles:
            return "many_bundles";
        case DocumentKind::Diagnosis:
            return "diagnosis";
    }
    return "two_logs";
}

bool IsAnchorId(const std::string& id) {
    if (id.empty() || !IsAsciiLetter(id[0])) {
        return false;
    }
    for (char c : id) {
        if (!IsAnchorCharacter(c)) {
            return false;
        }
    }
    return true;
}

std::string NewAnchorId(const Document& document, const std::string& text) {
    std::string base;
    for (char c : text) {
        base.push_back(IsAnchorCharacter(c) ? c : '-');
    }
    if (base.empty() || !IsAsciiLetter(base[0])) {
        base = "s-" + base;
    }
    std::string id = base;
    for (int n = 2; IdTaken(document, id); ++n) {
        id = base + "-" + std::to_string(n);
    }
    return id;
}

bool HasRowMarks(const Table& table) {
    for (const Row& row : table.rows) {
        if (row.mark != Mark::None) {
            return true;
        }
    }
    return false;
}

std::string MarkColumnTitle(const Table& table) {
    return table.markTitle.empty() ? std::string("Mark") : table.markTitle;
}

std::vector<std::string> DocumentProblems(const Document& document) {
    std::vector<std::string> problems;
    std::set<std::string> ids;
    for (const Section& section : document.sections) {
        if (!IsAnchorId(section.id)) {
            problems.push_back("section \"" + section.title + "\" has the id \"" + section.id +
                               "\", which is no anchor");
        } else if (!ids.insert(section.id).second) {
            problems.push_back("the id \"" + section.id + "\" is used twice");
        }
    }
    for (const Section& section : document.sections) {
        std::set<std::string> factKeys;
        for (const Fact& fact : section.facts) {
            if (!factKeys.insert(fact.key).second) {
                problems.push_back("section \"" + section.id + "\" has the fact \"" + fact.key +
                                   "\" twice");
            }
        }
        for (const Table& table : section.tables) {
            AddTableProblems(table, "section \"" + section.id + "\"", ids, problems);
        }
    }
    return problems;
}
