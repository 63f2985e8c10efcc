// Order of the compare view's rows when the user sorts by a column.
#pragma once

// The list hands a sort at most this many characters of a cell.
constexpr int kSortTextLimit = 127;

// Compares two zero-terminated cell texts on at most their first kSortTextLimit
// characters. Case-insensitive: the letters A to Z count as a to z (nothing else
// is folded), then bytes compare as unsigned values. Case-sensitive: unsigned
// bytes. Returns -1, 0 or 1.
int CompareSortTexts(const char* a, const char* b, bool caseSensitive);

// Like CompareSortTexts, but rows with equal texts keep their order from before
// the sort: the row that stood higher stays higher. rowA and rowB are the
// positions the rows had when the sort began.
int CompareSortRows(const char* textA, int rowA, const char* textB, int rowB, bool caseSensitive);
