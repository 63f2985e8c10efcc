#include "report/report_documents.h"

#include <map>
#include <utility>

namespace {

Column TextColumn(const char* key, const char* title) {
    return {key, title, CellType::Text};
}
Column NumberColumn(const char* key, const char* title) {
    return {key, title, CellType::Number};
}

// An empty text says nothing: the cell is empty rather than a text of no characters.
Cell TextOrEmpty(const std::string& text) {
    return text.empty() ? EmptyCell() : TextCell(text);
}

Section NewSection(const Document& document, SectionKind kind, const std::string& idText,
                   const std::string& title) {
    Section section;
    section.id = NewAnchorId(document, idText);
    section.kind = kind;
    section.title = title;
    return section;
}

void AddBundlesSection(Document& document, const std::vector<BundleHeading>& bundles) {
    Section section = NewSection(document, SectionKind::Bundles, "bundles", "Bundles");
    Table table;
    table.key = "bundles";
    table.columns = {TextColumn("bundle", "Bundle"), TextColumn("folder", "Folder"),
                     TextColumn("program", "Program"), TextColumn("run", "Run"),
                     TextColumn("windows", "Windows")};
    for (const BundleHeading& bundle : bundles) {
        Row row;
        row.cells = {TextOrEmpty(bundle.label), TextOrEmpty(bundle.folder)};
        const CollectManifest* manifest = bundle.manifest;
        row.cells.push_back(manifest ? TextOrEmpty(manifest->program) : EmptyCell());
        row.cells.push_back(manifest ? TextOrEmpty(manifest->run) : EmptyCell());
        row.cells.push_back(manifest ? TextOrEmpty(manifest->windows) : EmptyCell());
        table.rows.push_back(std::move(row));
        for (const std::string& note : bundle.notes) {
            section.notes.push_back(bundle.label + ": " + note);
        }
    }
    section.tables.push_back(std::move(table));
    document.sections.push_back(std::move(section));
}

Table DifferencesTable(const std::vector<DifferenceEntry>& entries) {
    Table table;
    table.key = "differences";
    table.markTitle = "Difference";
    // The compare view's titles, so that the report reads as the view does.
    table.columns = {TextColumn("name", "Name"), TextColumn("value", "Value"),
                     TextColumn("type", "Service Type"), TextColumn("first", "Current State 1"),
                     TextColumn("second", "Current State 2")};
    for (const DifferenceEntry& entry : entries) {
        Row row;
        row.mark = entry.mark;
        row.cells = {TextOrEmpty(entry.name), TextOrEmpty(entry.value), TextOrEmpty(entry.type),
                     TextOrEmpty(entry.first), TextOrEmpty(entry.second)};
        table.rows.push_back(std::move(row));
    }
    return table;
}

void AddCountFacts(Section& section, const DifferenceCounts& counts) {
    section.facts.push_back({"rows", "Rows", NumberCell(counts.rows)});
    section.facts.push_back({"different", "Different", NumberCell(counts.different)});
    section.facts.push_back({"only_in_first", "Only in first", NumberCell(counts.onlyInFirst)});
    section.facts.push_back({"only_in_second", "Only in second", NumberCell(counts.onlyInSecond)});
}

int OutcomeRank(Mark outcome) {
    switch (outcome) {
        case Mark::Fail:
            return 0;
        case Mark::Warn:
            return 1;
        case Mark::Pass:
            return 2;
        default:
            return 3;
    }
}

// Failures, then warnings, then passes, then the rest, each in the given order.
std::vector<const VerdictEntry*> InReadingOrder(const std::vector<VerdictEntry>& verdicts,
                                                int lastRank) {
    std::vector<const VerdictEntry*> ordered;
    for (int rank = 0; rank <= lastRank; ++rank) {
        for (const VerdictEntry& verdict : verdicts) {
            if (OutcomeRank(verdict.outcome) == rank) {
                ordered.push_back(&verdict);
            }
        }
    }
    return ordered;
}

// A verdict's section: its code, finding and what to do, then its evidence. `label` names
// the bundle where the report holds more than one.
std::string AddVerdictSection(Document& document, const VerdictEntry& verdict,
                              const std::string& label) {
    const std::string title = label.empty() ? verdict.code : label + ": " + verdict.code;
    Section section = NewSection(document, SectionKind::Verdict,
                                 label.empty() ? verdict.code : label + "-" + verdict.code, title);
    section.mark = verdict.outcome;
    if (!label.empty()) {
        section.facts.push_back({"bundle", "Bundle", TextCell(label)});
    }
    section.facts.push_back({"code", "Code", TextOrEmpty(verdict.code)});
    section.facts.push_back({"finding", "Finding", TextOrEmpty(verdict.sentence)});
    section.facts.push_back({"action", "What to do", TextOrEmpty(verdict.action)});
    if (!verdict.evidence.empty()) {
        Table table;
        table.key = "evidence";
        table.title = "Evidence";
        table.columns = {TextColumn("log", "Log"), TextColumn("row", "Row"),
                         TextColumn("observed", "Observed"), TextColumn("expected", "Expected")};
        for (const EvidenceEntry& evidence : verdict.evidence) {
            Row row;
            row.cells = {TextOrEmpty(evidence.log), TextOrEmpty(evidence.row),
                         TextOrEmpty(evidence.observed), TextOrEmpty(evidence.expected)};
            table.rows.push_back(std::move(row));
        }
        section.tables.push_back(std::move(table));
    }
    const std::string id = section.id;
    document.sections.push_back(std::move(section));
    return id;
}

// The most frequent value, the first to reach that count in bundle order; null where no
// bundle holds one.
const std::string* MostCommon(const std::vector<std::optional<std::string>>& values) {
    std::map<std::string, int> counts;
    const std::string* best = nullptr;
    int bestCount = 0;
    for (const std::optional<std::string>& value : values) {
        if (value) {
            const int count = ++counts[*value];
            if (count > bestCount) {
                bestCount = count;
                best = &*value;
            }
        }
    }
    return best;
}

}  // namespace

