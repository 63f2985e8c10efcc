#include "compare/sort_highlight_win.h"

#include <vector>

#include "compare/compare_state_win.h"
#include "compare/compare_view_win.h"
#include "res/resource.h"

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
    FollowMovedRows(dialog, view->Sort(column, caseSensitive));
}

LRESULT CompareCustomDraw(NMLVCUSTOMDRAW* draw) {
    // The list hands one record through all cells of a row, and a colour set
    // for one cell stays for the next: the row's own colours, as the list gave
    // them for the row, are put back in the cells that are not highlighted.
    static COLORREF rowText = 0;
    static COLORREF rowBackground = 0;
    switch (draw->nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            rowText = draw->clrText;
            rowBackground = draw->clrTextBk;
            return g_search.matches.HasHits() ? CDRF_NOTIFYSUBITEMDRAW : CDRF_NEWFONT;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
            if (draw->iSubItem >= 3) {
                draw->clrText = rowText;
                draw->clrTextBk = rowBackground;
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
