// The diagnosis view in dialog 129: the verdicts failures first with all five cells, the
// source and the counts under the list, no search controls.
#include <gtest/gtest.h>

#include "diagnosis/diagnosis_dialog_win.h"
#include "res/resource.h"
#include "tests/win/test_support.h"

namespace {

Verdict Made(const char* code, Outcome outcome, const char* sentence) {
    Verdict verdict;
    verdict.code = code;
    verdict.outcome = outcome;
    verdict.sentence = sentence;
    return verdict;
}

TEST(DiagnosisView, ShowsFailuresFirstWithEvidenceAndTheCountsAtTheFoot) {
    DiagnosisShown shown;
    shown.source = "C:\\bundle (Vorlix V1.05, run 09.12.2026 14:03 27, Windows 7)";
    shown.verdicts = {Made("ONE", Outcome::Pass, "Fine."), Made("TWO", Outcome::Warn, "Odd."),
                      Made("THREE", Outcome::Fail, "Broken."),
                      Made("FOUR", Outcome::NotJudged, "Not judged: no log.")};
    shown.verdicts[2].evidence.push_back({"Lensora_Brenhold.logDlls", "InitControl", "Not found", "found"});
    shown.verdicts[2].action = "Reinstall.";
    ReportDialogUnderTest dialog(DiagnosisDialogProc, reinterpret_cast<LPARAM>(&shown));
    ASSERT_NE(dialog.Dialog(), nullptr);
    const std::vector<std::string> titles = {"Code", "Outcome", "Finding", "Evidence", "What to do"};
    ASSERT_EQ(dialog.ColumnCount(), 5);
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(dialog.ColumnTitle(column), titles[column]);
    }
    const std::vector<std::vector<std::string>> rows = {
        {"THREE", "fail", "Broken.",
         "Lensora_Brenhold.logDlls, row \"InitControl\": Not found (expected: found)", "Reinstall."},
        {"TWO", "warn", "Odd.", "-", "-"},
        {"ONE", "pass", "Fine.", "-", "-"},
        {"FOUR", "not judged", "Not judged: no log.", "-", "-"},
    };
    ASSERT_EQ(dialog.RowCount(), 4);
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(dialog.Row(row), rows[row]) << row;
    }
    EXPECT_EQ(dialog.ControlText(IDC_DIAGNOSIS_COUNTS), "1 failure, 1 warning, 1 passed, 1 not judged");
    EXPECT_EQ(dialog.ControlText(IDC_DIAGNOSIS_SOURCE), shown.source);
    EXPECT_FALSE(dialog.ControlVisible(IDC_SEARCH));
    EXPECT_FALSE(dialog.ControlVisible(IDC_SORT_CASE_SENSITIVE));
    char caption[64];
    GetWindowTextA(dialog.Dialog(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Vorlix   Diagnosis");
}

}  // namespace
