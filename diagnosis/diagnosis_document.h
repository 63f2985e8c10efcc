// The diagnosis as a report document, for the HTML, JSON and CSV forms of a report.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "diagnosis/verdict.h"
#include "report/collect_manifest.h"
#include "report/report_documents.h"
#include "report/report_form.h"

std::vector<VerdictEntry> VerdictEntries(const std::vector<Verdict>& verdicts);
Document DiagnosisDocumentOf(const BundleHeading& bundle, const std::vector<Verdict>& verdicts);

// What was diagnosed: a bundle folder with its manifest (none where it has none, which the
// report notes), or this machine's own logs (`folder` empty).
struct DiagnosisSubject {
    std::string folder;
    std::optional<CollectManifest> manifest;
};

// The report of a diagnosis in every form: DiagnosisReport as text, and the document.
// /diagnose ... /report and the view's "Save report..." both write it.
ReportContent DiagnosisReportOf(const DiagnosisSubject& subject,
                                const std::vector<Verdict>& verdicts);
