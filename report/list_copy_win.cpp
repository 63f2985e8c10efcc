#include "report/list_copy_win.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

#include "platform/dialog_guard_win.h"
#include "platform/error_text_win.h"
#include "platform/list_view_win.h"
#include "platform/subclass_win.h"
#include "report/copy_text.h"
#include "res/resource.h"

namespace {

std::string ListCopyText(HWND list);

// The list's own window procedure, kept on the list while the copy
// procedure stands in front of it.
const char kPreviousProcedure[] = "VorlixListCopyPrevious";
const char kCellSource[] = "VorlixListCellSource";

void AppendRow(std::string& text, const ListView& list, HWND handle, int row, int columns) {
    const auto source = reinterpret_cast<ListCellSource>(GetPropA(handle, kCellSource));
    std::vector<std::string> cells;
    for (int column = 0; column < columns; ++column) {
        cells.push_back(source ? source(handle, row, column) : list.CellText(row, column));
    }
    AppendCopyLine(text, cells);
}

// Below the mouse for a right click; at the list's corner (or the focused
// row) when the menu key or Shift+F10 asks for it.
POINT MenuPosition(HWND list, LPARAM position) {
    POINT point = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    // The keyboard form carries -1 in both coordinates.
    if (LOWORD(position) == 0xFFFF && HIWORD(position) == 0xFFFF) {
        RECT row = {};
        const ListView view(list);
        const int focused = view.NextItem(-1, LVNI_FOCUSED);
        if (focused >= 0 && view.ItemRect(focused, LVIR_LABEL, &row)) {
            point.x = row.left;
            point.y = row.bottom;
        } else {
            point.x = 0;
            point.y = 0;
        }
        ClientToScreen(list, &point);
    }
    return point;
}

void ShowCopyMenu(HWND list, LPARAM position) {
    HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_LIST_CONTEXT_MENU));
    if (menu == nullptr) {
        return;
    }
    const POINT point = MenuPosition(list, position);
    const UINT chosen =
        TrackPopupMenu(GetSubMenu(menu, 0), TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD,
                       point.x, point.y, 0, list, nullptr);
    DestroyMenu(menu);
    if (chosen == IDM_LIST_COPY) {
        CopyListToClipboard(list);
    } else if (chosen == IDM_LIST_SELECT_ALL) {
        SelectAllListRows(list);
    }
}

LRESULT HandleListCopyMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CONTEXTMENU) {
        ShowCopyMenu(list, lParam);
        return 0;
    }
    return CallPreviousProcedure(list, kPreviousProcedure, message, wParam, lParam);
}

LRESULT CALLBACK ListCopyProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    return GuardMessage<LRESULT>(
        0, [&] { return HandleListCopyMessage(list, message, wParam, lParam); });
}

// Owns a global memory block until the clipboard takes it.
class ClipboardText {
public:
    explicit ClipboardText(const std::string& text)
        : memory_(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1)) {
        if (void* bytes = memory_ ? GlobalLock(memory_) : nullptr) {
            std::memcpy(bytes, text.c_str(), text.size() + 1);
            GlobalUnlock(memory_);
        }
    }
    ~ClipboardText() {
        if (memory_) {
            GlobalFree(memory_);
        }
    }
    ClipboardText(const ClipboardText&) = delete;
    ClipboardText& operator=(const ClipboardText&) = delete;
    HGLOBAL Get() const { return memory_; }
    void Release() { memory_ = nullptr; }

private:
    HGLOBAL memory_;
};

// Another program may hold the clipboard for a moment.
bool OpenClipboardSoon(HWND owner) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(owner)) {
            return true;
        }
        Sleep(20);
    }
    return false;
}

// The column titles, then the selected rows (every row when none is
// selected) in the order shown, as AppendCopyLine forms them. Empty for a
// list without columns.
std::string ListCopyText(HWND handle) {
    const ListView list(handle);
    const std::vector<std::string> titles = list.ColumnTitles();
    std::string text;
    if (titles.empty()) {
        return text;
    }
    AppendCopyLine(text, titles);
    const int columns = static_cast<int>(titles.size());
    // In report view the item order is the order shown, also after a sort.
    int row = list.NextItem(-1, LVNI_SELECTED);
    if (row < 0) {
        const int count = list.ItemCount();
        for (int i = 0; i < count; ++i) {
            AppendRow(text, list, handle, i, columns);
        }
        return text;
    }
    for (; row >= 0; row = list.NextItem(row, LVNI_SELECTED)) {
        AppendRow(text, list, handle, row, columns);
    }
    return text;
}

}  // namespace

bool CopyListToClipboard(HWND list) {
    // Running out of memory here is told by the procedure's guard.
    const std::string text = ListCopyText(list);
    if (text.empty()) {
        return true;
    }
    ClipboardText memory(text);
    if (memory.Get() == nullptr) {
        ShowSystemError(GetLastError(), "Vorlix   GlobalAlloc");
        return false;
    }
    if (!OpenClipboardSoon(list)) {
        ShowSystemError(GetLastError(), "Vorlix   OpenClipboard");
        return false;
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_TEXT, memory.Get()) != nullptr;
    const DWORD error = GetLastError();
    if (placed) {
        memory.Release();  // the clipboard owns it now
    }
    CloseClipboard();
    if (!placed) {
        ShowSystemError(error, "Vorlix   SetClipboardData");
    }
    return placed;
}

void SelectAllListRows(HWND list) {
    ListView(list).SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
}

void EnableListCopy(HWND list) {
    SubclassWindow(list, kPreviousProcedure, ListCopyProc);
}

void SetListCellSource(HWND list, ListCellSource source) {
    if (source == nullptr) {
        RemovePropA(list, kCellSource);
        return;
    }
    SetPropA(list, kCellSource, reinterpret_cast<HANDLE>(source));
}
