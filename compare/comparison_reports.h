// The reports of two logs and of two folders, in every form. /report and the views'
// "Save report..." both build them here, so the same comparison gives the same file.
#pragma once

#include <string>
#include <vector>

#include "compare/compare_kind.h"
#include "compare/compare_logs.h"
#include "compare/folder_compare.h"
#include "report/report_form.h"

// What a comparison of two logs compared: the logs as the user named them and what their
// reading found.
struct TwoLogsSubject {
    CompareKind kind = CompareKind::None;
    std::string firstPath, secondPath;
    LogReadingNotes firstNotes, secondNotes;
    std::string firstTimestamp, secondTimestamp;
};

// The subject of a comparison as its logs were named and read.
TwoLogsSubject SubjectOf(CompareKind kind, const std::string& firstPath,
                         const std::string& secondPath, const ComparedLogs& logs);

// The rows marked "Different" (DifferencesReport as text), with both logs named in the
// document.
ReportContent TwoLogsReport(const TwoLogsSubject& subject, const std::vector<CompareRow>& rows);

// Each bundle's failed rules first, then the summary and the rows of each log that differs.
ReportContent TwoFoldersReport(const FolderComparison& comparison);
