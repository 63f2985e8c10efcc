#include "compare/folder_compare.h"

#include <algorithm>

#include "platform/ascii_case.h"
#include "compare/compare_view.h"
#include "report/column_sets.h"
#include "report/copy_text.h"
#include "report/log_paths.h"

namespace {

const char kCollectedPrefix[] = "lensora_brenhold.log";

std::string NameOf(const char* path) {
    const std::string text = path;
    return text.substr(text.find_last_of('\\') + 1);
}

// Where a name stands among the logs that the collect run writes, in their
// order; past them all for any other name.
size_t CollectOrder(const std::string& name) {
    const std::string folded = FoldAsciiCase(name);
    for (int i = 0; i < kTestLogCount; ++i) {
        if (FoldAsciiCase(NameOf(kTestLogPaths[i])) == folded) {
            return static_cast<size_t>(i);
        }
    }
    return FoldAsciiCase(NameOf(kMessagesLogPath)) == folded ? kTestLogCount : kTestLogCount + 1;
}

std::string Count(int n) {
    return std::to_string(n);
}

void AppendNote(std::string& notes, const std::string& note) {
    if (!note.empty()) {
        notes += (notes.empty() ? "" : "; ") + note;
    }
}

std::vector<std::string> Titles(const ColumnSpec* columns) {
    std::vector<std::string> titles;
    for (int i = 0; i < CountColumns(columns); ++i) {
        titles.push_back(columns[i].title);
    }
    return titles;
}

}  // namespace

bool IsCollectedLogName(const std::string& name) {
    return FoldAsciiCase(name).compare(0, sizeof kCollectedPrefix - 1, kCollectedPrefix) == 0 &&
           (IsMessagesLogName(name) || LogKindOfName(name).compare != CompareKind::None);
}

bool IsMessagesLogName(const std::string& name) {
    return FoldAsciiCase(name) == FoldAsciiCase(NameOf(kMessagesLogPath));
}

LogReadingNotes NotesToSay(const std::string& name, LogReadingNotes notes) {
    const size_t separator = name.find_last_of("\\/:");
    if (IsMessagesLogName(separator == std::string::npos ? name : name.substr(separator + 1))) {
        notes.noTimestamp = false;
    }
    return notes;
}

std::vector<FolderLog> PairFolderLogs(const std::vector<FolderFile>& firstFiles,
                                      const std::vector<FolderFile>& secondFiles) {
    std::vector<FolderLog> logs;
    const auto add = [&](const FolderFile& file, bool first) {
        if (!IsCollectedLogName(file.name)) {
            return;
        }
        FolderLog* found = nullptr;
        for (FolderLog& log : logs) {
            if (FoldAsciiCase(log.name) == FoldAsciiCase(file.name)) {
                found = &log;
            }
        }
        if (found == nullptr) {
            logs.emplace_back();
            found = &logs.back();
            found->name = file.name;
        }
        (first ? found->inFirst : found->inSecond) = true;
        (first ? found->firstSize : found->secondSize) = file.size;
    };
    for (const FolderFile& file : firstFiles) {
        add(file, true);
    }
    for (const FolderFile& file : secondFiles) {
        add(file, false);
    }
    std::stable_sort(logs.begin(), logs.end(), [](const FolderLog& a, const FolderLog& b) {
        const size_t orderA = CollectOrder(a.name), orderB = CollectOrder(b.name);
        return orderA != orderB ? orderA < orderB : FoldAsciiCase(a.name) < FoldAsciiCase(b.name);
    });
    return logs;
}

