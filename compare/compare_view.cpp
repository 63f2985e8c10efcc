#include "compare/compare_view.h"

#include <numeric>
#include <utility>

#include "compare/sort_order.h"
#include "report/column_sets.h"

namespace {

const std::string kEmpty;
const std::string kDifferent = "Different";

}  // namespace

const std::string& CompareCellText(const CompareRow& row, int column) {
    switch (column) {
        case kCompareNameColumn:
            return row.name;
        case kCompareValueColumn:
            return row.value;
        case kCompareTypeColumn:
            return row.type;
        case kCompareFirstStateColumn:
            return row.state1;
        case kCompareSecondStateColumn:
            return row.state2;
        case kCompareResultColumn:
            return row.different ? kDifferent : kEmpty;
        default:
            return kEmpty;
    }
}

CompareView::CompareView(std::vector<CompareRow> rows)
    : rows_(std::move(rows)), counts_(CountRows(rows_)), order_(rows_.size()) {
    std::iota(order_.begin(), order_.end(), 0);
    Show();
}

void CompareView::Show() {
    shown_.clear();
    shown_.reserve(order_.size());
    for (int row : order_) {
        if (!differencesOnly_ || rows_[row].different) {
            shown_.push_back(row);
        }
    }
}

const CompareRow* CompareView::RowAt(int position) const {
    if (position < 0 || position >= RowCount()) {
        return nullptr;
    }
    return &rows_[shown_[position]];
}

const std::string& CompareView::CellText(int position, int column) const {
    const CompareRow* row = RowAt(position);
    return row ? CompareCellText(*row, column) : kEmpty;
}

namespace {

// Where each row stands in a list of positions; -1 where it does not.
std::vector<int> PositionsOfRows(const std::vector<int>& shown, size_t rowCount) {
    std::vector<int> positionOf(rowCount, -1);
    for (size_t position = 0; position < shown.size(); ++position) {
        positionOf[shown[position]] = static_cast<int>(position);
    }
    return positionOf;
}

std::vector<int> NewPositions(const std::vector<int>& oldShown, const std::vector<int>& newShown,
                              size_t rowCount) {
    const std::vector<int> newPositionOfRow = PositionsOfRows(newShown, rowCount);
    std::vector<int> newPositionOf(oldShown.size());
    for (size_t position = 0; position < oldShown.size(); ++position) {
        newPositionOf[position] = newPositionOfRow[oldShown[position]];
    }
    return newPositionOf;
}

}  // namespace

std::vector<int> CompareView::Sort(int column, bool caseSensitive) {
    std::vector<const char*> cells(order_.size());
    for (size_t rank = 0; rank < order_.size(); ++rank) {
        cells[rank] = CompareCellText(rows_[order_[rank]], column).c_str();
    }
    const std::vector<int> sorted = SortedOrder(cells, caseSensitive);
    std::vector<int> order(sorted.size());
    for (size_t rank = 0; rank < sorted.size(); ++rank) {
        order[rank] = order_[sorted[rank]];
    }
    order_ = std::move(order);
    const std::vector<int> oldShown = std::move(shown_);
    Show();
    return NewPositions(oldShown, shown_, rows_.size());
}

std::vector<int> CompareView::ShowDifferencesOnly(bool differencesOnly) {
    const std::vector<int> oldShown = shown_;
    differencesOnly_ = differencesOnly;
    Show();
    return NewPositions(oldShown, shown_, rows_.size());
}

int CompareView::NextDifference(int from, int direction) const {
    const int step = direction < 0 ? -1 : 1;
    for (int position = from + step; position >= 0 && position < RowCount(); position += step) {
        if (rows_[shown_[position]].different) {
            return position;
        }
    }
    return -1;
}
