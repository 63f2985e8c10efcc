#include "compare/match_list.h"

#include <gtest/gtest.h>

namespace {

TEST(MatchList, StartsWithoutHitsAndNextHasNothingToShow) {
    MatchList list;
    EXPECT_FALSE(list.HasHits());
    EXPECT_FALSE(list.CurrentHit().has_value());
    list.Advance();
    EXPECT_FALSE(list.CurrentHit().has_value());
    EXPECT_EQ(list.hitIndex(), 0);
    EXPECT_FALSE(list.RowIsHit(0));
}

TEST(MatchList, StepsThroughHitsAndStaysOnTheLast) {
    MatchList list;
    list.Append(3, kSearchColumnName);
    list.Append(3, kSearchColumnValue);
    list.Append(9, kSearchColumnValue);
    ASSERT_EQ(list.hitCount(), 3);

    const int expectedRows[] = {3, 3, 9, 9, 9};
    const int expectedColumns[] = {1, 2, 2, 2, 2};
    for (int step = 0; step < 5; ++step) {
        const auto hit = list.CurrentHit();
        ASSERT_TRUE(hit.has_value());
        EXPECT_EQ(hit->row, expectedRows[step]) << "step " << step;
        EXPECT_EQ(hit->columnBit, expectedColumns[step]) << "step " << step;
        list.Advance();
    }
    EXPECT_EQ(list.hitIndex(), 2);
}

TEST(MatchList, ClearForgetsHitsAndRestartsAtTheFirst) {
    MatchList list;
    list.Append(1, kSearchColumnName);
    list.Append(2, kSearchColumnName);
    list.Advance();
    list.Clear();
    EXPECT_FALSE(list.HasHits());
    EXPECT_FALSE(list.RowIsHit(1));
    EXPECT_FALSE(list.CurrentHit().has_value());

    list.Append(7, kSearchColumnValue);
    ASSERT_TRUE(list.CurrentHit().has_value());
    EXPECT_EQ(list.CurrentHit()->row, 7);
}

TEST(MatchList, KeepsTheFirst1024HitsWhenFull) {
    MatchList list;
    for (int row = 0; row < MatchList::kCapacity; ++row) {
        EXPECT_TRUE(list.Append(row, kSearchColumnName));
    }
    EXPECT_FALSE(list.Append(5000, kSearchColumnName));
    EXPECT_FALSE(list.Append(5001, kSearchColumnValue));
    EXPECT_EQ(list.hitCount(), 1024);
    EXPECT_TRUE(list.RowIsHit(1023));
    EXPECT_FALSE(list.RowIsHit(5000));

    for (int step = 0; step < 2000; ++step) {
        list.Advance();
    }
    ASSERT_TRUE(list.CurrentHit().has_value());
    EXPECT_EQ(list.CurrentHit()->row, 1023);
}

TEST(MatchList, RowIsHitLooksOnlyAtValidEntries) {
    MatchList list;
    list.Append(4, kSearchColumnName);
    list.Append(6, kSearchColumnValue);
    list.Clear();
    list.Append(8, kSearchColumnValue);
    // Rows 4 and 6 are still in the storage behind the hit count.
    EXPECT_FALSE(list.RowIsHit(4));
    EXPECT_FALSE(list.RowIsHit(6));
    EXPECT_TRUE(list.RowIsHit(8));
}

}  // namespace

TEST(MatchList, HitsFollowTheirRowsAndThoseNoLongerShownGo) {
    MatchList list;
    list.Append(0, kSearchColumnName);
    list.Append(2, kSearchColumnValue);
    list.Append(2, kSearchColumnName);
    list.Append(3, kSearchColumnName);
    list.Advance();
    // Row 0 moves to 3, row 2 to 0; row 3 is hidden (-1); row 1 had no hit.
    list.FollowMovedRows({3, 1, 0, -1});
    ASSERT_EQ(list.hitCount(), 3);
    EXPECT_EQ(list.hitIndex(), 0);
    const std::vector<std::pair<int, int>> expected = {
        {0, kSearchColumnName}, {0, kSearchColumnValue}, {3, kSearchColumnName}};
    for (const auto& hit : expected) {
        const std::optional<MatchEntry> entry = list.CurrentHit();
        ASSERT_TRUE(entry);
        EXPECT_EQ(entry->row, hit.first);
        EXPECT_EQ(entry->columnBit, hit.second);
        list.Advance();
    }
    EXPECT_FALSE(list.RowIsHit(1));
    EXPECT_FALSE(list.RowIsHit(-1));
}
