#include "compare/compare_view.h"

#include <numeric>
#include <utility>

#include "compare/sort_order.h"

namespace {

const std::string kEmpty;
const std::string kDifferent = "Different";

const std::string& TextOf(const CompareRow& row, int column) {
    switch (column) {
        case 0:
            return row.name;
        case 1:
            return row.value;
        case 2:
            return row.type;
        case 3:
            return row.state1;
        case 4:
            return row.state2;
        case 5:
            return row.different ? kDifferent : kEmpty;
        default:
            return kEmpty;
    }
}

}  // namespace

CompareView::CompareView(std::vector<CompareRow> rows)
    : rows_(std::move(rows)), rowAt_(rows_.size()) {
    std::iota(rowAt_.begin(), rowAt_.end(), 0);
}

const std::string& CompareView::CellText(int position, int column) const {
    if (position < 0 || position >= RowCount()) {
        return kEmpty;
    }
    return TextOf(rows_[rowAt_[position]], column);
}

std::vector<int> CompareView::Sort(int column, bool caseSensitive) {
    std::vector<const char*> cells(rows_.size());
    for (size_t p = 0; p < rowAt_.size(); ++p) {
        cells[p] = TextOf(rows_[rowAt_[p]], column).c_str();
    }
    const std::vector<int> order = SortedOrder(cells, caseSensitive);
    std::vector<int> newPositionOf(order.size());
    std::vector<int> rowAt(order.size());
    for (size_t rank = 0; rank < order.size(); ++rank) {
        newPositionOf[order[rank]] = static_cast<int>(rank);
        rowAt[rank] = rowAt_[order[rank]];
    }
    rowAt_ = std::move(rowAt);
    return newPositionOf;
}
