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

TEST(SortedOrder, EqualCellsKeepTheirOrderAmongHundredsOfEqualKeys) {
    // 600 rows under three keys in turn, each carrying its old position: an
    // unstable sort reorders rows of one key visibly at this size.
    const char* keys[] = {"b", "A", "a"};
    std::vector<const char*> cells;
    for (int i = 0; i < 600; ++i) {
        cells.push_back(keys[i % 3]);
    }
    const std::vector<int> order = SortedOrder(cells, false);
    ASSERT_EQ(order.size(), 600u);
    // "A" and "a" are one key ignoring case: positions 1, 2, 4, 5, ... in turn.
    for (int r = 0; r < 400; ++r) {
        EXPECT_EQ(order[r], (r / 2) * 3 + 1 + r % 2) << "rank " << r;
    }
    for (int r = 400; r < 600; ++r) {
        EXPECT_EQ(order[r], (r - 400) * 3) << "rank " << r;
    }
    const std::vector<int> sensitive = SortedOrder(cells, true);
    EXPECT_EQ(sensitive[0], 1);
    EXPECT_EQ(sensitive[199], 598);
    EXPECT_EQ(sensitive[200], 2);
    EXPECT_EQ(sensitive[400], 0);
    EXPECT_EQ(sensitive[599], 597);
}

}  // namespace