Document TwoLogsDocument(const LogHeading& first, const LogHeading& second,
                         const std::string& logKind, const DifferenceCounts& counts,
                         const std::vector<DifferenceEntry>& rows) {
    Document document;
    document.kind = DocumentKind::TwoLogs;
    document.title = "Vorlix: two logs compared";

    Section logs = NewSection(document, SectionKind::Logs, "logs", "Logs");
    logs.facts.push_back({"kind", "Kind", TextOrEmpty(logKind)});
    AddCountFacts(logs, counts);
    Table table;
    table.key = "logs";
    table.columns = {TextColumn("log", "Log"), TextColumn("file", "File"),
                     TextColumn("timestamp", "Timestamp"),
                     TextColumn("reading_notes", "Reading notes")};
    for (const LogHeading* log : {&first, &second}) {
        Row row;
        row.cells = {TextOrEmpty(log->label), TextOrEmpty(log->path), TextOrEmpty(log->timestamp),
                     TextOrEmpty(log->readingNotes)};
        table.rows.push_back(std::move(row));
    }
    logs.tables.push_back(std::move(table));
    document.sections.push_back(std::move(logs));

    Section differences =
        NewSection(document, SectionKind::Differences, "differences", "Rows that differ");
    differences.tables.push_back(DifferencesTable(rows));
    document.sections.push_back(std::move(differences));
    return document;
}

Document TwoFoldersDocument(const std::vector<BundleHeading>& bundles,
                            const std::vector<BundleVerdicts>& verdicts,
                            const std::vector<FolderLogEntry>& logs) {
    Document document;
    document.kind = DocumentKind::TwoFolders;
    document.title = "Vorlix: two folders compared";
    AddBundlesSection(document, bundles);
    for (const BundleVerdicts& bundle : verdicts) {
        for (const VerdictEntry* verdict : InReadingOrder(bundle.verdicts, 1)) {
            AddVerdictSection(document, *verdict, bundle.label);
        }
    }

    // The summary comes before the sections it links to: it is filled once they have ids.
    const size_t summaryAt = document.sections.size();
    document.sections.push_back(NewSection(document, SectionKind::Summary, "summary", "Summary"));
    std::vector<std::string> links(logs.size());
    for (size_t i = 0; i < logs.size(); ++i) {
        const FolderLogEntry& log = logs[i];
        if (!log.differs || log.rows == nullptr || log.rows->empty()) {
            continue;
        }
        Section section = NewSection(document, SectionKind::Differences, log.log, log.log);
        AddCountFacts(section, log.counts);
        section.tables.push_back(DifferencesTable(*log.rows));
        links[i] = section.id;
        document.sections.push_back(std::move(section));
    }

    Table table;
    table.key = "summary";
    table.markTitle = "Result";
    table.columns = {TextColumn("log", "Log"),
                     TextColumn("kind", "Kind"),
                     NumberColumn("rows", "Rows"),
                     NumberColumn("different", "Different"),
                     NumberColumn("only_in_first", "Only in first"),
                     NumberColumn("only_in_second", "Only in second"),
                     TextColumn("notes", "Notes")};
    for (size_t i = 0; i < logs.size(); ++i) {
        const FolderLogEntry& log = logs[i];
        Row row;
        // An unreadable log is neither equal nor different: its notes say why.
        row.mark = log.unreadable ? Mark::None : log.differs ? Mark::Different : Mark::Equal;
        row.link = links[i];
        // A log that could not be read was not compared: a count would pass for one.
        const auto count = [&](std::int64_t n) {
            return log.unreadable ? EmptyCell() : NumberCell(n);
        };
        row.cells = {TextOrEmpty(log.log),          TextOrEmpty(log.kind),
                     count(log.counts.rows),        count(log.counts.different),
                     count(log.counts.onlyInFirst), count(log.counts.onlyInSecond),
                     TextOrEmpty(log.notes)};
        table.rows.push_back(std::move(row));
    }
    document.sections[summaryAt].tables.push_back(std::move(table));
    return document;
}

