// The four reports as documents: the order people read them in, links that lead to the
// section of their row, counts kept as numbers, the matrix's most common value.
#include "report/report_documents.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> IdsOf(const Document& document) {
    std::vector<std::string> ids;
    for (const Section& section : document.sections) {
        ids.push_back(section.id);
    }
    return ids;
}

std::string Text(const Cell& cell) {
    switch (cell.type) {
        case CellType::Text:
            return "'" + cell.text + "'";
        case CellType::Number:
            return std::to_string(cell.number);
        case CellType::Empty:
            break;
    }
    return "-";
}

std::string RowText(const Row& row) {
    std::string text;
    for (const Cell& cell : row.cells) {
        text += (text.empty() ? "" : " ") + Text(cell);
    }
    return text + " [" + MarkName(row.mark) + "]" + (row.link.empty() ? "" : " -> " + row.link);
}

const Section* Find(const Document& document, const std::string& id) {
    for (const Section& section : document.sections) {
        if (section.id == id) {
            return &section;
        }
    }
    return nullptr;
}

VerdictEntry Verdict(const char* code, Mark outcome, std::vector<EvidenceEntry> evidence = {}) {
    return {code, outcome, std::string("found ") + code, std::move(evidence),
            std::string("do ") + code};
}

TEST(ReportDocuments, TwoFoldersReadManifestsFailuresSummaryThenEachDifferingLog) {
    CollectManifest manifest;
    manifest.program = "Vorlix V1.05";
    manifest.run = "09.12.2026 10:15 02";
    manifest.windows = "Windows 7";
    const std::vector<BundleHeading> bundles = {
        {"first", "C:\\good", &manifest, {}},
        {"second", "D:\\bad", nullptr, {"not a whole bundle: no manifest.txt"}},
    };
    const std::vector<BundleVerdicts> verdicts = {
        {"first",
         {Verdict("P1", Mark::Pass), Verdict("W1", Mark::Warn), Verdict("F1", Mark::Fail)}},
        {"second", {Verdict("N2", Mark::NotJudged), Verdict("F2", Mark::Fail)}},
    };
    const std::vector<DifferenceEntry> serviceRows = {
        {Mark::OnlyInFirst, "Spooler", "", "Win32_OWN_PROCESS", "Service Running", ""},
        {Mark::OtherValues, "W32Time", "", "Win32_SHARE_PROCESS", "Service Running",
         "Service Stopped"},
    };
    const std::vector<DifferenceEntry> noRows;
    const std::vector<FolderLogEntry> logs = {
        {"Lensora_Brenhold.logServices", "services", {120, 2, 1, 0}, "", true, &serviceRows},
        {"Lensora_Brenhold.logAnalyzeSystemData", "analysis", {40, 0, 0, 0}, "", false, nullptr},
        {"Lensora_Brenhold.logMessages",
         "messages",
         {3, 3, 3, 0},
         "only in the first folder",
         true,
         nullptr},
        {"Lensora_Brenhold.logDlls", "exports", {21, 0, 0, 0}, "", true, &noRows},
    };
    const Document document = TwoFoldersDocument(bundles, verdicts, logs);
    EXPECT_TRUE(DocumentProblems(document).empty());
    EXPECT_EQ(document.kind, DocumentKind::TwoFolders);
    // Passes and rules not judged are the diagnosis report's; here only what needs looking at.
    EXPECT_EQ(IdsOf(document),
              (std::vector<std::string>{"bundles", "first-F1", "first-W1", "second-F2", "summary",
                                        "Lensora_Brenhold.logServices"}));

    const Table& manifests = document.sections[0].tables.at(0);
    ASSERT_EQ(manifests.rows.size(), 2u);
    EXPECT_EQ(RowText(manifests.rows[0]),
              "'first' 'C:\\good' 'Vorlix V1.05' '09.12.2026 10:15 02' 'Windows 7' []");
    EXPECT_EQ(RowText(manifests.rows[1]), "'second' 'D:\\bad' - - - []");
    EXPECT_EQ(document.sections[0].notes,
              (std::vector<std::string>{"second: not a whole bundle: no manifest.txt"}));

    const Section& failure = document.sections[3];
    EXPECT_EQ(failure.kind, SectionKind::Verdict);
    EXPECT_EQ(failure.mark, Mark::Fail);
    EXPECT_EQ(failure.title, "second: F2");

    const Table& summary = document.sections[4].tables.at(0);
    const std::vector<std::string> summaryRows = {
        "'Lensora_Brenhold.logServices' 'services' 120 2 1 0 - [different] -> "
        "Lensora_Brenhold.logServices",
        "'Lensora_Brenhold.logAnalyzeSystemData' 'analysis' 40 0 0 0 - [equal]",
        "'Lensora_Brenhold.logMessages' 'messages' 3 3 3 0 'only in the first folder' [different]",
        "'Lensora_Brenhold.logDlls' 'exports' 21 0 0 0 - [different]",
    };
    ASSERT_EQ(summary.rows.size(), summaryRows.size());
    for (size_t i = 0; i < summaryRows.size(); ++i) {
        EXPECT_EQ(RowText(summary.rows[i]), summaryRows[i]);
    }

    const Table& differences = document.sections[5].tables.at(0);
    ASSERT_EQ(differences.rows.size(), 2u);
    EXPECT_EQ(RowText(differences.rows[0]),
              "'Spooler' - 'Win32_OWN_PROCESS' 'Service Running' - [only_in_first]");
    EXPECT_EQ(RowText(differences.rows[1]),
              "'W32Time' - 'Win32_SHARE_PROCESS' 'Service Running' 'Service Stopped' "
              "[other_values]");
}

