// The rows of one compare view and the order in which the list shows them.
//
// The list view asks for every cell's text when it needs it, so a sort or the
// "Differences only" filter only changes this table and the list's item count:
// the list's own sort moves its items with a cost that grows with the square of
// the rows moved on some systems, and refilling it row by row is slow.
#pragma once

#include <string>
#include <vector>

#include "compare/compare_logs.h"
#include "compare/compare_merge.h"

// The text of a row's cell as the view shows it (column by CompareColumn).
const std::string& CompareCellText(const CompareRow& row, int column);

class CompareView {
public:
    explicit CompareView(std::vector<CompareRow> rows);

    // The rows shown: all of them, or the "Different" ones only.
    int RowCount() const { return static_cast<int>(shown_.size()); }
    // The text of a cell at a list position; empty outside the rows shown.
    const std::string& CellText(int position, int column) const;
    // The row at a list position, or nullptr outside the rows shown.
    const CompareRow* RowAt(int position) const;

    // Sorts ascending by the column (see SortedOrder) and returns where each
    // position's row went: element p is the new position of the row that
    // stood at position p.
    std::vector<int> Sort(int column, bool caseSensitive);
    // Shows only the rows marked "Different", or all rows again, in the current
    // order. Returns the new position of the row at each old position, -1 for a
    // row that is no longer shown.
    std::vector<int> ShowDifferencesOnly(bool differencesOnly);
    bool DifferencesOnly() const { return differencesOnly_; }
    int HiddenCount() const { return static_cast<int>(rows_.size() - shown_.size()); }

    // The nearest "Different" position after `from` (direction 1) or before it
    // (direction -1); `from` may lie outside the rows (-1, RowCount()) to start at
    // an end. -1 when there is none.
    int NextDifference(int from, int direction) const;

    // Every row in the order the comparison made them, whatever is shown and however sorted:
    // what a report holds.
    const std::vector<CompareRow>& Rows() const { return rows_; }

    // The counts of all rows, whatever is shown.
    const CompareCounts& Counts() const { return counts_; }

private:
    void Show();

    std::vector<CompareRow> rows_;
    CompareCounts counts_;
    std::vector<int> order_;  // rows of rows_ in the sorted order
    std::vector<int> shown_;  // list position -> row of rows_
    bool differencesOnly_ = false;
};
