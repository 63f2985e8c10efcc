#include "compare/search_win.h"

#include <commctrl.h>

#include <cstring>
#include <string>

#include "compare/compare_state_win.h"
#include "compare/compare_view_win.h"
#include "platform/list_view_win.h"
#include "platform/message_box_win.h"
#include "res/resource.h"

namespace {

constexpr int kRowsAboveHit = 10;

HWND ListOf(HWND dialog) {
    return GetDlgItem(dialog, IDC_REPORT_LIST);
}

bool IsChecked(HWND dialog, int id) {
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void ShowSearchMessage(HWND dialog, const char* text) {
    ShowMessageBox(dialog, text, kErrorCaption, MB_ICONERROR | MB_OK);
}

void ScrollRows(HWND list, int rows) {
    ListView(list).Scroll(rows * g_search.rowHeight);
}

// A cell as the list shows it: at most 511 characters.
void FetchCell(const CompareView& view, int row, int column, char* text) {
    const std::string& cell = view.CellText(row, column);
    const size_t length = cell.size() < static_cast<size_t>(kSearchStringSize - 1)
                              ? cell.size()
                              : kSearchStringSize - 1;
    std::memcpy(text, cell.data(), length);
    text[length] = '\0';
}

// Scrolls so that ten rows stand above the hit (or the hit is on top), selects
// it and moves on to the next hit.
void ShowHitAndAdvance(HWND dialog) {
    const std::optional<MatchEntry> hit = g_search.matches.CurrentHit();
    // Nothing to show before the first search or after one without hits.
    if (!hit) {
        return;
    }
    HWND list = ListOf(dialog);
    const int top = ListView(list).TopIndex();
    ScrollRows(list, -top);
    const int row = hit->row;
    ScrollRows(list, row > kRowsAboveHit ? row - kRowsAboveHit : row);
    ListView(list).SetItemState(row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    g_search.matches.Advance();
}

}  // namespace

bool SearchRows(int columnBits, HWND dialog) {
    // The rows come from the view itself, never back out of the list: reading
    // every cell of a large list through its messages takes seconds.
    const CompareView* view = CompareViewOf(dialog);
    const int count = view ? view->RowCount() : 0;
    const bool caseSensitive = IsChecked(dialog, IDC_SEARCH_CASE_SENSITIVE);
    CompileSearchPattern(g_search.searchString, g_search.pattern);
    if (!caseSensitive) {
        FoldSearchCase(g_search.searchString);
    }
    static char name[kSearchStringSize];
    static char value[kSearchStringSize];
    for (int row = 0; row < count; ++row) {
        FetchCell(*view, row, 0, name);
        FetchCell(*view, row, 1, value);
        if (!caseSensitive) {
            FoldSearchCase(name);
            FoldSearchCase(value);
        }
        bool room = true;
        if ((columnBits & kSearchColumnName) &&
            MatchSearchPattern(g_search.pattern, g_search.searchString, name, std::strlen(name))) {
            room = g_search.matches.Append(row, kSearchColumnName);
        }
        if (room && (columnBits & kSearchColumnValue) &&
            MatchSearchPattern(g_search.pattern, g_search.searchString, value,
                               std::strlen(value))) {
            room = g_search.matches.Append(row, kSearchColumnValue);
        }
        // The match list keeps the first hits in row order; the rest could
        // not be shown or stepped through anyway.
        if (!room) {
            break;
        }
    }
    return g_search.matches.HasHits();
}

void SearchCompareView(HWND dialog) {
    HWND list = ListOf(dialog);
    RECT bounds = {};
    ListView(list).ItemRect(0, LVIR_BOUNDS, &bounds);
    g_search.rowHeight = bounds.bottom - bounds.top;

    if (SendDlgItemMessageA(dialog, IDC_SEARCH_TEXT, WM_GETTEXT, kSearchStringSize,
                            reinterpret_cast<LPARAM>(g_search.searchString)) == 0) {
        ShowSearchMessage(dialog, "No search string specified!");
        return;
    }
    ListView(list).Scroll(-1024);
    ListView(list).EnsureVisible(0);

    const int columnBits = (IsChecked(dialog, IDC_SEARCH_NAME_COLUMN) ? kSearchColumnName : 0) |
                           (IsChecked(dialog, IDC_SEARCH_VALUE_COLUMN) ? kSearchColumnValue : 0);
    if (columnBits == 0) {
        ShowSearchMessage(dialog, "No search column selected!");
        return;
    }
    g_search.matches.Clear();
    const bool found = SearchRows(columnBits, dialog);
    // The colours follow the match list at each paint: repaint now, so that
    // the hits (or the end of an earlier search's colours) show at once.
    InvalidateRect(list, nullptr, TRUE);
    if (!found) {
        const std::string text = "\"" + std::string(g_search.searchString) + "\" not found";
        ShowSearchMessage(dialog, text.c_str());
        return;
    }
    ShowHitAndAdvance(dialog);
}

void ShowNextHit(HWND dialog) {
    ShowHitAndAdvance(dialog);
}
