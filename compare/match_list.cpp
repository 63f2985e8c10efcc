#include "compare/match_list.h"

#include <algorithm>

void MatchList::Clear() {
    // The hit index only means something while there are hits, and a search with
    // hits starts at the first one, so resetting it here changes nothing visible.
    hitCount_ = 0;
    hitIndex_ = 0;
}

bool MatchList::Append(int32_t row, int32_t columnBit) {
    // Hits past the capacity are not collected: the first 1024 in row order stay,
    // which are the ones "Next" reaches first anyway.
    if (hitCount_ >= kCapacity) {
        return false;
    }
    entries_[hitCount_++] = MatchEntry{row, columnBit};
    return true;
}

std::optional<MatchEntry> MatchList::CurrentHit() const {
    if (hitCount_ == 0) {
        return std::nullopt;
    }
    return entries_[hitIndex_];
}

void MatchList::Advance() {
    if (hitIndex_ < hitCount_ - 1) {
        ++hitIndex_;
    }
}

bool MatchList::RowIsHit(int32_t row) const {
    for (int i = 0; i < hitCount_; ++i) {
        if (entries_[i].row == row) {
            return true;
        }
    }
    return false;
}

void MatchList::FollowMovedRows(const std::vector<int>& newPositionOf) {
    int kept = 0;
    for (int i = 0; i < hitCount_; ++i) {
        const int32_t row = entries_[i].row;
        if (row >= 0 && static_cast<size_t>(row) < newPositionOf.size() &&
            newPositionOf[row] >= 0) {
            entries_[kept++] = MatchEntry{newPositionOf[row], entries_[i].columnBit};
        }
    }
    hitCount_ = kept;
    std::stable_sort(entries_, entries_ + hitCount_, [](const MatchEntry& a, const MatchEntry& b) {
        return a.row != b.row ? a.row < b.row : a.columnBit < b.columnBit;
    });
    hitIndex_ = 0;
}