std::string ManifestNote(const CollectManifest* manifest, const char* side, bool present,
                         std::uint64_t size, const std::string& name) {
    if (manifest == nullptr) {
        return std::string();
    }
    const ManifestFile* listed = nullptr;
    for (const ManifestFile& file : manifest->files) {
        if (FoldAsciiCase(file.name) == FoldAsciiCase(name)) {
            listed = &file;
        }
    }
    const std::string prefix = std::string(side) + ": ";
    if (listed == nullptr) {
        return present ? prefix + "not in its manifest" : std::string();
    }
    if (!present) {
        return prefix + "missing, its manifest lists it";
    }
    if (listed->size != size) {
        return prefix + std::to_string(size) + " bytes, its manifest says " +
               std::to_string(listed->size);
    }
    return std::string();
}

std::string FolderWithManifest(const std::string& folder, const CollectManifest* manifest) {
    if (manifest == nullptr) {
        return folder;
    }
    std::string text = folder + " (" + manifest->program + ", run " + manifest->run;
    if (!manifest->windows.empty()) {
        text += ", " + manifest->windows;
    }
    return text + ")";
}

CompareKind FolderLogCompareKind(const std::string& name) {
    return IsMessagesLogName(name) ? CompareKind::Analysis : LogKindOfName(name).compare;
}

SummaryRow SummarizeFolderLog(const FolderLog& log, const ComparedLogs& compared, size_t firstLines,
                              size_t secondLines, const std::string& moreNotes) {
    SummaryRow row;
    const bool messages = IsMessagesLogName(log.name);
    const CompareCounts counts = CountRows(compared.rows);
    row.inBoth = log.inFirst && log.inSecond;
    row.differs = counts.different > 0 || !row.inBoth;
    std::string notes;
    if (!log.inSecond) {
        AppendNote(notes, "only in the first folder");
    } else if (!log.inFirst) {
        AppendNote(notes, "only in the second folder");
    }
    if (messages) {
        const auto messagesIn = [](size_t lines) {
            return std::to_string(lines) + (lines == 1 ? " message" : " messages");
        };
        AppendNote(notes, (log.inFirst ? messagesIn(firstLines) : "no messages log") +
                              " in the first, " +
                              (log.inSecond ? messagesIn(secondLines) : "no messages log") +
                              " in the second");
    }
    const LogReadingNotes first = NotesToSay(log.name, compared.firstNotes);
    const LogReadingNotes second = NotesToSay(log.name, compared.secondNotes);
    if (first.Any()) {
        AppendNote(notes, "first: " + DescribeReadingNotes(first));
    }
    if (second.Any()) {
        AppendNote(notes, "second: " + DescribeReadingNotes(second));
    }
    AppendNote(notes, moreNotes);
    const std::string kind =
        messages ? "messages" : DescribeLogKind(LogKindOfName(log.name), log.name);
    row.cells = {log.name,
                 kind,
                 Count(counts.rows),
                 Count(counts.different),
                 Count(counts.onlyFirst),
                 Count(counts.onlySecond),
                 notes};
    return row;
}

std::string DifferencesReport(const std::vector<CompareRow>& rows) {
    std::string text;
    AppendCopyLine(text, Titles(kServiceColumns));
    std::vector<std::string> cells(kCompareColumnCount);
    for (const CompareRow& row : rows) {
        if (!row.different) {
            continue;
        }
        for (int column = 0; column < kCompareColumnCount; ++column) {
            cells[column] = CompareCellText(row, column);
        }
        AppendCopyLine(text, cells);
    }
    return text;
}

std::string FolderReport(const std::vector<SummaryRow>& summary,
                         const std::vector<const std::vector<CompareRow>*>& rowsOfEachLog) {
    std::string text;
    AppendCopyLine(text, Titles(kSummaryColumns));
    for (const SummaryRow& row : summary) {
        AppendCopyLine(text, row.cells);
    }
    for (size_t i = 0; i < summary.size() && i < rowsOfEachLog.size(); ++i) {
        if (!summary[i].differs || rowsOfEachLog[i] == nullptr) {
            continue;
        }
        text += "\r\n" + summary[i].cells[0] + "\r\n";
        text += DifferencesReport(*rowsOfEachLog[i]);
    }
    return text;
}
