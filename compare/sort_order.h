// Order of the compare view's rows when the user sorts by a column.
#pragma once

#include <vector>

// The list hands a sort at most this many characters of a cell.
constexpr int kSortTextLimit = 127;

// Compares two zero-terminated cell texts on at most their first kSortTextLimit
// characters. Case-insensitive: the letters A to Z count as a to z (nothing else
// is folded), then bytes compare as unsigned values. Case-sensitive: unsigned
// bytes. Returns -1, 0 or 1.
int CompareSortTexts(const char* a, const char* b, bool caseSensitive);

// The ascending order of the cells of one column, given by their positions:
// element r is the position of the row that comes r-th. Rows whose cells
// compare equal keep their order, so a second click on the same header leaves
// the view as it is.
std::vector<int> SortedOrder(const std::vector<const char*>& cells, bool caseSensitive);
