// Tab-separated reports are pasted into tickets and read by `cut` and spreadsheets: a tab or
// line break inside a cell would shift every cell after it, and the bytes must stay the
// logs' own Windows-1252.
#include <gtest/gtest.h>

#include <string>

#include "report/report_writers.h"
#include "tests/host/report_test_documents.h"

namespace {

// The line of the only row of OneCellDocument.
std::string CellLine(const std::string& text) {
    const std::string tsv = ReportTsv(OneCellDocument(text));
    const std::string before = "C\r\n";
    const size_t at = tsv.find(before);
    return at == std::string::npos ? "(no titles)" : tsv.substr(at + before.size());
}

TEST(ReportTsv, HostileCellsStayOneCellOnOneLine) {
    const struct {
        std::string cell;
        std::string line;
    } cases[] = {
        {"plain", "plain\r\n"},
        {"a\tb", "a b\r\n"},
        {"a\r\nb", "a  b\r\n"},
        {"a\rb\nc", "a b c\r\n"},
        {"<script>&\"'", "<script>&\"'\r\n"},
        {"a,b;c", "a,b;c\r\n"},
        {"K\xF6ln \x80\x81\xFF", "K\xF6ln \x80\x81\xFF\r\n"},  // Windows-1252, as it came
        {std::string("a\0b", 3), std::string("a\0b\r\n", 5)},
        {"", "\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CellLine(c.cell), c.line) << c.cell;
    }
}

TEST(ReportTsv, SectionsFactsNotesTablesAndMarks) {
    const std::string expected =
        "Parts\r\n"
        "\r\n"
        "Summary\r\n"
        "Count\t7\r\n"
        "first: LF line ends\r\n"
        "Log\tRows\tResult\r\n"
        "a\t512\tdifferent\r\n"
        "b\t\tequal\r\n"
        "\r\n"
        "a\tfail\r\n"
        "Name\tFirst\tMark\r\n"
        "x\t1\tonly in the first\r\n";
    EXPECT_EQ(ReportTsv(PartsDocument()), expected);
}

TEST(ReportTsv, NoTextAnywhereAddsAFieldOrALine) {
    const std::string hostile = "a\tb\r\nc";
    Document document = OneCellDocument(hostile);
    document.title = hostile;
    Section& section = document.sections[0];
    section.title = hostile;
    section.mark = Mark::Warn;
    section.facts.push_back({"f", hostile, TextCell(hostile)});
    section.notes.push_back(hostile);
    section.tables[0].title = hostile;
    section.tables[0].columns[0].title = hostile;
    section.tables[0].markTitle = hostile;
    section.tables[0].rows[0].mark = Mark::Missing;
    const std::string expected =
        "a b  c\r\n"
        "\r\n"
        "a b  c\twarn\r\n"
        "a b  c\ta b  c\r\n"
        "a b  c\r\n"
        "a b  c\r\n"
        "a b  c\ta b  c\r\n"
        "a b  c\tmissing\r\n";
    EXPECT_EQ(ReportTsv(document), expected);
}

TEST(ReportTsv, ATableWithoutMarksHasNoMarkColumn) {
    Document document = OneCellDocument("x");
    document.sections[0].tables[0].markTitle = "Result";
    EXPECT_EQ(ReportTsv(document), "Cells\r\nC\r\nx\r\n");
}

}  // namespace
