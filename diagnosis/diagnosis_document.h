// The diagnosis as a report document, for the HTML, JSON and CSV forms of a report.
#pragma once

#include <vector>

#include "diagnosis/verdict.h"
#include "report/report_documents.h"

std::vector<VerdictEntry> VerdictEntries(const std::vector<Verdict>& verdicts);
Document DiagnosisDocumentOf(const BundleHeading& bundle, const std::vector<Verdict>& verdicts);
