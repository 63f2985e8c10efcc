#include "compare/folder_compare.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Paired(const std::vector<FolderLog>& logs) {
    std::string text;
    for (const FolderLog& log : logs) {
        text += log.name + (log.inFirst ? "1" : "") + (log.inSecond ? "2" : "") + " ";
    }
    return text;
}

TEST(FolderCompare, PairsTheCollectedLogsOfBothFoldersOnceInTheOrderTheyAreWritten) {
    const std::vector<FolderFile> first = {{"notes.txt", 1},
                                           {"Lensora_Brenhold.logServices", 2},
                                           {"Lensora_Brenhold.logMessages", 3},
                                           {"Lensora_Brenhold.logAnalyzeSystemData", 4},
                                           {"Lensora_Brenhold.logServices.bak", 5}};
    const std::vector<FolderFile> second = {{"LENSORA_BRENHOLD.LOGSERVICES", 6},
                                            {"Lensora_Brenhold.logDlls", 7},
                                            {"Lensora_Brenhold.logAnalyzeZ", 8},
                                            {"manifest.txt", 9}};
    // Every name that starts as the program's log names do is listed, also a
    // copy under another extension: the README promises every one.
    EXPECT_EQ(Paired(PairFolderLogs(first, second)),
              "Lensora_Brenhold.logAnalyzeSystemData1 Lensora_Brenhold.logDlls2 "
              "Lensora_Brenhold.logServices12 Lensora_Brenhold.logMessages1 "
              "Lensora_Brenhold.logAnalyzeZ2 Lensora_Brenhold.logServices.bak1 ");
}

TEST(FolderCompare, TheManifestTellsALogThatChangedOnItsWay) {
    CollectManifest manifest;
    manifest.program = "Vorlix V1.05";
    manifest.run = "09.12.2026 10:15 02";
    manifest.files = {{"Lensora_Brenhold.logDlls", 100}, {"Lensora_Brenhold.logServices", 200}};
    EXPECT_EQ(ManifestNote(&manifest, "first", true, 100, "LENSORA_BRENHOLD.logDlls"), "");
    EXPECT_EQ(ManifestNote(&manifest, "first", true, 99, "Lensora_Brenhold.logDlls"),
              "first: 99 bytes, its manifest says 100");
    EXPECT_EQ(ManifestNote(&manifest, "second", false, 0, "Lensora_Brenhold.logServices"),
              "second: missing, its manifest lists it");
    EXPECT_EQ(ManifestNote(&manifest, "first", true, 5, "Lensora_Brenhold.logMessages"),
              "first: not in its manifest: left from an earlier run");
    EXPECT_EQ(ManifestNote(nullptr, "first", true, 5, "Lensora_Brenhold.logMessages"), "");
    EXPECT_EQ(FolderWithManifest("C:\\good", &manifest),
              "C:\\good (Vorlix V1.05, run 09.12.2026 10:15 02)");
    manifest.windows = "Windows 7";
    EXPECT_EQ(FolderWithManifest("C:\\good", &manifest),
              "C:\\good (Vorlix V1.05, run 09.12.2026 10:15 02, Windows 7)");
}

TEST(FolderCompare, ASummaryRowCountsAndSaysWhatIsOdd) {
    FolderLog log;
    log.name = "Lensora_Brenhold.logMessages";
    log.inFirst = true;
    ComparedLogs compared;
    CompareRow row;
    row.name = "Vorlix   LoadLibrary";
    row.different = true;
    row.inFirst = true;
    compared.rows = {row, row};
    compared.firstNotes.lfLineEnds = true;
    compared.firstNotes.noTimestamp = true;
    const SummaryRow summary = SummarizeFolderLog(log, compared, 2, 0);
    EXPECT_EQ(summary.Cells(), (std::vector<std::string>{
                                   "Lensora_Brenhold.logMessages", "messages", "2", "2", "2", "0",
                                   "only in the first folder; 2 messages in the first, no "
                                   "messages log in the second; first: LF line ends"}));
    EXPECT_TRUE(summary.differs);
    EXPECT_FALSE(summary.inBoth);
}

TEST(FolderCompare, AReportHoldsTheDifferingRowsOnly) {
    CompareRow same, changed;
    same.name = changed.name = "Svc";
    same.state1 = same.state2 = "Service Running";
    changed.state1 = "Service\tRunning";
    changed.state2 = "Service Stopped";
    changed.different = true;
    EXPECT_EQ(DifferencesReport({same, changed}),
              "Name\tValue\tService Type\tCurrent State 1\tCurrent State 2\tResult\r\n"
              "Svc\t\t\tService Running\tService Stopped\tDifferent\r\n");
}

