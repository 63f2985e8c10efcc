// The hits of the last search in the compare view: which rows matched, in which
// column, and which hit "Next" shows next.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// Column bits of a hit.
constexpr int32_t kSearchColumnName = 1;   // list column 0
constexpr int32_t kSearchColumnValue = 2;  // list column 1

struct MatchEntry {
    int32_t row;        // the row's position in the list
    int32_t columnBit;  // kSearchColumnName or kSearchColumnValue
};

class MatchList {
public:
    static constexpr int kCapacity = 1024;

    // Forgets all hits and points the hit index at the first entry.
    void Clear();
    // Records a hit. A full list keeps its first kCapacity hits (the upper rows)
    // and drops the rest; returns false then, so the search may stop early.
    bool Append(int32_t row, int32_t columnBit);

    bool HasHits() const { return hitCount_ > 0; }
    int hitCount() const { return hitCount_; }
    int hitIndex() const { return hitIndex_; }
    // The hit that the next showing displays; empty while there is no hit, so
    // "Next" then has nothing to show.
    std::optional<MatchEntry> CurrentHit() const;
    // Moves to the following hit; on the last hit it stays there.
    void Advance();
    // The rows have moved (a sort): newPositionOf[old position] is each row's
    // new position. The hits follow their rows and are put in the new row order
    // (a row's "Name" hit before its "Value" hit), and "Next" starts again from
    // the first of them. Hits whose row has no new position (none given, or -1:
    // the row is no longer shown) are dropped.
    void FollowMovedRows(const std::vector<int>& newPositionOf);
    // Whether any of the recorded hits lies in this row, whatever its column.
    bool RowIsHit(int32_t row) const;

private:
    MatchEntry entries_[kCapacity] = {};
    int hitCount_ = 0;
    int hitIndex_ = 0;
};
