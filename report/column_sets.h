// The three column layouts of the report list and their log field widths.
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

int CountColumns(const ColumnSpec* columns);
// The log field width of a column, 0 for a column outside the set.
int LogFieldWidthOf(const ColumnSpec* columns, int column);