TEST(FolderCompare, EveryNameOfTheProgramsLogsIsCollectedAndComparedByItsKind) {
    const struct {
        const char* name;
        bool collected;
        CompareKind kind;
        const char* kindText;  // the summary's Kind cell
    } cases[] = {
        {"Lensora_Brenhold.logServices", true, CompareKind::Services, "services"},
        {"LENSORA_BRENHOLD.LOGDLLS", true, CompareKind::Exports, "exports"},
        {"Lensora_Brenhold.logAnalyzePATH", true, CompareKind::Analysis, "analysis (PATH)"},
        {"Lensora_Brenhold.logMessages", true, CompareKind::Analysis, "messages"},
        // A copy saved under another extension is read as the log it copies.
        {"Lensora_Brenhold.logServices.txt", true, CompareKind::Services, "services"},
        {"Lensora_Brenhold.logAnalyzeSettings.bak", true, CompareKind::Analysis,
         "analysis (Settings)"},
        // A log that a later version writes is read line by line.
        {"Lensora_Brenhold.logDiagnosis", true, CompareKind::Analysis, "Diagnosis"},
        {"Lensora_Brenhold.log", false, CompareKind::Analysis, ""},
        {"Lensora_Brenhold.txt", false, CompareKind::Analysis, ""},
        {"manifest.txt", false, CompareKind::Analysis, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsCollectedLogName(c.name), c.collected) << c.name;
        if (!c.collected) {
            continue;
        }
        EXPECT_EQ(FolderLogCompareKind(c.name), c.kind) << c.name;
        FolderLog log;
        log.name = c.name;
        log.inFirst = log.inSecond = true;
        EXPECT_EQ(SummarizeFolderLog(log, ComparedLogs(), 0, 0).Cells()[1], c.kindText) << c.name;
    }
}

TEST(FolderCompare, ABundleSaysWhatItIs) {
    CollectManifest manifest;
    manifest.program = "Vorlix V1.05";
    manifest.run = "09.12.2026 10:15 02";
    manifest.files = {{"Lensora_Brenhold.logDlls", 100}};
    EXPECT_TRUE(ManifestLists(manifest, "LENSORA_BRENHOLD.LOGDLLS"));
    EXPECT_FALSE(ManifestLists(manifest, "Lensora_Brenhold.logDlls.txt"));
    EXPECT_EQ(FolderWithManifest("C:\\bad", nullptr),
              "C:\\bad (not a whole bundle: no manifest.txt)");
    EXPECT_EQ(FolderWithManifest("C:\\bad", nullptr, true),
              "C:\\bad (not a whole bundle: manifest.txt is no manifest of Vorlix)");
    EXPECT_EQ(FolderWithManifest("C:\\bad", &manifest, true),
              "C:\\bad (Vorlix V1.05, run 09.12.2026 10:15 02)");
}

// Rows of the summary for a log compared, one left from an earlier run, and
// one that could not be read.
TEST(FolderCompare, ALogLeftFromAnEarlierRunOrUnreadableIsNoComparison) {
    ComparedLogs twoRows;
    CompareRow row;
    row.name = "Config";
    row.inFirst = true;
    row.different = true;
    twoRows.rows = {row, row};
    const struct {
        const char* what;
        bool inSecond;
        bool secondLeftOver;
        const char* firstFailure;
        std::vector<std::string> cells;
        bool differs, inBoth, unreadable;
    } cases[] = {
        {"in both",
         true,
         false,
         "",
         {"Lensora_Brenhold.logDlls", "exports", "2", "2", "2", "0", ""},
         true,
         true,
         false},
        {"the second left over",
         true,
         true,
         "",
         {"Lensora_Brenhold.logDlls", "exports", "2", "2", "2", "0", ""},
         true,
         false,
         false},
        {"the first unreadable",
         true,
         false,
         "larger than 64 MiB",
         {"Lensora_Brenhold.logDlls", "exports", "", "", "", "",
          "first: unreadable: larger than 64 MiB"},
         false,
         true,
         true},
        {"the first unreadable, in it only",
         false,
         false,
         "Access denied.",
         {"Lensora_Brenhold.logDlls", "exports", "", "", "", "",
          "only in the first folder; first: unreadable: Access denied."},
         false,
         false,
         true},
    };
    for (const auto& c : cases) {
        FolderLog log;
        log.name = "Lensora_Brenhold.logDlls";
        log.inFirst = true;
        log.inSecond = c.inSecond;
        log.secondLeftOver = c.secondLeftOver;
        log.firstReadFailure = c.firstFailure;
        const SummaryRow summary = SummarizeFolderLog(log, twoRows, 2, 0);
        EXPECT_EQ(summary.Cells(), c.cells) << c.what;
        EXPECT_EQ(summary.differs, c.differs) << c.what;
        EXPECT_EQ(summary.inBoth, c.inBoth) << c.what;
        EXPECT_EQ(summary.unreadable, c.unreadable) << c.what;
    }
}

