#include "compare/compare_run_win.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/shell_state_win.h"
#include "compare/compare_merge.h"
#include "compare/compare_state_win.h"
#include "platform/handles_win.h"
#include "report/log_file_win.h"
#include "report/report_list_win.h"
#include "res/resource.h"

namespace {

void ShowCompareControls(HWND dialog) {
    ShowSearchControls(dialog, SW_SHOWNORMAL);
    g_compareDialog = dialog;
    ShowWindow(GetDlgItem(dialog, IDC_SORT_CASE_SENSITIVE), SW_SHOWNORMAL);
    SendDlgItemMessageA(dialog, IDC_SEARCH_NAME_COLUMN, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessageA(dialog, IDC_SEARCH_VALUE_COLUMN, BM_SETCHECK, BST_CHECKED, 0);
}

void PrepareCompareList(HWND dialog) {
    g_reportList = GetDlgItem(dialog, IDC_REPORT_LIST);
    SendMessageA(g_reportList, LVM_DELETEALLITEMS, 0, 0);
    SendMessageA(g_reportList, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    LVCOLUMNA column;
    InsertColumnSet(g_reportList, kServiceColumns, column);
}

int64_t SizeOf(HANDLE file) {
    LARGE_INTEGER size;
    return GetFileSizeEx(file, &size) ? size.QuadPart : 0;
}

void SetCell(LVITEMA& item, int column, const std::string& text) {
    if (text.empty()) {
        return;
    }
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(g_reportList, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void ShowRows(const std::vector<CompareRow>& rows) {
    static const std::string kDifferent = "Different";
    SendMessageA(g_reportList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(g_reportList, LVM_SETITEMCOUNT, rows.size(), 0);
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    for (size_t i = 0; i < rows.size(); ++i) {
        const CompareRow& row = rows[i];
        item.iItem = static_cast<int>(i);
        item.iSubItem = 0;
        item.pszText = const_cast<char*>(row.name.c_str());
        SendMessageA(g_reportList, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        SetCell(item, 1, row.value);
        SetCell(item, 2, row.type);
        SetCell(item, 3, row.state1);
        SetCell(item, 4, row.state2);
        if (row.different) {
            SetCell(item, 5, kDifferent);
        }
    }
    SendMessageA(g_reportList, WM_SETREDRAW, TRUE, 0);
}

// One log being read: the timestamp line comes first and is no record.
class LogRead {
public:
    LogRead(HANDLE file) : reader_(file), size_(SizeOf(file)) {}
    bool More() const { return position_ < size_; }
    bool Empty() const { return size_ <= 0; }
    bool ReadField(std::string& text) {
        if (!reader_.Read(&position_, field_)) {
            return false;
        }
        text = field_;
        return true;
    }
    // A whole line as its fields; over-long fields come cut.
    std::vector<std::string> ReadLine() {
        std::vector<std::string> fields;
        for (;;) {
            const FieldEnd end = reader_.ReadCutting(&position_, field_);
            fields.emplace_back(field_);
            if (end != FieldEnd::Blanks || !More()) {
                return fields;
            }
        }
    }
    bool DropTimestamp() {
        std::string stamp;
        return ReadField(stamp);
    }

private:
    LogFieldReader reader_;
    int64_t size_;
    int64_t position_ = 0;
    char field_[kLogFieldBufferSize + 7];
};

// Service logs: records of four fields. Returns the rows to show; a failed
// read leaves the rows made so far, unmarked.
std::vector<CompareRow> MergeServiceLogs(UniqueFile& first, UniqueFile& second) {
    ServiceMerge merge;
    {
        LogRead log(first.Get());
        if (!log.DropTimestamp()) {
            return merge.rows();
        }
        while (log.More()) {
            std::string fields[kServiceFieldCount];
            int read = 0;
            while (read < kServiceFieldCount && log.ReadField(fields[read])) {
                ++read;
            }
            if (read > 0) {
                merge.AddFirst(fields);
            }
            if (read < kServiceFieldCount) {
                return merge.rows();
            }
        }
    }
    first.Reset();
    {
        LogRead log(second.Get());
        if (!log.Empty()) {
            if (!log.DropTimestamp()) {
                return merge.rows();
            }
            while (log.More()) {
                std::string fields[kServiceFieldCount];
                for (std::string& field : fields) {
                    if (!log.ReadField(field)) {
                        return merge.rows();
                    }
                }
                merge.AddSecond(fields);
            }
        }
    }
    second.Reset();
    merge.MarkDifferences();
    return merge.rows();
}

// Analysis and export logs: one record per line, read on past over-long
// fields, so these comparisons always run to the end.
std::vector<CompareRow> MergeLineLogs(UniqueFile& first, UniqueFile& second, LineKeyRule rule) {
    LineMerge merge(rule);
    {
        LogRead log(first.Get());
        if (log.DropTimestamp()) {
            while (log.More()) {
                merge.AddFirst(log.ReadLine());
            }
        }
    }
    first.Reset();
    {
        LogRead log(second.Get());
        if (!log.Empty() && log.DropTimestamp()) {
            while (log.More()) {
                merge.AddSecond(log.ReadLine());
            }
        }
    }
    second.Reset();
    merge.MarkDifferences();
    return merge.rows();
}

}  // namespace

BOOL RunCompare(HWND dialog, int kind) {
    UniqueFile first;
    if (!OpenExistingLog(g_firstLogName, first.Put())) {
        return FALSE;
    }
    UniqueFile second;
    if (!OpenExistingLog(g_secondLogName, second.Put())) {
        return FALSE;
    }
    ShowCompareControls(dialog);
    PrepareCompareList(dialog);

    if (SizeOf(first.Get()) <= 0) {
        return TRUE;
    }
    switch (kind) {
        case kCompareServices:
            ShowRows(MergeServiceLogs(first, second));
            break;
        case kCompareExports:
            ShowRows(MergeLineLogs(first, second, LineKeyRule::ExportName));
            break;
        case kCompareAnalysis:
            ShowRows(MergeLineLogs(first, second, LineKeyRule::AnalysisName));
            break;
        default:
            break;
    }
    return TRUE;
}
