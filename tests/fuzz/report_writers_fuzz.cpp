// Writes a document made of arbitrary bytes in every form and checks that no text broke
// out of its place: the HTML holds only the writer's own tags, the JSON's strings hold no
// raw control character and end where they should, the CSV reads back as the rows written,
// the tab-separated text has one line per row and one tab between cells.
//
// The input is a row of pieces, each a length byte and that many bytes; they fill, in
// order: the title, then per section its id, title and mark, a fact, a note, a table of
// two columns with rows of two cells and a link, until the input ends.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "report/report_writers.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

class Pieces {
public:
    Pieces(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Left() const { return at_ < size_; }
    std::string Next() {
        if (at_ >= size_) {
            return std::string();
        }
        const size_t length = data_[at_++];
        const size_t taken = length < size_ - at_ ? length : size_ - at_;
        std::string piece(reinterpret_cast<const char*>(data_ + at_), taken);
        at_ += taken;
        return piece;
    }
    Mark NextMark() {
        const std::string piece = Next();
        return piece.empty() ? Mark::None
                             : static_cast<Mark>(static_cast<unsigned char>(piece[0]) % 13);
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

Document DocumentOf(Pieces& pieces, size_t& rowCount) {
    Document document;
    document.title = pieces.Next();
    while (pieces.Left() && document.sections.size() < 8) {
        Section section;
        section.id = pieces.Next();
        section.title = pieces.Next();
        section.mark = pieces.NextMark();
        section.facts.push_back({"fact", pieces.Next(), TextCell(pieces.Next())});
        section.notes.push_back(pieces.Next());
        Table table;
        table.key = "t";
        table.title = pieces.Next();
        table.markTitle = pieces.Next();
        table.columns = {{"a", pieces.Next(), CellType::Text}, {"n", "N", CellType::Number}};
        for (int r = 0; r < 3 && pieces.Left(); ++r) {
            Row row;
            row.cells = {TextCell(pieces.Next(), pieces.NextMark()),
                         NumberCell(static_cast<int64_t>(pieces.Next().size()) - 100)};
            row.mark = pieces.NextMark();
            row.link = pieces.Next();
            table.rows.push_back(row);
            ++rowCount;
        }
        section.tables.push_back(table);
        document.sections.push_back(section);
    }
    return document;
}

void CheckHtml(const std::string& html) {
    const std::set<std::string> own = {"!DOCTYPE", "html",  "head", "meta",    "title", "style",
                                       "body",     "h1",    "h2",   "section", "table", "caption",
                                       "thead",    "tbody", "tr",   "th",      "td",    "a",
                                       "span",     "ul",    "li"};
    for (size_t at = html.find('<'); at != std::string::npos; at = html.find('<', at + 1)) {
        size_t end = at + 1;
        if (end < html.size() && html[end] == '/') {
            ++end;
        }
        const size_t start = end;
        while (end < html.size() && html[end] != '>' && html[end] != ' ') {
            ++end;
        }
        Require(own.count(html.substr(start, end - start)) == 1);
        const size_t close = html.find('>', at);
        Require(close != std::string::npos);
        const std::string tag = html.substr(at, close - at);
        // No source attribute; an id made from a log's text may well hold the letters "src".
        Require(tag.find('\'') == std::string::npos && tag.find(" src=") == std::string::npos);
    }
}

void CheckJson(const std::string& json) {
    bool inString = false;
    for (size_t i = 0; i < json.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(json[i]);
        if (inString) {
            Require(c >= 0x20);
            if (c == '\\') {
                Require(i + 1 < json.size());
                const char e = json[++i];
                if (e == 'u') {
                    Require(i + 4 < json.size());
                    for (int k = 1; k <= 4; ++k) {
                        Require(std::string("0123456789abcdef").find(json[i + k]) !=
                                std::string::npos);
                    }
                    i += 4;
                } else {
                    Require(e == '"' || e == '\\');
                }
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else {
            // Outside strings only the structure, numbers and null.
            Require(std::string("{}[],: \n-0123456789nul").find(static_cast<char>(c)) !=
                    std::string::npos);
        }
    }
    Require(!inString);
}

// The records of a CSV and their field counts, read by RFC 4180.
void CheckCsv(const std::string& csv, size_t expectedRecords) {
    Require(csv.compare(0, 3, "\xEF\xBB\xBF") == 0);
    size_t records = 0;
    size_t fields = 1;
    size_t headerFields = 0;
    bool quoted = false;
    bool fieldStart = true;
    for (size_t i = 3; i < csv.size(); ++i) {
        const char c = csv[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < csv.size() && csv[i + 1] == '"') {
                    ++i;
                } else {
                    quoted = false;
                    Require(i + 1 < csv.size() && (csv[i + 1] == ',' || csv[i + 1] == '\r'));
                }
            }
            continue;
        }
        if (c == '"') {
            Require(fieldStart);
            quoted = true;
        } else if (c == ',') {
            ++fields;
            fieldStart = true;
            continue;
        } else if (c == '\r') {
            Require(i + 1 < csv.size() && csv[i + 1] == '\n');
            ++i;
            if (records == 0) {
                headerFields = fields;
            }
            Require(fields == headerFields);
            ++records;
            fields = 1;
            fieldStart = true;
            continue;
        } else {
            Require(c != '\n');
        }
        fieldStart = false;
    }
    Require(!quoted && records == expectedRecords);
}

// One line per title, fact, note and row, each with the tabs of its own cells only: a tab or
// line break of a text would add a field or a line.
void CheckTsv(const std::string& tsv, const Document& document) {
    std::vector<size_t> expected;
    if (!document.title.empty()) {
        expected.push_back(0);
    }
    for (const Section& section : document.sections) {
        if (!expected.empty()) {
            expected.push_back(0);
        }
        expected.push_back(section.mark == Mark::None ? 0 : 1);
        expected.insert(expected.end(), section.facts.size(), 1);
        expected.insert(expected.end(), section.notes.size(), 0);
        for (const Table& table : section.tables) {
            if (!table.title.empty()) {
                expected.push_back(0);
            }
            const size_t tabs = table.columns.size() - 1 + (HasRowMarks(table) ? 1 : 0);
            expected.insert(expected.end(), table.rows.size() + 1, tabs);
        }
    }
    std::vector<size_t> lines;
    size_t tabs = 0;
    for (size_t i = 0; i < tsv.size(); ++i) {
        if (tsv[i] == '\t') {
            ++tabs;
        } else if (tsv[i] == '\r') {
            Require(i + 1 < tsv.size() && tsv[i + 1] == '\n');
            lines.push_back(tabs);
            tabs = 0;
            ++i;
        } else {
            Require(tsv[i] != '\n');
        }
    }
    Require(tabs == 0 && lines == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Pieces pieces(data, size);
    size_t rows = 0;
    const Document document = DocumentOf(pieces, rows);
    CheckHtml(ReportHtml(document));
    CheckJson(ReportJson(document));
    // The header, then per section a line of its facts, one per note, one per row.
    CheckCsv(ReportCsv(document), 1 + document.sections.size() * 2 + rows);
    CheckTsv(ReportTsv(document), document);
    return 0;
}
