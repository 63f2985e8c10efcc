#include "report/column_sets.h"

const ColumnSpec kAnalysisColumns[] = {
    {500, "Name", 90},
    {120, "Value", 80},
    {100, "Result", 30},
    {0, nullptr, 0},
};

const ColumnSpec kExportColumns[] = {
    {500, "Name Fct Call", 30},
    {100, "Result", 30},
    {0, nullptr, 0},
};

const ColumnSpec kServiceColumns[] = {
    {400, "Name", 90},
    {100, "Value", 60},
    {140, "Service Type", 25},
    {100, "Current State 1", 20},
    {100, "Current State 2", 20},
    {100, "Result", 20},
    {0, nullptr, 0},
};

// The diagnosis log pairs by its first field, the rule's code, like the analysis logs.
const ColumnSpec kDiagnosisColumns[] = {
    {130, "Code", 20},       {70, "Outcome", 12},     {460, "Finding", 120},
    {360, "Evidence", 120},  {360, "What to do", 30}, {0, nullptr, 0},
};

const ColumnSpec kSummaryColumns[] = {
    {260, "Log", 1},          {130, "Kind", 1},           {60, "Rows", 1},   {70, "Different", 1},
    {90, "Only in first", 1}, {100, "Only in second", 1}, {360, "Notes", 1}, {0, nullptr, 0},
};

namespace {
bool IsEnd(const ColumnSpec& column) {
    return column.pixelWidth == 0 && column.title == nullptr && column.logFieldWidth == 0;
}
}  // namespace

int CountColumns(const ColumnSpec* columns) {
    int count = 0;
    while (!IsEnd(columns[count])) {
        ++count;
    }
    return count;
}

int LogFieldWidthOf(const ColumnSpec* columns, int column) {
    if (column < 0 || column >= CountColumns(columns)) {
        return 0;
    }
    return columns[column].logFieldWidth;
}
