#include "compare/sort_highlight_win.h"

#include <vector>

#include "compare/compare_state_win.h"
#include "compare/compare_view_win.h"
#include "platform/list_view_win.h"
#include "res/resource.h"

namespace {

std::vector<int> ListPositions(HWND list, UINT flags) {
    std::vector<int> positions;
    const ListView view(list);
    for (int position = view.NextItem(-1, flags); position >= 0;
         position = view.NextItem(position, flags)) {
        positions.push_back(position);
    }
    return positions;
}

void SetListState(HWND list, int position, UINT state, UINT mask) {
    ListView(list).SetItemState(position, state, mask);
}

}  // namespace

// The rows are reordered in the view's own table, with the comparison of at
// most 127 characters per cell; rows that compare equal keep their order. The
// list asks for the texts at each position, so it only needs a repaint; what
// it keeps per position (selection and focus) and the search hits follow
// their rows.
void SortCompareView(HWND dialog, int column) {
    CompareView* view = CompareViewOf(dialog);
    if (view == nullptr) {
        return;
    }
    const bool caseSensitive = SendDlgItemMessageA(g_compareDialog, IDC_SORT_CASE_SENSITIVE,
                                                   BM_GETCHECK, 0, 0) == BST_CHECKED;
    HWND list = GetDlgItem(dialog, IDC_REPORT_LIST);
    const std::vector<int> selected = ListPositions(list, LVNI_SELECTED);
    const std::vector<int> focused = ListPositions(list, LVNI_FOCUSED);
    const std::vector<int> newPositionOf = view->Sort(column, caseSensitive);
    for (int position : selected) {
        SetListState(list, position, 0, LVIS_SELECTED);
    }
    for (int position : focused) {
        SetListState(list, position, 0, LVIS_FOCUSED);
    }
    for (int position : selected) {
        SetListState(list, newPositionOf[position], LVIS_SELECTED, LVIS_SELECTED);
    }
    for (int position : focused) {
        SetListState(list, newPositionOf[position], LVIS_FOCUSED, LVIS_FOCUSED);
    }
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
