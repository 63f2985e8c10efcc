#include "diagnosis/diagnosis_document.h"

#include "diagnosis/diagnosis_text.h"
#include "report/log_paths.h"

namespace {

Mark MarkOf(Outcome outcome) {
    switch (outcome) {
        case Outcome::Fail:
            return Mark::Fail;
        case Outcome::Warn:
            return Mark::Warn;
        case Outcome::Pass:
            return Mark::Pass;
        case Outcome::NotJudged:
            break;
    }
    return Mark::NotJudged;
}

}  // namespace

std::vector<VerdictEntry> VerdictEntries(const std::vector<Verdict>& verdicts) {
    std::vector<VerdictEntry> entries;
    for (const Verdict& verdict : verdicts) {
        VerdictEntry entry;
        entry.code = verdict.code;
        entry.outcome = MarkOf(verdict.outcome);
        entry.sentence = verdict.sentence;
        entry.action = verdict.action;
        for (const Evidence& fact : verdict.evidence) {
            entry.evidence.push_back({fact.log, fact.row, fact.observed, fact.expected});
        }
        entries.push_back(entry);
    }
    return entries;
}

Document DiagnosisDocumentOf(const BundleHeading& bundle, const std::vector<Verdict>& verdicts) {
    return DiagnosisDocument(bundle, VerdictEntries(verdicts));
}

ReportContent DiagnosisReportOf(const DiagnosisSubject& subject,
                                const std::vector<Verdict>& verdicts) {
    BundleHeading heading;
    if (subject.folder.empty()) {
        // The logs a run on this machine has just written, where the program writes them.
        heading.label = "this machine";
        heading.folder = "C:\\";
    } else {
        heading.label = "bundle";
        heading.folder = subject.folder;
        if (!subject.manifest) {
            heading.notes.push_back(kNoManifestNote);
        }
    }
    heading.manifest = subject.manifest ? &*subject.manifest : nullptr;
    return {DiagnosisReport(verdicts), DiagnosisDocumentOf(heading, verdicts)};
}
