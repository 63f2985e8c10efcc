// The diagnosis as text: the log that a run writes beside its other logs, the rows of the
// view and the report, the counts at the foot.
#pragma once

#include <string>
#include <vector>

#include "diagnosis/verdict.h"

// The cells of a verdict: code, outcome, sentence, evidence, what to do. Each is one log
// field: tabs, line breaks and runs of blanks (which would end a field) become one blank,
// and an empty cell reads "-", so every line has all five.
std::vector<std::string> VerdictCells(const Verdict& verdict);

// The log: `timestampLine` (with its CR LF), then one line per verdict in the rules'
// order, fields padded to the diagnosis column set's widths.
std::string DiagnosisLogText(const std::string& timestampLine, const std::vector<Verdict>& verdicts);

// Failures first, then warnings, then passes, then the rules not judged; the rules' order
// within each.
std::vector<Verdict> VerdictsForPeople(const std::vector<Verdict>& verdicts);

// "2 failures, 1 warning, 11 passed, 0 not judged".
std::string VerdictCounts(const std::vector<Verdict>& verdicts);
int CountOutcome(const std::vector<Verdict>& verdicts, Outcome outcome);

// The report: a line of column titles, then VerdictsForPeople's rows, tab-separated, each
// line ended by CR LF.
std::string DiagnosisReport(const std::vector<Verdict>& verdicts);

// The diagnosis in one line for a console: the first failure's code and sentence, or that
// no rule failed; then the counts.
std::string DiagnosisHeadline(const std::vector<Verdict>& verdicts);
