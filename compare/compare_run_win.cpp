#include "compare/compare_run_win.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "compare/compare_merge.h"
#include "compare/compare_state_win.h"
#include "compare/compare_view_win.h"
#include "platform/handles_win.h"
#include "platform/list_view_win.h"
#include "platform/shell_state_win.h"
#include "report/log_file_win.h"
#include "report/report_list_win.h"
#include "res/resource.h"

namespace {

void ShowCompareControls(HWND dialog) {
    ShowSearchControls(dialog, SW_SHOWNORMAL);
    g_compareDialog = dialog;
    ShowDialogControl(dialog, IDC_SORT_CASE_SENSITIVE, true);
    SendDlgItemMessageA(dialog, IDC_SEARCH_NAME_COLUMN, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessageA(dialog, IDC_SEARCH_VALUE_COLUMN, BM_SETCHECK, BST_CHECKED, 0);
}

void PrepareCompareList(HWND dialog) {
    g_reportList = GetDlgItem(dialog, IDC_REPORT_LIST);
    const ListView list(g_reportList);
    list.DeleteAllItems();
    list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    LVCOLUMNA column;
    InsertColumnSet(g_reportList, kServiceColumns, column);
}

int64_t SizeOf(HANDLE file) {
    LARGE_INTEGER size;
    return GetFileSizeEx(file, &size) ? size.QuadPart : 0;
}

// One log being read: the timestamp line comes first and is no record.
class LogRead {
public:
    LogRead(HANDLE file) : reader_(file), size_(SizeOf(file)) {}
    bool More() const { return position_ < size_; }
    bool Empty() const { return size_ <= 0; }
    bool ReadField(std::string& text, FieldEnd* end = nullptr) {
        if (!reader_.Read(&position_, field_, end)) {
            return false;
        }
        text = field_;
        return true;
    }
    // The fields of one line, up to its line end (or the end of the file).
    // False when a field was too long: `fields` then holds those read before it.
    bool ReadServiceLine(std::vector<std::string>& fields) {
        fields.clear();
        for (;;) {
            FieldEnd end = FieldEnd::LineEnd;
            fields.emplace_back();
            if (!ReadField(fields.back(), &end)) {
                fields.pop_back();
                return false;
            }
            if (end != FieldEnd::Blanks || !More()) {
                return true;
            }
        }
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
    // For the logs that are read on past over-long fields: a timestamp line
    // that is not one is dropped all the same, however long it is.
    void DropTimestampLine() { ReadLine(); }

private:
    LogFieldReader reader_;
    int64_t size_;
    int64_t position_ = 0;
    char field_[kLogFieldBufferSize + 7];
};

// Service logs: one record per line (see ServiceRecordOfLine). Returns the
// rows to show; a failed read leaves the rows made so far, unmarked: in the
// first log with the record cut short kept, its unread fields empty.
std::vector<CompareRow> MergeServiceLogs(UniqueFile& first, UniqueFile& second) {
    ServiceMerge merge;
    std::vector<std::string> fields;
    std::string record[kServiceFieldCount];
    {
        LogRead log(first.Get());
        if (!log.Empty()) {
            if (!log.DropTimestamp()) {
                return merge.rows();
            }
            while (log.More()) {
                if (!log.ReadServiceLine(fields)) {
                    if (!fields.empty()) {
                        for (int i = 0; i < kServiceFieldCount; ++i) {
                            record[i] = i < static_cast<int>(fields.size()) ? fields[i] : "";
                        }
                        merge.AddFirst(record);
                    }
                    return merge.rows();
                }
                ServiceRecordOfLine(fields, record);
                merge.AddFirst(record);
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
                if (!log.ReadServiceLine(fields)) {
                    return merge.rows();
                }
                ServiceRecordOfLine(fields, record);
                merge.AddSecond(record);
            }
        }
    }
    second.Reset();
    merge.MarkDifferences();
    return merge.rows();
}

// Hands every line after the timestamp line to `add`, then closes the log.
template <typename AddLine>
void ForEachLogLine(UniqueFile& file, AddLine add) {
    {
        LogRead log(file.Get());
        if (!log.Empty()) {
            log.DropTimestampLine();
            while (log.More()) {
                add(log.ReadLine());
            }
        }
    }
    file.Reset();
}

// Analysis and export logs: one record per line, read on past over-long
// fields, so these comparisons always run to the end.
std::vector<CompareRow> MergeLineLogs(UniqueFile& first, UniqueFile& second, LineKeyRule rule) {
    LineMerge merge(rule);
    ForEachLogLine(first, [&](const std::vector<std::string>& line) { merge.AddFirst(line); });
    ForEachLogLine(second, [&](const std::vector<std::string>& line) { merge.AddSecond(line); });
    merge.MarkDifferences();
    return merge.rows();
}

}  // namespace

BOOL RunCompare(HWND dialog, int kind) {
    // The hits of an earlier view name rows of a list that is gone.
    g_search.matches.Clear();
    // A comparison only reads its logs, so a read-only log can be compared, and
    // the same log chosen twice is simply read twice.
    UniqueFile first;
    if (!OpenLogForReading(g_firstLogName, first.Put())) {
        return FALSE;
    }
    UniqueFile second;
    if (!OpenLogForReading(g_secondLogName, second.Put())) {
        return FALSE;
    }
    ShowCompareControls(dialog);
    PrepareCompareList(dialog);

    // An empty first log is no reason to hide the second one's records: they
    // are listed as found in the second log only.
    switch (kind) {
        case kCompareServices:
            AttachCompareView(dialog, MergeServiceLogs(first, second));
            break;
        case kCompareExports:
            AttachCompareView(dialog, MergeLineLogs(first, second, LineKeyRule::ExportName));
            break;
        case kCompareAnalysis:
            AttachCompareView(dialog, MergeLineLogs(first, second, LineKeyRule::AnalysisName));
            break;
        default:
            break;
    }
    return TRUE;
}
