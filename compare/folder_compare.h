// Two folders of collected logs side by side: which log names each holds, and
// one summary row per log name.
#pragma once

#include <string>
#include <vector>

#include "compare/compare_kind.h"
#include "compare/compare_logs.h"

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
};

// Every collected log name of either folder once, names told apart without
// regard to case: first in the order the collect run writes its logs, then
// any other such name in alphabetical order.
std::vector<FolderLog> PairFolderLogs(const std::vector<std::string>& firstNames,
                                      const std::vector<std::string>& secondNames);

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
SummaryRow SummarizeFolderLog(const FolderLog& log, const ComparedLogs& compared, size_t firstLines,
                              size_t secondLines);

// The report of two logs: a line of column titles, then the rows marked
// "Different", tab-separated, each line ended by CR LF.
std::string DifferencesReport(const std::vector<CompareRow>& rows);

// The report of two folders: the summary's titles and rows, then for each log
// with differences an empty line, its name, and its DifferencesReport.
std::string FolderReport(const std::vector<SummaryRow>& summary,
                         const std::vector<const std::vector<CompareRow>*>& rowsOfEachLog);
