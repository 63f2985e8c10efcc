#include "compare/sort_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

int Sign(int value) {
    return (value > 0) - (value < 0);
}

struct TextCase {
    const char* a;
    const char* b;
    int ignoringCase;
    int caseSensitive;
};

TEST(CompareSortTexts, OrdersByUnsignedBytesWithOptionalLetterFolding) {
    const TextCase cases[] = {
        {"abc", "abc", 0, 0},
        {"ABC", "abc", 0, -1},
        {"Zebra", "apple", 1, -1},  // case-sensitive: upper case before lower case
        {"_x", "ax", -1, -1},       // "_" (0x5F) before letters read as lower case
        {"_x", "Ax", -1, 1},        // ... and, when case counts, after upper case
        {"_x", "bx", -1, -1},       // ... but before lower case
        {"", "a", -1, -1},          // an empty cell sorts first
        {"", "", 0, 0},
        {"ab", "abc", -1, -1},
        {"\xE4", "z", 1, 1},       // bytes above 0x7F compare unsigned
        {"\xC4", "\xE4", -1, -1},  // and are never folded
        {"[", "{", -1, -1},        // only A..Z fold, not the brackets
        {"Service Running", "service running", 0, -1},
    };
    for (const TextCase& c : cases) {
        EXPECT_EQ(Sign(CompareSortTexts(c.a, c.b, false)), c.ignoringCase) << c.a << " / " << c.b;
        EXPECT_EQ(Sign(CompareSortTexts(c.b, c.a, false)), -c.ignoringCase) << c.b << " / " << c.a;
        EXPECT_EQ(CompareSortTexts(c.a, c.b, true), c.caseSensitive) << c.a << " / " << c.b;
        EXPECT_EQ(CompareSortTexts(c.b, c.a, true), -c.caseSensitive) << c.b << " / " << c.a;
    }
}

TEST(CompareSortTexts, LooksAtNoMoreThan127Characters) {
    const std::string common(127, 'm');
    EXPECT_EQ(CompareSortTexts((common + "a").c_str(), (common + "b").c_str(), true), 0);
    EXPECT_EQ(CompareSortTexts((common + "a").c_str(), common.c_str(), false), 0);
    const std::string differentAtEnd = common.substr(0, 126) + "n";
    EXPECT_EQ(CompareSortTexts(common.c_str(), differentAtEnd.c_str(), true), -1);
}

struct Row {
    std::string text;
    int position;
};

std::vector<int> SortedPositions(std::vector<Row> rows, bool caseSensitive) {
    std::sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
        return CompareSortRows(a.text.c_str(), a.position, b.text.c_str(), b.position,
                               caseSensitive) < 0;
    });
    std::vector<int> positions;
    for (const Row& row : rows) {
        positions.push_back(row.position);
    }
    return positions;
}

TEST(CompareSortRows, EqualTextsKeepTheirOrder) {
    const std::vector<Row> rows = {
        {"beta", 0}, {"Alpha", 1}, {"alpha", 2}, {"", 3}, {"BETA", 4}, {"alpha", 5},
    };
    EXPECT_EQ(SortedPositions(rows, false), (std::vector<int>{3, 1, 2, 5, 0, 4}));
    EXPECT_EQ(SortedPositions(rows, true), (std::vector<int>{3, 1, 4, 2, 5, 0}));
}

TEST(CompareSortRows, SortingTwiceChangesNothing) {
    std::vector<Row> rows;
    const char* texts[] = {"b", "A", "a", "B", "a", "c", "A", "b"};
    for (int i = 0; i < 8; ++i) {
        rows.push_back({texts[i], i});
    }
    const std::vector<int> once = SortedPositions(rows, false);
    std::vector<Row> reordered;
    for (size_t i = 0; i < once.size(); ++i) {
        reordered.push_back({texts[once[i]], static_cast<int>(i)});
    }
    const std::vector<int> twice = SortedPositions(reordered, false);
    for (size_t i = 0; i < twice.size(); ++i) {
        EXPECT_EQ(twice[i], static_cast<int>(i));
    }
}

TEST(CompareSortRows, ARowEqualsOnlyItself) {
    EXPECT_EQ(CompareSortRows("x", 2, "x", 2, false), 0);
    EXPECT_EQ(CompareSortRows("x", 2, "X", 5, false), -1);
    EXPECT_EQ(CompareSortRows("x", 5, "X", 2, false), 1);
    EXPECT_EQ(CompareSortRows("a", 9, "b", 1, true), -1);
}

}  // namespace
