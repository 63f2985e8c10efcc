#include "compare/sort_order.h"

#include <algorithm>
#include <numeric>

#include "platform/ascii_case.h"

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

std::vector<int> SortedOrder(const std::vector<const char*>& cells, bool caseSensitive) {
    std::vector<int> order(cells.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return CompareSortTexts(cells[a], cells[b], caseSensitive) < 0;
    });
    return order;
}
