// The kinds of log that a comparison reads, as the shell passes them to the
// comparison and as a log's file name tells them.
#pragma once

#include <string>

// The values are the comparison dialog's initialisation parameter.
enum class CompareKind { None = 0, Analysis = 1, Exports = 2, Services = 3 };

// A log's kind by its file name. The analysis writes one log per section, and
// two logs of different sections hold different records, so the section (what
// follows ".logAnalyze", in lower case) is part of the kind.
struct LogKind {
    CompareKind compare = CompareKind::None;
    std::string section;
};

// The kind that a log's file name ends in, matched without regard to case; a name
// ending in none of ".logServices", ".logDlls" or ".logAnalyze..." has none.
LogKind LogKindOfName(const std::string& path);

// Whether two logs can be compared with each other: both of one kind, and for
// analysis logs of one section.
bool SameLogKind(const LogKind& a, const LogKind& b);

// The kind for the user: "services", "exports", "analysis (Settings)".
std::string DescribeLogKind(const LogKind& kind, const std::string& path);

// The compare kind named on the command line: "services", "exports" or
// "analysis", in any case.
CompareKind CompareKindOfWord(const std::string& word);
