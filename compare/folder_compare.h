// Two folders of collected logs side by side: which log names each holds, and
// one summary row per log name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compare/compare_kind.h"
#include "compare/compare_logs.h"
#include "report/collect_manifest.h"

// Whether a file name is one that the collect run writes into its folder
// ("Lensora_Brenhold.log..."), in any case.
bool IsCollectedLogName(const std::string& name);
bool IsMessagesLogName(const std::string& name);

// The notes of a log's reading that are worth saying: a messages log has no
// timestamp line by design.
LogReadingNotes NotesToSay(const std::string& name, LogReadingNotes notes);

struct FolderLog {
    std::string name;  // as the first folder spells it where it holds the log
    bool inFirst = false;
    bool inSecond = false;
    std::uint64_t firstSize = 0;  // bytes, where the folder holds it
    std::uint64_t secondSize = 0;
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

// What a folder's manifest says against what the folder holds of one log:
// "first: 2048 bytes, its manifest says 4096", "first: missing, its manifest
// lists it"; empty where they agree or there is no manifest (`manifest` null).
std::string ManifestNote(const CollectManifest* manifest, const char* side, bool present,
                         std::uint64_t size, const std::string& name);

// "C:\good (Vorlix V1.05, run 09.12.2026 10:15 02, Windows 7)"; the folder alone
// without a manifest.
std::string FolderWithManifest(const std::string& folder, const CollectManifest* manifest);

// The kind by which a log of the folder is compared: the messages log is read
// as lines, as analysis logs are.
CompareKind FolderLogCompareKind(const std::string& name);

// One row of the summary, by the summary's columns: "Log", "Kind", "Rows",
// "Different", "Only in first", "Only in second", "Notes". A log found in one
// folder only is compared with an empty one.
struct SummaryRow {
    std::vector<std::string> cells;
    bool differs = false;  // something differs, or the log is in one folder only
    bool inBoth = false;   // a comparison can be opened
};
// `moreNotes` (such as ManifestNote's) ends the row's notes.
SummaryRow SummarizeFolderLog(const FolderLog& log, const ComparedLogs& compared, size_t firstLines,
                              size_t secondLines, const std::string& moreNotes = std::string());

// The report of two logs: a line of column titles, then the rows marked
// "Different", tab-separated, each line ended by CR LF.
std::string DifferencesReport(const std::vector<CompareRow>& rows);

// The report of two folders: the summary's titles and rows, then for each log
// with differences an empty line, its name, and its DifferencesReport.
std::string FolderReport(const std::vector<SummaryRow>& summary,
                         const std::vector<const std::vector<CompareRow>*>& rowsOfEachLog);
