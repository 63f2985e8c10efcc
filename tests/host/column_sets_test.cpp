#include "report/column_sets.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct ExpectedColumn {
    int pixelWidth;
    std::string title;
    int logFieldWidth;
};

void ExpectColumnSet(const ColumnSpec* columns, const std::vector<ExpectedColumn>& expected) {
    ASSERT_EQ(CountColumns(columns), static_cast<int>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].title);
        ASSERT_NE(columns[i].title, nullptr);
        EXPECT_EQ(columns[i].title, expected[i].title);
        EXPECT_EQ(columns[i].pixelWidth, expected[i].pixelWidth);
        EXPECT_EQ(LogFieldWidthOf(columns, static_cast<int>(i)), expected[i].logFieldWidth);
    }
    // A column outside the set has no width to pad to.
    EXPECT_EQ(LogFieldWidthOf(columns, -1), 0);
    EXPECT_EQ(LogFieldWidthOf(columns, static_cast<int>(expected.size())), 0);
}

TEST(ColumnSets, AnalysisExportAndServiceColumnsEndAtTheirZeroEntry) {
    ExpectColumnSet(kAnalysisColumns, {{500, "Name", 90}, {120, "Value", 80}, {100, "Result", 30}});
    ExpectColumnSet(kExportColumns, {{500, "Name Fct Call", 30}, {100, "Result", 30}});
    ExpectColumnSet(kServiceColumns, {{400, "Name", 90},
                                      {100, "Value", 60},
                                      {140, "Service Type", 25},
                                      {100, "Current State 1", 20},
                                      {100, "Current State 2", 20},
                                      {100, "Result", 20}});
}

}  // namespace