TEST(FolderCompare, AFolderReportHoldsTheSummaryThenTheRowsOfEachLogThatDiffers) {
    CompareRow same, changed;
    same.name = changed.name = "Svc";
    same.state1 = same.state2 = changed.state1 = "Service Running";
    changed.state2 = "Service Stopped";
    changed.different = true;
    const std::vector<CompareRow> differing = {same, changed}, equal = {same};
    SummaryRow services, exports, unreadable;
    services.log = "Lensora_Brenhold.logServices";
    services.kind = "services";
    services.counts.rows = 2;
    services.counts.different = 1;
    services.differs = true;
    exports.log = "Lensora_Brenhold.logDlls";
    exports.kind = "exports";
    exports.counts.rows = 1;
    unreadable.log = "Lensora_Brenhold.logMessages";
    unreadable.kind = "messages";
    unreadable.notes = "x";
    unreadable.counts.rows = 3;  // never shown for a log that could not be read
    unreadable.unreadable = true;
    const std::string titles =
        "Log\tKind\tRows\tDifferent\tOnly in first\tOnly in second\tNotes\r\n";
    const std::string rowTitles =
        "Name\tValue\tService Type\tCurrent State 1\tCurrent State 2\tResult\r\n";
    const struct {
        const char* what;
        std::vector<SummaryRow> summary;
        std::vector<const std::vector<CompareRow>*> rows;
        std::string report;
    } cases[] = {
        {"nothing differs",
         {exports},
         {&equal},
         titles + "Lensora_Brenhold.logDlls\texports\t1\t0\t0\t0\t\r\n"},
        {"one log differs, after one that does not",
         {exports, services},
         {&equal, &differing},
         titles + "Lensora_Brenhold.logDlls\texports\t1\t0\t0\t0\t\r\n" +
             "Lensora_Brenhold.logServices\tservices\t2\t1\t0\t0\t\r\n" +
             "\r\nLensora_Brenhold.logServices\r\n" + rowTitles +
             "Svc\t\t\tService Running\tService Stopped\tDifferent\r\n"},
        {"an unreadable log has no rows",
         {unreadable},
         {nullptr},
         titles + "Lensora_Brenhold.logMessages\tmessages\t\t\t\t\tx\r\n"},
        {"rows missing for a log",
         {services},
         {},
         titles + "Lensora_Brenhold.logServices\tservices\t2\t1\t0\t0\t\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FolderReport(c.summary, c.rows), c.report) << c.what;
    }
}

}  // namespace

namespace {

TEST(FolderCompare, EachBundlesFailedRulesComeFirstReadFromItsDiagnosisLog) {
    LogLines diagnosis;
    diagnosis.lines = {
        {{"PLUGIN-FILE", "fail", "The plug-in DLL is not there.", "-", "Install."}, false},
        {{"DLL-NOT-FOUND", "not judged", "Not judged: no DLL listed."}, false},
        {{"SETTINGS-KEY", "warn", "Never started."}, false},
        {{"ENTRY-POINTS", "fail", "Config missing."}, false},
        {{"fail"}, false}};
    const std::vector<std::string> failed = FailedRules(diagnosis);
    EXPECT_EQ(failed, (std::vector<std::string>{"PLUGIN-FILE: The plug-in DLL is not there.",
                                                "ENTRY-POINTS: Config missing."}));
    EXPECT_TRUE(IsDiagnosisLogName("LENSORA_Brenhold.logDiagnosis"));
    EXPECT_FALSE(IsDiagnosisLogName("Lensora_Brenhold.logDiagnosis.txt"));
    EXPECT_EQ(FailuresFirstReport({}, "C:\\good", failed, "C:\\bad"),
              "Rules that fail in the second bundle, C:\\bad\r\n"
              "PLUGIN-FILE\tThe plug-in DLL is not there.\r\n"
              "ENTRY-POINTS\tConfig missing.\r\n"
              "\r\n");
    EXPECT_EQ(FailuresFirstReport({}, "C:\\good", {}, "C:\\bad"), "");
}

}  // namespace
