#include "compare/sort_highlight_win.h"

#include <utility>
#include <string>
#include <vector>

#include "compare/compare_state_win.h"
#include "compare/sort_order.h"
#include "res/resource.h"

namespace {

struct Cell {
    std::string text;
    LPARAM firstPosition;
};

Cell FetchCell(HWND list, int row, int column) {
    char text[kSortTextLimit + 1] = {};
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    // The list may point the record at its own copy of the text.
    return {item.pszText ? std::string(item.pszText).substr(0, kSortTextLimit) : std::string(),
            item.lParam};
}

// Ranks by each row's first position, the parameter it was inserted with.
int CALLBACK CompareByRank(LPARAM firstA, LPARAM firstB, LPARAM ranks) {
    const std::vector<int>& rankOf = *reinterpret_cast<const std::vector<int>*>(ranks);
    const auto rank = [&](LPARAM first) {
        return first >= 0 && static_cast<size_t>(first) < rankOf.size()
                   ? rankOf[static_cast<size_t>(first)]
                   : static_cast<int>(rankOf.size());
    };
    const int a = rank(firstA);
    const int b = rank(firstB);
    return a < b ? -1 : (a > b ? 1 : 0);
}

}  // namespace

// The order is worked out here, once per click, with the same comparison of
// at most 127 characters per cell; rows that compare equal keep their order.
// The list view then only moves its items to their ranks, which it finds
// through the parameter each row was inserted with: asking it to sort by a
// text comparison would cost two text fetches per comparison, and setting a
// new parameter on every row costs a notification and a repaint check per
// row on every click.
void SortCompareView(HWND list, int column) {
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    const bool caseSensitive = SendDlgItemMessageA(g_compareDialog, IDC_SORT_CASE_SENSITIVE,
                                                   BM_GETCHECK, 0, 0) == BST_CHECKED;
    std::vector<std::string> texts(count);
    std::vector<LPARAM> firstPositions(count);
    for (int row = 0; row < count; ++row) {
        Cell cell = FetchCell(list, row, column);
        texts[row] = std::move(cell.text);
        firstPositions[row] = cell.firstPosition;
    }
    const std::vector<int> order = SortedOrder(texts, caseSensitive);
    std::vector<int> rankOfFirst(count, count);
    std::vector<int> newPositionOf(count);
    for (int rank = 0; rank < count; ++rank) {
        const LPARAM first = firstPositions[order[rank]];
        if (first >= 0 && first < count) {
            rankOfFirst[first] = rank;
        }
        newPositionOf[order[rank]] = rank;
    }
    SendMessageA(list, LVM_SORTITEMS, reinterpret_cast<WPARAM>(&rankOfFirst),
                 reinterpret_cast<LPARAM>(CompareByRank));
    // The hits follow their rows, so the colours and "Next" stay with them.
    g_search.matches.FollowMovedRows(newPositionOf);
    InvalidateRect(list, nullptr, TRUE);
}

LRESULT CompareCustomDraw(NMLVCUSTOMDRAW* draw) {
    switch (draw->nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            return g_search.matches.HasHits() ? CDRF_NOTIFYSUBITEMDRAW : CDRF_NEWFONT;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
            if (draw->iSubItem >= 3) {
                return CDRF_DODEFAULT;
            }
            if (g_search.matches.RowIsHit(static_cast<int32_t>(draw->nmcd.dwItemSpec))) {
                draw->clrText = kHitText;
                draw->clrTextBk = kHitBackground;
            } else {
                draw->clrText = kOtherText;
                draw->clrTextBk = kOtherBackground;
            }
            return CDRF_NEWFONT;
        default:
            return CDRF_DODEFAULT;
    }
}
