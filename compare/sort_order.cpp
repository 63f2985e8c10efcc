#include "compare/sort_order.h"

namespace {

unsigned char FoldAsciiLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

}  // namespace

int CompareSortTexts(const char* a, const char* b, bool caseSensitive) {
    for (int i = 0; i < kSortTextLimit; ++i) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        if (!caseSensitive) {
            ca = FoldAsciiLetter(ca);
            cb = FoldAsciiLetter(cb);
        }
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
        if (ca == '\0') {
            return 0;
        }
    }
    return 0;
}

int CompareSortRows(const char* textA, int rowA, const char* textB, int rowB, bool caseSensitive) {
    // The list view's own sort need not be stable; breaking ties by the earlier
    // position makes equal rows keep their order, so a second click on the same
    // header leaves the list exactly as it is.
    const int byText = CompareSortTexts(textA, textB, caseSensitive);
    if (byText != 0) {
        return byText;
    }
    return (rowA < rowB) ? -1 : (rowA > rowB ? 1 : 0);
}
