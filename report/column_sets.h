// The column layouts of the report list and their log field widths.
#pragma once

struct ColumnSpec {
    int pixelWidth;
    const char* title;
    int logFieldWidth;
};

// Each set ends with an entry whose three fields are all zero.
extern const ColumnSpec kAnalysisColumns[];
extern const ColumnSpec kExportColumns[];
extern const ColumnSpec kServiceColumns[];
// The summary of two folders of collected logs, which writes no log.
extern const ColumnSpec kSummaryColumns[];
extern const ColumnSpec kDiagnosisColumns[];

// Columns of the analysis column set.
enum AnalysisColumn { kNameColumn, kValueColumn, kResultColumn };
// Columns of the export column set.
enum ExportColumn { kExportNameColumn, kExportResultColumn };

// Columns of the comparison (the service column set) by what they hold.
enum CompareColumn {
    kCompareNameColumn,
    kCompareValueColumn,
    kCompareTypeColumn,
    kCompareFirstStateColumn,
    kCompareSecondStateColumn,
    kCompareResultColumn,
    kCompareColumnCount
};

int CountColumns(const ColumnSpec* columns);
// The log field width of a column, 0 for a column outside the set.
int LogFieldWidthOf(const ColumnSpec* columns, int column);
