// The reports of comparisons as /report and the views' button build them: which rows they
// hold and how marked, a log that could not be read never counted, the verdicts a bundle's
// diagnosis log holds, the form chosen by the file name.
#include "compare/comparison_reports.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CompareRow Row(const char* name, bool inFirst, bool inSecond, bool different) {
    CompareRow row;
    row.name = name;
    row.state1 = inFirst ? "Running" : "";
    row.state2 = inSecond ? "Stopped" : "";
    row.inFirst = inFirst;
    row.inSecond = inSecond;
    row.different = different;
    return row;
}

const Section* FindKind(const Document& document, SectionKind kind, size_t nth = 0) {
    for (const Section& section : document.sections) {
        if (section.kind == kind && nth-- == 0) {
            return &section;
        }
    }
    return nullptr;
}

TEST(ComparisonReports, TwoLogsHoldOnlyTheDifferingRowsEachMarkedByWhereItWasFound) {
    const std::vector<CompareRow> rows = {
        Row("Same", true, true, false), Row("Gone", true, false, true),
        Row("New", false, true, true), Row("Moved", true, true, true)};
    TwoLogsSubject subject;
    subject.kind = CompareKind::Services;
    subject.firstPath = "C:\\a\\Lensora_Brenhold.logServices";
    subject.secondPath = "C:\\b\\Lensora_Brenhold.logServices";
    const ReportContent report = TwoLogsReport(subject, rows);
    const Section* differences = FindKind(report.document, SectionKind::Differences);
    ASSERT_NE(differences, nullptr);
    ASSERT_EQ(differences->tables.size(), 1u);
    const struct {
        const char* name;
        Mark mark;
    } expected[] = {
        {"Gone", Mark::OnlyInFirst}, {"New", Mark::OnlyInSecond}, {"Moved", Mark::OtherValues}};
    ASSERT_EQ(differences->tables[0].rows.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(differences->tables[0].rows[i].cells[0].text, expected[i].name);
        EXPECT_EQ(differences->tables[0].rows[i].mark, expected[i].mark) << expected[i].name;
    }
    // The text is the one scripts have read all along: titles, then the three rows.
    EXPECT_EQ(report.text, DifferencesReport(rows));
    EXPECT_EQ(report.text.find("Same"), std::string::npos);
}

