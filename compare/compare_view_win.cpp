#include "compare/compare_view_win.h"

#include <memory>
#include <utility>

#include "platform/ascii_case.h"
#include "compare/compare_state_win.h"
#include "compare/comparison_reports.h"
#include "compare/folder_compare.h"
#include "platform/handles_win.h"
#include "platform/list_view_win.h"
#include "report/list_copy_win.h"
#include "report/report_keys_win.h"
#include "report/report_list_win.h"
#include "report/save_report_win.h"
#include "res/resource.h"

namespace {

const char kViewProperty[] = "VorlixCompareView";

// Markers in front of each row's name, so that a row found in one log only
// can be told at a glance from one whose values differ.
enum Marker { kNoMarker, kOnlyFirstMarker, kOnlySecondMarker, kChangedMarker, kMarkerCount };
constexpr int kMarkerSize = 16;

struct OpenView {
    explicit OpenView(std::vector<CompareRow> rows) : view(std::move(rows)) {}
    CompareView view;
    TwoLogsSubject subject;
    std::string names;
    UniqueImageList markers;
};

OpenView* OpenViewOf(HWND dialog) {
    return static_cast<OpenView*>(GetPropA(dialog, kViewProperty));
}

HWND ListOf(HWND dialog) {
    return GetDlgItem(dialog, IDC_REPORT_LIST);
}

// Beside "Sort case sensitive": the filter (place in dialog units).
void MakeStatusControls(HWND dialog) {
    MakeCompareLines(dialog);
    AddDialogControl(dialog, "BUTTON", "Differences only", BS_AUTOCHECKBOX | WS_TABSTOP,
                     IDC_DIFFERENCES_ONLY, {562, 390, 654, 400});
    AddSaveReportButton(dialog);
}

void DrawMarker(HDC dc, int index, COLORREF colour, const char* text) {
    const RECT box = {index * kMarkerSize + 1, 1, index * kMarkerSize + kMarkerSize - 1,
                      kMarkerSize - 1};
    UniqueGdiObject brush(CreateSolidBrush(colour));
    FillRect(dc, &box, static_cast<HBRUSH>(brush.Get()));
    RECT textBox = box;
    DrawTextA(dc, text, -1, &textBox, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// Images drawn here rather than stored: a "1" for a row of the first log only,
// a "2" for one of the second log only, a "!" for a row whose values differ.
UniqueImageList MakeMarkers(HWND dialog) {
    UniqueImageList markers(
        ImageList_Create(kMarkerSize, kMarkerSize, ILC_COLOR24 | ILC_MASK, kMarkerCount, 0));
    HDC screen = GetDC(dialog);
    UniqueMemoryDc dc(CreateCompatibleDC(screen));
    UniqueGdiObject bitmap(CreateCompatibleBitmap(screen, kMarkerSize * kMarkerCount, kMarkerSize));
    ReleaseDC(dialog, screen);
    if (!markers || !dc || !bitmap) {
        return UniqueImageList();
    }
    const COLORREF transparent = RGB(255, 0, 255);
    const HGDIOBJ oldBitmap = SelectObject(dc.Get(), bitmap.Get());
    const HGDIOBJ oldFont =
        SelectObject(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
    const RECT all = {0, 0, kMarkerSize * kMarkerCount, kMarkerSize};
    UniqueGdiObject background(CreateSolidBrush(transparent));
    FillRect(dc.Get(), &all, static_cast<HBRUSH>(background.Get()));
    SetBkMode(dc.Get(), TRANSPARENT);
    SetTextColor(dc.Get(), RGB(255, 255, 255));
    DrawMarker(dc.Get(), kOnlyFirstMarker, RGB(0, 90, 200), "1");
    DrawMarker(dc.Get(), kOnlySecondMarker, RGB(200, 100, 0), "2");
    DrawMarker(dc.Get(), kChangedMarker, RGB(160, 0, 160), "!");
    SelectObject(dc.Get(), oldFont);
    SelectObject(dc.Get(), oldBitmap);
    ImageList_AddMasked(markers.Get(), static_cast<HBITMAP>(bitmap.Get()), transparent);
    return markers;
}

int MarkerOf(const CompareRow& row) {
    if (!row.different) {
        return kNoMarker;
    }
    if (!row.inSecond) {
        return kOnlyFirstMarker;
    }
    return row.inFirst ? kChangedMarker : kOnlySecondMarker;
}

std::string LogNameWithNotes(const char* label, const std::string& name,
                             const LogReadingNotes& notes) {
    std::string text = std::string(label) + name;
    if (notes.Any()) {
        text += " (" + DescribeReadingNotes(notes) + ")";
    }
    return text;
}

void ShowCounts(HWND dialog, const CompareView& view) {
    std::string text = DescribeCounts(view.Counts());
    if (view.DifferencesOnly()) {
        text += "; Differences only: " + std::to_string(view.HiddenCount()) +
                (view.HiddenCount() == 1 ? " row hidden" : " rows hidden");
    }
    SetDlgItemTextA(dialog, IDC_COMPARE_COUNTS, text.c_str());
}

std::vector<int> ListPositions(HWND list, UINT flags) {
    std::vector<int> positions;
    const ListView view(list);
    for (int position = view.NextItem(-1, flags); position >= 0;
         position = view.NextItem(position, flags)) {
        positions.push_back(position);
    }
    return positions;
}

// Clears the states row by row: clearing every row at once costs as much as
// the list is long, however few rows are selected.
void ClearStates(const ListView& list, const std::vector<int>& selected,
                 const std::vector<int>& focused, int count) {
    if (count > 0 && static_cast<int>(selected.size()) == count) {
        list.SetItemState(-1, 0, LVIS_SELECTED);
    } else {
        for (int position : selected) {
            list.SetItemState(position, 0, LVIS_SELECTED);
        }
    }
    for (int position : focused) {
        list.SetItemState(position, 0, LVIS_FOCUSED);
    }
}

std::string CopiedCellText(HWND list, int row, int column) {
    const CompareView* view = CompareViewOf(GetParent(list));
    return view ? view->CellText(row, column) : std::string();
}

}  // namespace

// Under the list: what is compared; at the foot of the dialog: the counts.
void MakeCompareLines(HWND dialog) {
    const DWORD style = SS_LEFTNOWORDWRAP | SS_NOPREFIX;
    AddDialogControl(dialog, "STATIC", "", style, IDC_COMPARE_NAMES, {17, 353, 658, 361});
    AddDialogControl(dialog, "STATIC", "", style, IDC_COMPARE_COUNTS, {18, 430, 590, 438});
}

void AttachCompareView(HWND dialog, CompareKind kind, ComparedLogs logs,
                       const std::string& firstName, const std::string& secondName) {
    DetachCompareView(dialog);
    std::unique_ptr<OpenView> open(new OpenView(std::move(logs.rows)));
    open->subject = SubjectOf(kind, firstName, secondName, logs);
    open->names =
        LogNameWithNotes("First log: ", firstName, NotesToSay(firstName, logs.firstNotes)) +
        "    " +
        LogNameWithNotes("Second log: ", secondName, NotesToSay(secondName, logs.secondNotes));

    HWND list = ReplaceWithVirtualList(dialog, IDC_REPORT_LIST);
    g_reportList = list;
    const ListView view(list);
    view.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    LVCOLUMNA column;
    InsertColumnSet(list, kServiceColumns, column);
    open->markers = MakeMarkers(dialog);
    if (open->markers) {
        view.SetSmallImageList(open->markers.Get());
    }
    SetListCellSource(list, CopiedCellText);
    MakeStatusControls(dialog);
    EnableReportKeys(dialog);
    SetDlgItemTextA(dialog, IDC_COMPARE_NAMES, open->names.c_str());
    ShowCounts(dialog, open->view);
    view.SetItemCount(open->view.RowCount());
    SetPropA(dialog, kViewProperty, open.release());
}

void SaveCompareReport(HWND dialog) {
    const OpenView* open = OpenViewOf(dialog);
    if (open == nullptr) {
        return;
    }
    SaveReportAs(dialog, "Vorlix comparison.html",
                 {open->subject.firstPath, open->subject.secondPath},
                 [&] { return TwoLogsReport(open->subject, open->view.Rows()); });
}

CompareView* CompareViewOf(HWND dialog) {
    OpenView* open = OpenViewOf(dialog);
    return open ? &open->view : nullptr;
}

void DetachCompareView(HWND dialog) {
    SetListCellSource(ListOf(dialog), nullptr);
    delete static_cast<OpenView*>(RemovePropA(dialog, kViewProperty));
}

void AnswerCellText(HWND dialog, NMLVDISPINFOA* request) {
    LVITEMA& item = request->item;
    const CompareView* view = CompareViewOf(dialog);
    if ((item.mask & LVIF_IMAGE) && item.iSubItem == 0) {
        const CompareRow* row = view ? view->RowAt(item.iItem) : nullptr;
        item.iImage = row ? MarkerOf(*row) : kNoMarker;
    }
    if (!(item.mask & LVIF_TEXT) || item.pszText == nullptr || item.cchTextMax <= 0) {
        return;
    }
    lstrcpynA(item.pszText, view ? view->CellText(item.iItem, item.iSubItem).c_str() : "",
              item.cchTextMax);
}

int FindRowByName(HWND dialog, const NMLVFINDITEMA* find) {
    const CompareView* view = CompareViewOf(dialog);
    if (view == nullptr || !(find->lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) ||
        find->lvfi.psz == nullptr) {
        return -1;
    }
    const std::string typed = find->lvfi.psz;
    const int count = view->RowCount();
    const int start = find->iStart < 0 || find->iStart >= count ? 0 : find->iStart;
    for (int step = 0; step < count; ++step) {
        const int position = (start + step) % count;
        const std::string& name = view->CellText(position, 0);
        bool starts = name.size() >= typed.size();
        for (size_t i = 0; starts && i < typed.size(); ++i) {
            starts = FoldAsciiLetter(static_cast<unsigned char>(name[i])) ==
                     FoldAsciiLetter(static_cast<unsigned char>(typed[i]));
        }
        if (starts) {
            return position;
        }
    }
    return -1;
}

void FollowMovedRows(HWND dialog, const std::vector<int>& newPositionOf) {
    const CompareView* view = CompareViewOf(dialog);
    HWND list = ListOf(dialog);
    const ListView listView(list);
    const int oldCount = listView.ItemCount();
    const std::vector<int> selected = ListPositions(list, LVNI_SELECTED);
    const std::vector<int> focused = ListPositions(list, LVNI_FOCUSED);
    ClearStates(listView, selected, focused, oldCount);
    const int newCount = view ? view->RowCount() : 0;
    if (newCount != oldCount) {
        listView.SetItemCount(newCount);
    }
    const auto moved = [&](int position) {
        return position >= 0 && static_cast<size_t>(position) < newPositionOf.size()
                   ? newPositionOf[position]
                   : -1;
    };
    // Every row selected stays so in one call: rows one by one would take
    // long in a large list.
    if (oldCount > 0 && static_cast<int>(selected.size()) == oldCount) {
        listView.SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    } else {
        for (int position : selected) {
            if (moved(position) >= 0) {
                listView.SetItemState(moved(position), LVIS_SELECTED, LVIS_SELECTED);
            }
        }
    }
    for (int position : focused) {
        if (moved(position) >= 0) {
            listView.SetItemState(moved(position), LVIS_FOCUSED, LVIS_FOCUSED);
        }
    }
    g_search.matches.FollowMovedRows(newPositionOf);
    InvalidateRect(list, nullptr, TRUE);
}

void ApplyDifferencesOnly(HWND dialog) {
    OpenView* open = OpenViewOf(dialog);
    if (open == nullptr) {
        return;
    }
    const bool on =
        SendDlgItemMessageA(dialog, IDC_DIFFERENCES_ONLY, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (on == open->view.DifferencesOnly()) {
        return;
    }
    FollowMovedRows(dialog, open->view.ShowDifferencesOnly(on));
    ShowCounts(dialog, open->view);
}

bool SelectDifference(HWND dialog, UINT key) {
    const CompareView* view = CompareViewOf(dialog);
    if (view == nullptr) {
        return false;
    }
    HWND list = ListOf(dialog);
    const ListView listView(list);
    const int focused = listView.NextItem(-1, LVNI_FOCUSED);
    int target;
    switch (key) {
        case VK_DOWN:
            target = view->NextDifference(focused, 1);
            break;
        case VK_UP:
            target = view->NextDifference(focused < 0 ? view->RowCount() : focused, -1);
            break;
        case VK_HOME:
            target = view->NextDifference(-1, 1);
            break;
        case VK_END:
            target = view->NextDifference(view->RowCount(), -1);
            break;
        default:
            return false;
    }
    if (target >= 0) {
        ClearStates(listView, ListPositions(list, LVNI_SELECTED), {}, listView.ItemCount());
        listView.SetItemState(target, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        listView.EnsureVisible(target);
    }
    return true;
}