Document ManyBundlesDocument(const std::vector<BundleHeading>& bundles,
                             const std::vector<MatrixFact>& facts,
                             const std::vector<BundleVerdicts>& verdicts) {
    Document document;
    document.kind = DocumentKind::ManyBundles;
    document.title = "Vorlix: bundles compared";
    AddBundlesSection(document, bundles);
    // What is wrong with each bundle before what tells them apart, as in the report of two.
    for (const BundleVerdicts& bundle : verdicts) {
        for (const VerdictEntry* verdict : InReadingOrder(bundle.verdicts, 1)) {
            AddVerdictSection(document, *verdict, bundle.label);
        }
    }

    Section section = NewSection(document, SectionKind::Matrix, "matrix", "Facts by bundle");
    Table table;
    table.key = "matrix";
    table.markTitle = "Row";
    table.columns.push_back(TextColumn("fact", "Fact"));
    for (size_t b = 0; b < bundles.size(); ++b) {
        table.columns.push_back(
            {"bundle_" + std::to_string(b + 1), bundles[b].label, CellType::Text});
    }
    table.columns.push_back(TextColumn("most_common", "Most common"));
    for (const MatrixFact& fact : facts) {
        Row row;
        row.mark = fact.mark;
        row.cells.push_back(TextCell(fact.fact));
        const std::string* common = MostCommon(fact.values);
        for (size_t b = 0; b < bundles.size(); ++b) {
            if (b >= fact.values.size() || !fact.values[b]) {
                row.cells.push_back(EmptyCell(Mark::Missing));
            } else {
                const std::string& value = *fact.values[b];
                row.cells.push_back(
                    TextCell(value, value == *common ? Mark::Equal : Mark::Different));
            }
        }
        row.cells.push_back(common ? TextCell(*common) : EmptyCell());
        table.rows.push_back(std::move(row));
    }
    section.tables.push_back(std::move(table));
    document.sections.push_back(std::move(section));
    return document;
}

Document DiagnosisDocument(const BundleHeading& bundle, const std::vector<VerdictEntry>& verdicts) {
    Document document;
    document.kind = DocumentKind::Diagnosis;
    document.title = "Vorlix: diagnosis";
    AddBundlesSection(document, {bundle});

    const std::vector<const VerdictEntry*> ordered = InReadingOrder(verdicts, 3);
    const size_t summaryAt = document.sections.size();
    Section summary = NewSection(document, SectionKind::Summary, "summary", "Summary");
    std::int64_t counts[4] = {0, 0, 0, 0};
    for (const VerdictEntry* verdict : ordered) {
        ++counts[OutcomeRank(verdict->outcome)];
    }
    summary.facts = {{"failures", "Failures", NumberCell(counts[0])},
                     {"warnings", "Warnings", NumberCell(counts[1])},
                     {"passed", "Passed", NumberCell(counts[2])},
                     {"not_judged", "Not judged", NumberCell(counts[3])}};
    document.sections.push_back(std::move(summary));

    Table table;
    table.key = "verdicts";
    table.markTitle = "Outcome";
    table.columns = {TextColumn("code", "Code"), TextColumn("finding", "Finding")};
    for (const VerdictEntry* verdict : ordered) {
        Row row;
        row.mark = verdict->outcome;
        row.cells = {TextOrEmpty(verdict->code), TextOrEmpty(verdict->sentence)};
        row.link = AddVerdictSection(document, *verdict, std::string());
        table.rows.push_back(std::move(row));
    }
    document.sections[summaryAt].tables.push_back(std::move(table));
    return document;
}
