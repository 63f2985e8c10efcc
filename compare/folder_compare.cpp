#include "compare/folder_compare.h"

#include <algorithm>
#include <vector>

#include "platform/ascii_case.h"
#include "platform/path_text.h"
#include "compare/compare_view.h"
#include "report/column_sets.h"
#include "report/copy_text.h"
#include "report/log_paths.h"

namespace {

// Every log name the program gives, the messages log last.
std::vector<std::string> ProgramLogNames() {
    std::vector<std::string> names;
    for (const char* path : kTestLogPaths) {
        names.push_back(FileNameOfPath(path));
    }
    names.push_back(FileNameOfPath(kMessagesLogPath));
    return names;
}

// Where a name stands among the logs that the collect run writes, in their
// order; past them all for any other name.
size_t CollectOrder(const std::string& name) {
    const std::vector<std::string> names = ProgramLogNames();
    const std::string folded = FoldAsciiCase(name);
    for (size_t i = 0; i < names.size(); ++i) {
        if (FoldAsciiCase(names[i]) == folded) {
            return i;
        }
    }
    return names.size();
}

// The program's log name that the name starts with, the longest; empty when none.
std::string ProgramLogNameOf(const std::string& name) {
    const std::string folded = FoldAsciiCase(name);
    std::string found;
    for (const std::string& known : ProgramLogNames()) {
        if (folded.compare(0, known.size(), FoldAsciiCase(known)) == 0 &&
            known.size() > found.size()) {
            found = known;
        }
    }
    return found;
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

bool IsMessagesLogName(const std::string& name) {
    return FoldAsciiCase(name) == FoldAsciiCase(FileNameOfPath(kMessagesLogPath));
}

LogReadingNotes NotesToSay(const std::string& name, LogReadingNotes notes) {
    if (IsMessagesLogName(FileNameOfPath(name))) {
        notes.noTimestamp = false;
        notes.empty = false;
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

namespace {

const ManifestFile* ListedFile(const CollectManifest& manifest, const std::string& name) {
    for (const ManifestFile& file : manifest.files) {
        if (FoldAsciiCase(file.name) == FoldAsciiCase(name)) {
            return &file;
        }
    }
    return nullptr;
}

}  // namespace

bool ManifestLists(const CollectManifest& manifest, const std::string& name) {
    return ListedFile(manifest, name) != nullptr;
}

std::string ManifestNote(const CollectManifest* manifest, const char* side, bool present,
                         std::uint64_t size, const std::string& name) {
    if (manifest == nullptr) {
        return std::string();
    }
    const ManifestFile* listed = ListedFile(*manifest, name);
    const std::string prefix = std::string(side) + ": ";
    if (listed == nullptr) {
        return present ? prefix + "not in its manifest: left from an earlier run" : std::string();
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

std::string FolderWithManifest(const std::string& folder, const CollectManifest* manifest,
                               bool manifestFileFound) {
    if (manifest == nullptr) {
        return folder + (manifestFileFound
                             ? " (not a whole bundle: manifest.txt is no manifest of Vorlix)"
                             : " (not a whole bundle: no manifest.txt)");
    }
    std::string text = folder + " (" + manifest->program + ", run " + manifest->run;
    if (!manifest->windows.empty()) {
        text += ", " + manifest->windows;
    }
    return text + ")";
}

CompareKind FolderLogCompareKind(const std::string& name) {
    const CompareKind kind = LogKindOfName(name).compare;
    if (kind != CompareKind::None) {
        return kind;
    }
    const std::string known = ProgramLogNameOf(name);
    const CompareKind knownKind = known.empty() ? CompareKind::None : LogKindOfName(known).compare;
    return knownKind != CompareKind::None ? knownKind : CompareKind::Analysis;
}

namespace {

// The kind as the summary names it: "services", "analysis (PATH)",
// "messages"; a log of a name no kind knows by what follows the common
// start of the program's log names.
std::string KindText(const std::string& name) {
    if (IsMessagesLogName(name)) {
        return "messages";
    }
    const std::string known = ProgramLogNameOf(name);
    const std::string& named = known.empty() ? name : known;
    const LogKind kind = LogKindOfName(named);
    if (kind.compare != CompareKind::None) {
        return DescribeLogKind(kind, named);
    }
    const std::string rest = named.substr(std::min(named.size(), sizeof kLogNamePrefix - 1));
    return rest.empty() ? std::string("lines") : rest;
}

}  // namespace

SummaryRow SummarizeFolderLog(const FolderLog& log, const ComparedLogs& compared, size_t firstLines,
                              size_t secondLines, const std::string& moreNotes) {
    SummaryRow row;
    const bool messages = IsMessagesLogName(log.name);
    const CompareCounts counts = CountRows(compared.rows);
    row.unreadable = !log.firstReadFailure.empty() || !log.secondReadFailure.empty();
    row.inBoth = log.FirstCompared() && log.SecondCompared();
    row.differs =
        !row.unreadable && (counts.different > 0 || log.FirstCompared() != log.SecondCompared());
    std::string notes;
    if (!log.inSecond) {
        AppendNote(notes, "only in the first folder");
    } else if (!log.inFirst) {
        AppendNote(notes, "only in the second folder");
    }
    if (!log.firstReadFailure.empty()) {
        AppendNote(notes, "first: unreadable: " + log.firstReadFailure);
    }
    if (!log.secondReadFailure.empty()) {
        AppendNote(notes, "second: unreadable: " + log.secondReadFailure);
    }
    if (messages && !row.unreadable) {
        const auto messagesIn = [](size_t lines) {
            return std::to_string(lines) + (lines == 1 ? " message" : " messages");
        };
        AppendNote(notes, (log.FirstCompared() ? messagesIn(firstLines) : "no messages log") +
                              " in the first, " +
                              (log.SecondCompared() ? messagesIn(secondLines) : "no messages log") +
                              " in the second");
    }
    const LogReadingNotes first = NotesToSay(log.name, compared.firstNotes);
    const LogReadingNotes second = NotesToSay(log.name, compared.secondNotes);
    if (first.Any() && !row.unreadable) {
        AppendNote(notes, "first: " + DescribeReadingNotes(first));
    }
    if (second.Any() && !row.unreadable) {
        AppendNote(notes, "second: " + DescribeReadingNotes(second));
    }
    AppendNote(notes, moreNotes);
    row.log = log.name;
    row.kind = KindText(log.name);
    row.notes = notes;
    if (!row.unreadable) {
        row.counts = counts;
    }
    return row;
}

std::vector<std::string> SummaryRow::Cells() const {
    if (unreadable) {
        // Nothing was compared: no count may pass for one.
        return {log, kind, "", "", "", "", notes};
    }
    return {log,
            kind,
            Count(counts.rows),
            Count(counts.different),
            Count(counts.onlyFirst),
            Count(counts.onlySecond),
            notes};
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
        AppendCopyLine(text, row.Cells());
    }
    for (size_t i = 0; i < summary.size() && i < rowsOfEachLog.size(); ++i) {
        if (!summary[i].differs || rowsOfEachLog[i] == nullptr) {
            continue;
        }
        text += "\r\n" + summary[i].log + "\r\n";
        text += DifferencesReport(*rowsOfEachLog[i]);
    }
    return text;
}

bool IsDiagnosisLogName(const std::string& name) {
    return FoldAsciiCase(name) == FoldAsciiCase(FileNameOfPath(kDiagnosisLogPath));
}

std::vector<std::string> FailedRules(const LogLines& diagnosisLog) {
    std::vector<std::string> failed;
    for (const LogLine& line : diagnosisLog.lines) {
        if (line.fields.size() >= 3 && line.fields[1] == "fail") {
            failed.push_back(line.fields[0] + ": " + line.fields[2]);
        }
    }
    return failed;
}

std::vector<VerdictEntry> LoggedVerdicts(const LogLines& diagnosisLog) {
    std::vector<VerdictEntry> verdicts;
    for (const LogLine& line : diagnosisLog.lines) {
        const std::vector<std::string>& fields = line.fields;
        if (fields.size() < 3 || (fields[1] != "fail" && fields[1] != "warn")) {
            continue;
        }
        VerdictEntry verdict;
        verdict.code = fields[0];
        verdict.outcome = fields[1] == "fail" ? Mark::Fail : Mark::Warn;
        verdict.sentence = fields[2];
        if (fields.size() > 3 && !fields[3].empty()) {
            verdict.evidence.push_back({"", "", fields[3], ""});
        }
        verdict.action = fields.size() > 4 ? fields[4] : std::string();
        verdicts.push_back(verdict);
    }
    return verdicts;
}

std::string FailuresFirstReport(const std::vector<std::string>& firstFailures,
                                const std::string& firstFolder,
                                const std::vector<std::string>& secondFailures,
                                const std::string& secondFolder) {
    std::string text;
    const struct {
        const std::vector<std::string>* failures;
        const char* side;
        const std::string* folder;
    } bundles[] = {{&firstFailures, "first", &firstFolder},
                   {&secondFailures, "second", &secondFolder}};
    for (const auto& bundle : bundles) {
        if (bundle.failures->empty()) {
            continue;
        }
        text += std::string("Rules that fail in the ") + bundle.side + " bundle, " +
                *bundle.folder + "\r\n";
        for (const std::string& failure : *bundle.failures) {
            const std::size_t colon = failure.find(": ");
            text += failure.substr(0, colon) + "\t" +
                    (colon == std::string::npos ? std::string() : failure.substr(colon + 2)) +
                    "\r\n";
        }
        text += "\r\n";
    }
    return text;
}
