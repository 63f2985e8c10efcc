#include "compare/sort_highlight_win.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

#include "compare/compare_state_win.h"
#include "compare/sort_order.h"
#include "res/resource.h"

namespace {

std::string CellText(HWND list, int row, int column) {
    char text[kSortTextLimit + 1] = {};
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    // The list may point the record at its own copy of the text.
    return item.pszText ? std::string(item.pszText).substr(0, kSortTextLimit) : std::string();
}

int CALLBACK CompareByRank(LPARAM rankA, LPARAM rankB, LPARAM) {
    return rankA < rankB ? -1 : (rankA > rankB ? 1 : 0);
}

}  // namespace

// The order is worked out here, once per click, with the same comparison of
// at most 127 characters per cell; rows that compare equal keep their order.
// The list view then only moves its items to their ranks: asking it to sort
// by a text comparison would cost a search for each item's position on every
// comparison, and its order of equal rows is not guaranteed.
void SortCompareView(HWND list, int column) {
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    const bool caseSensitive = SendDlgItemMessageA(g_compareDialog, IDC_SORT_CASE_SENSITIVE,
                                                   BM_GETCHECK, 0, 0) == BST_CHECKED;
    std::vector<std::string> texts(count);
    for (int row = 0; row < count; ++row) {
        texts[row] = CellText(list, row, column);
    }
    std::vector<int> order(count);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return CompareSortTexts(texts[a].c_str(), texts[b].c_str(), caseSensitive) < 0;
    });
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    for (int rank = 0; rank < count; ++rank) {
        item.iItem = order[rank];
        item.lParam = rank;
        SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(list, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(CompareByRank));
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
