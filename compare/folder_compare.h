// Two folders of collected logs side by side: which log names each holds, and
// one summary row per log name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compare/compare_kind.h"
#include "compare/compare_logs.h"
#include "platform/path_text.h"
#include "report/collect_manifest.h"
#include "report/report_documents.h"

// A folder's logs are the files whose names IsCollectedLogName (platform/path_text.h).
bool IsMessagesLogName(const std::string& name);

// The notes of a log's reading that are worth saying: a messages log has no
// timestamp line by design, and one without messages is empty.
LogReadingNotes NotesToSay(const std::string& name, LogReadingNotes notes);

struct FolderLog {
    std::string name;  // as the first folder spells it where it holds the log
    bool inFirst = false;
    bool inSecond = false;
    std::uint64_t firstSize = 0;  // bytes, where the folder holds it
    std::uint64_t secondSize = 0;
    // Held by a folder whose manifest does not list it: left from an earlier
    // run (one that /collect could not remove), so it is not compared.
    bool firstLeftOver = false;
    bool secondLeftOver = false;
    // Why the folder's log could not be read; empty when it was (or is not there).
    std::string firstReadFailure, secondReadFailure;

    bool FirstCompared() const { return inFirst && !firstLeftOver; }
    bool SecondCompared() const { return inSecond && !secondLeftOver; }
};

// A folder's name for each log and its size in bytes.
struct FolderFile {
    std::string name;
    std::uint64_t size = 0;
};

// Every collected log name of either folder once, names told apart without
// regard to case: first in the order the collect run writes its logs, then
// any other such name in alphabetical order.
std::vector<FolderLog> PairFolderLogs(const std::vector<FolderFile>& firstFiles,
                                      const std::vector<FolderFile>& secondFiles);

// Whether the manifest lists a file of that name (in any case).
bool ManifestLists(const CollectManifest& manifest, const std::string& name);

// What a folder's manifest says against what the folder holds of one log:
// "first: 2048 bytes, its manifest says 4096", "first: missing, its manifest
// lists it", "first: not in its manifest: left from an earlier run"; empty
// where they agree or there is no manifest (`manifest` null).
std::string ManifestNote(const CollectManifest* manifest, const char* side, bool present,
                         std::uint64_t size, const std::string& name);

// "C:\good (Vorlix V1.05, run 09.12.2026 10:15 02, Windows 7)"; without a
// manifest "C:\good (not a whole bundle: no manifest.txt)", or, when the folder
// holds a manifest.txt that reads as none, "(not a whole bundle: manifest.txt
// is no manifest of Vorlix)".
std::string FolderWithManifest(const std::string& folder, const CollectManifest* manifest,
                               bool manifestFileFound = false);

// The kind by which a log of the folder is compared: by its name's extension;
// a name that merely starts with one of the program's log names (a copy saved
// as "Lensora_Brenhold.logServices.txt") as that log; the messages log, and
// any other log name (a log of a later version), as lines, as analysis logs.
CompareKind FolderLogCompareKind(const std::string& name);

// One row of the summary: the log, its kind, the counts of its comparison and the notes,
// kept as data; Cells() gives them as the summary's columns show them: "Log", "Kind",
// "Rows", "Different", "Only in first", "Only in second", "Notes". A log found in one
// folder only is compared with an empty one.
struct SummaryRow {
    std::string log;
    std::string kind;
    CompareCounts counts;
    std::string notes;
    bool differs = false;     // something differs, or the log is compared in one folder only
    bool inBoth = false;      // a comparison can be opened
    bool unreadable = false;  // a log could not be read: nothing is compared, no counts shown

    std::vector<std::string> Cells() const;
};

// `moreNotes` (such as ManifestNote's) ends the row's notes. A log that could
// not be read (FolderLog's read failures) gives a row without counts that says
// "unreadable" and why.
SummaryRow SummarizeFolderLog(const FolderLog& log, const ComparedLogs& compared, size_t firstLines,
                              size_t secondLines, const std::string& moreNotes = std::string());

// The report of two logs: a line of column titles, then the rows marked
// "Different", tab-separated, each line ended by CR LF.
std::string DifferencesReport(const std::vector<CompareRow>& rows);

// The report of two folders: the summary's titles and rows, then for each log
// with differences an empty line, its name, and its DifferencesReport.
std::string FolderReport(const std::vector<SummaryRow>& summary,
                         const std::vector<const std::vector<CompareRow>*>& rowsOfEachLog);

// The diagnosis log of a bundle read back: each rule that failed or warned, as the reports
// show verdicts (its evidence is the log's one field of it).
std::vector<VerdictEntry> LoggedVerdicts(const LogLines& diagnosisLog);

// The diagnosis log of a bundle read back: each rule that failed, "CODE: finding" (its
// first field, then its third). The second field of a verdict's line is its outcome.
std::vector<std::string> FailedRules(const LogLines& diagnosisLog);
bool IsDiagnosisLogName(const std::string& name);

// What the report of two folders puts first: for each bundle whose diagnosis has failures,
// a line naming it, then a line per failure (code, TAB, finding), then an empty line; empty
// when neither has one.
std::string FailuresFirstReport(const std::vector<std::string>& firstFailures,
                                const std::string& firstFolder,
                                const std::vector<std::string>& secondFailures,
                                const std::string& secondFolder);

// Two folders compared log by log, with what each bundle says of itself.
struct FolderComparison {
    std::string firstFolder, secondFolder;
    std::vector<FolderLog> logs;
    std::vector<ComparedLogs> compared;             // one per log
    std::vector<SummaryRow> summary;                // one per log
    bool readFailed = false;                        // a log could not be read (the user was told)
    CollectManifest firstManifest, secondManifest;  // where the folder has one
    bool hasFirstManifest = false;
    bool hasSecondManifest = false;
    // The folder holds a manifest.txt, whether or not it reads as a manifest.
    bool firstManifestFound = false;
    bool secondManifestFound = false;
    // What each bundle's diagnosis log says failed; told only where the bundle has one.
    bool firstDiagnosed = false, secondDiagnosed = false;
    std::vector<std::string> firstFailures, secondFailures;
    // Its failures and warnings whole, for the reports that show them.
    std::vector<VerdictEntry> firstVerdicts, secondVerdicts;

    const CollectManifest* FirstManifest() const {
        return hasFirstManifest ? &firstManifest : nullptr;
    }
    const CollectManifest* SecondManifest() const {
        return hasSecondManifest ? &secondManifest : nullptr;
    }
    // Each folder as the user reads it: with its manifest, or why it is not a whole bundle.
    std::string FirstFolderText() const {
        return FolderWithManifest(firstFolder, FirstManifest(), firstManifestFound) +
               FailedCountText(firstDiagnosed, firstFailures.size());
    }
    std::string SecondFolderText() const {
        return FolderWithManifest(secondFolder, SecondManifest(), secondManifestFound) +
               FailedCountText(secondDiagnosed, secondFailures.size());
    }
    static std::string FailedCountText(bool diagnosed, std::size_t failed) {
        if (!diagnosed) {
            return std::string();
        }
        return failed == 0 ? ", no rule failed"
                           : ", " + std::to_string(failed) +
                                 (failed == 1 ? " rule failed" : " rules failed");
    }
};
