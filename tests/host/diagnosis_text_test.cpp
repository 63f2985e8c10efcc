// The diagnosis log must read back as one line of five fields per rule, whatever the texts
// hold, so that a comparison pairs two diagnoses by code; people see failures first.
#include <gtest/gtest.h>

#include "diagnosis/diagnosis_text.h"
#include "report/log_format.h"
#include "report/log_lines.h"

namespace {

Verdict Made(const char* code, Outcome outcome, const char* sentence, const char* action = "") {
    Verdict verdict;
    verdict.code = code;
    verdict.outcome = outcome;
    verdict.sentence = sentence;
    verdict.action = action;
    return verdict;
}

TEST(DiagnosisText, EveryVerdictReadsBackAsFiveFields) {
    FillBlankBuffer();  // as the program does at start-up
    std::vector<Verdict> verdicts = {
        Made("A-PASS", Outcome::Pass, "Fine."),
        Made("B-FAIL", Outcome::Fail, "Microsoft Visual C++ 2010  x86\tgone\r\nhere", "Install it."),
        Made("C-LONG", Outcome::Warn, std::string(300, 'x').c_str(), "Do  that."),
        Made("D-LONGER", Outcome::Warn, std::string(700, 'y').c_str()),
    };
    verdicts[1].evidence.push_back({"Lensora_Brenhold.logAnalyzeRedist", "Microsoft", "Not installed", "found"});
    const std::string text = DiagnosisLogText("09.12.2026 14:03 27\r\n", verdicts);
    const LogLines lines = ReadLogLines(text.data(), text.size());
    EXPECT_EQ(lines.timestamp, "09.12.2026 14:03 27");
    ASSERT_EQ(lines.lines.size(), 4u);
    EXPECT_FALSE(lines.notes.longFieldsCut) << "a field the reader would cut";
    const std::vector<std::vector<std::string>> expected = {
        {"A-PASS", "pass", "Fine.", "-", "-"},
        {"B-FAIL", "fail", "Microsoft Visual C++ 2010 x86 gone here",
         "Lensora_Brenhold.logAnalyzeRedist, row \"Microsoft\": Not installed (expected: found)",
         "Install it."},
        {"C-LONG", "warn", std::string(300, 'x'), "-", "Do that."},
        {"D-LONGER", "warn", std::string(497, 'y') + "...", "-", "-"},
    };
    for (std::size_t i = 0; i < expected.size(); ++i) {
        // A field of more than 512 characters would be cut by the reader: 300 stays whole.
        EXPECT_EQ(lines.lines[i].fields, expected[i]) << i;
    }
}

TEST(DiagnosisText, PeopleSeeFailuresThenWarningsThenTheRest) {
    const std::vector<Verdict> verdicts = {
        Made("P1", Outcome::Pass, "a"),      Made("N1", Outcome::NotJudged, "b"),
        Made("W1", Outcome::Warn, "c"),      Made("F1", Outcome::Fail, "d"),
        Made("P2", Outcome::Pass, "e"),      Made("F2", Outcome::Fail, "f"),
    };
    std::vector<std::string> order;
    for (const Verdict& verdict : VerdictsForPeople(verdicts)) {
        order.push_back(verdict.code);
    }
    EXPECT_EQ(order, (std::vector<std::string>{"F1", "F2", "W1", "P1", "P2", "N1"}));
    EXPECT_EQ(VerdictCounts(verdicts), "2 failures, 1 warning, 2 passed, 1 not judged");
    EXPECT_EQ(VerdictCounts({Made("W", Outcome::Warn, "x"), Made("F", Outcome::Fail, "y")}),
              "1 failure, 1 warning, 0 passed, 0 not judged");
    const std::string report = DiagnosisReport(verdicts);
    EXPECT_EQ(report.substr(0, report.find("\r\n")), "Code\tOutcome\tFinding\tEvidence\tWhat to do");
    EXPECT_EQ(report.find("F1\tfail\td\t-\t-\r\n"), report.find("\r\n") + 2);
}

}  // namespace
