// The rows of one compare view and the order in which the list shows them.
//
// The list view asks for every cell's text when it needs it, so a sort only
// reorders this table: the list's own sort moves its items with a cost that
// grows with the square of the rows moved on some systems.
#pragma once

#include <string>
#include <vector>

#include "compare/compare_merge.h"

class CompareView {
public:
    explicit CompareView(std::vector<CompareRow> rows);

    int RowCount() const { return static_cast<int>(rows_.size()); }
    // The text of a cell at a list position; empty outside the table.
    const std::string& CellText(int position, int column) const;
    // Sorts ascending by the column (see SortedOrder) and returns where each
    // position's row went: element p is the new position of the row that
    // stood at position p.
    std::vector<int> Sort(int column, bool caseSensitive);

private:
    std::vector<CompareRow> rows_;
    std::vector<int> rowAt_;  // list position -> row of rows_
};
