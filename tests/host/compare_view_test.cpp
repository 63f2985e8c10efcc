#include "compare/compare_view.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Rows named by a letter; '*' after it marks the row "Different".
CompareView ViewOf(const std::string& rows) {
    std::vector<CompareRow> made;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i] == '*') {
            continue;
        }
        CompareRow row;
        row.name = std::string(1, rows[i]);
        row.state1 = "s";
        row.different = i + 1 < rows.size() && rows[i + 1] == '*';
        made.push_back(row);
    }
    return CompareView(made);
}

std::string Names(const CompareView& view) {
    std::string names;
    for (int p = 0; p < view.RowCount(); ++p) {
        names += view.CellText(p, 0);
    }
    return names;
}

TEST(CompareView, DifferencesOnlyKeepsTheOrderAndSaysWhereEachRowWent) {
    CompareView view = ViewOf("db*ec*a");
    EXPECT_EQ(view.Sort(0, false), (std::vector<int>{3, 1, 4, 2, 0}));
    EXPECT_EQ(Names(view), "abcde");
    EXPECT_EQ(view.ShowDifferencesOnly(true), (std::vector<int>{-1, 0, 1, -1, -1}));
    EXPECT_EQ(Names(view), "bc");
    EXPECT_EQ(view.HiddenCount(), 3);
    // A sort while filtered orders every row; the filtered ones come back in it.
    EXPECT_EQ(view.Sort(0, false), (std::vector<int>{0, 1}));
    EXPECT_EQ(view.ShowDifferencesOnly(false), (std::vector<int>{1, 2}));
    EXPECT_EQ(Names(view), "abcde");
    EXPECT_EQ(view.HiddenCount(), 0);
    // Outside the rows shown there is no cell.
    EXPECT_EQ(view.CellText(5, 0), "");
    EXPECT_EQ(view.CellText(-1, 0), "");
    EXPECT_EQ(view.RowAt(5), nullptr);
    EXPECT_EQ(view.CellText(1, 5), "Different");
    EXPECT_EQ(view.CellText(0, 5), "");
}

TEST(CompareView, NextDifferenceFromAnyPlaceInEitherDirection) {
    const CompareView view = ViewOf("ab*cd*e");
    const struct {
        int from, direction, expected;
    } cases[] = {
        {-1, 1, 1}, {0, 1, 1},   {1, 1, 3},  {3, 1, -1},   {5, -1, 3},
        {3, -1, 1}, {1, -1, -1}, {4, -1, 3}, {99, -1, -1}, {-99, 1, -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(view.NextDifference(c.from, c.direction), c.expected)
            << c.from << " " << c.direction;
    }
    EXPECT_EQ(ViewOf("abc").NextDifference(-1, 1), -1);
}

}  // namespace