TEST(ReportDocuments, SectionIdsOfOddLogNamesStayUniqueAndLinked) {
    const std::vector<DifferenceEntry> rows = {{Mark::OtherValues, "a", "", "", "1", "2"}};
    // Names that map to one id, and one that is the id of another section.
    const std::vector<FolderLogEntry> logs = {
        {"Lensora_Brenhold.log K\xF6ln", "analysis", {1, 1, 0, 0}, "", true, &rows},
        {"Lensora_Brenhold.log K\xE4ln", "analysis", {1, 1, 0, 0}, "", true, &rows},
        {"summary", "analysis", {1, 1, 0, 0}, "", true, &rows},
        {"<a href=\"x\">", "analysis", {1, 1, 0, 0}, "", true, &rows},
    };
    const Document document = TwoFoldersDocument({}, {}, logs);
    EXPECT_TRUE(DocumentProblems(document).empty());
    const Table& summary = Find(document, "summary")->tables.at(0);
    ASSERT_EQ(summary.rows.size(), logs.size());
    for (size_t i = 0; i < logs.size(); ++i) {
        const Section* target = Find(document, summary.rows[i].link);
        ASSERT_NE(target, nullptr) << i;
        EXPECT_EQ(target->title, logs[i].log) << i;
    }
}

// Many bundles: what is wrong with each comes before the matrix, failures before warnings,
// bundle by bundle; passes and rules not judged stay out.
TEST(ReportDocuments, ManyBundlesNameEachBundlesFailuresAndWarningsBeforeTheMatrix) {
    const std::vector<BundleHeading> bundles = {{"1", "A", nullptr, {}},
                                                {"2 (bad)", "B", nullptr, {}}};
    const std::vector<BundleVerdicts> verdicts = {
        {"1",
         {{"PATH-ENTRIES", Mark::Warn, "a folder is gone", {}, ""},
          {"PLUGIN-FILE", Mark::Pass, "there", {}, ""}}},
        {"2 (bad)",
         {{"RUNTIME-VC2010", Mark::NotJudged, "no log", {}, ""},
          {"PATH-ENTRIES", Mark::Warn, "a folder is gone", {}, ""},
          {"OPENCV-FILES", Mark::Fail, "core missing", {}, "Reinstall"}}},
    };
    const Document document = ManyBundlesDocument(
        bundles, {{"fact", {std::string("x"), std::string("y")}, Mark::None}}, verdicts);
    EXPECT_TRUE(DocumentProblems(document).empty());
    std::vector<std::string> order;
    for (const Section& section : document.sections) {
        order.push_back(std::string(SectionKindName(section.kind)) + " " + section.title);
    }
    EXPECT_EQ(order,
              (std::vector<std::string>{
                  "bundles Bundles", "verdict 1: PATH-ENTRIES", "verdict 2 (bad): OPENCV-FILES",
                  "verdict 2 (bad): PATH-ENTRIES", "matrix Facts by bundle"}));
}

