#include "compare/comparison_reports.h"

namespace {

Mark MarkOf(const CompareRow& row) {
    if (!row.inSecond) {
        return Mark::OnlyInFirst;
    }
    return !row.inFirst ? Mark::OnlyInSecond : Mark::OtherValues;
}

// The rows that differ, by the compare view's columns.
std::vector<DifferenceEntry> DifferenceEntries(const std::vector<CompareRow>& rows) {
    std::vector<DifferenceEntry> entries;
    for (const CompareRow& row : rows) {
        if (row.different) {
            entries.push_back({MarkOf(row), row.name, row.value, row.type, row.state1, row.state2});
        }
    }
    return entries;
}

DifferenceCounts CountsOf(const CompareCounts& counts) {
    DifferenceCounts result;
    result.rows = counts.rows;
    result.different = counts.different;
    result.onlyInFirst = counts.onlyFirst;
    result.onlyInSecond = counts.onlySecond;
    return result;
}

std::string NotesText(const std::string& path, const LogReadingNotes& notes) {
    const LogReadingNotes said = NotesToSay(path, notes);
    return said.Any() ? DescribeReadingNotes(said) : std::string();
}

const char* KindWord(CompareKind kind) {
    switch (kind) {
        case CompareKind::Services:
            return "services";
        case CompareKind::Exports:
            return "exports";
        case CompareKind::Analysis:
            return "analysis";
        case CompareKind::None:
            break;
    }
    return "";
}

}  // namespace

TwoLogsSubject SubjectOf(CompareKind kind, const std::string& firstPath,
                         const std::string& secondPath, const ComparedLogs& logs) {
    TwoLogsSubject subject;
    subject.kind = kind;
    subject.firstPath = firstPath;
    subject.secondPath = secondPath;
    subject.firstNotes = logs.firstNotes;
    subject.secondNotes = logs.secondNotes;
    subject.firstTimestamp = logs.firstTimestamp;
    subject.secondTimestamp = logs.secondTimestamp;
    return subject;
}

ReportContent TwoLogsReport(const TwoLogsSubject& subject, const std::vector<CompareRow>& rows) {
    ReportContent report;
    report.text = DifferencesReport(rows);
    const LogHeading first = {"first", subject.firstPath, subject.firstTimestamp,
                              NotesText(subject.firstPath, subject.firstNotes)};
    const LogHeading second = {"second", subject.secondPath, subject.secondTimestamp,
                               NotesText(subject.secondPath, subject.secondNotes)};
    report.document = TwoLogsDocument(first, second, KindWord(subject.kind),
                                      CountsOf(CountRows(rows)), DifferenceEntries(rows));
    return report;
}

ReportContent TwoFoldersReport(const FolderComparison& comparison) {
    ReportContent report;
    std::vector<const std::vector<CompareRow>*> rowsOfEachLog;
    for (const ComparedLogs& compared : comparison.compared) {
        rowsOfEachLog.push_back(&compared.rows);
    }
    // Each bundle's failed rules come first: what is wrong before what differs.
    report.text = FailuresFirstReport(comparison.firstFailures, comparison.firstFolder,
                                      comparison.secondFailures, comparison.secondFolder) +
                  FolderReport(comparison.summary, rowsOfEachLog);

    std::vector<BundleHeading> bundles(2);
    bundles[0] = {"first", comparison.firstFolder, comparison.FirstManifest(), {}};
    bundles[1] = {"second", comparison.secondFolder, comparison.SecondManifest(), {}};
    const bool found[] = {comparison.firstManifestFound, comparison.secondManifestFound};
    for (int i = 0; i < 2; ++i) {
        if (bundles[i].manifest == nullptr) {
            bundles[i].notes.push_back(found[i] ? kNoManifestOfVorlixNote : kNoManifestNote);
        }
    }
    std::vector<BundleVerdicts> verdicts;
    if (!comparison.firstVerdicts.empty()) {
        verdicts.push_back({"first", comparison.firstVerdicts});
    }
    if (!comparison.secondVerdicts.empty()) {
        verdicts.push_back({"second", comparison.secondVerdicts});
    }
    // The differing rows of each log, kept until the document is made.
    std::vector<std::vector<DifferenceEntry>> differing(comparison.summary.size());
    std::vector<FolderLogEntry> logs;
    for (size_t i = 0; i < comparison.summary.size(); ++i) {
        const SummaryRow& row = comparison.summary[i];
        if (i < comparison.compared.size()) {
            differing[i] = DifferenceEntries(comparison.compared[i].rows);
        }
        FolderLogEntry log;
        log.log = row.log;
        log.kind = row.kind;
        log.counts = CountsOf(row.counts);
        log.notes = row.notes;
        log.differs = row.differs;
        log.unreadable = row.unreadable;
        log.rows = &differing[i];
        logs.push_back(log);
    }
    report.document = TwoFoldersDocument(bundles, verdicts, logs);
    return report;
}
