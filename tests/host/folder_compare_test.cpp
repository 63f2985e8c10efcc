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
    EXPECT_EQ(Paired(PairFolderLogs(first, second)),
              "Lensora_Brenhold.logAnalyzeSystemData1 Lensora_Brenhold.logDlls2 "
              "Lensora_Brenhold.logServices12 Lensora_Brenhold.logMessages1 "
              "Lensora_Brenhold.logAnalyzeZ2 ");
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
              "first: not in its manifest");
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
    EXPECT_EQ(summary.cells, (std::vector<std::string>{
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

}  // namespace