TEST(ReportDocuments, MatrixMostCommonValueAndCellMarks) {
    using Values = std::vector<std::optional<std::string>>;
    const auto none = std::nullopt;
    const struct {
        Values values;
        const char* row;    // the cells after the fact, then the most common value
        const char* marks;  // of the bundles' cells
    } cases[] = {
        {{"7", "7", "10"}, "'7' '7' '10' '7'", "equal equal different"},
        {{"10", "7", "7"}, "'10' '7' '7' '7'", "different equal equal"},
        {{"7", "10", none}, "'7' '10' - '7'", "equal different missing"},  // a tie: the first
        {{"x", "y", "z"}, "'x' 'y' 'z' 'x'", "equal different different"},
        {{none, "x", none}, "- 'x' - 'x'", "missing equal missing"},
        {{none, none, none}, "- - - -", "missing missing missing"},
        {{"A", "a", "a"}, "'A' 'a' 'a' 'a'", "different equal equal"},  // case counts
        {{"", "x", ""}, "'' 'x' '' ''", "equal different equal"},       // empty is a value
        {{"x"}, "'x' - - 'x'", "equal missing missing"},                // fewer values than bundles
    };
    const std::vector<BundleHeading> bundles = {
        {"1", "A", nullptr, {}}, {"2", "B", nullptr, {}}, {"3", "C", nullptr, {}}};
    std::vector<MatrixFact> facts;
    for (const auto& c : cases) {
        facts.push_back({"fact", c.values, Mark::Separating});
    }
    const Document document = ManyBundlesDocument(bundles, facts);
    EXPECT_TRUE(DocumentProblems(document).empty());
    const Table& matrix = Find(document, "matrix")->tables.at(0);
    ASSERT_EQ(matrix.columns.size(), 5u);
    EXPECT_EQ(matrix.columns[2].title, "2");
    EXPECT_EQ(matrix.columns[4].key, "most_common");
    ASSERT_EQ(matrix.rows.size(), facts.size());
    for (size_t i = 0; i < facts.size(); ++i) {
        const Row& row = matrix.rows[i];
        EXPECT_EQ(RowText(row), "'fact' " + std::string(cases[i].row) + " [separating]") << i;
        std::string cellMarks;
        for (size_t b = 1; b <= 3; ++b) {
            cellMarks += (b == 1 ? "" : " ") + std::string(MarkName(row.cells[b].mark));
        }
        EXPECT_EQ(cellMarks, cases[i].marks) << i;
    }
}

TEST(ReportDocuments, DiagnosisFailuresFirstWithCountsAndEvidence) {
    const std::vector<VerdictEntry> verdicts = {
        Verdict("P1", Mark::Pass),
        Verdict("N1", Mark::NotJudged),
        Verdict("W1", Mark::Warn),
        Verdict("F1", Mark::Fail,
                {{"Lensora_Brenhold.logAnalyzeRedist", "VC 2010", "Not installed", "installed"}}),
        Verdict("F2", Mark::Fail),
        Verdict("F2", Mark::Fail),  // a code twice still gives two sections to link to
    };
    const Document document = DiagnosisDocument({"bundle", "D:\\bad", nullptr, {}}, verdicts);
    EXPECT_TRUE(DocumentProblems(document).empty());
    EXPECT_EQ(IdsOf(document), (std::vector<std::string>{"bundles", "summary", "F1", "F2", "F2-2",
                                                         "W1", "P1", "N1"}));
    const Section& summary = document.sections[1];
    std::string counts;
    for (const Fact& fact : summary.facts) {
        counts += fact.key + "=" + Text(fact.value) + " ";
    }
    EXPECT_EQ(counts, "failures=3 warnings=1 passed=1 not_judged=1 ");
    const Table& table = summary.tables.at(0);
    ASSERT_EQ(table.rows.size(), 6u);
    EXPECT_EQ(RowText(table.rows[0]), "'F1' 'found F1' [fail] -> F1");
    EXPECT_EQ(RowText(table.rows[2]), "'F2' 'found F2' [fail] -> F2-2");
    EXPECT_EQ(RowText(table.rows[5]), "'N1' 'found N1' [not_judged] -> N1");

    const Section& f1 = document.sections[2];
    EXPECT_EQ(f1.mark, Mark::Fail);
    std::string facts;
    for (const Fact& fact : f1.facts) {
        facts += fact.key + "=" + Text(fact.value) + " ";
    }
    EXPECT_EQ(facts, "code='F1' finding='found F1' action='do F1' ");
    ASSERT_EQ(f1.tables.size(), 1u);
    EXPECT_EQ(RowText(f1.tables[0].rows.at(0)),
              "'Lensora_Brenhold.logAnalyzeRedist' 'VC 2010' 'Not installed' 'installed' []");
    EXPECT_TRUE(document.sections[3].tables.empty());  // no evidence, no empty table
}

TEST(ReportDocuments, TwoLogsKeepTheirCountsAsNumbers) {
    const Document document = TwoLogsDocument(
        {"first", "a.log", "09.12.2026 10:15 02", ""}, {"second", "b.log", "", "LF line ends"},
        "services", {512, 3, 1, 2}, {{Mark::OnlyInSecond, "x", "", "", "", "Service Running"}});
    EXPECT_TRUE(DocumentProblems(document).empty());
    EXPECT_EQ(IdsOf(document), (std::vector<std::string>{"logs", "differences"}));
    std::string facts;
    for (const Fact& fact : document.sections[0].facts) {
        facts += fact.key + "=" + Text(fact.value) + " ";
    }
    EXPECT_EQ(facts, "kind='services' rows=512 different=3 only_in_first=1 only_in_second=2 ");
    const Table& logs = document.sections[0].tables.at(0);
    EXPECT_EQ(RowText(logs.rows.at(1)), "'second' 'b.log' - 'LF line ends' []");
    EXPECT_EQ(RowText(document.sections[1].tables.at(0).rows.at(0)),
              "'x' - - - 'Service Running' [only_in_second]");
}

}  // namespace
