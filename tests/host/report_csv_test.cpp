// The CSV report is opened in a spreadsheet: a comma, quote or line break in a log's text
// must not make a new field or record, and the umlauts must arrive as umlauts. A small
// RFC 4180 reader here reads the file back as a spreadsheet does.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/report_writers.h"
#include "tests/host/report_test_documents.h"

namespace {

using Records = std::vector<std::vector<std::string>>;

// RFC 4180: records end in CR LF; a field in quotes may hold commas, CR, LF and doubled
// quotes. Sets `error` for anything else (a bare LF, a quote inside an unquoted field, text
// after a closing quote), which a strict spreadsheet import would read differently.
Records ReadCsv(const std::string& text, std::string& error) {
    Records records;
    std::vector<std::string> record;
    std::string field;
    size_t at = 0;
    bool atFieldStart = true;
    while (at < text.size()) {
        const char c = text[at];
        if (atFieldStart && c == '"') {
            ++at;
            for (;;) {
                if (at >= text.size()) {
                    error = "a quoted field without its end";
                    return records;
                }
                if (text[at] == '"') {
                    if (at + 1 < text.size() && text[at + 1] == '"') {
                        field.push_back('"');
                        at += 2;
                        continue;
                    }
                    ++at;
                    break;
                }
                field.push_back(text[at++]);
            }
            atFieldStart = false;
            if (at < text.size() && text[at] != ',' && text[at] != '\r') {
                error = "text after a closing quote at " + std::to_string(at);
                return records;
            }
            continue;
        }
        if (c == ',') {
            record.push_back(field);
            field.clear();
            atFieldStart = true;
            ++at;
        } else if (c == '\r' && at + 1 < text.size() && text[at + 1] == '\n') {
            record.push_back(field);
            records.push_back(record);
            record.clear();
            field.clear();
            atFieldStart = true;
            at += 2;
        } else if (c == '\r' || c == '\n' || c == '"') {
            error = "a bare CR, LF or quote at " + std::to_string(at);
            return records;
        } else {
            field.push_back(c);
            atFieldStart = false;
            ++at;
        }
    }
    if (!record.empty() || !field.empty()) {
        error = "the last record has no CR LF";
    }
    return records;
}

const char kBom[] = "\xEF\xBB\xBF";

Records RecordsOf(const Document& document) {
    const std::string csv = ReportCsv(document);
    EXPECT_EQ(csv.compare(0, 3, kBom), 0) << "no byte-order mark";
    std::string error;
    const Records records = ReadCsv(csv.substr(3), error);
    EXPECT_EQ(error, "");
    return records;
}

TEST(ReportCsv, HostileCellsComeBackWhole) {
    const struct {
        std::string cell;
        std::string field;  // UTF-8, as a spreadsheet shows it
    } cases[] = {
        {"plain", "plain"},
        {"a,b", "a,b"},
        {"\"quoted\" and \"\"", "\"quoted\" and \"\""},
        {"a\tb", "a\tb"},
        {"a\r\nb", "a\r\nb"},
        {"a\rb\nc", "a\rb\nc"},
        {",\r\n\",", ",\r\n\","},
        {"<script>&'", "<script>&'"},
        {"K\xF6ln D\xFCsseldorf M\xE4rz", "K\xC3\xB6ln D\xC3\xBCsseldorf M\xC3\xA4rz"},
        {"\x80\x81\x9F\xFF", "\xE2\x82\xAC\xC2\x81\xC5\xB8\xC3\xBF"},
        {std::string("a\0b", 3),
         "a\xE2\x90\x80"
         "b"},  // NUL ends a field in a spreadsheet
        // A spreadsheet takes these for formulas and runs them: text behind an apostrophe.
        {"=1+2", "'=1+2"},
        {"+4", "'+4"},
        {"-3", "'-3"},
        {"@SUM(A1)", "'@SUM(A1)"},
        {"=HYPERLINK(\"x\",\"y\")", "'=HYPERLINK(\"x\",\"y\")"},
        {"a=1", "a=1"},
        {"", ""},
    };
    for (const auto& c : cases) {
        const Records records = RecordsOf(OneCellDocument(c.cell));
        ASSERT_EQ(records.size(), 2u) << c.cell;
        EXPECT_EQ(records[0], (std::vector<std::string>{"Section", "Mark", "C"})) << c.cell;
        EXPECT_EQ(records[1], (std::vector<std::string>{"Cells", "", c.field})) << c.cell;
    }
}

TEST(ReportCsv, OneTableOfEverySectionUnderTheUnionOfTheirColumns) {
    Document document = PartsDocument();
    document.sections[1].title = "a, \"the log\"";
    const Records expected = {
        {"Section", "Mark", "Count", "Log", "Rows", "Name", "First", "Note"},
        {"Summary", "", "7", "", "", "", "", ""},
        {"Summary", "", "", "", "", "", "", "first: LF line ends"},
        {"Summary", "different", "", "a", "512", "", "", ""},
        {"Summary", "equal", "", "b", "", "", "", ""},
        {"a, \"the log\"", "fail", "", "", "", "", "", ""},
        {"a, \"the log\"", "only in the first", "", "", "", "x", "1", ""},
    };
    EXPECT_EQ(RecordsOf(document), expected);
}

TEST(ReportCsv, ColumnsOfOneKeyShareAColumn) {
    Document document = PartsDocument();
    document.sections[1].tables[0].columns[0].key = "log";  // the summary's "Log"
    document.sections[1].tables[0].columns[0].title = "Log of the row";
    const Records records = RecordsOf(document);
    ASSERT_EQ(records.size(), 7u);
    EXPECT_EQ(records[0], (std::vector<std::string>{"Section", "Mark", "Count", "Log", "Rows",
                                                    "First", "Note"}));
    EXPECT_EQ(records[6],
              (std::vector<std::string>{"a", "only in the first", "", "x", "", "1", ""}));
}

TEST(ReportCsv, ASectionWithNothingToListIsStillThere) {
    Document document = OneCellDocument("x");
    Section empty;
    empty.id = "e";
    empty.title = "Nothing differs";
    document.sections.push_back(empty);
    const Records records = RecordsOf(document);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[2], (std::vector<std::string>{"Nothing differs", "", ""}));
}

}  // namespace
