// The report's form comes from the name the user gives /report: a wrong guess writes JSON
// into a file a spreadsheet opens, or loses the HTML a supporter asked for.
#include "report/report_form.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/host/report_test_documents.h"

namespace {

TEST(ReportForm, ChosenByTheExtensionInAnyCase) {
    const struct {
        const char* name;
        ReportForm form;
    } cases[] = {
        {"report.html", ReportForm::Html},
        {"REPORT.HTML", ReportForm::Html},
        {"r.Htm", ReportForm::Html},
        {"C:\\Tickets\\4711\\report.json", ReportForm::Json},
        {"report.JSON", ReportForm::Json},
        {"d:/out/report.csv", ReportForm::Csv},
        {"report.CsV", ReportForm::Csv},
        {"report.txt", ReportForm::Tsv},
        {"report.tsv", ReportForm::Tsv},
        {"report", ReportForm::Tsv},
        {"", ReportForm::Tsv},
        {".html", ReportForm::Html},
        {"report.html.txt", ReportForm::Tsv},
        {"report.txt.html", ReportForm::Html},
        {"report.htmlx", ReportForm::Tsv},
        {"report.xhtml", ReportForm::Tsv},
        {"reporthtml", ReportForm::Tsv},
        {"C:\\reports.html\\today", ReportForm::Tsv},  // a folder's dot
        {"C:\\reports.csv/today", ReportForm::Tsv},
        {"C:.json", ReportForm::Json},
        {"C:json", ReportForm::Tsv},
        // Windows drops dots and blanks at the end of a file name: this is "report.json".
        {"report.json.", ReportForm::Json},
        {"report.json . ", ReportForm::Json},
        {"...", ReportForm::Tsv},
        {"report.html:stream", ReportForm::Tsv},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReportFormOfFileName(c.name), c.form) << c.name;
    }
}

TEST(ReportForm, EachFormWritesItsOwnBytes) {
    const Document document = OneCellDocument("x");
    const struct {
        ReportForm form;
        const char* start;
    } cases[] = {
        {ReportForm::Tsv, "Cells\r\n"},
        {ReportForm::Html, "<!DOCTYPE html>"},
        {ReportForm::Json, "{\n  \"format\""},
        {ReportForm::Csv, "\xEF\xBB\xBFSection,Mark"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReportBytes(document, c.form).rfind(c.start, 0), 0u) << c.start;
    }
}

}  // namespace
