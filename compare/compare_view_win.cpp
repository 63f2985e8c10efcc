#include "compare/compare_view_win.h"

#include <utility>

#include "platform/list_view_win.h"
#include "res/resource.h"

namespace {

const char kViewProperty[] = "VorlixCompareView";

}  // namespace

void AttachCompareView(HWND dialog, std::vector<CompareRow> rows) {
    DetachCompareView(dialog);
    CompareView* view = new CompareView(std::move(rows));
    SetPropA(dialog, kViewProperty, view);

    const ListView list(GetDlgItem(dialog, IDC_REPORT_LIST));
    list.SetRedraw(false);
    list.SetItemCount(view->RowCount());
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.pszText = LPSTR_TEXTCALLBACKA;
    for (int row = 0; row < view->RowCount(); ++row) {
        item.iItem = row;
        item.iSubItem = 0;
        // Every cell asks for its text, since after a sort any row's text may
        // stand here; a cell that was never set asks like a callback item's
        // first cell, so one insertion per row is all the list needs.
        list.InsertItem(item);
    }
    list.SetRedraw(true);
}

CompareView* CompareViewOf(HWND dialog) {
    return static_cast<CompareView*>(GetPropA(dialog, kViewProperty));
}

void DetachCompareView(HWND dialog) {
    delete static_cast<CompareView*>(RemovePropA(dialog, kViewProperty));
}

void AnswerCellText(HWND dialog, NMLVDISPINFOA* request) {
    LVITEMA& item = request->item;
    if (!(item.mask & LVIF_TEXT) || item.pszText == nullptr || item.cchTextMax <= 0) {
        return;
    }
    const CompareView* view = CompareViewOf(dialog);
    lstrcpynA(item.pszText, view ? view->CellText(item.iItem, item.iSubItem).c_str() : "",
              item.cchTextMax);
}