TEST(ComparisonReports, TheFileNameChoosesTheFormAndAnyOtherNameKeepsTheText) {
    const ReportContent report = TwoLogsReport(TwoLogsSubject(), {Row("A", true, false, true)});
    const struct {
        const char* file;
        const char* start;
    } cases[] = {
        {"C:\\r.html", "<!DOCTYPE html>"}, {"C:\\r.JSON", "{"},      {"C:\\r.csv", "\xEF\xBB\xBF"},
        {"C:\\r.txt", "Name\t"},           {"C:\\report", "Name\t"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(report.BytesFor(c.file).substr(0, std::string(c.start).size()), c.start)
            << c.file;
    }
}

FolderComparison TwoFolders() {
    FolderComparison comparison;
    comparison.firstFolder = "C:\\good";
    comparison.secondFolder = "C:\\bad";
    comparison.hasFirstManifest = true;
    comparison.firstManifest.run = "09.12.2026 10:00 00";
    comparison.secondManifestFound = true;  // a manifest.txt that reads as none
    const struct {
        const char* name;
        std::vector<CompareRow> rows;
        bool unreadable;
    } logs[] = {
        {"Lensora_Brenhold.logServices",
         {Row("Fax", true, true, true), Row("Spooler", true, true, false)},
         false},
        {"Lensora_Brenhold.logDlls", {Row("Entry", true, true, false)}, false},
        {"Lensora_Brenhold.logAnalyzePATH", {}, true},
    };
    for (const auto& log : logs) {
        FolderLog folderLog;
        folderLog.name = log.name;
        folderLog.inFirst = folderLog.inSecond = true;
        folderLog.secondReadFailure = log.unreadable ? "Access is denied." : "";
        ComparedLogs compared;
        compared.rows = log.rows;
        comparison.logs.push_back(folderLog);
        comparison.compared.push_back(compared);
        comparison.summary.push_back(
            SummarizeFolderLog(folderLog, compared, log.rows.size(), log.rows.size()));
    }
    comparison.secondVerdicts = {
        {"OPENCV-FILES", Mark::Fail, "opencv_core248.dll is missing", {}, "Reinstall"},
        {"PATH-ENTRIES", Mark::Warn, "a PATH folder does not exist", {}, ""}};
    comparison.secondFailures = {"OPENCV-FILES: opencv_core248.dll is missing"};
    return comparison;
}

TEST(ComparisonReports, TwoFoldersNeverCountAnUnreadableLogAndNameWhatIsWrongFirst) {
    const ReportContent report = TwoFoldersReport(TwoFolders());
    const Document& document = report.document;
    // The bundles, then the second bundle's failure and warning, then the summary.
    ASSERT_GE(document.sections.size(), 5u);
    EXPECT_EQ(document.sections[0].kind, SectionKind::Bundles);
    EXPECT_EQ(document.sections[1].kind, SectionKind::Verdict);
    EXPECT_EQ(document.sections[1].mark, Mark::Fail);
    EXPECT_EQ(document.sections[2].mark, Mark::Warn);
    const Section* summary = FindKind(document, SectionKind::Summary);
    ASSERT_NE(summary, nullptr);
    ASSERT_EQ(summary->tables.size(), 1u);
    const std::vector<::Row>& rows = summary->tables[0].rows;
    ASSERT_EQ(rows.size(), 3u);
    const struct {
        Mark mark;
        CellType countType;
        std::int64_t rowCount;
        bool linked;
    } expected[] = {
        {Mark::Different, CellType::Number, 2, true},
        {Mark::Equal, CellType::Number, 1, false},
        {Mark::None, CellType::Empty, 0, false},  // unreadable: neither equal nor a count
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].mark, expected[i].mark) << i;
        for (size_t column = 2; column <= 5; ++column) {
            EXPECT_EQ(rows[i].cells[column].type, expected[i].countType) << i << "," << column;
        }
        EXPECT_EQ(rows[i].cells[2].number, expected[i].rowCount) << i;
        EXPECT_EQ(!rows[i].link.empty(), expected[i].linked) << i;
    }
    // The second folder's manifest.txt read as none: said beside it.
    EXPECT_EQ(document.sections[0].notes,
              std::vector<std::string>{
                  "second: not a whole bundle: manifest.txt is no manifest of Vorlix"});
    EXPECT_TRUE(DocumentProblems(document).empty());
    // The text: the failure first, then the summary.
    EXPECT_EQ(report.text.find("Rules that fail in the second bundle, C:\\bad\r\nOPENCV-FILES\t"),
              0u)
        << report.text;
}

TEST(ComparisonReports, ADiagnosisLogGivesItsFailuresAndWarningsWhole) {
    LogLines log;
    const std::vector<std::vector<std::string>> lines = {
        {"PLUGIN-FILE", "pass", "found"},
        {"DLL-NOT-FOUND", "fail", "opencv_core248.dll not found", "Dependencies: not found",
         "Copy it"},
        {"PATH-ENTRIES", "warn", "C:\\old does not exist"},
        {"SETTINGS-KEY", "not judged", "no settings log"},
        {"SHORT", "fail"},  // cut: no finding, no verdict
    };
    for (const auto& fields : lines) {
        log.lines.push_back(LogLine{fields, false});
    }
    const std::vector<VerdictEntry> verdicts = LoggedVerdicts(log);
    ASSERT_EQ(verdicts.size(), 2u);
    EXPECT_EQ(verdicts[0].code, "DLL-NOT-FOUND");
    EXPECT_EQ(verdicts[0].outcome, Mark::Fail);
    EXPECT_EQ(verdicts[0].sentence, "opencv_core248.dll not found");
    ASSERT_EQ(verdicts[0].evidence.size(), 1u);
    EXPECT_EQ(verdicts[0].evidence[0].observed, "Dependencies: not found");
    EXPECT_EQ(verdicts[0].action, "Copy it");
    EXPECT_EQ(verdicts[1].outcome, Mark::Warn);
    EXPECT_TRUE(verdicts[1].evidence.empty());
    EXPECT_TRUE(verdicts[1].action.empty());
}

}  // namespace
